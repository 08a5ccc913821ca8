# Target helpers shared by every library of the project.
#
# Two configurations exist:
#  - the program build (QX_WINELIB=ON): everything is compiled by wineg++; the
#    units under a `win32/` folder are Win32 units and see the Windows macros,
#    every other unit is portable and is compiled with those macros undefined,
#    so that Debian's Linux-built headers (boost, GoogleTest, ...) see Linux;
#  - the native build (QX_WINELIB=OFF): only portable units (plus the `posix/`
#    side of the foundation library) are compiled, with AddressSanitizer and
#    UndefinedBehaviorSanitizer.
#
# The rule is decided by the path alone: a source under `win32/` is a Win32
# unit, a source under `posix/` belongs to the native build only.

include_guard(GLOBAL)

set(QX_WINDOWS_MACROS
    _WIN32 WIN32 _WIN64 WIN64 __WIN32 __WIN32__ __WIN64 __WIN64__ __WINNT __WINNT__)
set(QX_PORTABLE_FLAGS "")
foreach(macro IN LISTS QX_WINDOWS_MACROS)
  list(APPEND QX_PORTABLE_FLAGS "-U${macro}")
endforeach()

set(QX_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
set(QX_WRC /usr/lib/wine/wrc)

# Splits a source list by kind and drops what the current configuration does
# not build.
function(qx_select_sources out_var)
  set(selected "")
  foreach(src IN LISTS ARGN)
    get_filename_component(abs "${src}" ABSOLUTE)
    if(abs MATCHES "/win32/")
      if(QX_WINELIB)
        list(APPEND selected "${src}")
      endif()
    elseif(abs MATCHES "/posix/")
      if(NOT QX_WINELIB)
        list(APPEND selected "${src}")
      endif()
    else()
      list(APPEND selected "${src}")
      if(QX_WINELIB)
        set_source_files_properties("${src}" PROPERTIES COMPILE_OPTIONS "${QX_PORTABLE_FLAGS}")
      endif()
    endif()
  endforeach()
  set(${out_var} "${selected}" PARENT_SCOPE)
endfunction()

# qx_add_library(<name> SOURCES ... [INCLUDE dirs...] [LINK libs...] [PRIVATE_LINK libs...])
function(qx_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDE;LINK;PRIVATE_LINK" ${ARGN})
  qx_select_sources(sources ${ARG_SOURCES})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${ARG_INCLUDE})
  target_link_libraries(${name} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  qx_add_fuzzer_coverage(${name})
endfunction()

# libFuzzer finds nothing to explore unless the code under test carries
# coverage instrumentation: native clang builds instrument every library.
function(qx_add_fuzzer_coverage target)
  if(NOT QX_WINELIB AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# Adds the command that runs an executable of the current configuration to ctest.
function(qx_register_test test_name target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "ARGS;LABELS" ${ARGN})
  set(prefix "${QX_CONFIG_PREFIX}")
  if(QX_WINELIB)
    # The target file is the module (NAME.exe.so, see the toolchain file).
    set(command ${QX_WINE_RUN} $<TARGET_FILE:${target}> ${ARG_ARGS})
  else()
    set(command $<TARGET_FILE:${target}> ${ARG_ARGS})
  endif()
  add_test(NAME ${prefix}${test_name} COMMAND ${command})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${prefix}${test_name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LABELS)
    set_tests_properties(${prefix}${test_name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# qx_add_test(<name> SOURCES ... [LINK libs...] [RESOURCES file.rc] [TIMEOUT s])
# A GoogleTest executable. Win32-only test sources are dropped in the native
# build; a test left without sources there is not built.
function(qx_add_test name)
  cmake_parse_arguments(ARG "" "RESOURCES;TIMEOUT" "SOURCES;LINK" ${ARGN})
  qx_select_sources(sources ${ARG_SOURCES})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock)
  if(QX_WINELIB AND ARG_RESOURCES)
    qx_add_resources(${name} ${ARG_RESOURCES})
  endif()
  qx_register_test(${name} ${name} TIMEOUT ${ARG_TIMEOUT})
endfunction()

# qx_add_benchmark(<name> SOURCES ... [LINK libs...])
# Benchmarks are built in the program build (optimised, no sanitizers); the
# test run only smoke-runs them briefly so that they cannot rot.
function(qx_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  if(NOT QX_WINELIB)
    return()
  endif()
  qx_select_sources(sources ${ARG_SOURCES})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} benchmark::benchmark)
  qx_register_test(bench.${name} ${name}
    ARGS --benchmark_min_time=0.001 --benchmark_repetitions=1
    LABELS bench)
endfunction()

# qx_add_fuzzer(<name> SOURCES ... [LINK libs...] [SECONDS n])
# A libFuzzer target (clang) in the native build; the tests run it briefly.
# Without clang the same entry point is driven by a bounded random loop.
function(qx_add_fuzzer name)
  cmake_parse_arguments(ARG "" "SECONDS" "SOURCES;LINK" ${ARGN})
  if(QX_WINELIB)
    return()
  endif()
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 10)
  endif()
  qx_select_sources(sources ${ARG_SOURCES})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  qx_add_fuzzer_coverage(${name})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    qx_register_test(fuzz.${name} ${name}
      ARGS -max_total_time=${ARG_SECONDS} -rss_limit_mb=2048 -timeout=10 -print_final_stats=0
      LABELS fuzz TIMEOUT 300)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/fuzz_driver.cpp)
    qx_register_test(fuzz.${name} ${name} ARGS 20000 LABELS fuzz TIMEOUT 300)
  endif()
endfunction()

# Compiles a resource script with wrc and links it into the target (program
# build only; the native build has no embedded resources). The script is
# compiled again whenever a file made for embedding (fonts, pictures, style
# sheet) changes.
function(qx_add_resources target rc_file)
  if(NOT QX_WINELIB)
    return()
  endif()
  get_filename_component(rc_abs "${rc_file}" ABSOLUTE)
  get_filename_component(rc_dir "${rc_abs}" DIRECTORY)
  set(res_file "${CMAKE_CURRENT_BINARY_DIR}/${target}.res")
  add_custom_command(
    OUTPUT "${res_file}"
    COMMAND ${QX_WRC} --nostdinc -I${rc_dir} -I${CMAKE_BINARY_DIR}/generated
            -I/usr/include/wine/windows -o "${res_file}" "${rc_abs}"
    DEPENDS "${rc_abs}" ${ARGN} ${QX_EMBEDDED_FILES}
    WORKING_DIRECTORY "${rc_dir}"
    COMMENT "Compiling resources ${rc_file}")
  target_sources(${target} PRIVATE "${res_file}")
  set_source_files_properties("${res_file}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
endfunction()
