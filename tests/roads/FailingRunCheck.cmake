# Runs the real program with its first framework call failing, through the test-only fault switch: the
# failure must be reported in exactly one line on stderr, nothing on stdout, and the exit status must be
# the framework's exit code, 1. A run that opened its window would never end on its own: the timeout
# says so.
#   cmake -DPROGRAM=<path to vorpel> -P FailingRunCheck.cmake
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen VORPEL_FAULT_AT=1 ${PROGRAM}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 60)
if(NOT status EQUAL 1)
    message(FATAL_ERROR "exit status ${status}, expected 1; stderr: ${err}")
endif()
if(NOT out STREQUAL "")
    message(FATAL_ERROR "unexpected output on stdout: ${out}")
endif()
if(NOT err STREQUAL "Unhandled RuntimeException: injected fault\n")
    message(FATAL_ERROR "stderr is not the one report line: [${err}]")
endif()
