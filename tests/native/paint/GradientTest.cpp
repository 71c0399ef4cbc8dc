#include <gtest/gtest.h>

#include <vector>

#include "paint/PaintTestUtil.h"
#include "skin/paint/sGradient.h"

using namespace painttest;

namespace {

void Paint(TzkBitmap& b, const TRect& r, const TsGradArray& steps) { PaintGradient(b, r, steps); }

TEST(Gradient, RedToBlueOverTenRowsEndsExactlyOnBlue) {
  TzkBitmap b(3, 10, TPixelFormat::pf32bit);
  Paint(b, Rect(0, 0, 3, 10), {{255, 16711680, 100, 0}});
  // Red falls and blue rises by 255 / 9 per row: k * 28.33 rounded.
  const uint8_t blue[10] = {0, 28, 57, 85, 113, 142, 170, 198, 227, 255};
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(Px(b, 2, y), RGBColor(uint8_t(255 - blue[y]), 0, blue[y])) << y;
    EXPECT_EQ(Alpha(b, 0, y), 255);
  }
  EXPECT_EQ(Px(b, 0, 0), TColor(0x0000FF));
  EXPECT_EQ(Px(b, 0, 9), TColor(0xFF0000));
}

TEST(Gradient, NextBandOverwritesTheLastRowOfThePreviousOne) {
  TzkBitmap b(2, 10);
  Paint(b, Rect(0, 0, 2, 10), {{clWhite, clBlack, 50, 0}, {clRed, clBlue, 0, 0}});
  EXPECT_EQ(Px(b, 0, 4), RGBColor(51, 51, 51));  // 255 - 4 * 51
  EXPECT_EQ(Px(b, 0, 5), clRed);                 // band 1 ended here on black
  EXPECT_EQ(Px(b, 1, 9), clBlue);                // the last band runs to the end
}

TEST(Gradient, ZeroLengthBandPaintsNothing) {
  TzkBitmap b(2, 10);
  Paint(b, Rect(0, 0, 2, 10), {{clLime, clLime, 0, 0}, {clRed, clBlue, 100, 0}});
  EXPECT_EQ(Px(b, 0, 0), clRed);
  EXPECT_EQ(Px(b, 0, 9), clBlue);
}

TEST(Gradient, HorizontalBandEndsRoundHalvesToEven) {
  TzkBitmap b(10, 2);
  // 45 % of 10 pixels = 4.5: the band ends on column 4, not 5.
  Paint(b, Rect(0, 0, 10, 2), {{clWhite, clBlack, 45, 1}, {clRed, clBlue, 0, 1}});
  EXPECT_EQ(Px(b, 3, 1), RGBColor(64, 64, 64));  // 255 - 3 * 63.75 = 63.75
  EXPECT_EQ(Px(b, 4, 1), clRed);
  EXPECT_EQ(Px(b, 9, 0), clBlue);
}

TEST(Gradient, RectangleWiderThanTheBitmapStopsAtItsLastColumn) {
  TzkBitmap b = Solid(8, 2, clLime);
  Paint(b, Rect(2, 0, 20, 2), {{clWhite, clBlack, 100, 1}});
  EXPECT_EQ(Px(b, 1, 0), clLime);
  EXPECT_EQ(Px(b, 2, 1), clWhite);
  EXPECT_EQ(Px(b, 4, 1), RGBColor(153, 153, 153));  // 255 - 2 * 51
  EXPECT_EQ(Px(b, 7, 1), clBlack);
}

TEST(Gradient, EmptyArrayAndUnknownKindPaintNothing) {
  TzkBitmap b = Solid(4, 4, clLime);
  Paint(b, Rect(0, 0, 4, 4), {});
  Paint(b, Rect(0, 0, 4, 4), {{clRed, clRed, 100, 3}});
  EXPECT_EQ(Px(b, 2, 2), clLime);
}

TEST(Gradient, TrianglesWithThreeStepsRepeatTheLastColour) {
  TzkBitmap b(10, 10);
  Paint(b, Rect(0, 0, 10, 10), {{clRed, 0, 0, 2}, {clRed, 0, 0, 2}, {clBlue, 0, 0, 2}});
  // Vertices 0 and 1 (centre) are red; 2 is blue and 3, 4 (the bottom corners) repeat it.
  EXPECT_EQ(Px(b, 0, 0), clRed);
  EXPECT_EQ(Px(b, 5, 5), clRed);
  EXPECT_EQ(Px(b, 9, 5), RGBColor(51, 0, 204));  // 0.2 centre + 0.8 right edge
  EXPECT_EQ(Px(b, 5, 9), RGBColor(51, 0, 204));  // 0.2 centre + 0.8 bottom edge
  EXPECT_EQ(Px(b, 0, 9), RGBColor(25, 0, 229));  // 0.1 v0 + 0.9 v4, 16-bit values >> 8
}

TEST(Gradient, TrianglesCoverTheRectangleExactlyOnce) {
  for (const TRect r : {Rect(2, 3, 9, 8), Rect(1, 1, 8, 6), Rect(0, 0, 12, 10), Rect(3, 3, 5, 4)}) {
    const TColor c[5] = {clRed, clLime, clBlue, clYellow, clWhite};
    const TzkGradVertex v[5] = {{r.Left, r.Top, c[0]},
                                {r.Left + r.Width() / 2, r.Top + r.Height() / 2, c[1]},
                                {r.Right, r.Top, c[2]},
                                {r.Right, r.Bottom, c[3]},
                                {r.Left, r.Bottom, c[4]}};
    const int tri[4][3] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    std::vector<int> hits(12 * 10, 0);
    for (const auto& t : tri) {
      TzkBitmap one(12, 10, TPixelFormat::pf32bit);
      FillGradientTriangle(one, v[t[0]], v[t[1]], v[t[2]]);
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) hits[y * 12 + x] += Alpha(one, x, y) == 255;
    }
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x)
        ASSERT_EQ(hits[y * 12 + x], r.Contains(TPoint(x, y)) ? 1 : 0)
            << x << "," << y << " in " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  }
}

}  // namespace
