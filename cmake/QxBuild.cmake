# SPDX-License-Identifier: GPL-3.0-or-later
# Build conventions shared by every target: the language level, the warnings,
# and a helper that turns a test source list into a discovered GoogleTest binary.

set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
# Standard C++ only: -std=c++20, not the GNU dialect.
set(CMAKE_CXX_EXTENSIONS OFF)

configure_file(${CMAKE_CURRENT_LIST_DIR}/UVersion.h.in ${PROJECT_BINARY_DIR}/generated/UVersion.h @ONLY)

add_library(qx_build_options INTERFACE)
target_compile_features(qx_build_options INTERFACE cxx_std_20)
target_compile_options(qx_build_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
# The program's own sources also hear of conversions that may change a value and of casts
# that say nothing about which conversion is meant; tests and benchmarks, which convert
# freely to build their inputs, do not.
add_library(qx_source_warnings INTERFACE)
target_compile_options(qx_source_warnings INTERFACE -Wconversion -Wsign-conversion -Wold-style-cast)
# The test command's build: a new warning fails it rather than scrolling past.
option(QX_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
if(QX_WARNINGS_AS_ERRORS)
  target_compile_options(qx_build_options INTERFACE -Werror)
endif()
# The hardening a Debian package is built with: checked string and memory calls, a
# guarded stack, relocations read-only and bound at start. Not under the sanitizers,
# which put their own checks on those calls.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  target_compile_options(qx_build_options INTERFACE -fstack-protector-strong
                         $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  target_link_options(qx_build_options INTERFACE LINKER:-z,relro,-z,now)
endif()
target_include_directories(qx_build_options INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)

# qx_add_library(name sources... [LIBS deps...])
function(qx_add_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC qx_build_options ${ARG_LIBS} PRIVATE qx_source_warnings)
endfunction()

# qx_add_test(name sources... [THREADS] [LIBS deps...]): THREADS for a test whose runs
# work on several threads. Such tests carry the label "threads" and are built by the
# target qx_thread_tests, which is all that the tsan presets build and run: one list for both.
function(qx_add_test name)
  cmake_parse_arguments(ARG "THREADS" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE qx_build_options qx_test_support ${ARG_LIBS}
                        GTest::gtest GTest::gmock GTest::gtest_main)
  set(labels "")
  if(ARG_THREADS)
    add_dependencies(qx_thread_tests ${name})
    set(labels LABELS threads)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QX_SOURCE_DIR=${PROJECT_SOURCE_DIR}" ${labels})
endfunction()
