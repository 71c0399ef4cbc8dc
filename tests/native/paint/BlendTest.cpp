#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "paint/PaintTestUtil.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkFastBitmap.h"

using namespace painttest;

namespace {

uint8_t ByteBlend(unsigned d, unsigned s, unsigned w) { return uint8_t((d * w + s * (255 - w) + 127) >> 8); }

TEST(FastAccess, BindRefusesAbsentAndThinBitmaps) {
  TzkFast24 f24;
  TzkFast32 f32;
  TzkBitmap thin(1, 5), flat(5, 1, TPixelFormat::pf32bit), ok(2, 2, TPixelFormat::pf32bit);
  EXPECT_FALSE(f24.Bind(nullptr));
  EXPECT_FALSE(f24.Bind(&thin));
  EXPECT_EQ(f24.Width, 0);
  EXPECT_FALSE(f32.Bind(&flat));
  EXPECT_TRUE(f32.Bind(&ok));
  // Operations that need a binding do nothing on such bitmaps.
  TzkBitmap a = Solid(5, 1, clWhite), b = Solid(5, 1, clBlack);
  FadeWhole(a, b, 0);
  EXPECT_EQ(Px(a, 4, 0), clWhite);
  FillOpaque32(flat, Rect(0, 0, 5, 1), clRed);
  EXPECT_EQ(Px(flat, 0, 0), clBlack);
}

TEST(FastAccess, PixelWordsSwapRedAndBlueAndRoundTrip) {
  TzkBitmap b(2, 2, TPixelFormat::pf32bit, TRowOrder::BottomUp);
  uint8_t* p = b.ScanLine(1) + 4;
  p[0] = 0x11, p[1] = 0x22, p[2] = 0x33, p[3] = 0x44;  // stored word 0x44332211
  TzkFast32 f;
  ASSERT_TRUE(f.Bind(&b));
  EXPECT_EQ(uint32_t(f.PixelAt(1, 1)), 0x44112233u);
  f.SetPixelAt(0, 0, f.PixelAt(1, 1));
  EXPECT_EQ(std::memcmp(b.ScanLine(0), p, 4), 0);
  TzkFast24 f24;
  TzkBitmap c(2, 2);
  SetPx(c, 1, 0, RGBColor(1, 2, 3));
  ASSERT_TRUE(f24.Bind(&c));
  EXPECT_EQ(f24.PixelAt(1, 0), 0x030201);
  EXPECT_EQ(ToPixel32(RGBColor(1, 2, 3)), 0xFF010203u);
}

TEST(FastAccess, FillRect32StaysInsideTheBitmap) {
  TzkBitmap b(4, 3, TPixelFormat::pf32bit);
  TzkFast32 f;
  ASSERT_TRUE(f.Bind(&b));
  f.FillRect32(Rect(-3, -3, 2, 9), 0xFFABCDEF);  // would run past every edge unclipped
  f.FillRect32(Rect(3, 2, 1, 3), 0x12345678);     // negative width
  f.FillRect32(Rect(0, 2, 4, 2), 0x12345678);     // Bottom - 1 < Top
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(b, x, y), x < 2 ? TColor(0xEFCDAB) : 0) << x << y;
}

TEST(FadeWhole, DivisorIs256SoExtremeWeightsNeverCopy) {
  TzkBitmap d = Solid(3, 2, RGBColor(255, 0, 128)), s = Solid(3, 2, RGBColor(0, 255, 255));
  FadeWhole(d, s, 255);  // keeps "all" of the destination: 255 -> 254, 0 -> 0, 128 -> 127
  EXPECT_EQ(Px(d, 2, 1), RGBColor(254, 0, 127));
  FadeWhole(d, s, 0);  // "all" of the source: 255 -> 254
  EXPECT_EQ(Px(d, 0, 0), RGBColor(0, 254, 254));
  TzkBitmap other = Solid(3, 3, clBlack);
  FadeWhole(d, other, 0);  // sizes differ: nothing
  EXPECT_EQ(Px(d, 0, 0), RGBColor(0, 254, 254));
}

TEST(FadeWhole, EveryByteMatchesTheFormulaAndPaddingIsUntouched) {
  // 37 pixels = 111 bytes per row: whole vector blocks plus a tail, and one padding byte.
  TzkBitmap d(37, 5, TPixelFormat::pf24bit, TRowOrder::BottomUp), s(37, 5);
  Noise(d, 1);
  Noise(s, 2);
  d.ScanLine(3)[111] = 0x5A;
  TzkBitmap before = d.Clone();
  FadeWhole(d, s, 77);
  for (int y = 0; y < 5; ++y)
    for (int i = 0; i < 111; ++i)
      ASSERT_EQ(d.ScanLine(y)[i], ByteBlend(before.ScanLine(y)[i], s.ScanLine(y)[i], 77));
  EXPECT_EQ(d.ScanLine(3)[111], 0x5A);
}

TEST(BlendRectAt, NegativePointShiftsTheSourceIntoTheCorner) {
  TzkBitmap src(20, 12), dst = Solid(8, 6, clWhite);
  Noise(src, 3);
  BlendRectAt(dst, src, 0, Rect(2, 1, 14, 9), TPoint(-5, -3));
  // Source (2 + 5, 1 + 3) .. (13, 8) lands at (0, 0) .. (6, 4); the rest stays white.
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const uint8_t* d = dst.ScanLine(y) + x * 3;
      if (x <= 6 && y <= 4) {
        const uint8_t* s = src.ScanLine(y + 4) + (x + 7) * 3;
        for (int c = 0; c < 3; ++c) ASSERT_EQ(d[c], ByteBlend(255, s[c], 0)) << x << "," << y;
      } else {
        EXPECT_EQ(Px(dst, x, y), clWhite) << x << "," << y;
      }
    }
}

TEST(BlendRectAt, NegativeSourceMovesThePointAndRightEdgeIsCut) {
  TzkBitmap src = Solid(4, 4, clBlack), dst = Solid(6, 3, clWhite);
  BlendRectAt(dst, src, 128, Rect(-2, 0, 9, 2), TPoint(3, 1));
  // Point moves to (5, 1); source (0..0) after cutting to the destination's last column.
  EXPECT_EQ(Px(dst, 4, 1), clWhite);
  EXPECT_EQ(Px(dst, 5, 1), RGBColor(ByteBlend(255, 0, 128), ByteBlend(255, 0, 128), ByteBlend(255, 0, 128)));
  EXPECT_EQ(Px(dst, 5, 2), Px(dst, 5, 1));
  EXPECT_EQ(Px(dst, 5, 0), clWhite);
}

TEST(BlendRectAt, MixedFormatsDoNothingAndAlphaIsBlendedIn32Bit) {
  TzkBitmap src24 = Solid(4, 4, clBlack), dst32 = Solid(4, 4, clWhite, TPixelFormat::pf32bit);
  BlendRectAt(dst32, src24, 0, Rect(0, 0, 4, 4), TPoint());
  EXPECT_EQ(Px(dst32, 1, 1), clWhite);
  TzkBitmap src32(4, 4, TPixelFormat::pf32bit);  // alpha 0
  BlendRectAt(dst32, src32, 200, Rect(0, 0, 4, 4), TPoint());
  EXPECT_EQ(Alpha(dst32, 3, 3), ByteBlend(255, 0, 200));
  EXPECT_EQ(GetRValue(Px(dst32, 3, 3)), ByteBlend(255, 0, 200));
}

TEST(BlendRectAt, OverlapInOneBitmapWalksLastToFirst) {
  // Destination pixels 0..3, source pixels 1..4 of the same row: walking backwards, each
  // pixel reads its right neighbour after that one was already blended.
  TzkBitmap b = Solid(6, 2, clWhite);
  BlendRectAt(b, b, 0, Rect(1, 0, 5, 1), TPoint(0, 0));
  EXPECT_EQ(GetRValue(Px(b, 3, 0)), 254);
  EXPECT_EQ(GetRValue(Px(b, 2, 0)), 253);
  EXPECT_EQ(GetRValue(Px(b, 1, 0)), 252);
  EXPECT_EQ(GetRValue(Px(b, 0, 0)), 251);
  EXPECT_EQ(Px(b, 4, 0), clWhite);
}

TEST(TintRect, PercentIsTheShareOfThePixelAndRightBottomAreInclusive) {
  TzkBitmap b = Solid(4, 3, RGBColor(10, 20, 30), TPixelFormat::pf32bit);
  SetPx(b, 3, 2, RGBColor(10, 20, 30), 77);
  TintRect(b, Rect(-1, -1, 0, 0), 0, clRed);  // only pixel (0, 0)
  EXPECT_EQ(Px(b, 0, 0), clRed);
  EXPECT_EQ(Px(b, 1, 0), RGBColor(10, 20, 30));
  TintRect(b, Rect(1, 0, 99, 99), 100, clBlue);  // unchanged
  EXPECT_EQ(Px(b, 3, 2), RGBColor(10, 20, 30));
  TintRect(b, Rect(2, 1, 3, 2), 50, RGBColor(1, 3, 5));  // halves go to the even integer
  EXPECT_EQ(Px(b, 3, 2), RGBColor(6, 12, 18));  // 5.5 -> 6, 11.5 -> 12, 17.5 -> 18
  EXPECT_EQ(Alpha(b, 3, 2), 77);
  TzkBitmap c = Solid(2, 2, RGBColor(1, 3, 0));
  TintRect(c, Rect(0, 0, 1, 1), 50, clBlack);  // 0.5 -> 0, 1.5 -> 2
  EXPECT_EQ(Px(c, 1, 1), RGBColor(0, 2, 0));
  TintRect(c, Rect(0, 0, 1, 1), 0, clBtnFace);  // system colours are resolved first
  EXPECT_EQ(Px(c, 0, 0), ColorToRGB(clBtnFace));
}

TEST(Grayscale, AveragesAndSparesTheKey) {
  TzkBitmap b = Solid(2, 2, RGBColor(10, 20, 32));
  SetPx(b, 1, 1, clFuchsia);
  GrayscaleExceptKey(b, clFuchsia);
  EXPECT_EQ(Px(b, 0, 0), RGBColor(20, 20, 20));  // 62 div 3
  EXPECT_EQ(Px(b, 1, 1), clFuchsia);
  Grayscale(b);
  EXPECT_EQ(Px(b, 1, 1), RGBColor(170, 170, 170));
}

TEST(BlendBitmapAt, FactorIsTheOldDestinationShareAndKeysAreSkipped) {
  TzkBitmap src = Solid(3, 3, RGBColor(200, 100, 0));
  SetPx(src, 1, 0, clFuchsia);
  TzkBitmap dst = Solid(4, 4, RGBColor(0, 0, 100), TPixelFormat::pf32bit);
  SetPx(dst, 1, 1, RGBColor(0, 0, 100), 9);
  BlendBitmapAt(dst, 1, 1, clFuchsia, 0.25, Rect(-1, 0, 2, 1), src);
  // Left -1 raised to 0 moves the start to x = 2; walked inclusively: columns 0..2, rows 0..1.
  EXPECT_EQ(Px(dst, 1, 1), RGBColor(0, 0, 100));
  EXPECT_EQ(Px(dst, 2, 1), RGBColor(150, 75, 25));  // 200 - 0.25*200, 100 - 25, 0 + 25
  EXPECT_EQ(Px(dst, 3, 1), RGBColor(0, 0, 100));    // magenta source pixel skipped
  EXPECT_EQ(Px(dst, 2, 2), RGBColor(150, 75, 25));
  EXPECT_EQ(Px(dst, 2, 3), RGBColor(0, 0, 100));
  BlendBitmapAt(dst, 0, 0, -1, 0.0, Rect(0, 0, 2, 2), src);  // no key: magenta is copied
  EXPECT_EQ(Px(dst, 1, 0), clFuchsia);
  EXPECT_EQ(Alpha(dst, 1, 1), 9);  // destination alpha never written
}

TEST(BlendBitmapAt, ThirtyTwoBitSourceComparesTheWholeWordWithTheKey) {
  TzkBitmap src = Solid(2, 2, clFuchsia, TPixelFormat::pf32bit);  // opaque magenta
  SetPx(src, 1, 0, clFuchsia, 0);
  TzkBitmap dst = Solid(2, 2, clBlack);
  BlendBitmapAt(dst, 0, 0, clFuchsia, 0.0, Rect(0, 0, 1, 1), src);
  EXPECT_EQ(Px(dst, 0, 0), clFuchsia);  // alpha 255: not the key
  EXPECT_EQ(Px(dst, 1, 0), clBlack);    // alpha 0: the key
}

TEST(ColourMixing, TintExceptKeyColouriseAndLerp) {
  TzkBitmap b = Solid(2, 2, RGBColor(100, 50, 0));
  SetPx(b, 0, 0, clFuchsia);
  TintExceptKey(b, RGBColor(0, 0, 10), clFuchsia, 0.5);  // k + 0.5 (p - k)
  EXPECT_EQ(Px(b, 0, 0), clFuchsia);
  EXPECT_EQ(Px(b, 1, 1), RGBColor(50, 25, 5));

  TzkBitmap d = Solid(2, 2, RGBColor(200, 10, 255)), m = Solid(2, 2, RGBColor(0, 255, 128));
  ColouriseByMask(d, m, RGBColor(100, 100, 0));
  // mask 0 -> the colour; 255 -> ((10 - 100) * 255 + 25600) >> 8 = 10; 128 -> 127.
  EXPECT_EQ(Px(d, 1, 0), RGBColor(100, 10, 127));
  TzkBitmap small = Solid(2, 3, clBlack);
  ColouriseByMask(small, m, clWhite);  // sizes differ: nothing
  EXPECT_EQ(Px(small, 0, 0), clBlack);

  EXPECT_EQ(uint32_t(LerpColor(TColor(0x7F000103), 0x000000, 0.5)), 0x7F000002u);  // 0.5 -> 0, 1.5 -> 2
  EXPECT_EQ(LerpColor(clWhite, clBlack, 0.4), RGBColor(102, 102, 102));
  EXPECT_EQ(PercentToWeight(50), 127);
  EXPECT_EQ(PercentToWeight(100), 255);
  // A skin may give any 32-bit value; out of range it is held at 0 or 255.
  for (int huge : {101, 10000000, 2000000000, INT32_MAX}) EXPECT_EQ(PercentToWeight(huge), 255) << huge;
  for (int negative : {-1, -10000000, INT32_MIN}) EXPECT_EQ(PercentToWeight(negative), 0) << negative;
}

// The divisor is 256 although transparencies stop at 100: even a see-through colour keeps most
// of its own; differences towards a darker parent round down.
TEST(ColourMixing, TransparencyMovesTheOwnColourInSteps256thAndRoundsDown) {
  const TColor parent = RGBColor(0, 100, 255), own = RGBColor(255, 100, 0);
  EXPECT_EQ(MixByTransparency(parent, own, 0), own);
  EXPECT_EQ(MixByTransparency(parent, own, 1), RGBColor(254, 100, 0));
  EXPECT_EQ(MixByTransparency(parent, own, 99), RGBColor(156, 100, 98));
  EXPECT_EQ(MixByTransparency(parent, own, 256), parent);
  EXPECT_EQ(MixByTransparency(parent, own, 300), RGBColor(0, 100, 255)) << "held at 0 and 255";
}

// Layered windows take premultiplied alpha: what is fully transparent adds nothing, what is
// opaque stays as it is, and everything between is scaled with rounding.
TEST(Premultiply, ScalesEachChannelByItsAlphaAndCutsToBothBitmaps) {
  TzkBitmap straight = NewBitmap32(3, 2);
  const uint8_t px[6][4] = {{200, 100, 50, 0},   {200, 100, 50, 255}, {255, 128, 1, 128},
                            {10, 20, 30, 1},     {255, 255, 255, 254}, {9, 9, 9, 9}};
  for (int i = 0; i < 6; ++i) std::copy_n(px[i], 4, straight.ScanLine(i / 3) + (i % 3) * 4);
  TzkBitmap out = NewBitmap32(2, 2);
  out.Fill(0x11111111);
  // The part reaches one column beyond the source's right edge and starts at column 1.
  CopyPremultiplied(out, straight, TRect(1, 0, 4, 2));
  const auto at = [&](int x, int y) {
    const uint8_t* p = out.ScanLine(y) + x * 4;
    return std::vector<int>{p[0], p[1], p[2], p[3]};
  };
  EXPECT_EQ(at(0, 0), (std::vector<int>{200, 100, 50, 255}));
  EXPECT_EQ(at(1, 0), (std::vector<int>{128, 64, 1, 128}));  // (c * 128 + 127) / 255
  EXPECT_EQ(at(0, 1), (std::vector<int>{254, 254, 254, 254}));
  EXPECT_EQ(at(1, 1), (std::vector<int>{0, 0, 0, 9}));  // 9 * 9 / 255 rounds to 0
  // A part that starts left of the source lands where its pixels belong.
  TzkBitmap shifted = NewBitmap32(2, 1);
  shifted.Fill(0x11111111);
  CopyPremultiplied(shifted, straight, TRect(-1, 0, 1, 1));
  EXPECT_EQ(shifted.ScanLine(0)[3], 0x11);  // left alone: nothing of the source there
  EXPECT_EQ(shifted.ScanLine(0)[4 + 3], 0);  // the source's first pixel, alpha 0
  EXPECT_EQ(shifted.ScanLine(0)[4], 0);
}

}  // namespace
