# Native build: portable core, tests, fuzz targets, benchmarks, tools.
#   VORNIK_SANITIZE  ASan + UBSan everywhere (the test build)
#   VORNIK_BENCH     build the benchmarks (the optimised bench build)
option(VORNIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(VORNIK_BENCH "Build the benchmark programs" OFF)

find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
set(VORNIK_ZLIB ZLIB::ZLIB)
set(VORNIK_JPEG JPEG::JPEG)

set(VORNIK_FUZZ OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND VORNIK_SANITIZE)
  set(VORNIK_FUZZ ON)
endif()

if(VORNIK_SANITIZE)
  set(san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${san} -g)
  add_link_options(${san})
  if(VORNIK_FUZZ)
    # Coverage hooks for libFuzzer in everything the fuzz targets reach.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

vornik_add_core()
vornik_add_tools()

# The internal skins, packed and previewed (build/quarn-preview.png and
# build/quarn-night-preview.png beside the build trees).
include(cmake/QuarnSkin.cmake)
get_filename_component(vornik_build_root ${CMAKE_BINARY_DIR} DIRECTORY)
vornik_quarn_skin(quarngen skintool
                  PREVIEW ${vornik_build_root}/quarn-preview.png
                  NIGHT_PREVIEW ${vornik_build_root}/quarn-night-preview.png)

# Native unit tests: one binary over every tests/native/**.cpp.
file(GLOB_RECURSE native_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
if(native_tests)
  vornik_add_googletest()
  add_executable(native_tests ${native_tests})
  target_compile_options(native_tests PRIVATE ${VORNIK_WARNINGS})
  target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
  target_link_libraries(native_tests PRIVATE vornik_core GTest::gmock GTest::gtest_main)
  # The skin tests run the skin tools and read the packed skin; the asset tests run assetgen.
  add_dependencies(native_tests quarn_skin assetgen)
  target_compile_definitions(native_tests PRIVATE
    VORNIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VORNIK_BINARY_DIR="${CMAKE_BINARY_DIR}")
endif()

# libFuzzer targets: fuzz/<name>.cpp -> fuzz_<name>.
if(VORNIK_FUZZ)
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(src ${fuzz_sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(fuzz_${name} ${src})
    target_compile_options(fuzz_${name} PRIVATE ${VORNIK_WARNINGS})
    target_link_libraries(fuzz_${name} PRIVATE vornik_core)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()

# Seed makers: fuzz/seeds/<name>.cpp -> seeds_<name> DIR writes starting inputs for
# fuzz_<name> into DIR (nothing binary is committed, so seeds are made by code).
file(GLOB seed_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/seeds/*.cpp)
foreach(src ${seed_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(seeds_${name} ${src})
  target_compile_options(seeds_${name} PRIVATE ${VORNIK_WARNINGS})
  target_link_libraries(seeds_${name} PRIVATE vornik_core)
endforeach()

# Benchmarks: every bench/*.cpp in one program.
if(VORNIK_BENCH)
  find_package(benchmark REQUIRED)
  find_package(PNG REQUIRED)
  file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  # Benchmarks reuse the test tree's fakes and encoders (tests/native/support).
  file(GLOB bench_support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/support/*.cpp)
  if(bench_sources)
    add_executable(vornik_bench ${bench_sources} ${bench_support})
    target_include_directories(vornik_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
    target_compile_options(vornik_bench PRIVATE ${VORNIK_WARNINGS})
    target_link_libraries(vornik_bench PRIVATE vornik_core benchmark::benchmark_main PNG::PNG)
    # The start-up figure loads the program's own packed skin.
    add_dependencies(vornik_bench quarn_skin)
    target_compile_definitions(vornik_bench PRIVATE VORNIK_QUARN_ARCHIVE="${VORNIK_QUARN_ARCHIVE}"
      VORNIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VORNIK_BINARY_DIR="${CMAKE_BINARY_DIR}")
  endif()
endif()
