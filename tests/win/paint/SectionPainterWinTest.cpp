#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "WinTestSupport.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

TColor Px(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}

struct TDibScope {
  TDibScope() { InstallDibBitmapStorage(); }
  ~TDibScope() { SetBitmapStorageFactory(nullptr); }
};

// One section with a gradient and a 1-pixel key-colour border of three frames.
void BuildTables(TsSkinTables& t) {
  t.MasterBitmap = TzkBitmap(9, 3);
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x) {
        uint8_t* p = t.MasterBitmap.ScanLine(y) + (f * 3 + x) * 3;
        p[0] = uint8_t(40 * f), p[1] = 90, p[2] = 200;
      }
  TsMaskData m;
  m.SectionName = "BUTTON";
  m.PropertyName = "BORDERSMASK";
  m.Rect = TRect(0, 0, 9, 3);
  m.ImageCount = 3;
  m.WL = m.WT = m.WR = m.WB = 1;
  m.Manager = &t;
  t.Masks.push_back(std::move(m));
  TsGeneralData s;
  s.SectionName = "BUTTON";
  s.Color = RGBColor(0, 0, 200);
  s.HotColor = RGBColor(0, 200, 0);
  s.GradientPercent = 100;
  s.GradientArray = {{RGBColor(255, 0, 0), RGBColor(0, 0, 255), 100, 0}};
  s.BorderIndex = 0;
  s.FontColor = {RGBColor(255, 0, 0), RGBColor(0, 0, 255), -1, -1, -1};
  s.HotFontColor = {RGBColor(0, 128, 0), -1, -1, -1, RGBColor(255, 255, 0)};
  t.Sections.push_back(std::move(s));
}

// More paints than a process may hold GDI handles (Windows: 10,000; Wine 8: about 65,000):
// a handle leaked per paint would make a later bitmap or context fail to be created.
constexpr int kMoreThanTheHandleLimit = 66000;

TEST(SectionToDC, PaintsWhatTheBitmapPainterPaintsAndLeaksNothing) {
  TDibScope dib;
  TsSkinTables t;
  BuildTables(t);
  TzkBitmap screen = NewDeviceBitmap24(20, 16);
  screen.Fill(0x123456);
  TBitmapDc dc(DibHandle(screen));
  ASSERT_TRUE(dc);
  {
    TLeakCheck noLeaks(TLeakCheck::kHandlesOnly);
    for (int i = 0; i < kMoreThanTheHandleLimit; ++i)
      PaintSectionToDC(0, "BUTTON", TsBackgroundInfo(), &t, dc.Get(), TPoint(), TRect(0, 0, 2, 2), 1, true);
    GdiFlush();
  }
  TzkBitmap after = NewDeviceBitmap24(2, 2);
  EXPECT_NE(DibHandle(after), nullptr);
  screen.Fill(0x123456);
  PaintSectionToDC(0, "BUTTON", TsBackgroundInfo(), &t, dc.Get(), TPoint(), TRect(3, 2, 15, 12), 1, true);
  GdiFlush();
  TzkBitmap expected(12, 10);
  PaintSectionByIndex(0, "BUTTON", TsBackgroundInfo(), -1, -1, &t, &expected, TPoint(), TRect(0, 0, 12, 10), 1, true);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(Px(screen, 3 + x, 2 + y), Px(expected, x, y)) << x << "," << y;
  EXPECT_EQ(Px(screen, 2, 2), TColor(0x563412));
  EXPECT_EQ(Px(screen, 15, 11), TColor(0x563412));
  // A target with a negative corner paints nothing.
  PaintSectionToDC(0, "BUTTON", TsBackgroundInfo(), &t, dc.Get(), TPoint(), TRect(-1, 0, 4, 4), 0, true);
  GdiFlush();
  EXPECT_EQ(Px(screen, 0, 0), TColor(0x563412));
}

TEST(SectionToDC, ByNameTakesTheContextPixelsAsBackground) {
  TDibScope dib;
  TsSkinTables t;
  BuildTables(t);
  t.Sections[0].Transparency = 100;
  TzkBitmap screen = NewDeviceBitmap24(10, 10);
  screen.Fill(0x00FF00);
  screen.ScanLine(5)[4 * 3] = 0x77;  // pixel (4, 5)
  TBitmapDc dc(DibHandle(screen));
  TzkBitmap bmp(4, 4);
  EXPECT_EQ(PaintSectionByName(bmp, "X", "BUTTON", dc.Get(), clBlack, TRect(3, 4, 7, 8), &t, 0), 0);
  EXPECT_EQ(Px(bmp, 1, 1), RGBColor(0, 0xFF, 0x77));  // from (3 + 1, 4 + 1), section invisible
  EXPECT_EQ(Px(bmp, 0, 0), RGBColor(200, 90, 0));     // the border, frame 0
}

int g_sectionsMade = 0;
std::unique_ptr<TzkPixelStorage> CountingSections(int w, int h, TPixelFormat f, TRowOrder o) {
  ++g_sectionsMade;
  return TzkDibStorage::Create(w, h, f, o);
}

TEST(SectionToDC, PaintTemporariesMakeNoGdiObjects) {
  SetBitmapStorageFactory(&CountingSections);
  TsSkinTables t;
  BuildTables(t);
  TzkBitmap screen = NewDeviceBitmap24(20, 16);
  TBitmapDc dc(DibHandle(screen));
  ASSERT_TRUE(dc);
  g_sectionsMade = 0;
  PaintSectionToDC(0, "BUTTON", TsBackgroundInfo(), &t, dc.Get(), TPoint(), TRect(0, 0, 9, 9), 1, true);
  TzkBitmap bmp(4, 4);
  PaintSectionByName(bmp, "X", "BUTTON", dc.Get(), clBlack, TRect(3, 4, 7, 8), &t, 0);
  EXPECT_EQ(g_sectionsMade, 0);
  SetBitmapStorageFactory(nullptr);
}

// A window-less text bitmap: white, with a non-antialiased font selected.
struct TTextCanvas {
  TTextCanvas() : bitmap(NewDeviceBitmap24(120, 40)), dc(DibHandle(bitmap)) {
    bitmap.Fill(0xFFFFFF);
    font.Reset(CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    old = SelectObject(dc.Get(), font.Get());
  }
  ~TTextCanvas() { SelectObject(dc.Get(), old); }
  std::set<TColor> Colours(const TRect& r) {
    GdiFlush();
    std::set<TColor> c;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) c.insert(Px(bitmap, x, y));
    return c;
  }
  TDibScope dib;
  TzkBitmap bitmap;
  TBitmapDc dc;
  TFontHandle font;
  HGDIOBJ old = nullptr;
};

TEST(SectionText, ContourThenFontColourAndTheStateIsRestored) {
  TsSkinTables t;
  BuildTables(t);
  TTextCanvas c;
  SetTextColor(c.dc.Get(), RGB(1, 2, 3));
  SetBkMode(c.dc.Get(), OPAQUE);
  PaintSectionText(c.dc.Get(), L"HI", true, &t, false, 0, DT_LEFT | DT_TOP | DT_SINGLELINE, TRect(10, 5, 110, 35));
  const std::set<TColor> colours = c.Colours(TRect(0, 0, 120, 40));
  EXPECT_EQ(colours, (std::set<TColor>{clWhite, RGBColor(255, 0, 0), RGBColor(0, 0, 255)}));
  // The left contour shows only at the left edges of strokes: each blue pixel has red or
  // blue to its right, never white.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x + 1 < 120; ++x)
      if (Px(c.bitmap, x, y) == RGBColor(0, 0, 255)) {
        ASSERT_NE(Px(c.bitmap, x + 1, y), clWhite) << x << "," << y;
      }
  EXPECT_EQ(GetTextColor(c.dc.Get()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(c.dc.Get()), OPAQUE);
}

TEST(SectionText, MoreTextPaintsThanTheHandleLimitLeakNothing) {
  TsSkinTables t;
  BuildTables(t);
  TTextCanvas c;
  {
    TLeakCheck noLeaks(TLeakCheck::kHandlesOnly);
    for (int i = 0; i < kMoreThanTheHandleLimit; ++i)
      PaintSectionText(c.dc.Get(), L"HI", i % 2 == 0, &t, i % 3 == 0, 0, DT_SINGLELINE, TRect(10, 5, 110, 35));
  }
  EXPECT_GT(c.Colours(TRect(0, 0, 120, 40)).size(), 1u);
}

TEST(SectionText, HotSetDisabledColourAndClipping) {
  TsSkinTables t;
  BuildTables(t);
  {
    TTextCanvas c;
    PaintSectionText(c.dc.Get(), L"HI", true, &t, true, 0, DT_SINGLELINE, TRect(10, 5, 110, 35));
    EXPECT_EQ(c.Colours(TRect(0, 0, 120, 40)),
              (std::set<TColor>{clWhite, RGBColor(0, 128, 0), RGBColor(255, 255, 0)}));
  }
  {
    TTextCanvas c;
    PaintSectionText(c.dc.Get(), L"HI", false, &t, false, 0, DT_SINGLELINE, TRect(10, 5, 110, 35));
    // 0.4 of the font colour (255, 0, 0) and 0.6 of the section colour (0, 0, 200).
    EXPECT_EQ(LerpColor(RGBColor(255, 0, 0), RGBColor(0, 0, 200), 0.4), RGBColor(102, 0, 120));
    EXPECT_EQ(c.Colours(TRect(0, 0, 120, 40)), (std::set<TColor>{clWhite, RGBColor(102, 0, 120)}));
  }
  {
    TTextCanvas c;
    PaintSectionText(c.dc.Get(), L"HI", true, &t, false, 0, DT_SINGLELINE, TRect(10, 5, 18, 35));
    EXPECT_EQ(c.Colours(TRect(18, 0, 120, 40)), std::set<TColor>{clWhite});
    EXPECT_EQ(c.Colours(TRect(0, 0, 10, 40)), std::set<TColor>{clWhite});
    EXPECT_GT(c.Colours(TRect(10, 5, 18, 35)).size(), 1u);
  }
}

}  // namespace
