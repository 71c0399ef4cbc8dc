// Small helpers for tests that paint into tiny bitmaps and check exact pixels.
#pragma once

#include <cstdint>
#include <cstring>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

namespace painttest {

// 0x00BBGGRR of a pixel of a 24-bit or 32-bit bitmap (alpha not included).
inline TColor Px(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}
inline uint8_t Alpha(const TzkBitmap& b, int x, int y) { return b.ScanLine(y)[x * 4 + 3]; }

inline void SetPx(TzkBitmap& b, int x, int y, TColor c, uint8_t alpha = 255) {
  uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
  if (b.BytesPerPixel() == 4) p[3] = alpha;
}

// A bitmap filled with one colour (opaque for 32-bit).
inline TzkBitmap Solid(int w, int h, TColor c, TPixelFormat pf = TPixelFormat::pf24bit) {
  TzkBitmap b(w, h, pf);
  b.Fill(0xFF000000u | uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c));
  return b;
}

// Deterministic pseudo-random bytes over every pixel byte.
inline void Noise(TzkBitmap& b, uint32_t seed) {
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < b.Width() * b.BytesPerPixel(); ++i) {
      seed = seed * 1664525u + 1013904223u;
      row[i] = uint8_t(seed >> 24);
    }
  }
}

inline bool SamePixels(const TzkBitmap& a, const TzkBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
    return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.Width()) * a.BytesPerPixel()) != 0)
      return false;
  return true;
}

}  // namespace painttest
