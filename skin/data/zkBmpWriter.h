// Writes bitmaps as BMP files: the skin tools' output and the format skin images are made in.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/paint/zkBitmap.h"

enum class TzkBmpLayout : uint8_t {
  AsIs,         // 24-bit: classic bottom-up 24-bit file; 32-bit: top-down with alpha
  TopDown32,    // always 32 bits top-down with alpha; 24-bit sources get alpha 255
};

// 32-bit files carry a 108-byte header with explicit red, green, blue and alpha masks.
std::vector<uint8_t> EncodeBmp(const TzkBitmap& image, TzkBmpLayout layout = TzkBmpLayout::AsIs);
