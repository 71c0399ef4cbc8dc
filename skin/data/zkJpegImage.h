// JPEG pictures through libjpeg: always a 24-bit top-down bitmap (grey pictures expanded,
// CMYK ones converted). libjpeg's fatal errors come back here instead of ending the program;
// its warnings about damaged data are accepted (the damaged part shows grey, as libjpeg
// fills it). The declared size is checked against the image limits before any pixel memory
// is allocated, and the decoder's own memory and scan count are capped, so a small hostile
// file cannot make it allocate or work without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "skin/data/zkImageReaders.h"

class EzkJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws EzkJpegError with a one-line reason.
TzkBitmap DecodeJpegImage(const uint8_t* data, size_t size, const TzkImageLimits& limits = {});
