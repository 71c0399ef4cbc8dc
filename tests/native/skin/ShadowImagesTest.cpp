// The shadow images of extended borders and the built-in shadows the build embeds.
#include <gtest/gtest.h>

#include "paint/SkinTestTables.h"
#include "skin/data/sShadowImages.h"

namespace {

using painttest::AddMask;
using painttest::TMaskFields;

int Alpha(const TzkBitmap& b, int x, int y) { return b.ScanLine(y)[4 * x + 3]; }

// A loaded skin with an EXBORDER mask of two 6 x 4 frames in its own 32-bit image.
struct TExBorderSkin {
  TsSkinTables t;
  explicit TExBorderSkin(int imageCount, int borderMode) {
    t.Sections.push_back(TsGeneralData());
    t.Sections.back().SectionName = "GLOBALINFO";
    t.SkinData.FormOffset = 2;
    t.SkinData.BorderMode = int16_t(borderMode);
    const int m = AddMask(t, "GLOBALINFO", "EXBORDER",
                          TMaskFields{TRect(0, 0, 12, 4), imageCount, 0, 0, 9, 8, 7, 6});
    auto image = std::make_unique<TzkBitmap>(NewBitmap32(12, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 12; ++x) {
        uint8_t* p = image->ScanLine(y) + 4 * x;
        p[0] = p[1] = p[2] = 255;              // white ...
        p[3] = uint8_t(x < 6 ? 0 : 200);       // ... transparent in the first frame
      }
    t.Masks[size_t(m)].Image = std::move(image);
    t.InitCachedIndexes();
  }
};

TEST(ShadowImages, NothingWithoutASkinOrWithoutExtendedBorders) {
  TExBorderSkin skin(2, 0);
  TsShadowImages out;
  PrepareShadowImages(skin.t, false, nullptr, nullptr, false, out);
  EXPECT_TRUE(out.Active.Empty());
  EXPECT_EQ(out.Margins, TRect());
  TsSkinTables none;
  PrepareShadowImages(none, true, nullptr, nullptr, false, out);
  EXPECT_TRUE(out.Active.Empty());
}

TEST(ShadowImages, TheSkinsExBorderGivesFramesAndMargins) {
  TExBorderSkin skin(2, 0);
  TsShadowImages out;
  PrepareShadowImages(skin.t, true, nullptr, nullptr, true, out);
  EXPECT_EQ(out.Margins, TRect(7, 6, 5, 4));  // border widths less FormOffset
  ASSERT_EQ(out.Active.Width(), 6);
  ASSERT_EQ(out.Inactive.Width(), 6);
  // White with alpha 0 becomes 0; the second frame keeps its white.
  EXPECT_EQ(out.Active.ScanLine(0)[0], 0);
  EXPECT_EQ(out.Inactive.ScanLine(0)[0], 255);
  EXPECT_EQ(Alpha(out.Inactive, 0, 0), 200);

  TExBorderSkin fixed(1, 1);
  PrepareShadowImages(fixed.t, true, nullptr, nullptr, false, out);
  EXPECT_EQ(out.Margins, TRect(2, 2, 2, 2));  // BorderMode: FormOffset on every side
  EXPECT_EQ(out.Inactive.ScanLine(0)[0], 0);  // one frame: a copy of the active image
}

TEST(ShadowImages, WithoutExBorderTheBuiltInImagesAreCopied) {
  TsSkinTables t;
  t.Sections.push_back(TsGeneralData());
  t.Sections.back().SectionName = "BUTTON";
  t.InitCachedIndexes();
  const TzkBitmap active = DrawActiveShadow();
  const TzkBitmap inactive = DrawInactiveShadow();
  TsShadowImages out;
  PrepareShadowImages(t, true, &active, &inactive, false, out);
  EXPECT_EQ(out.Margins, TRect(11, 7, 11, 11));
  EXPECT_EQ(out.Active.Width(), 32);
  EXPECT_EQ(out.Inactive.Width(), 31);
  PrepareShadowImages(t, true, &active, &inactive, true, out);
  EXPECT_EQ(out.Margins, TRect(12, 8, 12, 12));  // one more with desktop composition
  PrepareShadowImages(t, true, nullptr, nullptr, false, out);
  EXPECT_EQ(out.Margins, TRect());
}

// The built-in images are made for 100 %: at a display scale they and their margins grow
// together, so the window's content keeps its place inside the shadow.
TEST(ShadowImages, TheBuiltInImagesAndTheirMarginsFollowTheDisplayScale) {
  TsSkinTables t;
  t.Sections.push_back(TsGeneralData());
  t.InitCachedIndexes();
  const TzkBitmap active = DrawActiveShadow();
  const TzkBitmap inactive = DrawInactiveShadow();
  TsShadowImages out;
  PrepareShadowImages(t, true, &active, &inactive, true, out, 200);
  EXPECT_EQ(out.Margins, TRect(24, 16, 24, 24));
  EXPECT_EQ(out.Active.Width(), 64);
  EXPECT_EQ(out.Inactive.Height(), 62);
  // An area filter at twice the size: every 2 x 2 block is the pixel it comes from.
  for (int y = 0; y < 32; y += 5)
    for (int x = 0; x < 32; x += 3) EXPECT_EQ(Alpha(out.Active, 2 * x + 1, 2 * y), Alpha(active, x, y));
  PrepareShadowImages(t, true, &active, &inactive, false, out, 150);
  EXPECT_EQ(out.Margins, TRect(16, 10, 16, 16));
  EXPECT_EQ(out.Active.Width(), 48);
  EXPECT_EQ(Alpha(out.Active, 24, 24), 102);
  EXPECT_EQ(Alpha(out.Active, 0, 24), 0);
}

TEST(ShadowImages, BuiltInShadowsAreBlackWithAlphaRisingToTheCentre) {
  const TzkBitmap a = DrawActiveShadow();
  const TzkBitmap i = DrawInactiveShadow();
  ASSERT_EQ(a.Width(), 32);
  ASSERT_EQ(a.Height(), 32);
  ASSERT_EQ(i.Width(), 31);
  EXPECT_EQ(Alpha(a, 0, 0), 0);
  EXPECT_EQ(Alpha(a, 16, 0), 0);
  EXPECT_EQ(Alpha(a, 16, 16), 102);
  EXPECT_EQ(Alpha(i, 15, 15), 77);
  int highest = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      highest = std::max(highest, Alpha(a, x, y));
      EXPECT_EQ(a.ScanLine(y)[4 * x], 0);
    }
  EXPECT_EQ(highest, 102);
  // The 11 x 11 centre is fully shaded.
  for (int d = 11; d < 22; ++d) EXPECT_EQ(Alpha(a, d, d), 102);
  EXPECT_LT(Alpha(a, 5, 16), Alpha(a, 8, 16));
}

}  // namespace
