# Runs the program with no desktop session in its environment, and with one that names a display nobody
# serves: each time it must print one line that says so on stderr, nothing on stdout, and exit with
# status 1 rather than abort.
#   cmake -DPROGRAM=<path to vorpel> -P NoDisplayCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/OneLineRun.cmake)
foreach(display_value IN ITEMS "unset" "" ":4093")
    if(display_value STREQUAL "unset")
        set(display_env --unset=DISPLAY)
        set(expected "^vorpel: no desktop session[^\n]*\n$")
    elseif(display_value STREQUAL "")
        set(display_env DISPLAY=) # an empty value is no display either
        set(expected "^vorpel: no desktop session[^\n]*\n$")
    else()
        set(display_env DISPLAY=${display_value})
        set(expected "^vorpel: cannot open the desktop display ${display_value} [^\n]*\n$")
    endif()
    expect_one_line_run("DISPLAY ${display_value}" "${expected}"
        ${CMAKE_COMMAND} -E env ${display_env} --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM ${PROGRAM})
endforeach()
