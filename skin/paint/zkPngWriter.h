// Writes bitmaps as PNG files: 8-bit RGB for 24-bit bitmaps, 8-bit RGB with alpha (straight)
// for 32-bit ones. Each row gets the filter (None, Sub, Up, Average or Paeth) whose output has
// the smallest sum of absolute values; the filtered rows are deflated with zlib.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/paint/zkBitmap.h"

class EzkPngWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The PNG file of the bitmap; throws EzkPngWriteError for an empty bitmap or when deflating
// fails.
std::vector<uint8_t> EncodePng(const TzkBitmap& image);

// EncodePng written to a file; throws EzkPngWriteError naming the file when it cannot be
// written.
void SavePng(const TzkBitmap& image, const std::string& path);
