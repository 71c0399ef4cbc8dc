vornik_portable(
  zkTypes.cpp
  zkBitmap.cpp
  zkFastBitmap.cpp
  zkBlend.cpp
  sGradient.cpp
)
