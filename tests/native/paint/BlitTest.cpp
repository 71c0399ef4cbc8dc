// Block copies: where a rectangle reaching past either bitmap lands, and what the alpha of a
// copied pixel becomes between formats.
#include <gtest/gtest.h>

#include "paint/PaintTestUtil.h"
#include "skin/paint/zkBlit.h"

using namespace painttest;

namespace {

// A 3 x 2 source whose pixels are 0x0000yx.
TzkBitmap Numbered(TPixelFormat pf = TPixelFormat::pf24bit) {
  TzkBitmap b(3, 2, pf);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPx(b, x, y, TColor(y << 4 | x), uint8_t(100 + x));
  return b;
}

TEST(CopyRect, ARectangleBeyondTheSourceKeepsEachPixelAtItsOffset) {
  const TzkBitmap src = Numbered();
  TzkBitmap dst = Solid(4, 4, 0xEEEEEE);
  // Starts one pixel above and left of the source: source (0, 0) lands at (1, 1).
  CopyRect(dst, 0, 0, src, TRect(-1, -1, 3, 3));
  EXPECT_EQ(Px(dst, 0, 0), TColor(0xEEEEEE));
  EXPECT_EQ(Px(dst, 1, 0), TColor(0xEEEEEE));
  EXPECT_EQ(Px(dst, 1, 1), TColor(0x00));
  EXPECT_EQ(Px(dst, 3, 2), TColor(0x12));
  EXPECT_EQ(Px(dst, 3, 3), TColor(0xEEEEEE)) << "below the source";

  // A negative destination point cuts the source's first columns and rows.
  TzkBitmap corner = Solid(2, 2, 0xEEEEEE);
  CopyRect(corner, -1, -1, src, TRect(0, 0, 3, 2));
  EXPECT_EQ(Px(corner, 0, 0), TColor(0x11));
  EXPECT_EQ(Px(corner, 1, 0), TColor(0x12));
  EXPECT_EQ(Px(corner, 0, 1), TColor(0xEEEEEE)) << "the source has no third row";
}

TEST(CopyRect, NothingOutsideEitherBitmapIsTouched) {
  const TzkBitmap src = Numbered();
  TzkBitmap dst = Solid(2, 2, 0xEEEEEE);
  CopyRect(dst, 0, 0, src, TRect(3, 0, 5, 2));   // right of the source
  CopyRect(dst, 2, 0, src, TRect(0, 0, 3, 2));   // right of the destination
  CopyRect(dst, 0, 0, src, TRect(1, 1, 1, 2));   // empty
  CopyRect(dst, 0, 0, TzkBitmap(), TRect(0, 0, 2, 2));
  EXPECT_TRUE(SamePixels(dst, Solid(2, 2, 0xEEEEEE)));
  CopyRect(dst, 1, 1, src, TRect(2, 1, 3, 2));    // one pixel, into the last one
  EXPECT_EQ(Px(dst, 1, 1), TColor(0x12));
  EXPECT_EQ(Px(dst, 0, 1), TColor(0xEEEEEE));
}

TEST(CopyRect, TwentyFourBitPixelsBecomeOpaqueAndThirtyTwoBitOnesKeepTheirAlpha) {
  TzkBitmap dst(3, 2, TPixelFormat::pf32bit);
  CopyRect(dst, 0, 0, Numbered(), TRect(0, 0, 3, 2));
  EXPECT_EQ(Px(dst, 2, 1), TColor(0x12));
  EXPECT_EQ(Alpha(dst, 2, 1), 255);
  CopyRect(dst, 0, 0, Numbered(TPixelFormat::pf32bit), TRect(0, 0, 3, 2));
  EXPECT_EQ(Alpha(dst, 2, 1), 102);
}

}  // namespace
