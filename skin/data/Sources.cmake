# Image readers: PNG decoder, BMP and JPEG readers.
vornik_portable(
  zkBmpImage.cpp
  zkJpegImage.cpp
  zkPNG.cpp
)

# Skin data: archive, options file and tables, colour adjustment, loader (portable).
vornik_portable(
  zkSkinText.cpp
  zkSkinPack.cpp
  sOptionsFile.cpp
  sImageValue.cpp
  sSkinTables.cpp
  sHueSaturation.cpp
  sSkinLoader.cpp
  sSkinDump.cpp
  zkBmpWriter.cpp
  sSkinDirectory.cpp
  sSkinList.cpp
  sShadowImages.cpp
  zkMessageBoxStyle.cpp
  sMaskScaling.cpp
  sScaledSkin.cpp
)

# Stored skins embedded in the program as resources (Win32).
vornik_win32(
  sStoredSkinResource.cpp
  sSkinCommands.cpp
)

# The skin manager component with the view its elements read, loading and applying skins
# (Win32).
vornik_win32(
  sSkinView.cpp
  sSkinManager.cpp
  sSkinManagerApply.cpp
  sWindowSkinning.cpp
  sFormTransition.cpp
)
