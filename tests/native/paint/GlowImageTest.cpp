// The glow image: its frame's alpha from each kind of picture and at the picture's border,
// the nine-part rendering's border fallbacks, and the part of a control its parent shows with
// the cuts that leave the glow around that part.
#include <memory>

#include <gtest/gtest.h>

#include "paint/PaintTestUtil.h"
#include "skin/data/sSkinRecords.h"
#include "skin/paint/zkGlowImage.h"

using namespace painttest;

namespace {

TsMaskData MaskOver(TzkBitmap image, const TRect& rect, int maskType = 0) {
  TsMaskData mask;
  mask.Image = std::make_unique<TzkBitmap>(std::move(image));
  mask.Rect = rect;
  mask.ImageCount = 1;
  mask.MaskType = int16_t(maskType);
  mask.ImgType = itisaGlow;
  return mask;
}

TEST(GlowImageFrame, AlphaComesFromTheKeyTheMaskRowsOrThePicture) {
  EXPECT_TRUE(GlowImageFrame(TsMaskData()).Empty()) << "no picture";
  EXPECT_TRUE(GlowImageFrame(MaskOver(Solid(2, 2, 0x102030), TRect(0, 0, 0, 2))).Empty());

  TzkBitmap plain = Solid(2, 1, 0x102030);
  SetPx(plain, 1, 0, clFuchsia);
  const TzkBitmap keyed = GlowImageFrame(MaskOver(std::move(plain), TRect(0, 0, 2, 1)));
  ASSERT_EQ(keyed.Width(), 2);
  EXPECT_EQ(Px(keyed, 0, 0), TColor(0x102030));
  EXPECT_EQ(Alpha(keyed, 0, 0), 255);
  EXPECT_EQ(Alpha(keyed, 1, 0), 0) << "the key colour is transparent";

  // A picture over its mask: the frame is the upper half, alpha 255 minus the mask's blue.
  TzkBitmap masked = Solid(2, 2, 0x405060);
  SetPx(masked, 0, 1, RGBColor(0, 0, 55));
  SetPx(masked, 1, 1, clFuchsia);
  const TzkBitmap over = GlowImageFrame(MaskOver(std::move(masked), TRect(0, 0, 2, 2), 1));
  ASSERT_EQ(over.Height(), 1);
  EXPECT_EQ(Alpha(over, 0, 0), 200);
  EXPECT_EQ(Alpha(over, 1, 0), 0);
  EXPECT_EQ(Px(over, 1, 0), TColor(0x405060));

  TzkBitmap straight = Solid(1, 1, clFuchsia, TPixelFormat::pf32bit);
  straight.ScanLine(0)[3] = 77;
  const TzkBitmap kept = GlowImageFrame(MaskOver(std::move(straight), TRect(0, 0, 1, 1)));
  EXPECT_EQ(Alpha(kept, 0, 0), 77) << "a 32-bit picture keeps its alpha, key or not";
}

TEST(GlowImageFrame, PixelsBeyondThePictureStayTransparentBlack) {
  // The frame starts one column left of the picture and reaches one column past it.
  const TzkBitmap frame = GlowImageFrame(MaskOver(Solid(2, 1, 0x0A0B0C), TRect(-1, 0, 3, 1)));
  ASSERT_EQ(frame.Width(), 4);
  for (int x : {0, 3}) {
    EXPECT_EQ(Px(frame, x, 0), TColor(0)) << x;
    EXPECT_EQ(Alpha(frame, x, 0), 0) << x;
  }
  EXPECT_EQ(Px(frame, 1, 0), TColor(0x0A0B0C));
  EXPECT_EQ(Alpha(frame, 2, 0), 255);

  // A picture over its mask whose mask rows lie below the picture falls back to the key rule.
  const TzkBitmap cut = GlowImageFrame(MaskOver(Solid(1, 1, 0x0A0B0C), TRect(0, 0, 1, 2), 1));
  EXPECT_EQ(Alpha(cut, 0, 0), 255);
}

// A glow image of 10 x 8 pixels, every pixel different and opaque, with no border widths.
TsMaskData BorderlessGlowMask(int borderWidth) {
  TzkBitmap image = NewBitmap32(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) SetPx(image, x, y, RGBColor(7, uint8_t(y * 30), uint8_t(x * 20)));
  TsMaskData mask = MaskOver(std::move(image), TRect(0, 0, 10, 8));
  mask.BorderWidth = int16_t(borderWidth);
  return mask;
}

TEST(RenderGlowImage, ZeroBordersFallBackToTheBorderWidthThenToTheWholeFrame) {
  TzkBitmap out;
  const TsMaskData frameSized = BorderlessGlowMask(0);
  const TRect borders = RenderGlowImage(out, frameSized, 40, 20, 2);
  EXPECT_EQ(borders, TRect(10, 8, 10, 8));
  ASSERT_EQ(out.Width(), 40 + 10 + 10 - 4);
  ASSERT_EQ(out.Height(), 20 + 8 + 8 - 4);
  // Each corner is the whole frame.
  const TzkBitmap& image = *frameSized.Image;
  for (const TPoint corner : {TPoint(0, 0), TPoint(out.Width() - 10, 0), TPoint(0, out.Height() - 8),
                              TPoint(out.Width() - 10, out.Height() - 8)})
    for (const TPoint p : {TPoint(0, 0), TPoint(9, 7), TPoint(4, 3)})
      EXPECT_EQ(Px(out, corner.X + p.X, corner.Y + p.Y), Px(image, p.X, p.Y))
          << corner.X << "," << corner.Y << " + " << p.X << "," << p.Y;

  const TRect thin = RenderGlowImage(out, BorderlessGlowMask(3), 40, 20, 2);
  EXPECT_EQ(thin, TRect(3, 3, 3, 3));
  EXPECT_EQ(out.Width(), 40 + 3 + 3 - 4);
  EXPECT_EQ(out.Height(), 20 + 3 + 3 - 4);
}

TEST(RenderGlowImage, BordersWiderThanTheImageShrinkAndNoSizeLeftGivesNoImage) {
  TzkBitmap out;
  // 1 + 3 + 3 - 2 * 3 = 1 pixel wide: the near borders keep the one pixel, the far ones none.
  EXPECT_EQ(RenderGlowImage(out, BorderlessGlowMask(3), 1, 1, 3), TRect(3, 3, 3, 3));
  ASSERT_EQ(out.Width(), 1);
  ASSERT_EQ(out.Height(), 1);
  const TsMaskData mask = BorderlessGlowMask(3);
  EXPECT_EQ(Px(out, 0, 0), Px(*mask.Image, 0, 0)) << "the top-left corner's first pixel";

  EXPECT_EQ(RenderGlowImage(out, BorderlessGlowMask(3), 0, 10, 3), TRect(3, 3, 3, 3));
  EXPECT_TRUE(out.Empty());
  EXPECT_EQ(RenderGlowImage(out, TsMaskData(), 10, 10, 0), TRect()) << "no picture";
}

TEST(GlowCuts, OnlyTheHiddenSidesOfTheControlAreCutAway) {
  const TRect borders(10, 8, 10, 8);
  const int cw = 40, ch = 20, m = 2;
  const int w = cw + 20 - 2 * m, h = ch + 16 - 2 * m;
  EXPECT_EQ(GlowCuts(borders, cw, ch, TRect(0, 0, cw, ch), w, h, m), TRect());
  // Hidden on the left by 5 pixels: the glow starts at the visible part's left edge.
  EXPECT_EQ(GlowCuts(borders, cw, ch, TRect(5, 0, cw, ch - 1), w, h, m), TRect(13, 0, 0, 7));
  // Hidden on the right and at the bottom: what is left ends where the visible part ends.
  EXPECT_EQ(GlowCuts(borders, cw, ch, TRect(0, 0, 30, 12), w, h, m), TRect(0, 0, 18, 14));
  // Hidden on both sides: left cut, then what remains beyond the visible width.
  EXPECT_EQ(GlowCuts(borders, cw, ch, TRect(4, 3, 30, ch), w, h, m), TRect(12, 9, 18, 0));
}

TEST(GlowVisiblePart, TheControlCutToItsParentInItsOwnCoordinates) {
  const TRect parent(100, 50, 300, 150);
  EXPECT_EQ(GlowVisiblePart(TRect(120, 60, 180, 82), parent), TRect(0, 0, 60, 22));
  EXPECT_EQ(GlowVisiblePart(TRect(90, 40, 150, 62), parent), TRect(10, 10, 60, 22))
      << "over the parent's top-left corner";
  EXPECT_EQ(GlowVisiblePart(TRect(260, 140, 320, 162), parent), TRect(0, 0, 40, 10))
      << "over the bottom-right corner";
  EXPECT_EQ(GlowVisiblePart(TRect(299, 149, 359, 171), parent), TRect(0, 0, 1, 1));
}

}  // namespace
