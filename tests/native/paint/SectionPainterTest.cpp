#include <gtest/gtest.h>

#include "paint/SkinTestTables.h"
#include "skin/paint/sSectionPainter.h"

using namespace painttest;

namespace {

const TColor A = RGBColor(10, 0, 0), B = RGBColor(20, 0, 0), C = RGBColor(30, 0, 0);
const TColor H = RGBColor(40, 0, 0), G = RGBColor(50, 0, 0), W = clWhite, K = clFuchsia;
const TColor X = RGBColor(1, 2, 3), Y = RGBColor(4, 5, 6);
const std::map<char, TColor> kPal = {{'a', A}, {'b', B}, {'c', C}, {'h', H}, {'g', G},
                                     {'w', W}, {'k', K}, {'x', X}, {'y', Y}, {'.', clBlack}};

TsBackgroundInfo ColourBehind(TColor c) {
  TsBackgroundInfo bg;
  bg.Color = c;
  return bg;
}

TsBackgroundInfo BitmapBehind(const TzkBitmap& b, int x, int y) {
  TsBackgroundInfo bg;
  bg.Bitmap = &b;
  bg.X = x;
  bg.Y = y;
  bg.IsBitmap = true;
  return bg;
}

TsGradArray Flat(TColor c) { return {{c, c, 100, 0}}; }

void Paint(const TsSkinTables& t, TzkBitmap& dst, const TRect& r, int state,
           const TsBackgroundInfo& bg = TsBackgroundInfo(), TColor custom = clFuchsia) {
  PaintSection(0, t.Sections[0].SectionName, bg, custom, -1, -1, &t, dst, TPoint(), r, state);
}

TEST(Section, TransparencyHundredShowsOnlyTheBackgroundColour) {
  TsSkinTables t;
  TsGeneralData& s = AddSection(t, "PANEL", A);
  s.Transparency = 100;
  s.GradientPercent = 50;
  s.GradientArray = Flat(G);
  TzkBitmap dst = Solid(4, 3, W);
  Paint(t, dst, Rect(1, 0, 4, 2), 0, ColourBehind(X));
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 4, 3), kPal), (std::vector<std::string>{"wxxx", "wxxx", "wwww"}));
}

TEST(Section, ColourOnlyAndCustomColour) {
  TsSkinTables t;
  TsGeneralData& s = AddSection(t, "PANEL", A);
  s.HotColor = H;
  TzkBitmap dst = Solid(3, 2, W);
  Paint(t, dst, Rect(0, 0, 3, 2), 0);
  EXPECT_EQ(Px(dst, 2, 1), A);
  Paint(t, dst, Rect(0, 0, 3, 2), 2);
  EXPECT_EQ(Px(dst, 2, 1), H);
  // A custom colour ignores gradient, texture and transparency.
  t.Sections[0].Transparency = 50;
  t.Sections[0].GradientPercent = 100;
  t.Sections[0].GradientArray = Flat(G);
  Paint(t, dst, Rect(0, 0, 3, 2), 0, ColourBehind(X), Y);
  EXPECT_EQ(Px(dst, 0, 0), Y);
  // The same section without the custom colour: colour X behind, 50 % of the gradient.
  Paint(t, dst, Rect(0, 0, 3, 2), 0, ColourBehind(X));
  EXPECT_EQ(Px(dst, 0, 0), RGBColor(25, 1, 1));  // (1*127 + 50*128 + 127) >> 8, ...
}

TEST(Section, NinetyPercentGradientOverTenPercentStretchedTexture) {
  TsSkinTables t;
  t.MasterBitmap = Solid(2, 2, RGBColor(200, 0, 0));
  AddMask(t, "BUTTON", "PATTERN", {Rect(0, 0, 2, 2), 1, 0, 1, 0, 0, 0, 0, itisaTexture});
  TsGeneralData& s = AddSection(t, "BUTTON", Y);
  s.ImagePercent = 10;
  s.GradientPercent = 90;
  s.GradientArray = Flat(RGBColor(0, 0, 200));
  TzkBitmap dst = Solid(5, 4, W);
  Paint(t, dst, Rect(0, 0, 5, 4), 0);
  // Texture weight 25 of 256: red (200 * 25 + 127) >> 8 = 20, blue (200 * 230 + 127) >> 8 = 180.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(Px(dst, x, y), RGBColor(20, 0, 180)) << x << "," << y;
}

TEST(Section, HalfGradientWithoutTextureIsTintedTowardsTheColour) {
  TsSkinTables t;
  TsGeneralData& s = AddSection(t, "PANEL", RGBColor(0, 0, 51));
  s.GradientPercent = 50;
  s.GradientArray = Flat(RGBColor(100, 0, 0));
  TzkBitmap dst = Solid(4, 4, W);
  Paint(t, dst, Rect(0, 0, 3, 3), 0);
  EXPECT_EQ(Px(dst, 2, 2), RGBColor(50, 0, 26));  // blue 25.5 rounds to the even 26
  EXPECT_EQ(Px(dst, 3, 3), W);                    // the tint stays inside the target
  EXPECT_EQ(Px(dst, 3, 0), W);
}

TEST(Section, PartialTransparencyBlendsOverTheBackgroundAtThePoint) {
  TsSkinTables t;
  TsGeneralData& s = AddSection(t, "PANEL", RGBColor(200, 100, 0));
  s.Transparency = 50;
  TzkBitmap behind = Solid(10, 10, RGBColor(0, 100, 200));
  SetPx(behind, 2 + 3 + 1, 1 + 4, clBlack);
  TzkBitmap dst = Solid(4, 2, W, TPixelFormat::pf32bit);
  PaintSection(0, "PANEL", BitmapBehind(behind, 2, 1), clFuchsia, -1, -1, &t, dst, TPoint(3, 4),
               Rect(1, 0, 4, 2), 0);
  // Weight 127 for the background: (bg * 127 + section * 128 + 127) >> 8.
  EXPECT_EQ(Px(dst, 1, 0), RGBColor(100, 100, 99));
  EXPECT_EQ(Px(dst, 2, 0), RGBColor(100, 50, 0));  // over the black background pixel
  EXPECT_EQ(Px(dst, 0, 0), W);
}

// Percentages far out of 0..100 paint as the nearest end of the range would, in every state
// and with or without a texture to share with.
TEST(Section, OutOfRangePercentagesPaintLikeTheEndsOfTheRange) {
  const auto look = [](int32_t imagePercent, int32_t gradientPercent, int32_t transparency,
                       int state) {
    TsSkinTables t;
    t.MasterBitmap = Solid(2, 2, RGBColor(200, 0, 0));
    SetPx(t.MasterBitmap, 1, 1, X);
    AddMask(t, "PANEL", "PATTERN", {Rect(0, 0, 2, 2), 1, 0, 0, 0, 0, 0, 0, itisaTexture});
    TsGeneralData& s = AddSection(t, "PANEL", A);
    s.ImagePercent = s.HotImagePercent = imagePercent;
    s.GradientPercent = s.HotGradientPercent = gradientPercent;
    s.Transparency = s.HotTransparency = transparency;
    s.GradientArray = s.HotGradientArray = Flat(G);
    TzkBitmap dst = Solid(5, 4, W);
    Paint(t, dst, Rect(0, 0, 5, 4), state, ColourBehind(Y));
    std::vector<TColor> pixels;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) pixels.push_back(Px(dst, x, y));
    return pixels;
  };
  struct Case {
    int32_t image, gradient, transparency;  // as read from the skin
    int32_t inImage, inGradient, inTransparency;  // the in-range values painted the same
  };
  const Case cases[] = {
      {2000000000, 2000000000, 0, 100, 100, 0},
      {10000000, 10000000, 50, 100, 100, 50},
      {2000000000, 0, 2000000000, 100, 0, 100},
      {INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, 0},
      {10000000, -10000000, 0, 100, 0, 0},
  };
  for (const Case& c : cases)
    for (int state = 0; state < 3; ++state)
      EXPECT_EQ(look(c.image, c.gradient, c.transparency, state),
                look(c.inImage, c.inGradient, c.inTransparency, state))
          << c.image << "/" << c.gradient << "/" << c.transparency << " state " << state;
}

TEST(Section, TextureFillModesAndTheirRemainders) {
  struct Case {
    int mode;
    std::vector<std::string> tile, expected;
  };
  const Case cases[] = {
      {2, {"ab"}, {"ababa", "ccccc", "ccccc"}},
      {3, {"a", "b"}, {"acccc", "bcccc", "acccc"}},
      {6, {"ab"}, {"ccccc", "ccccc", "ababa"}},
      {7, {"a", "b"}, {"cccca", "ccccb", "cccca"}},
      {10, {"ab", "ba"}, {"ababw", "babaw", "wwwww"}},
      {4, {"ab"}, {"aaabb", "ccccc", "ccccc"}},
      {0, {"ab", "ba"}, {"ababa", "babab", "ababa"}},
  };
  for (const Case& c : cases) {
    TsSkinTables t;
    const int tw = int(c.tile[0].size()), th = int(c.tile.size());
    t.MasterBitmap = TzkBitmap(tw, th);
    DrawGrid(t.MasterBitmap, 0, 0, c.tile, kPal);
    AddMask(t, "PANEL", "PATTERN", {Rect(0, 0, tw, th), 1, 0, c.mode, 0, 0, 0, 0, itisaTexture});
    AddSection(t, "PANEL", C).ImagePercent = 100;
    TzkBitmap dst = Solid(5, 3, W);
    Paint(t, dst, Rect(0, 0, 5, 3), 0);
    EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 5, 3), kPal), c.expected) << "mode " << c.mode;
  }
}

TEST(Section, PatternPictureWhenNoTextureImageAndHotKeyInHotState) {
  TsSkinTables t;
  TsPatternData p;
  p.Image = std::make_unique<TzkBitmap>(2, 1);
  DrawGrid(*p.Image, 0, 0, {"xy"}, kPal);
  p.SectionName = "PANEL";
  p.PropertyName = "HOTPATTERN";
  t.Patterns.push_back(std::move(p));
  TsGeneralData& s = AddSection(t, "PANEL", A);
  s.ImagePercent = s.HotImagePercent = 100;
  TzkBitmap dst = Solid(3, 1, W);
  Paint(t, dst, Rect(0, 0, 3, 1), 0);  // "PATTERN": none, and shares 100: nothing painted
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 3, 1), kPal)[0], "www");
  Paint(t, dst, Rect(0, 0, 3, 1), 1);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 3, 1), kPal)[0], "xyx");
}

TEST(Section, NormalStateOverlayIsAMaskedTextureInWholeTiles) {
  // A masked texture 1 x 1 over its mask: picture y, mask 0 (opaque). StretchMode 10.
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(1, 2);
  SetPx(t.MasterBitmap, 0, 0, Y);
  SetPx(t.MasterBitmap, 0, 1, clBlack);
  const int overlay = AddMask(t, "PANEL", "PATTERN", {Rect(0, 0, 1, 2), 1, 1, 10, 0, 0, 0, 0, itisaTexture});
  AddSection(t, "PANEL", A);
  TzkBitmap dst = Solid(2, 2, W);
  PaintSection(0, "PANEL", TsBackgroundInfo(), clFuchsia, -1, overlay, &t, dst, TPoint(), Rect(0, 0, 2, 2), 0);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 2, 2), kPal), (std::vector<std::string>{"yy", "yy"}));
  PaintSection(0, "PANEL", TsBackgroundInfo(), clFuchsia, -1, overlay, &t, dst, TPoint(), Rect(0, 0, 2, 2), 1);
  EXPECT_EQ(Px(dst, 1, 1), A);
}

// Master bitmap for the composed looks: two 3 x 3 border frames and a 1 x 1 corner glyph.
//   frame 0: key top-left corner, border a, centre x      frame 1: border b, centre y
void BuildComposedSkin(TsSkinTables& t, int borderStretchMode) {
  t.MasterBitmap = TzkBitmap(6, 4);
  DrawGrid(t.MasterBitmap, 0, 0, {"kaabbb", "axabyb", "aaabbb", "g....."}, kPal);
  const int border = AddMask(t, "BUTTON", "BORDERSMASK", {Rect(0, 0, 6, 3), 2, 0, borderStretchMode, 1, 1, 1, 1});
  const int corner = AddMask(t, "BUTTON", "IMGBTMRIGHT", {Rect(0, 3, 1, 4), 1, 0, 0, 0, 0, 0, 0, itisaGlyph});
  TsGeneralData& s = AddSection(t, "BUTTON", C);
  s.HotColor = H;
  s.BorderIndex = border;
  s.ImgBottomRight = corner;
}

TEST(ComposedLook, SkinnedItemGoldenInNormalAndHotStates) {
  TsSkinTables t;
  BuildComposedSkin(t, 0);
  const TsItemLook look = SectionLook(t, 0);
  TzkBitmap dst = Solid(7, 6, W);
  PaintSkinnedItem(&t, look, TsBackgroundInfo(), clFuchsia, true, false, &dst, TPoint(), Rect(1, 1, 6, 5), 0);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 7, 6), kPal), (std::vector<std::string>{
                                                       "wwwwwww",
                                                       "wcaaaaw",  // key corner shows the colour
                                                       "wacccaw",  // no centre: StretchMode bit 2 clear
                                                       "wacccaw",
                                                       "waaaagw",  // corner glyph over the border
                                                       "wwwwwww"}));
  PaintSkinnedItem(&t, look, TsBackgroundInfo(), clFuchsia, true, false, &dst, TPoint(), Rect(1, 1, 6, 5), 1);
  EXPECT_EQ(ReadGrid(dst, Rect(1, 1, 6, 5), kPal), (std::vector<std::string>{"bbbbb", "bhhhb", "bhhhb", "bbbbg"}));
}

TEST(ComposedLook, BorderHiddenInNormalStateAndTargetOutsideTheBitmap) {
  TsSkinTables t;
  BuildComposedSkin(t, 3 | 4);  // stretch, hidden in state 0, centre in the mask
  const TsItemLook look = SectionLook(t, 0);
  TzkBitmap dst = Solid(5, 4, W);
  PaintSkinnedItem(&t, look, TsBackgroundInfo(), clFuchsia, true, false, &dst, TPoint(), Rect(0, 0, 5, 4), 0);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 5, 4), kPal), (std::vector<std::string>{"ccccc", "ccccc", "ccccc", "ccccg"}));
  PaintSkinnedItem(&t, look, TsBackgroundInfo(), clFuchsia, true, false, &dst, TPoint(), Rect(0, 0, 5, 4), 1);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 5, 4), kPal), (std::vector<std::string>{"bbbbb", "byyyb", "byyyb", "bbbbg"}));
  TzkBitmap other = Solid(5, 4, W);
  PaintSkinnedItem(&t, look, TsBackgroundInfo(), clFuchsia, true, false, &other, TPoint(), Rect(0, 0, 6, 4), 1);
  EXPECT_EQ(Px(other, 0, 0), W);
}

TEST(ComposedLook, ByIndexPaintsCornersBeforeTheBorderAndFillsKeyCorners) {
  TsSkinTables t;
  BuildComposedSkin(t, 0);
  TzkBitmap dst = Solid(4, 3, W);
  PaintSectionByIndex(0, "BUTTON", ColourBehind(X), -1, -1, &t, &dst, TPoint(), Rect(0, 0, 4, 3), 0, false);
  // The border is drawn last, over the corner glyph; its key corner takes the background.
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 4, 3), kPal), (std::vector<std::string>{"xaaa", "acca", "aaaa"}));
}

TEST(ComposedLook, ByNameFallsBackAndUsesThePixelsBehind) {
  TsSkinTables t;
  BuildComposedSkin(t, 0);
  t.Sections[0].Transparency = 100;  // the section shows what lies behind
  TzkBitmap behind = Solid(6, 6, Y);
  SetPx(behind, 3, 3, X);
  TzkBitmap bmp(3, 3);
  EXPECT_EQ(PaintSectionByName(bmp, "NOPE", "BUTTON", &behind, clBlack, Rect(2, 2, 5, 5), &t, 0), 0);
  // The border (drawn over the corner glyph) on the copied pixels; its key corner keeps them.
  EXPECT_EQ(ReadGrid(bmp, Rect(0, 0, 3, 3), kPal), (std::vector<std::string>{"yaa", "axa", "aaa"}));
  EXPECT_EQ(PaintSectionByName(bmp, "NOPE", "NONE", nullptr, clBlack, Rect(0, 0, 3, 3), &t, 0), -1);
}

TEST(DisabledLook, BlendedIntoTheBackgroundOrTintedTowardsAColour) {
  TzkBitmap img = Solid(2, 2, RGBColor(100, 200, 0));
  TzkBitmap behind = Solid(5, 5, RGBColor(0, 0, 100));
  PaintDisabledLook(img, dkBlended, clBlack, TPoint(1, 1), BitmapBehind(behind, 2, 2));
  EXPECT_EQ(Px(img, 1, 1), RGBColor(40, 80, 60));  // 40 % image, 60 % background
  TzkBitmap a = Solid(2, 2, RGBColor(100, 200, 0)), b = a.Clone();
  PaintDisabledLook(a, dkBlended, clBlack, TPoint(), ColourBehind(RGBColor(0, 0, 100)));
  EXPECT_EQ(Px(a, 0, 0), RGBColor(50, 100, 50));
  PaintDisabledLook(b, dkBlended | dkGrayed, RGBColor(0, 0, 100), TPoint(), ColourBehind(K));
  EXPECT_EQ(Px(b, 1, 0), RGBColor(50, 50, 100));  // grey 100, then half towards the parent
}

}  // namespace
