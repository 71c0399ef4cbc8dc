// Writing .ico files with 32-bit images (B-G-R-A, straight alpha) and their AND masks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TIconImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;  // top-down rows, 0xAARRGGBB
};

// The bytes of an icon file holding the images in the given order.
std::string IconFileBytes(const std::vector<TIconImage>& images);
