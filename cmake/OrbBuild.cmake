# Build rules shared by the two trees:
#   native  - the portable core/ libraries, their tests under AddressSanitizer
#             and UBSan, and one fuzz target per parser;
#   win32   - everything, cross-compiled; tests run under Wine through
#             tests/harness/wine-run, one ctest entry per test program.

set(ORB_TEST_TIMEOUT_SEC 120 CACHE STRING "Time-out of one test program")
get_filename_component(ORB_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
option(ORB_BENCH "Build the benchmarks (a separate optimised native tree)" OFF)

if(ORB_WIN32)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  # Programs, DLLs and test programs share one folder so that each finds the
  # DLLs it imports, as in the install folder.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

  # GoogleTest from Debian's sources, built with the cross compiler.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()

  set(ORB_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of the test run")
  set(ORB_WINE_RUN ${ORB_SOURCE_ROOT}/tests/harness/wine-run)
elseif(ORB_BENCH)
  # bench/run: optimised portable code, no sanitizers, no tests.
  add_compile_options(-Wall -Wextra -O2)
  find_package(GTest REQUIRED)
else()
  add_compile_options(-Wall -Wextra -fno-omit-frame-pointer
                      -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  find_package(GTest REQUIRED)

  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
  check_cxx_source_compiles(
    "#include <cstdint>\n#include <cstddef>\nextern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }"
    ORB_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  if(ORB_HAVE_LIBFUZZER)
    # Every library carries libFuzzer's coverage hooks, so a fuzz target that
    # links a library (rather than compiling its sources) is guided through
    # the library's code too.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  set(ORB_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs in the test suite")
endif()

# A GoogleTest program.  Native: run directly.  Win32: run under Wine.
#   orb_add_gtest(name SOURCES ... LIBS ... [TIMEOUT sec])
function(orb_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT ${ORB_TEST_TIMEOUT_SEC})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(ORB_WIN32)
    orb_add_wine_test(${name} ${name} ${ARG_TIMEOUT})
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()

# Registers a ctest entry that runs a Windows program under Wine.
#   orb_add_wine_test(test_name target timeout_sec [arguments...])
function(orb_add_wine_test test_name target timeout)
  add_test(NAME ${test_name}
           COMMAND ${ORB_WINE_RUN} $<TARGET_FILE:${target}> ${ARGN}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  math(EXPR inner "${timeout} - 5")
  set_tests_properties(${test_name} PROPERTIES
    TIMEOUT ${timeout}
    ENVIRONMENT "ORB_WINEPREFIX=${ORB_WINEPREFIX};ORB_WINE_TIMEOUT=${inner}")
endfunction()

# A fuzz target over a parser of the portable core (native tree only).
# With clang's libFuzzer it fuzzes for ORB_FUZZ_SECONDS starting from the
# corpus; without it, a small driver replays the corpus through the target.
#   orb_add_fuzzer(name SOURCES ... LIBS ... CORPUS dir)
function(orb_add_fuzzer name)
  if(ORB_WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(ORB_HAVE_LIBFUZZER)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to a scratch folder in the build tree, never the sources.
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}-found)
    file(MAKE_DIRECTORY ${scratch})
    add_test(NAME ${name}
             COMMAND ${name} -max_total_time=${ORB_FUZZ_SECONDS} -timeout=5
                     -rss_limit_mb=2048 ${scratch} ${ARG_CORPUS})
  else()
    target_sources(${name} PRIVATE ${ORB_SOURCE_ROOT}/cmake/fuzz_replay_main.cpp)
    add_test(NAME ${name} COMMAND ${name} ${ARG_CORPUS})
  endif()
  math(EXPR limit "${ORB_FUZZ_SECONDS} + 60")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${limit} LABELS fuzz)
endfunction()

# orb_copy_beside(target FILES...): copies data files (text tables, skins)
# into the program folder of the build (bin/) whenever they change, before
# `target` is built.  Each file must be copied by one target only.
function(orb_copy_beside target)
  set(outputs "")
  foreach(file ${ARGN})
    get_filename_component(name ${file} NAME)
    set(output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${output}
      DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(${target}_data ALL DEPENDS ${outputs})
  add_dependencies(${target} ${target}_data)
endfunction()

# orb_add_suite_program(name SOURCES... LIBS...) (the top level enables the
# resource compiler for it): one of the suite's
# programs (win32 tree only): a GUI executable with its text table
# res/<name>.SYS beside it, the exports of <name>.def (the window procedure
# the skin engine calls by name) checked against exports.txt, and its
# install rules.
function(orb_add_suite_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  orb_copy_beside(${name} ${ORB_SOURCE_ROOT}/res/${name}.SYS)
  target_link_options(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${name}.def)
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.def)
  orb_add_export_check(${name}_exports ${name} ${CMAKE_CURRENT_SOURCE_DIR}/exports.txt)
  install(TARGETS ${name} RUNTIME DESTINATION .)
  install(FILES ${ORB_SOURCE_ROOT}/res/${name}.SYS DESTINATION .)
endfunction()
