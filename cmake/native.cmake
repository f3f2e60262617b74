# Native build: the portable core, its unit tests (also under the sanitizers),
# the command-line program and the benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

set(sanitize_flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_executable(quillet_unit ${unit_test_sources})
target_compile_options(quillet_unit PRIVATE ${test_printing})
target_link_libraries(quillet_unit quillet_core GTest::gtest_main)
gtest_discover_tests(quillet_unit DISCOVERY_TIMEOUT 60)

add_library(quillet_core_san STATIC ${portable_sources})
target_compile_options(quillet_core_san PRIVATE ${sanitize_flags})
add_executable(quillet_unit_san ${unit_test_sources})
target_compile_options(quillet_unit_san PRIVATE ${sanitize_flags} ${test_printing})
target_link_options(quillet_unit_san PRIVATE ${sanitize_flags})
target_link_libraries(quillet_unit_san quillet_core_san GTest::gtest_main)
add_test(NAME sanitizers.unit COMMAND quillet_unit_san)
# The set-up through a package mirror in mid-sync, with stand-ins for apt.
add_test(NAME infra.setup COMMAND bash ${CMAKE_SOURCE_DIR}/tests/infra/setup_test.sh)
add_test(NAME unit.saves_reach_disk COMMAND sh ${CMAKE_SOURCE_DIR}/tests/unit/saves_reach_disk.sh
         $<TARGET_FILE:quillet_unit>)

quillet_glob(cli_sources ${CMAKE_SOURCE_DIR}/cli/*.cpp)
add_executable(quillet-calc ${cli_sources})
target_link_libraries(quillet-calc quillet_core)
target_compile_definitions(quillet-calc PRIVATE QUILLET_VERSION="${PROJECT_VERSION}")
quillet_glob(cli_tests ${CMAKE_SOURCE_DIR}/tests/e2e/cli_*.sh)
foreach(t ${cli_tests})
  get_filename_component(name ${t} NAME_WE)
  add_test(NAME e2e.${name} COMMAND sh ${t} $<TARGET_FILE:quillet-calc>)
endforeach()

# The benchmarks of `make bench`; muparser, when there, is timed beside our evaluator.
quillet_glob(bench_sources ${CMAKE_SOURCE_DIR}/bench/*.cpp)
find_package(benchmark REQUIRED)
find_package(muparser QUIET)
foreach(src ${bench_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} quillet_core benchmark::benchmark)
  if(muparser_FOUND)
    target_link_libraries(${name} muparser::muparser)
    target_compile_definitions(${name} PRIVATE HAVE_MUPARSER=1)
  endif()
endforeach()
