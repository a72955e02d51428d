# Run by CPack on the staged files before it packs them (CPACK_PRE_BUILD_SCRIPTS): what
# Debian's policy asks of a package beyond what `cmake --install` puts down. The copyright
# file and the changelog go into the package's documentation folder, and the manual page
# is compressed, as man finds it either way.
set(_usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(_doc "${_usr}/share/doc/${CPACK_PACKAGE_NAME}")
set(_readable OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# gzip -9n: no name or time inside, so that the same sources make the same package.
function(compress source target)
    execute_process(COMMAND gzip -9nc "${source}" OUTPUT_FILE "${target}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip ${source}: status ${result}")
    endif()
    file(CHMOD "${target}" PERMISSIONS ${_readable})
endfunction()

file(MAKE_DIRECTORY "${_doc}")
file(CHMOD "${_usr}/share/doc" "${_doc}" PERMISSIONS ${_readable} OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
file(COPY "${CPACK_CALVENOR_DEBIAN_DIR}/copyright" DESTINATION "${_doc}" FILE_PERMISSIONS ${_readable})
compress("${CPACK_CALVENOR_DEBIAN_DIR}/changelog" "${_doc}/changelog.Debian.gz")

file(GLOB _pages "${_usr}/share/man/man*/*.[0-9]")
foreach(_page IN LISTS _pages)
    compress("${_page}" "${_page}.gz")
    file(REMOVE "${_page}")
endforeach()

# What Debian's own stripping also drops: the compiler's notes.
file(GLOB _programs "${_usr}/bin/*")
foreach(_program IN LISTS _programs)
    execute_process(COMMAND "${CPACK_CALVENOR_STRIP}" --remove-section=.comment --remove-section=.note "${_program}"
                    RESULT_VARIABLE _result)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "strip ${_program}: status ${_result}")
    endif()
endforeach()
