# Included by the build's CheckPackage.cmake, which sets SOURCE_DIR, APP_ID, ICON_SIZES
# (16,32,...), VERSION and WORK_DIR; the caller names DEB, or BUILD_DIR and CPACK.
# Checks the Debian package (DEB, or one made of BUILD_DIR): its control fields, its files
# as Debian's policy wants them, and the program and its batch job run from the unpacked
# package. Says SKIPPED when the machine lacks Debian's packaging tools.
cmake_minimum_required(VERSION 3.25)

function(fail)
    string(JOIN "" text ${ARGN})
    message(FATAL_ERROR "${text}")
endfunction()

# Runs a command; fails unless it exits 0. Its standard output lands in <out>.
function(run out)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 120)
    if(NOT result EQUAL 0)
        string(JOIN " " command ${ARGN})
        fail("${command}: status ${result}\n${output}${errors}")
    endif()
    set(${out} "${output}" PARENT_SCOPE)
endfunction()

foreach(tool dpkg dpkg-deb dpkg-shlibdeps file gzip readelf)
    find_program(found_${tool} ${tool} NO_CACHE)
    if(NOT found_${tool})
        message("SKIPPED: ${tool} is not installed (tools/install-deps.sh installs it)")
        return()
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
if(NOT DEB)
    # Quick to pack: xz takes many seconds over a sanitizer build's program.
    run(ignored "${CPACK}" -G DEB -B "${WORK_DIR}/cpack" --config "${BUILD_DIR}/CPackConfig.cmake"
        -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip)
    file(GLOB DEB "${WORK_DIR}/cpack/*.deb")
endif()
run(architecture dpkg --print-architecture)
string(STRIP "${architecture}" architecture)
get_filename_component(name "${DEB}" NAME)
string(REPLACE "." "\\." version_pattern "${VERSION}")
if(NOT name MATCHES "^calvenor_${version_pattern}-[0-9]+_${architecture}\\.deb$")
    fail("package file name: ${DEB}")
endif()

# Control fields: dependencies read from the program, plus the plug-ins it loads; no
# made-up home page.
run(control dpkg-deb --field "${DEB}")
foreach(pattern "\nPackage: calvenor\n" "\nSection: utils\n" "\nPriority: optional\n"
                "\nArchitecture: ${architecture}\n" "\nMaintainer: [^<\n]+ <[^@>\n]+@[^>\n]+>\n"
                "\nDepends: [^\n]*libqt6widgets6 \\(>= [^\n]*\n" "\nDepends: [^\n]*libqt6svg6"
                "\nDescription: [a-z][^\n]+\n [A-Z][^\n]+\n")
    if(NOT "\n${control}" MATCHES "${pattern}")
        fail("control lacks ${pattern}:\n${control}")
    endif()
endforeach()
if(control MATCHES "Homepage:")
    fail("control names a home page:\n${control}")
endif()

# Every file and folder owned by root; programs 0755, everything else 0644.
run(listing dpkg-deb --contents "${DEB}")
string(REPLACE "\n" ";" listing "${listing}")
set(packaged "")
foreach(line IN LISTS listing)
    if(line STREQUAL "")
        continue()
    endif()
    if(NOT line MATCHES "^([-d][rwx-]+) ([^ ]+) +[0-9]+ [0-9-]+ [0-9:]+ \\./(.*)$")
        fail("unexpected listing line: ${line}")
    endif()
    set(mode "${CMAKE_MATCH_1}")
    set(owner "${CMAKE_MATCH_2}")
    set(path "${CMAKE_MATCH_3}")
    if(path MATCHES "/$")
        set(wanted drwxr-xr-x)
    elseif(path MATCHES "^usr/bin/")
        set(wanted -rwxr-xr-x)
        list(APPEND packaged "${path}")
    else()
        set(wanted -rw-r--r--)
        list(APPEND packaged "${path}")
    endif()
    if(NOT mode STREQUAL wanted OR NOT owner STREQUAL "root/root")
        fail("${path}: ${mode} ${owner}, wanted ${wanted} root/root")
    endif()
endforeach()

# What `cmake --install` puts down, the manual page compressed, and the documentation
# Debian asks for.
include("${CMAKE_CURRENT_LIST_DIR}/installedfiles.cmake")
calvenor_installed_files(expected)
list(TRANSFORM expected REPLACE "^(share/man/.*)$" "\\1.gz")
list(TRANSFORM expected PREPEND usr/)
list(APPEND expected usr/share/doc/calvenor/copyright usr/share/doc/calvenor/changelog.Debian.gz)
list(SORT expected)
list(SORT packaged)
if(NOT packaged STREQUAL expected)
    fail("packaged files differ\n  expected: ${expected}\n  packaged: ${packaged}")
endif()

set(root "${WORK_DIR}/root")
file(MAKE_DIRECTORY "${root}")
run(ignored dpkg-deb --extract "${DEB}" "${root}")
set(doc "${root}/usr/share/doc/calvenor")
# gzip -9n: no file name and no time stamp in the header (1f8b, deflate, no flags, time 0).
foreach(compressed "${doc}/changelog.Debian.gz" "${root}/usr/share/man/man1/calvenor.1.gz")
    file(READ "${compressed}" header LIMIT 8 HEX)
    if(NOT header STREQUAL "1f8b080000000000")
        fail("${compressed} has a name or time in its header: ${header}")
    endif()
endforeach()
run(page gzip -dc "${root}/usr/share/man/man1/calvenor.1.gz")
file(READ "${SOURCE_DIR}/docs/calvenor.1" source_page)
if(NOT page STREQUAL source_page)
    fail("the packaged manual page is not docs/calvenor.1")
endif()
run(changelog gzip -dc "${doc}/changelog.Debian.gz")
if(NOT changelog MATCHES "^calvenor \\(${version_pattern}-[0-9]+\\) [a-z-]+; urgency=[a-z]+\n")
    fail("changelog.Debian: ${changelog}")
endif()
file(READ "${doc}/copyright" copyright)
foreach(part "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
             "\nFiles: *\n" "\nLicense: GPL-3+\n" "/usr/share/common-licenses/GPL-3")
    string(FIND "${copyright}" "${part}" at)
    if(at LESS 0)
        fail("copyright lacks ${part}")
    endif()
endforeach()

# The program: stripped, no search path of its own for libraries.
set(program "${root}/usr/bin/calvenor")
run(dynamic readelf --dynamic "${program}")
if(dynamic MATCHES "\\((RPATH|RUNPATH)\\)")
    fail("the program has a library search path:\n${dynamic}")
endif()
run(sections readelf --section-headers --wide "${program}")
foreach(section .symtab .debug_info .comment)
    string(FIND "${sections}" " ${section} " at)
    if(at GREATER_EQUAL 0)
        fail("the program keeps its ${section} section")
    endif()
endforeach()

# It runs from the unpacked package, in a home of its own, and finds its data there.
calvenor_private_home()
run(version "${program}" --version)
if(NOT version STREQUAL "Calvenor ${VERSION}\n")
    fail("calvenor --version: ${version}")
endif()
set(tc "${WORK_DIR}/tc")
file(WRITE "${tc}/wincmd.ini" "[Layout]\r\nx=1\r\n[LeftHistory]\r\n0=c:\\\r\n")
file(WRITE "${tc}/wcx_ftp.ini" "[OldConnections]\r\n0=ftp.example.org\r\n")
run(ignored "${program}" "/i=${tc}/wincmd.ini" "/f=${tc}/wcx_ftp.ini" /s=all "/b=${tc}/backup.txt")
# Read as bytes: a text read drops the carriage returns.
file(READ "${tc}/wincmd.ini" wincmd HEX)
string(HEX "[Layout]\r\nx=1\r\n" cleared)
file(READ "${tc}/backup.txt" backup)
string(FIND "${backup}" "[LeftHistory]" at)
if(NOT wincmd STREQUAL cleared OR at LESS 0)
    fail("the batch job from the package:\nwincmd.ini: ${wincmd}\nbackup: ${backup}")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
