// Skin tables at a display scale: the internal skin "Quarn" as the build makes it, scaled at
// whole and fractional scales, and hand-built tables for the exact pixels of cuts and frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

#include "paint/SkinTestTables.h"
#include "skin/data/sMaskScaling.h"
#include "skin/data/sScaledSkin.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"

using namespace painttest;

namespace {

const std::string kArchive = std::string(VORNIK_BINARY_DIR) + "/quarn/Quarn.qvz";

// The part of a mask's Rect its frames and bands cover.
TRect PictureRect(const TsMaskData& m) {
  const TsMaskScaleLayout l = MaskScaleLayout(m, 100);
  return Bounds(m.Rect.Left, m.Rect.Top, l.Frames * l.SourceX.Size(), l.Bands * l.SourceY.Size());
}

// `rect` of src with every pixel repeated n x n.
TzkBitmap Replicated(const TzkBitmap& src, const TRect& rect, int n) {
  TzkBitmap out(rect.Width() * n, rect.Height() * n, src.PixelFormat());
  const int bpp = src.BytesPerPixel();
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      std::memcpy(out.ScanLine(y) + x * bpp,
                  src.ScanLine(rect.Top + y / n) + (rect.Left + x / n) * bpp, size_t(bpp));
  return out;
}

TzkBitmap Cut(const TzkBitmap& src, const TRect& rect) { return Replicated(src, rect, 1); }

std::set<uint32_t> Colours(const TzkBitmap& b) {
  std::set<uint32_t> colours;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) colours.insert(uint32_t(Px(b, x, y)));
  return colours;
}

class ScaledSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::vector<uint8_t> archive = ReadWholeFile(kArchive, kMaxArchiveBytes);
    quarn_ = new TsSkinTables;
    LoadSkinFromArchive(archive.data(), archive.size(), *quarn_, {});
  }
  static void TearDownTestSuite() {
    delete quarn_;
    quarn_ = nullptr;
  }
  static const TsSkinTables& Q() { return *quarn_; }
  static const TzkBitmap& Source(const TsMaskData& m) { return *MaskSourceImage(m); }

  static TsSkinTables* quarn_;
};
TsSkinTables* ScaledSkinTest::quarn_ = nullptr;

}  // namespace

TEST_F(ScaledSkinTest, EverySizeIsScaledByTheRuleAndNothingElseChanges) {
  ASSERT_FALSE(Q().Masks.empty());
  for (int scale : {125, 150, 200}) {
    const auto s = ScaleSkinTables(Q(), scale);
    const TsSkinData &a = Q().SkinData, &b = s->SkinData;
    for (auto field :
         {&TsSkinData::TitleHeight, &TsSkinData::MaxTitleHeight, &TsSkinData::ExBorderWidth,
          &TsSkinData::FormOffset, &TsSkinData::CenterOffset, &TsSkinData::TitleButtonSpacing,
          &TsSkinData::TitleButtonVAlign, &TsSkinData::TitleButtonsRight,
          &TsSkinData::TitleButtonsLeft, &TsSkinData::CloseGlowMargin, &TsSkinData::MaxGlowMargin,
          &TsSkinData::MinGlowMargin, &TsSkinData::Shadow1Offset, &TsSkinData::Shadow1Blur})
      EXPECT_EQ(b.*field, ScaleLength(a.*field, scale)) << scale;
    EXPECT_EQ(b.Shadow1Transparency, a.Shadow1Transparency);  // a percentage
    EXPECT_EQ(b.CloseGlow, a.CloseGlow);                      // a count
    EXPECT_EQ(b.BorderColor, a.BorderColor);
    for (size_t i = 0; i < Q().Sections.size(); ++i) {
      EXPECT_EQ(s->Sections[i].GlowMargin, ScaleLength(Q().Sections[i].GlowMargin, scale));
      EXPECT_EQ(s->Sections[i].Transparency, Q().Sections[i].Transparency);
    }
    for (size_t i = 0; i < Q().Masks.size(); ++i) {
      const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
      EXPECT_EQ(y.WL, ScaleLength(x.WL, scale));
      EXPECT_EQ(y.BorderWidth, ScaleLength(x.BorderWidth, scale));
      EXPECT_EQ(y.StretchMode, x.StretchMode);
      EXPECT_EQ(y.Manager, s.get());
    }
  }
  TsSkinData d;
  d.CenterOffset = -3;
  d.Shadow1Blur = -1;  // no blur
  d.TitleHeight = 30000;
  const TsSkinData e = ScaleSkinData(d, 200);
  EXPECT_EQ(e.CenterOffset, -6);
  EXPECT_EQ(e.Shadow1Blur, -1);
  EXPECT_EQ(e.TitleHeight, INT16_MAX);
  EXPECT_EQ(ScaleSkinData(d, 1000).CenterOffset, -12);  // held to 400 %
}

TEST_F(ScaledSkinTest, HundredPercentIsAnExactCopy) {
  for (int scale : {100, 40}) {
    const auto s = ScaleSkinTables(Q(), scale);
    EXPECT_TRUE(SamePixels(s->MasterBitmap, Q().MasterBitmap));
    for (size_t i = 0; i < Q().Masks.size(); ++i) {
      const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
      EXPECT_EQ(y.Rect, x.Rect);
      EXPECT_EQ(y.WR, x.WR);
      ASSERT_EQ(bool(y.Image), bool(x.Image));
      if (x.Image) EXPECT_TRUE(SamePixels(*y.Image, *x.Image));
    }
    EXPECT_EQ(SkinImageBytes(*s), SkinImageBytes(Q()));
  }
}

TEST_F(ScaledSkinTest, NinePartPiecesAddUpToTheScaledFrameAndNeverOverlap) {
  for (int scale : {125, 150, 175, 250}) {
    const auto s = ScaleSkinTables(Q(), scale);
    for (size_t i = 0; i < Q().Masks.size(); ++i) {
      const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
      const TsMaskScaleLayout l = MaskScaleLayout(x, scale);
      SCOPED_TRACE(x.SectionName + "." + x.PropertyName + " at " + std::to_string(scale));
      EXPECT_EQ(FrameWidth(y), l.ScaledX.First + l.ScaledX.Middle + l.ScaledX.Last);
      EXPECT_EQ(FrameHeight(y), l.ScaledY.First + l.ScaledY.Middle + l.ScaledY.Last);
      EXPECT_EQ(y.Rect.Width(), y.ImageCount * FrameWidth(y));
      EXPECT_EQ(y.Rect.Height(), (y.MaskType + 1) * FrameHeight(y));
      EXPECT_EQ(l.ScaledX.First, y.WL);
      EXPECT_LE(y.WL + y.WR, FrameWidth(y));
      EXPECT_LE(y.WT + y.WB, FrameHeight(y));
      EXPECT_EQ(x.WL == x.WR, y.WL == y.WR);
      EXPECT_EQ(l.SourceX.Middle == 0, l.ScaledX.Middle == 0);
      EXPECT_EQ(l.SourceY.Middle == 0, l.ScaledY.Middle == 0);
      EXPECT_LE(y.Rect.Bottom, Source(y).Height());
    }
  }
}

TEST_F(ScaledSkinTest, WholeMultiplesReplicateEveryPictureOfTheSkin) {
  for (int n : {2, 3}) {
    const auto s = ScaleSkinTables(Q(), n * 100);
    for (size_t i = 0; i < Q().Masks.size(); ++i) {
      const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
      SCOPED_TRACE(x.SectionName + "." + x.PropertyName);
      EXPECT_TRUE(SamePixels(Cut(Source(y), y.Rect), Replicated(Source(x), PictureRect(x), n)));
    }
  }
}

TEST_F(ScaledSkinTest, CornersAtFractionalScalesAreTheCornerScaledAlone) {
  for (int scale : {125, 150, 175}) {
    const auto s = ScaleSkinTables(Q(), scale);
    for (size_t i = 0; i < Q().Masks.size(); ++i) {
      const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
      const TsMaskScaleLayout l = MaskScaleLayout(x, scale);
      if (l.SourceX.First == 0 || l.SourceY.First == 0) continue;
      SCOPED_TRACE(x.SectionName + "." + x.PropertyName + " at " + std::to_string(scale));
      const TScaleFilter filter = MaskScaleFilter(x, Source(x), scale);
      const int maskRows = x.MaskType == 1 && Source(x).BytesPerPixel() == 3 ? l.SourceY.Size() : 0;
      const int fw = l.SourceX.Size(), sfw = l.ScaledX.Size();
      for (int f = 0; f < l.Frames; ++f) {
        // Top-left and bottom-right corners of the picture band of frame f.
        const TRect from[2] = {
            Bounds(x.Rect.Left + f * fw, x.Rect.Top, l.SourceX.First, l.SourceY.First),
            Bounds(x.Rect.Left + (f + 1) * fw - l.SourceX.Last,
                   x.Rect.Top + l.SourceY.Size() - l.SourceY.Last, l.SourceX.Last, l.SourceY.Last)};
        const TRect to[2] = {Bounds(y.Rect.Left + f * sfw, y.Rect.Top, y.WL, y.WT),
                             Bounds(y.Rect.Left + (f + 1) * sfw - y.WR,
                                    y.Rect.Top + l.ScaledY.Size() - y.WB, y.WR, y.WB)};
        for (int c = 0; c < 2; ++c) {
          TzkBitmap alone(to[c].Width(), to[c].Height(), Source(x).PixelFormat());
          ScaleImagePart(alone, TRect(0, 0, alone.Width(), alone.Height()), Source(x), from[c],
                         filter, maskRows);
          EXPECT_TRUE(SamePixels(Cut(Source(y), to[c]), alone)) << "frame " << f << " corner " << c;
        }
      }
    }
  }
}

TEST_F(ScaledSkinTest, KeyedPicturesKeepTheKeyExactAndOthersNeverGainIt) {
  const auto s = ScaleSkinTables(Q(), 150);
  int keyed = 0, filtered = 0;
  for (size_t i = 0; i < Q().Masks.size(); ++i) {
    const TsMaskData &x = Q().Masks[i], &y = s->Masks[i];
    SCOPED_TRACE(x.SectionName + "." + x.PropertyName);
    const TRect before = Bounds(x.Rect.Left, x.Rect.Top, PictureRect(x).Width(), FrameHeight(x));
    const TRect after = Bounds(y.Rect.Left, y.Rect.Top, y.Rect.Width(), FrameHeight(y));
    if (MaskScaleFilter(x, Source(x), 150) == TScaleFilter::Nearest) {
      ++keyed;
      const std::set<uint32_t> was = Colours(Cut(Source(x), before)),
                               is = Colours(Cut(Source(y), after));
      EXPECT_TRUE(std::includes(was.begin(), was.end(), is.begin(), is.end()));
      EXPECT_TRUE(is.count(clFuchsia));
    } else {
      ++filtered;
      EXPECT_FALSE(HasKeyColour(Source(y), after));
    }
  }
  EXPECT_GT(keyed, 0);
  EXPECT_GT(filtered, 0);
}

// Hand-built: two frames over their mask band, every piece of every frame and band one colour
// of its own; any bleed across a frame, band or piece edge would make a mixed colour.
TEST(ScaledSkinPiecesTest, FramesBandsAndPiecesNeverBleedIntoEachOther) {
  const int cut[4] = {0, 3, 7, 10};  // border 3, middle 4, border 3
  auto colour = [](int frame, int band, int row, int col) {
    return RGBColor(uint8_t(40 + 100 * frame + 20 * col), uint8_t(30 + 60 * row),
                    uint8_t(50 + 150 * band));
  };
  auto piece = [&](int v) { return v < 3 ? 0 : v < 7 ? 1 : 2; };
  for (bool own : {false, true}) {
    TsSkinTables t;
    TzkBitmap picture(20, 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        SetPx(picture, x, y, colour(x / 10, y / 10, piece(y % 10), piece(x % 10)));
    const int index = AddMask(t, "S", "BORDERSMASK",
                              {TRect(0, 0, 20, 20), 2, 1, 0, cut[1], cut[1], cut[1], cut[1]});
    if (own)
      t.Masks[0].Image = std::make_unique<TzkBitmap>(std::move(picture));
    else
      t.MasterBitmap = std::move(picture);
    for (int scale : {125, 150, 175}) {
      const auto s = ScaleSkinTables(t, scale);
      const TsMaskData& m = s->Masks[size_t(index)];
      const TsMaskScaleLayout l = MaskScaleLayout(t.Masks[0], scale);
      const int ends[3] = {l.ScaledX.First, l.ScaledX.First + l.ScaledX.Middle, l.ScaledX.Size()};
      auto scaledPiece = [&](int v) { return v < ends[0] ? 0 : v < ends[1] ? 1 : 2; };
      const TzkBitmap& image = *MaskSourceImage(m);
      const int fw = FrameWidth(m), fh = FrameHeight(m);
      for (int y = 0; y < m.Rect.Height(); ++y)
        for (int x = 0; x < m.Rect.Width(); ++x)
          ASSERT_EQ(Px(image, m.Rect.Left + x, m.Rect.Top + y),
                    colour(x / fw, y / fh, scaledPiece(y % fh), scaledPiece(x % fw)))
              << (own ? "own " : "master ") << scale << "% at " << x << "," << y;
    }
  }
}

TEST_F(ScaledSkinTest, PaintersAtTwoHundredPercentDrawTheReplicatedHundredPercentLook) {
  const auto s = ScaleSkinTables(Q(), 200);
  TsBackgroundInfo bg;
  bg.Color = RGBColor(10, 120, 200);
  auto compare = [&](const std::string& what, const auto& paint) {
    TzkBitmap one(40, 30);
    Noise(one, 3);
    TzkBitmap two = Replicated(one, TRect(0, 0, 40, 30), 2);
    paint(one, Q(), 1);
    paint(two, *s, 2);
    EXPECT_TRUE(SamePixels(two, Replicated(one, TRect(0, 0, 40, 30), 2))) << what;
  };
  for (const char* name :
       {"EDIT", "TABTOP", "SCROLLBTNTOP", "FORM", "HINT", "GROUPBOX", "MENUITEM"}) {
    for (int state = 0; state < 3; ++state) {
      compare(std::string(name) + " " + std::to_string(state),
              [&](TzkBitmap& dst, const TsSkinTables& t, int n) {
                const TsItemLook look = SectionLook(t, t.IndexOfSection(name));
                PaintSkinnedItem(&t, look, bg, clFuchsia, true, true, &dst, TPoint(),
                                 TRect(2 * n, n, 36 * n, 27 * n), state);
              });
    }
  }
  const std::pair<const char*, const char*> glyphs[] = {
      {"GLOBALINFO", "BICONCLOSE"}, {"GLOBALINFO", "CHECK"},       {"GLOBALINFO", "BOXCHECKED"},
      {"GLOBALINFO", "GRIPIMAGE"},  {"SCROLLBTNTOP", "GLYPHMASK"}, {"FORMTITLE", "BORDERSMASK"}};
  for (const auto& glyph : glyphs) {
    for (int state = 0; state < 3; ++state) {
      compare(
          std::string(glyph.second) + " " + std::to_string(state),
          [&](TzkBitmap& dst, const TsSkinTables& t, int n) {
            const TsMaskData& m = t.Masks[size_t(t.IndexOfMaskExact(glyph.first, glyph.second))];
            PaintGlyphMask(dst, TPoint(3 * n, 2 * n), state, bg, m, state != 2);
            PaintBorderMask(dst, TRect(20 * n, 4 * n, 39 * n, 29 * n), true, true, state, m, bg);
          });
    }
  }
}

TEST(ScaledSkinPiecesTest, HostileSizesAreRefusedBeforeAnythingLargeIsMade) {
  TsSkinTables t;
  t.MasterBitmap = Solid(8, 8, clRed);
  AddMask(t, "S", "BORDERSMASK", {TRect(0, 0, 60000, 60000), 1, 0, 0, 2, 2, 2, 2});
  EXPECT_THROW(ScaleSkinTables(t, 150), std::length_error);  // 90,000 x 90,000 pixels
  const auto twice = ScaleSkinTables(t, 200);                // replicated: nothing made
  EXPECT_EQ(twice->Masks[0].Rect, TRect(0, 0, 120000, 120000));
  EXPECT_EQ(twice->MasterBitmap.Width(), 16);
  t.Masks[0].Rect = TRect(0, 0, 70000, 4);
  EXPECT_THROW(ScaleSkinTables(t, 200), std::length_error);
  EXPECT_EQ(ScaleSkinTables(t, 100)->Masks[0].Rect, t.Masks[0].Rect);
}

TEST(ScaledSkinPiecesTest, PatternPicturesScaleWhole) {
  TsSkinTables t;
  TzkBitmap photo(10, 6);
  Noise(photo, 11);
  t.Patterns.push_back({std::make_unique<TzkBitmap>(std::move(photo)), "FORM", "PATTERN"});
  const TzkBitmap& source = *t.Patterns[0].Image;
  EXPECT_TRUE(SamePixels(*ScaleSkinTables(t, 200)->Patterns[0].Image,
                         Replicated(source, TRect(0, 0, 10, 6), 2)));
  const auto scaled = ScaleSkinTables(t, 150);
  const TzkBitmap& half = *scaled->Patterns[0].Image;
  EXPECT_EQ(TSize(half.Width(), half.Height()), TSize(15, 9));
  EXPECT_EQ(Px(half, 14, 8), Px(source, 9, 5));  // a one-pixel span: copied
}
