// Reader of device-independent bitmap files (.BMP): the file header, any of the info
// headers (the 12-byte core header, the 40-byte header and the longer ones with colour
// masks), 1, 4 and 8 bits with a palette, 16 and 32 bits plain or with colour masks, 24
// bits; rows stored bottom-up or top-down. Run-length compressed files are refused.
//
// Every header field is checked against the file's size and the image limits before a
// byte of pixel memory is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "skin/data/zkImageReaders.h"

class EzkBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the headers of a BMP file say, after the checks.
struct TzkBmpInfo {
  int Width = 0;
  int Height = 0;              // always positive; TopDown tells the row order
  bool TopDown = false;
  int BitCount = 0;            // 1, 4, 8, 16, 24 or 32
  uint32_t Compression = 0;    // kBiRgb or kBiBitfields
  uint32_t Masks[4] = {};      // red, green, blue, alpha (16 and 32 bits)
  uint32_t PaletteSize = 0;    // entries actually present in the file (<= 256)
  size_t PaletteOffset = 0;
  int PaletteEntryBytes = 4;   // 3 for the core header
  size_t PixelOffset = 0;
  size_t RowBytes = 0;         // stored row length, padded to 4 bytes

  static constexpr uint32_t kBiRgb = 0;
  static constexpr uint32_t kBiBitfields = 3;
  static constexpr uint32_t kBiAlphaBitfields = 6;

  TPixelFormat OutputFormat() const {
    return BitCount == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  }
};

// Reads and checks the headers; throws EzkBmpError with a one-line reason.
TzkBmpInfo ReadBmpInfo(const uint8_t* data, size_t size, const TzkImageLimits& limits = {});

// Decodes the whole file into a top-down bitmap (24-bit, or 32-bit for 32-bit sources);
// throws EzkBmpError.
TzkBitmap DecodeBmpImage(const uint8_t* data, size_t size, const TzkImageLimits& limits = {});
