// The skin's image readers: each decodes a whole file held in memory into the engine's
// bitmap type. They never throw for bad input; a damaged or hostile file gives false and a
// one-line message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/paint/zkBitmap.h"

// Caps every reader checks against the file's declared size before it allocates pixels, so
// a tiny hostile file cannot ask for gigabytes. Tests and fuzz targets pass smaller ones.
struct TzkImageLimits {
  int MaxSide = 16384;                   // pixels per side
  size_t MaxBytes = size_t(256) << 20;   // bytes of the decoded bitmap

  bool Allow(int64_t width, int64_t height, TPixelFormat format) const {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) return false;
    return DibRowBytes(int(width), format) * size_t(height) <= MaxBytes;
  }
};

// Each fills `out` and returns true, or returns false with a one-line message in `error`
// (the PNG reader's messages are its exact error texts).
// BMP: 1/4/8/24-bit sources give a 24-bit bitmap, 32-bit sources a 32-bit one.
// JPEG: 24-bit. PNG: 32-bit (straight alpha) for RGBA, 24-bit for every other colour type.
bool ReadBmpImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error);
bool ReadJpegImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error);
bool ReadPngImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error);
