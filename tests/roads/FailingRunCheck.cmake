# Runs the real program with its first framework call failing, through the test-only fault switch, once
# with a runtime exception and once with a foreign C++ exception: the failure must be reported in exactly
# one line on stderr, nothing on stdout, and the exit status must be the framework's exit code, 1. A run
# that opened its window would never end on its own: the timeout says so.
#   cmake -DPROGRAM=<path to vorpel> -P FailingRunCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/OneLineRun.cmake)
foreach(fault IN ITEMS "1" "1,foreign")
    if(fault STREQUAL "1")
        set(expected "^Unhandled RuntimeException: injected fault\n$")
    else()
        set(expected "^Unhandled RuntimeException: C\\+\\+ exception std::runtime_error: injected fault\n$")
    endif()
    expect_one_line_run("VORPEL_FAULT_AT=${fault}" "${expected}"
        ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen VORPEL_FAULT_AT=${fault} ${PROGRAM})
endforeach()
