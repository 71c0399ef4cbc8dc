#include <gtest/gtest.h>

#include "paint/SkinTestTables.h"
#include "skin/paint/sMaskPainter.h"

using namespace painttest;

namespace {

const TColor A = RGBColor(10, 0, 0), B = RGBColor(20, 0, 0), C = RGBColor(30, 0, 0);
const TColor W = clWhite, K = clFuchsia, X = RGBColor(1, 2, 3), Y = RGBColor(4, 5, 6);
const std::map<char, TColor> kPal = {{'a', A}, {'b', B}, {'c', C}, {'w', W},
                                     {'k', K}, {'x', X}, {'y', Y}, {'.', clBlack}};

TsBackgroundInfo ColourBehind(TColor c) {
  TsBackgroundInfo bg;
  bg.Color = c;
  return bg;
}

TEST(BorderMask, StateBeyondTheFramesDrawsTheLastFrame) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(9, 3);
  DrawGrid(t.MasterBitmap, 0, 0, {"aaabbbccc", "aaabbbccc", "aaabbbccc"}, kPal);
  const int m = AddMask(t, "S", "BORDERSMASK", {Rect(0, 0, 9, 3), 3, 0, 4, 1, 1, 1, 1});
  TzkBitmap dst = Solid(4, 4, W);
  PaintBorderMask(dst, Rect(0, 0, 4, 4), true, false, 5, t.Masks[m], TsBackgroundInfo());
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 4, 4), kPal), (std::vector<std::string>{"cccc", "cccc", "cccc", "cccc"}));
}

TEST(BorderMask, NarrowTargetShrinksBordersToThreeAndTwo) {
  // A 14 x 14 frame with 6-pixel borders; each source pixel's red is 10 * column and its
  // green 10 * row, so the painted pixel tells where it came from.
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(14, 14);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 14; ++x) SetPx(t.MasterBitmap, x, y, RGBColor(uint8_t(10 * x), uint8_t(10 * y), 0));
  const int m = AddMask(t, "S", "BORDERSMASK", {Rect(0, 0, 14, 14), 1, 0, 0, 6, 6, 6, 6});
  TzkBitmap dst = Solid(7, 7, W);
  PaintBorderMask(dst, Rect(1, 1, 6, 6), false, false, 0, t.Masks[m], TsBackgroundInfo());
  // Left/top corners 3 pixels (source 0..2), right/bottom 2 pixels (source 12..13).
  const int from[5] = {0, 1, 2, 12, 13};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(Px(dst, 1 + x, 1 + y), RGBColor(uint8_t(10 * from[x]), uint8_t(10 * from[y]), 0)) << x << "," << y;
  EXPECT_EQ(Px(dst, 0, 0), W);
  EXPECT_EQ(Px(dst, 6, 6), W);
}

TEST(BorderMask, HiddenInNormalStateAndTooSmallTargetsDrawNothing) {
  TsSkinTables t;
  t.MasterBitmap = Solid(3, 3, A);
  const int m = AddMask(t, "S", "BORDERSMASK", {Rect(0, 0, 3, 3), 1, 0, 3, 1, 1, 1, 1});
  TzkBitmap dst = Solid(4, 4, W);
  PaintBorderMask(dst, Rect(0, 0, 4, 4), true, false, 0, t.Masks[m], TsBackgroundInfo());
  EXPECT_EQ(Px(dst, 0, 0), W);
  PaintBorderMask(dst, Rect(0, 0, 4, 1), true, false, 1, t.Masks[m], TsBackgroundInfo());
  EXPECT_EQ(Px(dst, 0, 0), W);
  PaintBorderMask(dst, Rect(0, 0, 4, 4), true, false, 1, t.Masks[m], TsBackgroundInfo());
  EXPECT_EQ(Px(dst, 0, 0), A);
}

TEST(BorderMask, KeyColourSidesAreCopiedAsTheyAreOnlyCornersAreTransparent) {
  TsSkinTables t;
  t.MasterBitmap = Solid(3, 3, K);
  const int m = AddMask(t, "S", "BORDERSMASK", {Rect(0, 0, 3, 3), 1, 0, 0, 1, 1, 1, 1});
  TzkBitmap dst = Solid(4, 4, W);
  PaintBorderMask(dst, Rect(0, 0, 4, 4), false, false, 0, t.Masks[m], TsBackgroundInfo());
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 4, 4), kPal), (std::vector<std::string>{"wkkw", "kwwk", "kwwk", "wkkw"}));
  // Filling the corners from the background.
  PaintBorderMask(dst, Rect(0, 0, 4, 4), false, true, 0, t.Masks[m], ColourBehind(X));
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 4, 4), kPal), (std::vector<std::string>{"xkkx", "kwwk", "kwwk", "xkkx"}));
}

TEST(BorderMask, StretchBitRepeatsSourcePixelsInsteadOfTiling) {
  TsSkinTables t;
  t.MasterBitmap = Solid(5, 3, W);
  DrawGrid(t.MasterBitmap, 0, 0, {"wabcw"}, kPal);
  TMaskFields fields{Rect(0, 0, 5, 3), 1, 0, 0, 1, 1, 1, 1};
  const int tiled = AddMask(t, "S", "T", fields);
  fields.StretchMode = 1;
  const int stretched = AddMask(t, "S", "S", fields);
  TzkBitmap dst = Solid(8, 3, X);
  PaintBorderMask(dst, Rect(0, 0, 8, 3), false, false, 0, t.Masks[tiled], TsBackgroundInfo());
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 8, 1), kPal)[0], "wabcabcw");
  PaintBorderMask(dst, Rect(0, 0, 8, 3), false, false, 0, t.Masks[stretched], TsBackgroundInfo());
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 8, 1), kPal)[0], "waabbccw");
}

TEST(BorderMask, AlphaMaskBlendsByTheLowerHalfAndFillsKeyPixelsFromTheBackground) {
  // Picture row 0 over mask row 1: pixels s = (200, 100, 0), key; masks 0, 255 / 128.
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(2, 2);
  SetPx(t.MasterBitmap, 0, 0, RGBColor(200, 100, 0));
  SetPx(t.MasterBitmap, 1, 0, K);
  SetPx(t.MasterBitmap, 0, 1, RGBColor(0, 255, 128));
  SetPx(t.MasterBitmap, 1, 1, RGBColor(0, 0, 0));
  const int m = AddMask(t, "S", "M", {Rect(0, 0, 2, 2), 1, 1});
  TzkBitmap dst = Solid(3, 2, RGBColor(100, 50, 255), TPixelFormat::pf32bit);
  SetPx(dst, 1, 0, RGBColor(100, 50, 255), 7);
  SetPx(dst, 2, 0, RGBColor(100, 50, 255), 7);
  TzkBitmap behind = Solid(5, 5, Y, TPixelFormat::pf32bit);
  SetPx(behind, 4, 3, X);
  TsBackgroundInfo bg;
  bg.Bitmap = &behind;
  bg.X = 2, bg.Y = 3;
  bg.IsBitmap = true;
  PaintMaskPartAlpha(Rect(1, 0, 9, 9), Rect(0, 0, 2, 1), dst, t.Masks[m], true, bg, t.MasterBitmap);
  // Red: mask 0 -> the skin's 200; green: mask 255 -> ((50-100)*255 + 25600) >> 8 = 50;
  // blue: ((255-0)*128 + 0) >> 8 = 127.
  EXPECT_EQ(Px(dst, 1, 0), RGBColor(200, 50, 127));
  EXPECT_EQ(Px(dst, 2, 0), X);  // key pixel: the background at (2 + 2, 3 + 0)
  EXPECT_EQ(Alpha(dst, 1, 0), 255);
  EXPECT_EQ(Px(dst, 0, 0), RGBColor(100, 50, 255));
  EXPECT_EQ(Px(dst, 1, 1), RGBColor(100, 50, 255));  // no mask rows for a second picture row
}

TEST(GlyphMask, NegativePointCutsTheFrameAndTransparencyFollowsTheFlags) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(6, 2);
  DrawGrid(t.MasterBitmap, 0, 0, {"abckxk", "abckxk"}, kPal);
  const int g = AddMask(t, "S", "GLYPHMASK", {Rect(0, 0, 6, 2), 2, 0, 0, 0, 0, 0, 0, itisaGlyph});
  TzkBitmap dst = Solid(3, 2, W);
  PaintGlyphMask(dst, TPoint(-1, 0), 0, TsBackgroundInfo(), t.Masks[g], true);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 3, 2), kPal), (std::vector<std::string>{"bcw", "bcw"}));
  PaintGlyphMask(dst, TPoint(0, 0), 7, TsBackgroundInfo(), t.Masks[g], true);  // frame 1
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 3, 2), kPal), (std::vector<std::string>{"bxw", "bxw"}));
  TzkBitmap half = Solid(3, 1, clBlack);
  PaintGlyphMask(half, TPoint(0, 0), 1, TsBackgroundInfo(), t.Masks[g], false);
  EXPECT_EQ(Px(half, 0, 0), clBlack);                  // key skipped
  EXPECT_EQ(Px(half, 1, 0), RGBColor(0, 1, 2));        // 1 - 0.5 = 0.5 -> 0, 1.0, 1.5 -> 2
}

TEST(KeyRuns, CornerRunsOfTopAndBottomRows) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(6, 4);
  DrawGrid(t.MasterBitmap, 0, 0, {"kkaakk", "kaaaak", "aaaaaa", "kaaaaa"}, kPal);
  const int m = AddMask(t, "S", "BORDERSMASK", {Rect(0, 0, 6, 4), 1, 0, 0, 2, 2, 2, 1});
  std::vector<TRect> runs;
  CollectKeyRuns(runs, 20, t.Masks[m], false, 0);
  const std::vector<TRect> top = {Rect(0, 0, 2, 1), Rect(18, 0, 20, 1), Rect(0, 1, 1, 2), Rect(19, 1, 20, 2)};
  EXPECT_EQ(runs, top);
  runs.clear();
  CollectKeyRuns(runs, 20, t.Masks[m], true, 30);
  EXPECT_EQ(runs, std::vector<TRect>{Rect(0, 30, 1, 31)});
}

TEST(KeyRuns, CopyMaskCutRegionCopiesAndCollectsRunsInDestinationPlaces) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(5, 1);
  DrawGrid(t.MasterBitmap, 0, 0, {"akkak"}, kPal);
  const int m = AddMask(t, "S", "M", {Rect(0, 0, 5, 1)});
  TzkBitmap dst = Solid(8, 3, W);
  std::vector<TRect> cuts;
  CopyMaskCutRegion(dst, &cuts, t.Masks[m], Rect(0, 0, 5, 1), TPoint(3, 2));
  EXPECT_EQ(ReadGrid(dst, Rect(3, 2, 8, 3), kPal)[0], "akkak");
  EXPECT_EQ(cuts, (std::vector<TRect>{Rect(4, 2, 6, 3), Rect(7, 2, 8, 3)}));
}

TEST(KeyPixels, RestoreFromMaskCornerAndCopyExceptKey) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(4, 4);
  DrawGrid(t.MasterBitmap, 0, 0, {"kaaa", "aaaa", "aaak", "aakk"}, kPal);
  const int m = AddMask(t, "S", "M", {Rect(0, 0, 4, 4), 1, 0, 0, 2, 2, 2, 2});
  TzkBitmap src = Solid(6, 6, X, TPixelFormat::pf32bit), dst = Solid(2, 2, W, TPixelFormat::pf32bit);
  RestoreKeyPixels(dst, src, Rect(0, 0, 2, 2), 17, &t, m, Rect(3, 3, 5, 5));  // bottom-right 2 x 2
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 2, 2), kPal), (std::vector<std::string>{"wx", "xx"}));
  TzkBitmap keyed = Solid(2, 2, K, TPixelFormat::pf32bit);
  SetPx(keyed, 0, 0, W);
  RestoreKeyPixels(keyed, src, Rect(0, 0, 2, 2), 13, &t, -1, Rect(0, 0, 2, 2));  // no mask
  EXPECT_EQ(ReadGrid(keyed, Rect(0, 0, 2, 2), kPal), (std::vector<std::string>{"wx", "xx"}));

  TzkBitmap img(2, 1);
  DrawGrid(img, 0, 0, {"ak"}, kPal);
  TzkBitmap out(3, 2, TPixelFormat::pf32bit);
  CopyImageExceptKey(out, img, 1, 1, K);
  EXPECT_EQ(Px(out, 1, 1), A);
  EXPECT_EQ(Alpha(out, 1, 1), 255);
  EXPECT_EQ(Alpha(out, 2, 1), 0);  // the key pixel was not copied
}

TEST(KeyCorners, KeyPixelsOfTheStateFramesCornersTakeTheBackground) {
  TsSkinTables t;
  t.MasterBitmap = TzkBitmap(8, 3);
  DrawGrid(t.MasterBitmap, 0, 0, {"kaakkbbk", "aaaabbbb", "kaakbbbk"}, kPal);
  const int m = AddMask(t, "S", "M", {Rect(0, 0, 8, 3), 2, 0, 0, 1, 1, 1, 1});
  for (int state : {1, 5}) {
    TzkBitmap dst = Solid(5, 3, W);
    FillKeyCornersFromBackground(dst, t.Masks[m], state, ColourBehind(X));
    EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 5, 3), kPal), (std::vector<std::string>{"xwwwx", "wwwww", "wwwwx"}))
        << state;
  }
  // A background bitmap one column narrower than the target: the right corners lie outside it.
  const TzkBitmap behind = Solid(4, 3, Y);
  TsBackgroundInfo bg;
  bg.Bitmap = &behind;
  bg.IsBitmap = true;
  TzkBitmap dst = Solid(5, 3, W, TPixelFormat::pf32bit);
  FillKeyCornersFromBackground(dst, t.Masks[m], 0, bg);
  EXPECT_EQ(ReadGrid(dst, Rect(0, 0, 5, 3), kPal), (std::vector<std::string>{"ywwww", "wwwww", "ywwww"}));

  TzkBitmap thin = Solid(1, 3, W);
  FillKeyCornersFromBackground(thin, t.Masks[m], 0, ColourBehind(X));
  EXPECT_EQ(ReadGrid(thin, Rect(0, 0, 1, 3), kPal), (std::vector<std::string>{"w", "w", "w"}));
}

}  // namespace
