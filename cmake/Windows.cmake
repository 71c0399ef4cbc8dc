# Windows build (mingw-w64): the program, Win32 tests, end-to-end driver, Win32 benches.
#   VORNIK_HOST_TOOLS_DIR  folder of the native tools that make the assets (assetgen, quarngen,
#                          skintool), built first by the native build
#   VORNIK_DEPS_DIR        prefix of the libraries built for mingw by tools/setup.sh
set(VORNIK_HOST_TOOLS_DIR "" CACHE PATH "Folder of the native asset tools")
set(VORNIK_DEPS_DIR "" CACHE PATH "Prefix of libraries built for mingw")

enable_language(RC)
# zlib is linked statically like everything else: its import library would make the program
# need a zlib1.dll that Windows does not have (Wine carries one, which hides the lack).
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
set(VORNIK_ZLIB ZLIB::ZLIB)
add_library(vornik_jpeg STATIC IMPORTED)
set_target_properties(vornik_jpeg PROPERTIES
  IMPORTED_LOCATION ${VORNIK_DEPS_DIR}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${VORNIK_DEPS_DIR}/include)
set(VORNIK_JPEG vornik_jpeg)

add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options(-O2)
add_link_options(-static -static-libgcc -static-libstdc++)

set(VORNIK_WIN32_LIBS user32 gdi32 comctl32 shell32 winmm msimg32 uxtheme dwmapi ole32
    comdlg32 shlwapi advapi32)

vornik_add_core()
vornik_add_tools()

get_property(win32_sources GLOBAL PROPERTY VORNIK_WIN32_SOURCES)
get_property(entry_sources GLOBAL PROPERTY VORNIK_ENTRY_SOURCES)
if(win32_sources)
  add_library(vornik_win STATIC ${win32_sources})
  target_compile_options(vornik_win PRIVATE ${VORNIK_WARNINGS})
  target_link_libraries(vornik_win PUBLIC vornik_core ${VORNIK_WIN32_LIBS})
endif()

# Assets and the program: cmake/Program.cmake (written with the program).
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/Program.cmake)
  include(cmake/Program.cmake)
endif()

# Win32 tests under Wine: every tests/win/**.cpp in one program.
file(GLOB_RECURSE win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(win_tests)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  vornik_add_googletest()
  add_executable(win_tests ${win_tests})
  target_compile_options(win_tests PRIVATE ${VORNIK_WARNINGS})
  target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_libraries(win_tests PRIVATE vornik_win version GTest::gmock GTest::gtest_main)
  # The tests check the program's version resource against the tree's version.
  target_compile_definitions(win_tests PRIVATE VORNIK_TREE_VERSION="${PROJECT_VERSION}")
  # The stored-skin tests read the internal skins from the test program's own resources.
  if(TARGET quarn_skin)
    set(quarn_rc ${CMAKE_SOURCE_DIR}/tests/win/QuarnSkinTest.rc)
    set_source_files_properties(${quarn_rc} PROPERTIES OBJECT_DEPENDS
      "${VORNIK_QUARN_ARCHIVE};${VORNIK_QUARN_NIGHT_ARCHIVE}")
    target_sources(win_tests PRIVATE ${quarn_rc})
    target_include_directories(win_tests PRIVATE ${VORNIK_QUARN_DIR})
    add_dependencies(win_tests quarn_skin)
  endif()
  # The built-in window shadows, as the program carries them.
  if(TARGET vornik_assets)
    set(shadow_rc ${CMAKE_SOURCE_DIR}/tests/win/ShadowImagesTest.rc)
    set_source_files_properties(${shadow_rc} PROPERTIES
      OBJECT_DEPENDS "${vornik_bin}/zkSHDA.png;${vornik_bin}/zkSHDI.png")
    target_sources(win_tests PRIVATE ${shadow_rc})
    target_include_directories(win_tests PRIVATE ${vornik_bin})
    add_dependencies(win_tests vornik_assets)
  endif()
endif()

# End-to-end driver: a separate program that starts VornikDesktop.exe and drives it.
file(GLOB e2e_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(e2e_sources)
  add_executable(e2e_driver ${e2e_sources})
  target_compile_options(e2e_driver PRIVATE ${VORNIK_WARNINGS})
  target_link_libraries(e2e_driver PRIVATE vornik_core ${VORNIK_WIN32_LIBS})
endif()

# Win32 benchmarks (timed with the platform's performance counter).
file(GLOB win_bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp)
if(win_bench_sources AND TARGET vornik_win)
  add_executable(win_bench ${win_bench_sources})
  target_compile_options(win_bench PRIVATE ${VORNIK_WARNINGS})
  target_link_libraries(win_bench PRIVATE vornik_win)
  # The internal skin and the built-in shadows, as the program carries them.
  if(TARGET quarn_skin AND TARGET vornik_assets)
    set(bench_rc ${CMAKE_SOURCE_DIR}/bench/win/WinBench.rc)
    set_source_files_properties(${bench_rc} PROPERTIES OBJECT_DEPENDS
      "${VORNIK_QUARN_ARCHIVE};${vornik_bin}/zkSHDA.png;${vornik_bin}/zkSHDI.png")
    target_sources(win_bench PRIVATE ${bench_rc})
    target_include_directories(win_bench PRIVATE ${VORNIK_QUARN_DIR} ${vornik_bin})
    add_dependencies(win_bench quarn_skin vornik_assets)
  endif()
endif()
