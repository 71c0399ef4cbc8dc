# The internal skin "Quarn (internal)": quarngen draws it from skins/Quarn into a skin folder,
# skintool packs the folder into the archive the program embeds as its stored skin.
#   vornik_quarn_skin(QUARNGEN SKINTOOL [PREVIEW png])
# defines the target quarn_skin and sets, in the caller's scope,
#   VORNIK_QUARN_DIR      folder holding Quarn.qvz (on the resource compiler's include path)
#   VORNIK_QUARN_ARCHIVE  the packed skin
# With PREVIEW the skin's contact sheet is written there as well, for reviewing its look.
function(vornik_quarn_skin quarngen skintool)
  cmake_parse_arguments(arg "" "PREVIEW" "" ${ARGN})
  set(source ${CMAKE_SOURCE_DIR}/skins/Quarn)
  set(dir ${CMAKE_BINARY_DIR}/quarn)
  set(folder ${dir}/Quarn)
  set(archive ${dir}/Quarn.qvz)
  set(outputs ${archive})
  set(preview_commands)
  if(arg_PREVIEW)
    list(APPEND outputs ${arg_PREVIEW})
    set(preview_commands COMMAND ${skintool} preview ${archive} ${arg_PREVIEW})
  endif()
  file(GLOB drawing CONFIGURE_DEPENDS ${source}/*.cpp ${source}/*.h)
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${quarngen} ${source} ${folder}
    COMMAND ${skintool} pack ${folder} ${archive}
    ${preview_commands}
    DEPENDS ${quarngen} ${skintool} ${source}/Options.dat ${drawing}
    COMMENT "Drawing and packing the internal skin Quarn")
  add_custom_target(quarn_skin ALL DEPENDS ${outputs})
  set(VORNIK_QUARN_DIR ${dir} PARENT_SCOPE)
  set(VORNIK_QUARN_ARCHIVE ${archive} PARENT_SCOPE)
endfunction()
