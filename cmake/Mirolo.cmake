# Build rules shared by every folder. Three kinds of tree use them:
#   Windows (mingw-w64, x86_64 or i686): everything; tests run under Wine when MIROLO_RUN_TESTS is on.
#   native (Linux g++/clang): only the platform-neutral core and its tests, optionally sanitized.
#   fuzz (clang): the core and its libFuzzer targets.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(MIROLO_WERROR "Treat warnings as errors" OFF)
option(MIROLO_SANITIZE "Build the native tree with AddressSanitizer and UBSan" OFF)
option(MIROLO_FUZZ "Build the libFuzzer targets (clang)" OFF)
option(MIROLO_RUN_TESTS "Register the Windows tests with CTest (run under Wine)" ON)
set(MIROLO_TEST_PREFIX "" CACHE STRING "Prefix of every CTest name in this tree")
set(MIROLO_FUZZ_SECONDS 30 CACHE STRING "How long each fuzz target runs as a test")

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    set(MIROLO_WINDOWS ON)
else()
    set(MIROLO_WINDOWS OFF)
endif()

add_compile_options(-Wall -Wextra)
if(MIROLO_WERROR)
    add_compile_options(-Werror)
endif()

if(MIROLO_WINDOWS)
    # Narrow literals become code page 936 bytes, as the ANSI API and the data files expect. GB18030 codes every
    # GBK character with the same bytes and also covers the "µs" literal in libstdc++'s <chrono>, which GBK cannot.
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=GB18030>)
    add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0600 NOMINMAX STRICT)
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
    enable_language(RC)
    # No runtime DLLs to ship: a plain Windows machine has none of mingw's.
    add_link_options(-static -static-libgcc -static-libstdc++)
    if(MIROLO_RUN_TESTS)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine/wine-run --prefix ${CMAKE_BINARY_DIR}/wineprefix)
    endif()
endif()

if(MIROLO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

if(MIROLO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

set(MIROLO_BUILD_TESTS ON)
if(NOT MIROLO_FUZZ)
    set(gtest_disable_pthreads ${MIROLO_WINDOWS} CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    foreach(t gtest gtest_main)
        target_compile_options(${t} PRIVATE -w)
    endforeach()
endif()

enable_testing()

function(_mirolo_register_test name)
    add_test(NAME ${MIROLO_TEST_PREFIX}${name} COMMAND ${name} ${ARGN})
endfunction()

# Platform-neutral code: built in every tree.
function(mirolo_core_library name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${A_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    if(A_LIBS)
        target_link_libraries(${name} PUBLIC ${A_LIBS})
    endif()
endfunction()

# Tests of core code: natively, and in the Windows tree under Wine.
function(mirolo_core_test name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    if(MIROLO_FUZZ)
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} gtest gtest_main)
    if(NOT MIROLO_WINDOWS OR MIROLO_RUN_TESTS)
        _mirolo_register_test(${name})
        if(MIROLO_WINDOWS)
            set_tests_properties(${MIROLO_TEST_PREFIX}${name} PROPERTIES
                FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT 120)
        endif()
    endif()
endfunction()

# windres reports no dependencies: a resource script is rebuilt when a header beside it or a shared resource file
# changes, so that a renumbered string never lingers in an old .res.
function(_mirolo_resource_depends)
    foreach(source ${ARGN})
        if(source MATCHES "\\.rc$")
            get_filename_component(path ${source} ABSOLUTE)
            get_filename_component(dir ${path} DIRECTORY)
            file(GLOB headers ${dir}/*.h)
            set_source_files_properties(${source} PROPERTIES OBJECT_DEPENDS
                "${headers};${CMAKE_SOURCE_DIR}/common/CommonResources.h;${CMAKE_SOURCE_DIR}/framework/FrameworkResources.h;${CMAKE_SOURCE_DIR}/framework/framework.rc")
        endif()
    endforeach()
endfunction()

# Windows-only code: libraries, programs and their tests.
function(mirolo_win_library name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${A_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

function(mirolo_win_program name)
    cmake_parse_arguments(A "" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
    _mirolo_resource_depends(${A_SOURCES})
    add_executable(${name} WIN32 ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS})
    if(A_OUTPUT_NAME)
        set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# GUI and Win32 tests: run in the build's Wine prefix, one at a time (they share its registry and desktop).
function(mirolo_win_test name)
    cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
    _mirolo_resource_depends(${A_SOURCES})
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} mirolo_testing gtest)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    if(A_DEPENDS)
        add_dependencies(${name} ${A_DEPENDS})
    endif()
    if(NOT A_TIMEOUT)
        set(A_TIMEOUT 180)
    endif()
    if(MIROLO_RUN_TESTS)
        _mirolo_register_test(${name})
        set_tests_properties(${MIROLO_TEST_PREFIX}${name} PROPERTIES
            FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT ${A_TIMEOUT})
    endif()
endfunction()

# An i686 DLL exported undecorated (--kill-at): ld's own import library loses the stdcall decoration, dlltool's
# keeps it, so that callers that bind at load time link.
function(mirolo_stdcall_import_library target def dllname)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    find_program(MIROLO_DLLTOOL ${MINGW_PREFIX}-dlltool REQUIRED)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${MIROLO_DLLTOOL} --kill-at --def ${def} --dllname ${dllname} --output-lib $<TARGET_LINKER_FILE:${target}>)
endfunction()

function(mirolo_fuzz_target name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT MIROLO_FUZZ)
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME ${MIROLO_TEST_PREFIX}${name}
        COMMAND ${name} -max_total_time=${MIROLO_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10 ${corpus})
    set_tests_properties(${MIROLO_TEST_PREFIX}${name} PROPERTIES TIMEOUT 300)
endfunction()

# Native Google Benchmark programs; run by hand or by bench/run, never as tests.
function(mirolo_benchmark name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    if(MIROLO_WINDOWS OR MIROLO_FUZZ OR MIROLO_SANITIZE)
        return()
    endif()
    find_package(benchmark QUIET)
    if(NOT benchmark_FOUND)
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
endfunction()
