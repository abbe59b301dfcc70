# expect_one_line_run(<label> <expected stderr regex> <command>...): runs the command and fails unless it
# exits with status 1, prints nothing on stdout and its stderr matches the expected regex.
function(expect_one_line_run label expected)
    execute_process(
        COMMAND ${ARGN}
        RESULT_VARIABLE status
        OUTPUT_VARIABLE out
        ERROR_VARIABLE err
        TIMEOUT 60)
    if(NOT status EQUAL 1)
        message(FATAL_ERROR "${label}: exit status ${status}, expected 1; stderr: ${err}")
    endif()
    if(NOT out STREQUAL "")
        message(FATAL_ERROR "${label}: unexpected output on stdout: ${out}")
    endif()
    if(NOT err MATCHES "${expected}")
        message(FATAL_ERROR "${label}: stderr is not the one expected line: [${err}]")
    endif()
endfunction()
