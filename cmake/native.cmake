# Linux: the command-line tool, unit tests, fuzz targets and benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

include(cmake/cli.cmake)
# A megabyte less resident and a faster start than with the shared library.
target_link_options(kelvarin PRIVATE -static-libstdc++ -static-libgcc)
include(cmake/install.cmake)

# What the unit tests and fuzz targets share: test entries, a recording
# decode sink, and the reference models the codec is checked against.
# The sample contents stand apart: the benchmarks take them too.
add_library(test_samples STATIC tests/support/sample_data.cpp)
target_link_libraries(test_samples PUBLIC kelvarin_core)
file(GLOB test_support_sources CONFIGURE_DEPENDS tests/support/*.cpp)
list(REMOVE_ITEM test_support_sources ${PROJECT_SOURCE_DIR}/tests/support/sample_data.cpp)
add_library(test_support STATIC ${test_support_sources})
target_link_libraries(test_support PUBLIC test_samples kelvarin_encoder kelvarin_parallel GTest::gtest)

file(GLOB unit_sources CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${unit_sources})
# The unit tests make the seam fail on purpose (platform/fault_injection.h):
# they are made with the seam that carries the fault table. The shipped
# tool is made with the one that has none.
target_link_libraries(unit_tests PRIVATE seam_posix_with_faults kelvarin_cli test_support GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE
  KELVARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  KELVARIN_CLI="$<TARGET_FILE:kelvarin>" KELVARIN_STOPPER="$<TARGET_FILE:stop_at_call>")
add_dependencies(unit_tests kelvarin)
# Preloaded into kelvarin by its tests to stop it at a known point.
add_library(stop_at_call MODULE tests/unit/stop_at_call.c)
target_link_libraries(stop_at_call PRIVATE ${CMAKE_DL_LIBS})
# Plain in every build: a preloaded sanitizer runtime would not come first.
target_compile_options(stop_at_call PRIVATE -fno-sanitize=all)
target_link_options(stop_at_call PRIVATE -fno-sanitize=all)
add_dependencies(unit_tests stop_at_call)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST)

# The install rules and the Debian package, apart from the unit tests.
add_test(NAME install.tool_manual_page_and_stub
         COMMAND ${PROJECT_SOURCE_DIR}/tests/install/install_and_package.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_BINARY_DIR}/install-test)

# Fuzz targets: libFuzzer binaries under KELVARIN_FUZZ; in every native
# build a replay driver runs each target over its checked-in corpus.
file(GLOB fuzz_sources CONFIGURE_DEPENDS tests/fuzz/*.cpp)
list(FILTER fuzz_sources EXCLUDE REGEX "replay_main\\.cpp$")
if(KELVARIN_FUZZ)
  # The libraries carry the fuzzer's coverage hooks and the sanitizers, so
  # every binary that links them links the sanitizer runtimes too.
  set(fuzz_instrumentation -fsanitize=fuzzer-no-link,address,undefined)
  target_compile_options(kelvarin_core PRIVATE ${fuzz_instrumentation})
  target_compile_options(kelvarin_encoder PRIVATE ${fuzz_instrumentation})
  target_compile_options(kelvarin_parallel PRIVATE ${fuzz_instrumentation})
  target_compile_options(test_support PRIVATE ${fuzz_instrumentation})
  target_compile_options(test_samples PRIVATE ${fuzz_instrumentation})
  target_link_options(kelvarin_core INTERFACE -fsanitize=address,undefined)
endif()
foreach(source ${fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(replay_${name} ${source} tests/fuzz/replay_main.cpp)
  target_link_libraries(replay_${name} PRIVATE test_support seam_posix)
  add_test(NAME fuzz_corpus.${name}
           COMMAND replay_${name} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
  if(KELVARIN_FUZZ)
    add_executable(fuzz_${name} ${source})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_${name} PRIVATE test_support seam_posix)
  endif()
endforeach()

find_package(benchmark QUIET)
file(GLOB bench_sources CONFIGURE_DEPENDS bench/*.cpp)
if(benchmark_FOUND AND bench_sources)
  add_executable(benchmarks ${bench_sources})
  target_link_libraries(benchmarks PRIVATE test_samples kelvarin_encoder seam_posix benchmark::benchmark
                        benchmark::benchmark_main)
endif()

# The source folders include one another only downwards.
add_test(NAME layers.includes_run_downwards COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/check_layers.py ${PROJECT_SOURCE_DIR})
# No function of the C++ or the JavaScript is longer than 60 lines.
add_test(NAME style.functions_of_at_most_60_lines
         COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/check_function_length.py ${PROJECT_SOURCE_DIR})
# The text table is what tools/texts.py writes, not edited by hand.
add_test(NAME texts.table_matches_its_generator COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/texts.py --check)

# The archives the browser tests and the browser benchmark open.
add_executable(make_web_archives tests/web/make_web_archives.cpp)
target_link_libraries(make_web_archives PRIVATE test_support seam_posix)

# The accuracy of the name reader's code page choice on a corpus of real
# names, against the rule before it and two detector libraries where their
# development files are found; run by hand through bench/name_reading.sh.
add_executable(name_reading_accuracy bench/names/name_reading_accuracy.cpp bench/names/detector_libraries.cpp)
target_link_libraries(name_reading_accuracy PRIVATE kelvarin_core seam_posix)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(UCHARDET QUIET IMPORTED_TARGET uchardet)
  pkg_check_modules(ICU_I18N QUIET IMPORTED_TARGET icu-i18n)
endif()
if(UCHARDET_FOUND)
  target_link_libraries(name_reading_accuracy PRIVATE PkgConfig::UCHARDET)
  target_compile_definitions(name_reading_accuracy PRIVATE KELVARIN_BENCH_UCHARDET=1)
endif()
if(ICU_I18N_FOUND)
  target_link_libraries(name_reading_accuracy PRIVATE PkgConfig::ICU_I18N)
  target_compile_definitions(name_reading_accuracy PRIVATE KELVARIN_BENCH_ICU=1)
endif()
