# Build rules shared by the trees:
#   native  - the portable core/ libraries, their tests under AddressSanitizer
#             and UBSan, and one fuzz target per parser;
#   win32   - everything for i686 Windows, cross-compiled: what is installed
#             and shipped; tests run under Wine through tests/harness/wine-run,
#             one ctest entry per test program;
#   win64   - the same sources for x86_64 Windows, whose tests run under
#             64-bit Wine where 32-bit Linux programs cannot start.
# ORB_WIN32 is set in both Windows trees; ORB_WIN64 only in the x86_64 one.

set(ORB_TEST_TIMEOUT_SEC 120 CACHE STRING "Time-out of one test program")
get_filename_component(ORB_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
option(ORB_BENCH "Build the benchmarks (a separate optimised native tree)" OFF)

if(ORB_WIN32)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type
                      -Werror=int-to-pointer-cast
                      $<$<COMPILE_LANGUAGE:C>:-Werror=pointer-to-int-cast>)
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
  if(ORB_WIN64)
    set(ORB_WINEARCH win64)
  else()
    set(ORB_WINEARCH win32)
  endif()
  # The binutils of the toolchain (the toolchain file names its prefix).
  find_program(ORB_DLLTOOL NAMES ${ORB_TOOL_PREFIX}-dlltool REQUIRED)
  find_program(ORB_OBJDUMP NAMES ${ORB_TOOL_PREFIX}-objdump REQUIRED)
  find_program(ORB_PYTHON3 NAMES python3 REQUIRED)
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
  if(ORB_WIN32)
    # Our own main: the test program runs with a TEMP of its own.
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} orbtest_main GTest::gtest)
    orb_add_wine_test(${name} ${name} ${ARG_TIMEOUT})
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
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
  # One lane (a display and a Wine prefix, see scripts/test) per test.
  set_tests_properties(${test_name} PROPERTIES
    TIMEOUT ${timeout}
    RESOURCE_GROUPS "lanes:1"
    ENVIRONMENT "ORB_WINEPREFIX=${ORB_WINEPREFIX};ORB_WINEARCH=${ORB_WINEARCH};ORB_WINE_TIMEOUT=${inner}")
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

# orb_add_suite_program(name [FILE file] SOURCES... LIBS...) (the top level
# enables the resource compiler for it): one of the suite's
# programs (win32 tree only): a GUI executable <file>.exe (file defaults to
# the target's name) with its text table res/<file>.SYS beside it, the
# exports of <file>.def (the window procedure the skin engine calls by name)
# checked against exports.txt, and its install rules.
function(orb_add_suite_program name)
  cmake_parse_arguments(ARG "" "FILE" "SOURCES;LIBS" ${ARGN})
  set(file ${name})
  if(ARG_FILE)
    set(file ${ARG_FILE})
  endif()
  add_executable(${name} WIN32 ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${file})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  orb_copy_beside(${name} ${ORB_SOURCE_ROOT}/res/${file}.SYS)
  orb_arch_def(${CMAKE_CURRENT_SOURCE_DIR}/${file}.def ${CMAKE_CURRENT_BINARY_DIR}/${file}.def)
  target_link_options(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${file}.def)
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${file}.def)
  orb_add_export_check(${name}_exports ${name} ${CMAKE_CURRENT_SOURCE_DIR}/exports.txt)
  install(TARGETS ${name} RUNTIME DESTINATION .)
  install(FILES ${ORB_SOURCE_ROOT}/res/${file}.SYS DESTINATION .)
endfunction()

# orb_arch_def(input output): writes the module-definition file of this
# architecture.  Our .def files name stdcall functions with their i686
# decoration (NAME@12), which the import libraries need there; x86_64 has one
# calling convention and no decoration, so there each NAME@n becomes NAME.
# Ordinals (" @12" after a blank) are left alone.  The output changes only
# when its text does.
function(orb_arch_def input output)
  file(READ ${input} text)
  if(ORB_WIN64)
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
  endif()
  file(WRITE ${output}.tmp "${text}")
  configure_file(${output}.tmp ${output} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()

# orb_decorated_defs(input link_def import_def): the module-definition files
# of a library that keeps some decorations (orb_add_stdcall_dll
# KEEP_DECORATION): the one the DLL is linked with and the one its import
# library is made from.
function(orb_decorated_defs input link_def import_def)
  file(READ ${input} text)
  set(text "\n${text}")
  set(name "[A-Za-z][A-Za-z0-9_]*")
  if(ORB_WIN64)
    string(REGEX REPLACE "\n([ \t]+)_?(${name})@[0-9]+" "\n\\1\\2" link "${text}")
    set(import "${link}")
  else()
    string(REGEX REPLACE "\n([ \t]+)_(${name})@([0-9]+)" "\n\\1_\\2@\\3 = \\2@\\3" link "${text}")
    string(REGEX REPLACE "\n([ \t]+)(${name})@([0-9]+)" "\n\\1\\2 = \\2@\\3" link "${link}")
    # dlltool takes the import name (==) after the ordinal.
    string(REGEX REPLACE "\n([ \t]+)_(${name})@([0-9]+)([^\n]*)" "\n\\1_\\2@\\3\\4 == _\\2@\\3" import "${text}")
  endif()
  string(SUBSTRING "${link}" 1 -1 link)
  string(SUBSTRING "${import}" 1 -1 import)
  file(WRITE ${link_def}.tmp "${link}")
  configure_file(${link_def}.tmp ${link_def} COPYONLY)
  file(WRITE ${import_def}.tmp "${import}")
  configure_file(${import_def}.tmp ${import_def} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()

if(ORB_WIN32)
  # A ctest entry comparing a binary's export table with its expected list
  # ("ordinal name" per line): names, ordinals and decoration.  Reading the
  # table runs nothing, so it is the same check on every machine.
  #   orb_add_export_check(test_name target expected_file)
  function(orb_add_export_check test_name target expected)
    add_test(NAME ${test_name}
             COMMAND ${ORB_PYTHON3} ${ORB_SOURCE_ROOT}/scripts/check-exports
                     $<TARGET_FILE:${target}> ${expected})
    set_tests_properties(${test_name} PROPERTIES TIMEOUT 30 LABELS static
                         ENVIRONMENT "OBJDUMP=${ORB_OBJDUMP}")
  endfunction()

  # A DLL with stdcall exports under their undecorated names, as the
  # programs import them:
  #   orb_add_stdcall_dll(name SOURCES ...)
  # The export list is one .def fragment and one expected list per concern
  # (exports/*.def, exports/*.txt), joined into <name>.def (from
  # <name>.def.in and its @<NAME>_EXPORTS@) and the expected list
  # <NAME>_EXPECTED (set for the caller).  --kill-at exports the names of the
  # .def without their @n; the import library comes from dlltool -k on the
  # same .def, so it keeps the decorated _NAME@n symbols a stdcall caller
  # refers to and maps them to the undecorated exports (it replaces the one
  # ld writes, which drops the decoration).  The file is <name>.dll, lower
  # case without "lib"; the export check and the install rule come with it.
  #
  # KEEP_DECORATION: a library some of whose exports keep their decoration
  # in the exported name.  Its fragments write those with a leading
  # underscore (_NAME@8), the others as usual (NAME@8).  On i686 every
  # export is then an explicit alias of its stdcall symbol (NAME = NAME@8,
  # _NAME@8 = NAME@8), linked without --kill-at, which would strip the kept
  # decoration too; the import library names _NAME@8 as it is exported.  On
  # x86_64 both forms are the plain NAME, in the .def and the expected list.
  function(orb_add_stdcall_dll name)
    cmake_parse_arguments(ARG "KEEP_DECORATION" "" "SOURCES" ${ARGN})
    string(TOUPPER ${name} upper)
    file(GLOB def_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exports/*.def)
    file(GLOB expected_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exports/*.txt)
    set(${upper}_EXPORTS "")
    # Editing a fragment re-runs the configure step that joins them.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_parts} ${expected_parts})
    foreach(part ${def_parts})
      file(READ ${part} text)
      string(APPEND ${upper}_EXPORTS "${text}")
    endforeach()
    set(def_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    set(link_def ${def_file})
    configure_file(${CMAKE_CURRENT_SOURCE_DIR}/${name}.def.in ${def_file}.in @ONLY)
    if(ARG_KEEP_DECORATION)
      set(link_def ${CMAKE_CURRENT_BINARY_DIR}/${name}.link.def)
      orb_decorated_defs(${def_file}.in ${link_def} ${def_file})
    else()
      orb_arch_def(${def_file}.in ${def_file})
    endif()
    set(expected ${CMAKE_CURRENT_BINARY_DIR}/exports.txt)
    set(expected_text "")
    foreach(part ${expected_parts})
      file(READ ${part} text)
      string(APPEND expected_text "${text}")
    endforeach()
    if(ARG_KEEP_DECORATION AND ORB_WIN64)
      string(REGEX REPLACE "([0-9]+[ \t]+)_([A-Za-z][A-Za-z0-9_]*)@[0-9]+" "\\1\\2"
             expected_text "${expected_text}")
    endif()
    file(WRITE ${expected}.tmp "${expected_text}")
    configure_file(${expected}.tmp ${expected} COPYONLY)
    set(${upper}_EXPECTED ${expected} PARENT_SCOPE)

    add_library(${name} SHARED ${ARG_SOURCES} ${link_def})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_compile_definitions(${name} PRIVATE ${upper}_BUILDING)
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
    if(NOT ARG_KEEP_DECORATION)
      target_link_options(${name} PRIVATE -Wl,--kill-at)
    endif()
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${ORB_DLLTOOL} -k -d ${def_file} -D ${name}.dll
              -l ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.dll.a
      COMMENT "Import library of ${name}.dll"
      VERBATIM)
    orb_add_export_check(${name}_exports ${name} ${expected})
    install(TARGETS ${name} RUNTIME DESTINATION .)
  endfunction()
endif()
