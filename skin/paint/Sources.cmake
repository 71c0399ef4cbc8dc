vornik_portable(
  zkTypes.cpp
  zkBitmap.cpp
  zkFastBitmap.cpp
  zkBlend.cpp
  zkBlit.cpp
  sGradient.cpp
  sMaskPainter.cpp
  sSectionPainter.cpp
  zkPngWriter.cpp
  zkTinyFont.cpp
  zkSkinPreview.cpp
)

vornik_win32(
  zkDibStorage.cpp
  sSectionPainterWin.cpp
)
