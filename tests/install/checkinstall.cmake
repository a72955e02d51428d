# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DAPP_ID=... -DICON_SIZES=16,32,... -P checkinstall.cmake
cmake_minimum_required(VERSION 3.25)

function(fail)
    string(JOIN "" text ${ARGN})
    message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}" --component Unspecified
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    fail("cmake --install failed: ${errors}")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/installedfiles.cmake")
calvenor_installed_files(expected)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${prefix}" "${prefix}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
    fail("installed files differ\n  expected: ${expected}\n  installed: ${installed}")
endif()
foreach(file IN LISTS expected)
    file(SIZE "${prefix}/${file}" size)
    if(size EQUAL 0)
        fail("empty: ${file}")
    endif()
endforeach()

# The names that tie the desktop entry, icon and AppStream data together.
file(READ "${prefix}/share/applications/${APP_ID}.desktop" desktop)
foreach(line "Exec=calvenor" "Icon=${APP_ID}" "Terminal=false")
    if(NOT desktop MATCHES "\n${line}\n")
        fail("desktop entry lacks ${line}")
    endif()
endforeach()
file(READ "${prefix}/share/metainfo/${APP_ID}.metainfo.xml" metainfo)
foreach(part "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
             "<binary>calvenor</binary>")
    string(FIND "${metainfo}" "${part}" at)
    if(at LESS 0)
        fail("metainfo lacks ${part}")
    endif()
endforeach()

# The validators and the manual page's formatter, where they are installed.
find_program(desktop_file_validate desktop-file-validate)
if(desktop_file_validate)
    execute_process(COMMAND "${desktop_file_validate}" "${prefix}/share/applications/${APP_ID}.desktop"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "")
        fail("desktop-file-validate: ${output}")
    endif()
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
    execute_process(COMMAND "${appstreamcli}" validate-tree --no-net --no-color "${prefix}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        fail("appstreamcli validate-tree: ${output}")
    endif()
endif()

find_program(groff groff)
if(groff)
    execute_process(COMMAND "${groff}" -t -man -ww -z "${prefix}/share/man/man1/calvenor.1"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "")
        fail("groff: ${output}")
    endif()
endif()

# The installed program runs in a home of its own, with nothing of the machine's file
# manager in sight.
calvenor_private_home()
execute_process(COMMAND "${prefix}/bin/calvenor" --help
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 20)
if(NOT result EQUAL 0 OR NOT output MATCHES "^Usage: calvenor ")
    fail("calvenor --help: status ${result}\n${output}${errors}")
endif()

# Installed, it keeps its settings in the config folder, not in bin/.
set(settings "${home}/.config/calvenor/vantrel editors.ini")
if(NOT EXISTS "${settings}")
    fail("no settings file in ${home}/.config/calvenor")
endif()
file(GLOB in_bin RELATIVE "${prefix}/bin" "${prefix}/bin/*")
if(NOT in_bin STREQUAL "calvenor")
    fail("bin/ holds more than the program: ${in_bin}")
endif()

# A language file named beside the program, as a build stores it, is found in share/.
file(WRITE "${settings}" "[Common]\nLanguageFile=vanteditors:\\Languages\\Deutsch.lng\n[Calvenor]\nUseDefaultLanguage=0\n")
execute_process(COMMAND "${prefix}/bin/calvenor" "/i=${WORK_DIR}/missing.ini" /s=1
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 20)
string(FIND "${errors}" "Folgende Datei wurde nicht gefunden: ${WORK_DIR}/missing.ini" at)
if(NOT result EQUAL 1 OR at LESS 0)
    fail("a missing file in German: status ${result}\n${errors}")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
