// Resampling one picture part: the length rule, premultiplied area means and the key colour.
// Replication, part edges and frames: ScaledSkinTest.cpp.
#include <gtest/gtest.h>

#include <climits>

#include "paint/SkinTestTables.h"
#include "skin/paint/zkImageScale.h"

using namespace painttest;

namespace {

TzkBitmap Scaled(const TzkBitmap& src, int w, int h, TScaleFilter filter, int maskRows = 0) {
  TzkBitmap out(w, h, src.PixelFormat());
  ScaleImagePart(out, TRect(0, 0, w, h), src, TRect(0, 0, src.Width(), src.Height() - maskRows),
                 filter, maskRows);
  return out;
}

}  // namespace

TEST(ImageScaleTest, LengthsAreFlooredWithTheScaleHeldTo100To400) {
  EXPECT_EQ(ScaleLength(3, 150), 4);
  EXPECT_EQ(ScaleLength(1, 150), 1);
  EXPECT_EQ(ScaleLength(30, 125), 37);
  EXPECT_EQ(ScaleLength(7, 200), 14);
  EXPECT_EQ(ScaleLength(-1, 150), -1);  // offsets scale by their magnitude
  EXPECT_EQ(ScaleLength(-3, 200), -6);
  EXPECT_EQ(ScaleLength(10, 50), 10);    // held to 100 %
  EXPECT_EQ(ScaleLength(10, 1000), 40);  // held to 400 %
  EXPECT_EQ(ScaleLength(INT_MAX, 400), INT_MAX);
  EXPECT_EQ(ScaleLength(INT_MIN, 400), -INT_MAX);
  EXPECT_TRUE(IsWholeScale(300));
  EXPECT_FALSE(IsWholeScale(175));
}

TEST(ImageScaleTest, AreaMeansAreWeighedByOpacitySoTransparentNeighboursNeverDarken) {
  // 32-bit: opaque red beside transparent black.
  TzkBitmap rgba(2, 1, TPixelFormat::pf32bit);
  SetPx(rgba, 0, 0, clRed, 255);
  SetPx(rgba, 1, 0, clBlack, 0);
  const TzkBitmap a = Scaled(rgba, 3, 1, TScaleFilter::Area);
  EXPECT_EQ(Px(a, 1, 0), clRed);
  EXPECT_EQ(Alpha(a, 1, 0), 128);
  EXPECT_EQ(Alpha(a, 2, 0), 0);
  // 24-bit over its per-channel mask: the black pixel's mask is 255 (transparent).
  TzkBitmap masked(2, 2);
  SetPx(masked, 0, 0, clRed);
  SetPx(masked, 1, 0, clBlack);
  SetPx(masked, 0, 1, clBlack);  // mask 0: opaque
  SetPx(masked, 1, 1, clWhite);  // mask 255: transparent
  const TzkBitmap m = Scaled(masked, 3, 1, TScaleFilter::Area, 1);
  EXPECT_EQ(Px(m, 1, 0), clRed);
  EXPECT_EQ(Px(m, 2, 0), clBlack);  // nothing opaque: the plain mean
}

TEST(ImageScaleTest, TheKeyColourIsNeverMixedWithVisiblePixels) {
  // The centre of 2 x 2 -> 3 x 3 is the mean of all four; it rounds to 0xFF00FF.
  TzkBitmap src(2, 2);
  SetPx(src, 0, 0, RGBColor(0xFE, 0x00, 0xFF));
  SetPx(src, 1, 0, RGBColor(0xFF, 0x00, 0xFE));
  SetPx(src, 0, 1, RGBColor(0xFF, 0x01, 0xFF));
  SetPx(src, 1, 1, RGBColor(0xFE, 0x00, 0xFF));
  const TzkBitmap out = Scaled(src, 3, 3, TScaleFilter::Area);
  EXPECT_EQ(Px(out, 1, 1), RGBColor(0xFF, 0x01, 0xFF));
  EXPECT_FALSE(HasKeyColour(out, TRect(0, 0, 3, 3)));
  // Red | key | key, 3 -> 5 pixels: spans under half key are red, the others exactly the key.
  TzkBitmap keyed(3, 1);
  SetPx(keyed, 0, 0, clRed);
  SetPx(keyed, 1, 0, clFuchsia);
  SetPx(keyed, 2, 0, clFuchsia);
  for (TScaleFilter f : {TScaleFilter::Nearest, TScaleFilter::Area})
    EXPECT_EQ(ReadGrid(Scaled(keyed, 5, 1, f), TRect(0, 0, 5, 1), {{'r', clRed}, {'k', clFuchsia}}),
              std::vector<std::string>{"rrkkk"});
}
