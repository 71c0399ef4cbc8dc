# Every source folder lists its files in a Sources.cmake of its own:
#   vornik_portable(file ...)  portable core: never includes <windows.h>; built by both builds
#   vornik_win32(file ...)     Win32 code: built by the mingw build only
#   vornik_entry(file)         the program's entry point (kept out of the test binaries)
# Paths are relative to the folder of the Sources.cmake that names them.
function(vornik_portable)
  foreach(f ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VORNIK_PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${f})
  endforeach()
endfunction()

function(vornik_win32)
  foreach(f ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VORNIK_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${f})
  endforeach()
endfunction()

function(vornik_entry f)
  set_property(GLOBAL APPEND PROPERTY VORNIK_ENTRY_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${f})
endfunction()

set(VORNIK_WARNINGS -Wall -Wextra)

# The portable core, shared by both builds.
function(vornik_add_core)
  get_property(core GLOBAL PROPERTY VORNIK_PORTABLE_SOURCES)
  add_library(vornik_core STATIC ${core})
  target_include_directories(vornik_core PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(vornik_core PRIVATE ${VORNIK_WARNINGS})
  target_link_libraries(vornik_core PUBLIC ${VORNIK_ZLIB} ${VORNIK_JPEG})
endfunction()

# One executable per tool folder (tools/<name>/*.cpp), linked with the core.
function(vornik_add_tools)
  file(GLOB tool_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
  foreach(dir ${tool_dirs})
    if(IS_DIRECTORY ${dir})
      file(GLOB tool_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
      if(tool_sources)
        get_filename_component(name ${dir} NAME)
        add_executable(${name} ${tool_sources})
        target_compile_options(${name} PRIVATE ${VORNIK_WARNINGS})
        target_link_libraries(${name} PRIVATE vornik_core)
      endif()
    endif()
  endforeach()
  # The internal skin's image generator lives with the skin's source.
  file(GLOB quarn_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skins/Quarn/*.cpp)
  if(quarn_sources)
    add_executable(quarngen ${quarn_sources})
    target_compile_options(quarngen PRIVATE ${VORNIK_WARNINGS})
    target_link_libraries(quarngen PRIVATE vornik_core)
  endif()
endfunction()

# GoogleTest: built from the sources Debian ships in /usr/src/googletest, or the installed
# package elsewhere (MSYS2's mingw-w64-x86_64-gtest). Either way the targets GTest::gtest,
# GTest::gmock and GTest::gtest_main exist afterwards.
macro(vornik_add_googletest)
  if(NOT TARGET GTest::gtest_main)
    if(EXISTS /usr/src/googletest/CMakeLists.txt)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    else()
      find_package(GTest REQUIRED)
    endif()
  endif()
endmacro()
