# Skin data: archive, options file and tables, colour adjustment, loader (portable).
vornik_portable(
  zkSkinText.cpp
  zkSkinPack.cpp
  sSkinTables.cpp
)
