vornik_portable(
  zkTypes.cpp
  zkBitmap.cpp
)
