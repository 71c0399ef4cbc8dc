#include <gtest/gtest.h>

#include "skin/data/sHueSaturation.h"

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

TColor PixelAt(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}

void SetPixel(TzkBitmap& b, int x, int y, TColor c, uint8_t alpha = 0) {
  uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
  if (b.BytesPerPixel() == 4) p[3] = alpha;
}

TEST(ChangeHue, RotatesAndWrapsTheHue) {
  EXPECT_EQ(ChangeHue(120, kRed), kGreen);
  EXPECT_EQ(ChangeHue(240, kRed), kBlue);
  EXPECT_EQ(ChangeHue(360, kRed), kRed);
  EXPECT_EQ(ChangeHue(-120, kRed), kBlue);
  EXPECT_EQ(ChangeHue(720 + 120, kRed), kGreen);
  EXPECT_EQ(ChangeHue(30, 0x3399FF), ChangeHue(30 + 360 * 5, 0x3399FF));
  // An orange shifted by a third of the circle keeps saturation and value.
  EXPECT_EQ(ChangeHue(120, RGBColor(255, 128, 0)), RGBColor(0, 255, 128));
}

TEST(ChangeHue, GreysStayAndSystemColoursBecomeRgb) {
  for (TColor grey : {0x000000, 0xFFFFFF, 0x808080})
    EXPECT_EQ(ChangeHue(77, grey), grey);
  EXPECT_EQ(ChangeHue(90, clBtnFace), ChangeHue(90, ColorToRGB(clBtnFace)));
  EXPECT_EQ(ChangeHue(90, clBtnShadow), ColorToRGB(clBtnShadow));  // a grey system colour
  EXPECT_EQ(ChangeHue(0, clHighlight), ColorToRGB(clHighlight));
}

TEST(ChangeSaturation, MovesTowardsOrAwayFromGrey) {
  EXPECT_EQ(ChangeSaturation(kRed, 100), 0x555555);
  EXPECT_EQ(ChangeSaturation(kRed, -100), kRed);  // 425 and -85 clamped
  EXPECT_EQ(ChangeSaturation(kRed, 0), kRed);
  EXPECT_EQ(ChangeSaturation(clBtnFace, 0), clBtnFace);
  // 50 % of the way to the average 85: 255 -> 170, 0 -> 42.5 -> 42 (halves to even).
  EXPECT_EQ(ChangeSaturation(kRed, 50), RGBColor(170, 42, 42));
  EXPECT_EQ(SaturationAmount(50), -50);
  EXPECT_EQ(SaturationAmount(150), -49);
  EXPECT_EQ(SaturationAmount(-100), 100);
  EXPECT_EQ(SaturationAmount(101), 0);
}

// A master bitmap with a red field, a magenta key pixel, a grey pixel and two title icons
// (close and minimise) drawn in red in their own rectangles.
class ApplyHueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.MasterBitmap = TzkBitmap(8, 2);
    t.MasterBitmap.Fill(0xFF0000);  // B,G,R bytes 00 00 FF: red
    SetPixel(t.MasterBitmap, 1, 0, clFuchsia);
    SetPixel(t.MasterBitmap, 2, 0, 0x808080);
    TsGeneralData g;
    g.SectionName = "GLOBALINFO";
    g.Color = kRed;
    g.FontColor = {kRed, -1, kGreen, -1, -1};
    g.GradientArray = {{kRed, kGreen, 50, 0}};
    t.Sections.push_back(g);
    t.SkinData.Shadow1Color = kRed;
    t.SkinData.BorderColor = kGreen;
    AddIcon("BICONCLOSE", TRect(4, 0, 5, 1));
    AddIcon("BICONMIN", TRect(6, 0, 7, 1));
  }
  void AddIcon(const char* key, TRect r) {
    TsMaskData m;
    m.SectionName = "GLOBALINFO";
    m.PropertyName = key;
    m.Rect = r;
    t.Masks.push_back(std::move(m));
  }
  TsSkinTables t;
};

TEST_F(ApplyHueTest, ShiftsMasterAndColoursButNotKeyGreyOrMissingColours) {
  ApplyHue(t, 120);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 0, 1), kGreen);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 1, 0), clFuchsia);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 2, 0), 0x808080);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 4, 0), kGreen);  // KeepTitleHue 0: icons change too
  const TsGeneralData& g = t.Sections[0];
  EXPECT_EQ(g.Color, kGreen);
  EXPECT_EQ(g.HotColor, clWhite);
  EXPECT_EQ(g.FontColor.Color, kGreen);
  EXPECT_EQ(g.FontColor.Left, -1);
  EXPECT_EQ(g.FontColor.Top, kBlue);
  EXPECT_EQ(g.GradientArray[0].Color1, kGreen);
  EXPECT_EQ(g.GradientArray[0].Color2, kBlue);
  EXPECT_EQ(t.SkinData.Shadow1Color, kGreen);
  EXPECT_EQ(t.SkinData.BorderColor, kBlue);
}

TEST_F(ApplyHueTest, KeepTitleHueProtectsTitleIcons) {
  t.SkinData.KeepTitleHue = 1;
  ApplyHue(t, 120);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 4, 0), kRed);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 6, 0), kRed);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 5, 0), kGreen);
  t.Clear();
  SetUp();
  t.SkinData.KeepTitleHue = 2;  // only the close icons
  ApplyHue(t, 120);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 4, 0), kRed);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 6, 0), kGreen);
}

TEST_F(ApplyHueTest, OwnBitmapsKeepAlphaAndProtectedOnesStay) {
  t.SkinData.KeepTitleHue = 2;
  t.Masks[0].Image = std::make_unique<TzkBitmap>(2, 1, TPixelFormat::pf32bit);  // BICONCLOSE
  t.Masks[0].Image->Fill(0x80FF0000);
  AddIcon("BICONCLOSEGLOW0", TRect());
  t.Masks[2].Image = std::make_unique<TzkBitmap>(1, 1, TPixelFormat::pf32bit);
  t.Masks[2].Image->Fill(0x80FF0000);
  AddIcon("GLYPH", TRect());
  t.Masks[3].Image = std::make_unique<TzkBitmap>(2, 1, TPixelFormat::pf32bit);
  t.Masks[3].Image->Fill(0x40FF0000);
  SetPixel(*t.Masks[3].Image, 1, 0, clFuchsia, 9);
  ApplyHue(t, 120);
  EXPECT_EQ(PixelAt(*t.Masks[0].Image, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*t.Masks[2].Image, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*t.Masks[3].Image, 0, 0), kGreen);
  EXPECT_EQ(t.Masks[3].Image->ScanLine(0)[3], 0x40);
  EXPECT_EQ(PixelAt(*t.Masks[3].Image, 1, 0), clFuchsia);
}

TEST_F(ApplyHueTest, SaturationAdjustsTitleIconsTooAndZeroAmountsDoNothing) {
  t.SkinData.KeepTitleHue = 1;
  ApplySaturation(t, 101);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 0, 0), kRed);
  ApplySaturation(t, -100);  // amount 100: all the way to grey
  EXPECT_EQ(PixelAt(t.MasterBitmap, 4, 0), 0x555555);
  EXPECT_EQ(PixelAt(t.MasterBitmap, 1, 0), clFuchsia);
  EXPECT_EQ(t.Sections[0].Color, 0x555555);
  EXPECT_EQ(t.Sections[0].FontColor.Left, -1);
  ApplyHue(t, 0);
  EXPECT_EQ(t.Sections[0].Color, 0x555555);
}

}  // namespace
