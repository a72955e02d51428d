# Strictness shared by every target: language level, warnings, Qt hygiene and the
# optional sanitizers. Targets pick it up by linking calvenor_options.
add_library(calvenor_options INTERFACE)
target_compile_features(calvenor_options INTERFACE cxx_std_20)
target_compile_options(calvenor_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
target_compile_definitions(calvenor_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

if(CALVENOR_FUZZ)
    # Coverage for the fuzzer in every library, with the sanitizers that catch what it finds.
    set(_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_compile_options(calvenor_options INTERFACE ${_fuzz})
    target_link_options(calvenor_options INTERFACE -fsanitize=address,undefined)
elseif(CALVENOR_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(calvenor_options INTERFACE ${_san})
    target_link_options(calvenor_options INTERFACE ${_san})
endif()

# calvenor_add_library(<name> SOURCES ... LIBS ...): one static library per src/ folder.
function(calvenor_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(${name} PUBLIC calvenor_options ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# calvenor_add_test(<name> SOURCES ... LIBS ...): a QtTest executable registered with
# CTest, run headless with a fixed locale and the offscreen platform.
function(calvenor_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE calvenor_options Qt6::Test calvenor_testsupport ${ARG_LIBS})
    # Test tables are easier to read with plain string literals.
    target_compile_options(${name} PRIVATE -UQT_NO_CAST_FROM_ASCII)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 120
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;CALVENOR_ANSI_CODEPAGE=1252;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
