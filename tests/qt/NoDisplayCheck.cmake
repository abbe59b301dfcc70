# Runs the program in each way of having no usable desktop: each time it must print one line on stderr
# that says what is missing, nothing on stdout, and exit with status 1 rather than abort.
#   cmake -DPROGRAM=<path to vorpel> -DWORK_DIR=<an empty folder of the test's> -P NoDisplayCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/OneLineRun.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(CHMOD ${WORK_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(runtime XDG_RUNTIME_DIR=${WORK_DIR})

# Each case: a label, the regex its one line must match, then its environment after every session
# variable has been unset. Cases are separated by "|"; a list item holds no semicolon, so "." stands for one.
set(cases
    "nothing set" "^vorpel: no desktop session \\(DISPLAY and WAYLAND_DISPLAY are unset\\)[^\n]*\n$"
    "|" "an empty DISPLAY" "^vorpel: no desktop session[^\n]*\n$" DISPLAY=
    "|" "an X display that does not answer"
        "^vorpel: cannot open the desktop display :4093 \\(could not connect to display :4093\\)\n$" DISPLAY=:4093
    "|" "a Wayland socket that is missing"
        "^vorpel: cannot open the desktop display vorpel-none \\(no Wayland socket ${WORK_DIR}/vorpel-none\\)\n$"
        ${runtime} WAYLAND_DISPLAY=vorpel-none
    "|" "no XDG_RUNTIME_DIR"
        "^vorpel: cannot open the desktop display wayland-0 \\(XDG_RUNTIME_DIR is invalid or not set[^\n]*\\)\n$"
        WAYLAND_DISPLAY=wayland-0
    "|" "both displays unreachable"
        "^vorpel: cannot open the desktop display vorpel-none or :4093 \\(no Wayland socket [^\n]*. could not connect to display :4093\\)\n$"
        ${runtime} WAYLAND_DISPLAY=vorpel-none DISPLAY=:4093
    "|" "X11 forced with no DISPLAY"
        "^vorpel: cannot open the desktop display \\(QT_QPA_PLATFORM chooses xcb, and DISPLAY is unset\\)\n$"
        QT_QPA_PLATFORM=xcb
    "|" "Wayland forced with no compositor"
        "^vorpel: cannot open the desktop display wayland-0 \\(no Wayland socket ${WORK_DIR}/wayland-0\\)\n$"
        ${runtime} QT_QPA_PLATFORM=wayland
    "|" "a framebuffer platform forced with no framebuffer"
        "^vorpel: cannot open the desktop display \\(Failed to open framebuffer /nonexistent/fb0 [^\n]*\\)\n$"
        QT_QPA_PLATFORM=linuxfb:fb=/nonexistent/fb0
    "|" "an unknown platform"
        "^vorpel: cannot open the desktop display \\(QT_QPA_PLATFORM chooses \"bogus\", a platform Qt does not have. it has [^\n]*xcb[^\n]*\\)\n$"
        QT_QPA_PLATFORM=bogus)

set(unset_all --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM --unset=XDG_RUNTIME_DIR
    --unset=XDG_SESSION_TYPE)
list(APPEND cases "|")
set(current)
foreach(item IN LISTS cases)
    if(NOT item STREQUAL "|")
        list(APPEND current "${item}")
        continue()
    endif()
    list(POP_FRONT current label expected)
    # None of them may say what is false ("Reinstalling the application may fix this problem").
    expect_one_line_run("${label}" "${expected}" ${CMAKE_COMMAND} -E env ${unset_all} ${current} ${PROGRAM})
    set(current)
endforeach()
