// The group-box adapter on a platform group box: its reserved caption height, its cached look
// against the section composed directly, and the inside left to the parent.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/windows/zkGroupBoxWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

TEST(GroupBoxAdapter, PaintsFrameAndCaptionBandFromTheSkin) {
  TsSkinManager skin(nullptr);
  skin.InternalSkins().push_back(InternalStoredSkin());
  skin.SetSkinName("Quarn (internal)");
  ASSERT_TRUE(skin.SkinData().Active);
  TForm* form = Application->CreateForm<TForm>();
  form->SetBounds(60, 60, 300, 220);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  HWND box = CreateWindowExW(0, L"BUTTON", L"Caption", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10,
                             200, 120, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(box, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
  auto a = TzkMainWnd::Attach<TzkGroupBoxWnd>(box, false, "", &skin);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  LetPaintReachScreen();

  // The reserved top is the caption's text height and two pixels.
  TMemoryDcHandle mdc(CreateCompatibleDC(nullptr));
  TSelectObject font(mdc.Get(), GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(mdc.Get(), &tm);
  const LRESULT top = SendMessageW(box, SM_ORVEXCMD, MakeCommandWParam(zcGetReservedTop), 0);
  EXPECT_EQ(top, tm.tmHeight + 2);

  // The cache against the section painted directly from half the caption's height down.
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 200);
  const TsSkinTables& t = skin.Tables();
  TzkBitmap want = NewBitmap24(200, 120);
  TsBackgroundInfo bg;
  bg.Color = ColorToRGB(form->Color());
  const int half = int(top) / 2;
  PaintSkinnedItem(&t, SectionLook(t, t.IndexOfSection("GROUPBOX")), bg.Moved(0, half), clFuchsia,
                   false, true, &want, {0, half}, Rect(0, half, 200, 120), 0);
  for (TPoint p : {TPoint{0, 60}, TPoint{1, 60}, TPoint{199, 60}, TPoint{100, 119}, TPoint{100, 118}})
    EXPECT_EQ(memcmp(cache.ScanLine(p.Y) + p.X * 3, want.ScanLine(p.Y) + p.X * 3, 3), 0) << p.X << "," << p.Y;
  // The band above the frame is the parent's colour; so is the inside, on the screen.
  const TColor formColor = ColorToRGB(form->Color());
  const uint8_t* band = cache.ScanLine(1) + 2 * 3;
  EXPECT_EQ(RGB(band[2], band[1], band[0]), COLORREF(formColor));
  // The caption is written into the band, whatever storage the cache has.
  int ink = 0;
  for (int y = 0; y < int(top); ++y)
    for (int x = 8; x < 40; ++x) {
      const uint8_t* p = cache.ScanLine(y) + x * 3;
      ink += RGB(p[2], p[1], p[0]) != COLORREF(formColor);
    }
  EXPECT_GT(ink, 20);
  POINT inside{100, 60}, border{0, 60};
  ClientToScreen(box, &inside);
  ClientToScreen(box, &border);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, inside.x, inside.y), COLORREF(formColor));
  const uint8_t* b = cache.ScanLine(60);
  EXPECT_EQ(GetPixel(screen, border.x, border.y), RGB(b[2], b[1], b[0]));
  ReleaseDC(nullptr, screen);

  a.reset();
  DestroyWindow(box);
  delete form;
  Pump();
}

}  // namespace
