# What `cpack -G DEB` makes of the installation (tools/package.sh runs it): the files
# `cmake --install` puts down, under /usr, laid out as Debian's policy asks, with the
# dependencies dpkg-shlibdeps reads from the program.
#
# resources/debian/changelog is the one place for the package's revision and maintainer:
# its latest entry names both, and its version must be this project's.
set(_calvenor_debian ${PROJECT_SOURCE_DIR}/resources/debian)
file(STRINGS ${_calvenor_debian}/changelog _calvenor_changelog)
list(GET _calvenor_changelog 0 _calvenor_entry)
if(NOT _calvenor_entry MATCHES "^calvenor \\(([^)-]+)-([^)]+)\\) ")
    message(FATAL_ERROR "resources/debian/changelog: the first line names no version: ${_calvenor_entry}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "resources/debian/changelog is at ${CMAKE_MATCH_1}, the project at ${PROJECT_VERSION}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})
foreach(_line IN LISTS _calvenor_changelog)
    if(_line MATCHES "^ -- (.+>)  ")
        set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CMAKE_MATCH_1}")
        break()
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME calvenor)
set(CPACK_PACKAGE_VENDOR "The Calvenor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the history lists of Total Commander under Wine")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Calvenor edits the history lists that the Total Commander file manager keeps in
wincmd.ini and wcx_ftp.ini when it runs under Wine: the command-line history,
the folder histories of both panels, search masks, rename templates, the folder
tabs with their captions and locks, and old FTP connections.

Lines the editor does not change keep their bytes, and every save replaces a
file in one atomic step. A command-line batch job, which needs no display,
clears chosen history sections and keeps a backup of them.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The default component by name: its files land in install_manifest_Unspecified.txt, so the
# install_manifest.txt of a real installation, which uninstalling needs, stays as it is.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so dpkg-shlibdeps cannot see them: the SVG icons. Qt's own texts
# in the language in use, and Wine, which runs the file manager, are welcome but not needed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
# The copyright file, the changelog and the compressed manual page join the staged files.
set(CPACK_CALVENOR_DEBIAN_DIR ${_calvenor_debian})
set(CPACK_CALVENOR_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)
include(CPack)

# The package's checks with this build's names filled in:
#   cmake [-DDEB=calvenor_....deb | -DCPACK=cpack -DBUILD_DIR=...] -P <build>/CheckPackage.cmake
string(REPLACE ";" "," _calvenor_sizes "${CALVENOR_ICON_SIZES}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/CheckPackage.cmake CONTENT [[
set(SOURCE_DIR "@PROJECT_SOURCE_DIR@")
set(APP_ID "@CALVENOR_APP_ID@")
set(ICON_SIZES "@_calvenor_sizes@")
set(VERSION "@PROJECT_VERSION@")
if(NOT WORK_DIR)
    set(WORK_DIR "@PROJECT_BINARY_DIR@/package-check")
endif()
include("${SOURCE_DIR}/tests/install/checkpackage.cmake")
]] @ONLY)
