// Direct row access to composing bitmaps and the two-bitmap byte blender.
//
//   TzkFast24 / TzkFast32        pixel accessors, one per format
//   TzkFastSum24 / TzkFastSum32  blend a source rectangle into a destination rectangle:
//                                d = (d * Weight + s * (255 - Weight) + 127) >> 8
//
// An accessor holds row addresses of the bitmap it is bound to; they are invalid once the
// bitmap is resized or converted, so every user binds right before use and never keeps a
// binding across calls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

class TzkFast24 {
 public:
  // False (and Width 0) for an absent bitmap or one narrower or lower than 2 pixels. The
  // pixel format is not checked: bind a 24-bit bitmap.
  bool Bind(TzkBitmap* bitmap);
  uint8_t* Row(int y) const { return Row0 + Stride * y; }
  // 0x00BBGGRR of the pixel; no bounds check.
  TColor PixelAt(int x, int y) const;

  TzkBitmap* Bitmap = nullptr;
  int Width = 0;
  int Height = 0;
  uint8_t* Row0 = nullptr;
  ptrdiff_t Stride = 0;  // address of row 1 minus address of row 0
};

class TzkFast32 {
 public:
  bool Bind(TzkBitmap* bitmap);
  uint8_t* Row(int y) const { return Row0 + Stride * y; }
  // 0xAABBGGRR of the pixel (the stored word is 0xAARRGGBB); no bounds check.
  TColor PixelAt(int x, int y) const;
  // Exact inverse of PixelAt.
  void SetPixelAt(int x, int y, TColor value);
  // Writes the stored word to rows Top..Bottom-1 and columns Left..Right-1 (a negative
  // width counts as 0). The rectangle is cut to the bound bitmap.
  void FillRect32(const TRect& rect, uint32_t word);

  TzkBitmap* Bitmap = nullptr;
  int Width = 0;
  int Height = 0;
  uint8_t* Row0 = nullptr;
  ptrdiff_t Stride = 0;
};

// Two-bitmap blender for pixels of N bytes. After BindPair the caller sets Weight, DstRect
// and SrcRect (Right and Bottom exclusive, both the same size, both inside their bitmaps)
// and calls BlendBytes.
template <int N>
class TzkFastSum {
 public:
  static constexpr int kBytesPerPixel = N;

  // False when any of the four dimensions is below 2.
  bool BindPair(const TzkBitmap* source, TzkBitmap* destination);
  // Every byte of the destination rectangle, alpha included, becomes
  // (d * Weight + s * (255 - Weight) + 127) >> 8. The divisor is 256, so even Weight 0 is
  // not an exact copy (255 becomes 254). Rows and bytes are walked from the last to the
  // first, which fixes the result when source and destination overlap in one bitmap.
  void BlendBytes();

  const TzkBitmap* Source = nullptr;
  TzkBitmap* Destination = nullptr;
  int Width = 0;   // the smaller of the two widths
  int Height = 0;  // the smaller of the two heights
  const uint8_t* SrcRow0 = nullptr;
  uint8_t* DstRow0 = nullptr;
  ptrdiff_t SrcStride = 0;
  ptrdiff_t DstStride = 0;
  uint8_t Weight = 0;  // share of the destination byte, out of 256
  TRect DstRect;
  TRect SrcRect;
};

using TzkFastSum24 = TzkFastSum<3>;
using TzkFastSum32 = TzkFastSum<4>;

extern template class TzkFastSum<3>;
extern template class TzkFastSum<4>;

// Blends n bytes: d[i] = (d[i] * weight + s[i] * (255 - weight) + 127) >> 8. The ranges
// must not overlap. Written in fixed-size blocks so that compilers vectorise it even at
// their cheapest vectorisation setting.
void BlendByteRow(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n, uint8_t weight);
