# Image readers: PNG decoder, BMP and JPEG readers.
vornik_portable(
  zkBmpImage.cpp
  zkJpegImage.cpp
  zkPNG.cpp
)
