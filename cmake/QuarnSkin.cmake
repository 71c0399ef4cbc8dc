# The internal skins "Quarn (internal)" and "Quarn Night (internal)": quarngen draws each from
# its options file (skins/Quarn, skins/QuarnNight) in its palette into a skin folder, skintool
# packs the folder into the archive the program embeds as a stored skin.
#   vornik_quarn_skin(QUARNGEN SKINTOOL [PREVIEW png] [NIGHT_PREVIEW png])
# defines the target quarn_skin (both skins) and sets, in the caller's scope,
#   VORNIK_QUARN_DIR            folder holding Quarn.qvz and QuarnNight.qvz (on the resource
#                               compiler's include path)
#   VORNIK_QUARN_ARCHIVE        the packed Quarn
#   VORNIK_QUARN_NIGHT_ARCHIVE  the packed Quarn Night
# With PREVIEW / NIGHT_PREVIEW each skin's contact sheet is written there as well, for
# reviewing its look.
function(vornik_quarn_skin quarngen skintool)
  cmake_parse_arguments(arg "" "PREVIEW;NIGHT_PREVIEW" "" ${ARGN})
  set(dir ${CMAKE_BINARY_DIR}/quarn)
  file(GLOB drawing CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skins/Quarn/*.cpp
       ${CMAKE_SOURCE_DIR}/skins/Quarn/*.h)
  set(all_outputs)
  # skin folder name, palette, preview
  foreach(skin Quarn:quarn:${arg_PREVIEW} QuarnNight:night:${arg_NIGHT_PREVIEW})
    string(REPLACE ":" ";" parts "${skin}")
    list(GET parts 0 name)
    list(GET parts 1 palette)
    list(LENGTH parts count)
    set(preview)
    if(count GREATER 2)
      list(GET parts 2 preview)
    endif()
    set(source ${CMAKE_SOURCE_DIR}/skins/${name})
    set(folder ${dir}/${name})
    set(archive ${dir}/${name}.qvz)
    set(outputs ${archive})
    set(preview_commands)
    if(preview)
      list(APPEND outputs ${preview})
      set(preview_commands COMMAND ${skintool} preview ${archive} ${preview})
    endif()
    add_custom_command(
      OUTPUT ${outputs}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${quarngen} --palette ${palette} ${source} ${folder}
      COMMAND ${skintool} pack ${folder} ${archive}
      ${preview_commands}
      DEPENDS ${quarngen} ${skintool} ${source}/Options.dat ${drawing}
      COMMENT "Drawing and packing the internal skin ${name}")
    list(APPEND all_outputs ${outputs})
  endforeach()
  add_custom_target(quarn_skin ALL DEPENDS ${all_outputs})
  set(VORNIK_QUARN_DIR ${dir} PARENT_SCOPE)
  set(VORNIK_QUARN_ARCHIVE ${dir}/Quarn.qvz PARENT_SCOPE)
  set(VORNIK_QUARN_NIGHT_ARCHIVE ${dir}/QuarnNight.qvz PARENT_SCOPE)
endfunction()
