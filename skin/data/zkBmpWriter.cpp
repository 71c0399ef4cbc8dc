#include "skin/data/zkBmpWriter.h"

#include <cstring>
#include <stdexcept>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const TzkBitmap& image, TzkBmpLayout layout) {
  if (image.Empty()) throw std::invalid_argument("an empty bitmap has no BMP form");
  const bool wide = layout == TzkBmpLayout::TopDown32 || image.PixelFormat() == TPixelFormat::pf32bit;
  const TPixelFormat format = wide ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  const int w = image.Width(), h = image.Height();
  const uint32_t headerSize = wide ? 108 : 40;
  const size_t rowBytes = DibRowBytes(w, format);
  const uint32_t offBits = 14 + headerSize;
  std::vector<uint8_t> out;
  out.reserve(offBits + rowBytes * size_t(h));
  out.push_back('B');
  out.push_back('M');
  Put32(out, uint32_t(offBits + rowBytes * size_t(h)));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, headerSize);
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(wide ? -h : h));  // 32-bit files are top-down
  Put16(out, 1);
  Put16(out, wide ? 32 : 24);
  Put32(out, wide ? 3 : 0);  // colour masks, or plain
  Put32(out, uint32_t(rowBytes * size_t(h)));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  if (wide) {
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(out, mask);
    Put32(out, 0x73524742);  // "sRGB"
    out.resize(14 + headerSize, 0);
  }
  const bool opaque = image.PixelFormat() == TPixelFormat::pf24bit;
  const int srcBpp = image.BytesPerPixel();
  std::vector<uint8_t> row(rowBytes, 0);
  for (int i = 0; i < h; ++i) {
    const uint8_t* src = image.ScanLine(wide ? i : h - 1 - i);
    if (wide) {
      for (int x = 0; x < w; ++x) {
        std::memcpy(&row[size_t(x) * 4], src + x * srcBpp, 3);
        row[size_t(x) * 4 + 3] = opaque ? 0xFF : src[x * 4 + 3];
      }
    } else {
      std::memcpy(row.data(), src, size_t(w) * 3);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
