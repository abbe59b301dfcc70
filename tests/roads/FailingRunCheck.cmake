# Runs the real program with its first framework call failing, through the test-only fault switch, once
# with a runtime exception and once with a foreign C++ exception: the failure must be reported in exactly
# one line on stderr, nothing on stdout, and the exit status must be the framework's exit code, 1. A run
# that opened its window would never end on its own: the timeout says so.
#   cmake -DPROGRAM=<path to vorpel> -P FailingRunCheck.cmake
foreach(fault IN ITEMS "1" "1,foreign")
    if(fault STREQUAL "1")
        set(expected "Unhandled RuntimeException: injected fault\n")
    else()
        set(expected "Unhandled RuntimeException: C++ exception std::runtime_error: injected fault\n")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen VORPEL_FAULT_AT=${fault} ${PROGRAM}
        RESULT_VARIABLE status
        OUTPUT_VARIABLE out
        ERROR_VARIABLE err
        TIMEOUT 60)
    if(NOT status EQUAL 1)
        message(FATAL_ERROR "VORPEL_FAULT_AT=${fault}: exit status ${status}, expected 1; stderr: ${err}")
    endif()
    if(NOT out STREQUAL "")
        message(FATAL_ERROR "VORPEL_FAULT_AT=${fault}: unexpected output on stdout: ${out}")
    endif()
    if(NOT err STREQUAL "${expected}")
        message(FATAL_ERROR "VORPEL_FAULT_AT=${fault}: stderr is not the one report line: [${err}]")
    endif()
endforeach()
