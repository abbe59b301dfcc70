# Installs the build into a scratch DESTDIR, at the prefix it was configured with and at one given to
# cmake --install, and checks each tree as a desktop reads it: the entry and the metadata pass their
# validators with nothing to say, carry the one id, and name a program and an icon that are there.
# Run as: cmake -DBUILD_DIR= -DPREFIX= -DBINDIR= -DDATADIR= -DAPP_ID= -DSCRATCH=
#               -DDESKTOP_FILE_VALIDATE= -DAPPSTREAMCLI= -P InstallCheck.cmake
cmake_minimum_required(VERSION 3.25)

function(fail what)
    message(FATAL_ERROR "${case}: ${what}")
endfunction()

function(run_quietly what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        fail("${what} failed (${status}):\n${out}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

# The value of a key in the entry's [Desktop Entry] group.
function(entry_value key)
    string(REGEX MATCH "\n${key}=([^\n]*)" found "\n${entry_text}")
    if(NOT found)
        fail("the desktop entry has no ${key}")
    endif()
    set(${key} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

function(expect_equal what actual expected)
    if(NOT actual STREQUAL expected)
        fail("${what} is \"${actual}\", not \"${expected}\"")
    endif()
endfunction()

# Each case: the prefix the tree lands at, and whether cmake --install is given it.
set(cases "${PREFIX}|configured" "/opt/vorpel|given")
foreach(row IN LISTS cases)
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 prefix)
    list(GET row 1 how)
    set(case "prefix ${prefix}, ${how}")
    set(install_arguments)
    if(how STREQUAL "given")
        set(install_arguments --prefix ${prefix})
    endif()

    set(root ${SCRATCH}/root)
    file(REMOVE_RECURSE ${root})
    run_quietly("cmake --install" ${CMAKE_COMMAND} -E env DESTDIR=${root}
                ${CMAKE_COMMAND} --install ${BUILD_DIR} ${install_arguments})
    set(tree ${root}${prefix})
    set(entry ${tree}/${DATADIR}/applications/${APP_ID}.desktop)
    set(metainfo ${tree}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
    foreach(file ${entry} ${metainfo})
        if(NOT EXISTS ${file})
            fail("${file} is not installed")
        endif()
    endforeach()

    # desktop-file-validate says nothing of an entry it finds right, hints included.
    run_quietly("desktop-file-validate" ${DESKTOP_FILE_VALIDATE} ${entry})
    if(NOT output STREQUAL "")
        fail("desktop-file-validate:\n${output}")
    endif()
    # --strict fails on warnings and on information; pedantic hints alone (no releases) pass.
    run_quietly("appstreamcli validate" ${APPSTREAMCLI} validate --no-net --strict ${metainfo})

    file(READ ${entry} entry_text)
    entry_value(Exec)
    entry_value(Icon)
    entry_value(StartupWMClass)
    string(REGEX REPLACE " .*" "" program "${Exec}")
    if(NOT EXISTS ${tree}/${BINDIR}/${program} OR IS_DIRECTORY ${tree}/${BINDIR}/${program})
        fail("the entry starts \"${program}\", which is not installed in ${prefix}/${BINDIR}")
    endif()
    set(icon ${tree}/${DATADIR}/icons/hicolor/scalable/apps/${Icon}.svg)
    if(NOT EXISTS ${icon})
        fail("the entry's icon \"${Icon}\" is not installed as ${icon}")
    endif()
    file(READ ${icon} svg)
    if(NOT svg MATCHES "<svg[^>]* xmlns=\"http://www.w3.org/2000/svg\"")
        fail("${icon} is no SVG")
    endif()
    expect_equal("the entry's StartupWMClass" "${StartupWMClass}" "${APP_ID}")

    file(READ ${metainfo} metainfo_text)
    string(REGEX MATCH "<id>([^<]*)</id>" found "${metainfo_text}")
    expect_equal("the metainfo's id" "${CMAKE_MATCH_1}" "${APP_ID}")
    string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" found "${metainfo_text}")
    expect_equal("the metainfo's launchable" "${CMAKE_MATCH_1}" "${APP_ID}.desktop")
endforeach()
file(REMOVE_RECURSE ${SCRATCH}/root)
