# The program: VornikDesktop.exe, its resources and the files it reads beside it.
# The assets are drawn at build time by the native assetgen tool (tools/assetgen).
set(vornik_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set(vornik_assetgen ${VORNIK_HOST_TOOLS_DIR}/assetgen${CMAKE_HOST_EXECUTABLE_SUFFIX})
set(vornik_assets
  ${vornik_bin}/notok.ico ${vornik_bin}/ok.ico ${vornik_bin}/yellow.ico ${vornik_bin}/red.ico
  ${vornik_bin}/sound.wav ${vornik_bin}/VornikDesktop.ico
  ${vornik_bin}/zkSHDA.png ${vornik_bin}/zkSHDI.png)
add_custom_command(
  OUTPUT ${vornik_assets}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vornik_bin}
  COMMAND ${vornik_assetgen} ${vornik_bin}
  DEPENDS ${vornik_assetgen}
  COMMENT "Drawing the status icons, the application icon, the alarm sound and the shadows")
add_custom_target(vornik_assets ALL DEPENDS ${vornik_assets})

# The internal skins, drawn and packed by the native tools (cmake/QuarnSkin.cmake).
include(cmake/QuarnSkin.cmake)
vornik_quarn_skin(${VORNIK_HOST_TOOLS_DIR}/quarngen${CMAKE_HOST_EXECUTABLE_SUFFIX}
                  ${VORNIK_HOST_TOOLS_DIR}/skintool${CMAKE_HOST_EXECUTABLE_SUFFIX})

# The version resource and the application manifest carry the tree's version.
set(vornik_generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/app/VornikVersion.h.in ${vornik_generated}/VornikVersion.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/app/VornikDesktop.manifest.in
               ${vornik_generated}/VornikDesktop.manifest @ONLY)

# Resources: the application icon, the internal skins, the built-in window shadows, the
# version and the manifest.
set(vornik_rc ${CMAKE_SOURCE_DIR}/app/Project1.rc)
set_source_files_properties(${vornik_rc} PROPERTIES
  OBJECT_DEPENDS "${vornik_bin}/VornikDesktop.ico;${vornik_bin}/zkSHDA.png;${vornik_bin}/zkSHDI.png;${VORNIK_QUARN_ARCHIVE};${VORNIK_QUARN_NIGHT_ARCHIVE};${vornik_generated}/VornikVersion.h;${vornik_generated}/VornikDesktop.manifest")

get_property(vornik_entry_sources GLOBAL PROPERTY VORNIK_ENTRY_SOURCES)
add_executable(VornikDesktop WIN32 ${vornik_entry_sources} ${vornik_rc})
target_compile_options(VornikDesktop PRIVATE ${VORNIK_WARNINGS})
target_include_directories(VornikDesktop PRIVATE ${vornik_bin} ${VORNIK_QUARN_DIR} ${vornik_generated})
# No build time in the PE header: the same commit builds the same bytes.
target_link_options(VornikDesktop PRIVATE -municode -Wl,--no-insert-timestamp)
target_link_libraries(VornikDesktop PRIVATE vornik_win)
add_dependencies(VornikDesktop vornik_assets quarn_skin)
