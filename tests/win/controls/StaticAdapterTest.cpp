// The static text and static icon adapters on platform statics: their cached look against
// the section and content composed directly, statics that keep their own painting, the
// window procedure given back in every order, and no handle growth over many attachments.
#include <windows.h>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sButton.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkStaticWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

class StaticAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    skin.InternalSkins().push_back(InternalStoredSkin());
    skin.SetSkinName("Quarn (internal)");
    ASSERT_TRUE(skin.SkinData().Active);
    form = Application->CreateForm<TForm>();
    form->SetBounds(60, 60, 300, 220);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  void TearDown() override {
    delete form;
    Pump();
  }
  HWND MakeStatic(const wchar_t* text, DWORD style, DWORD exStyle = 0) {
    HWND w = CreateWindowExW(exStyle, L"Static", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 40,
                             form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(w, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return w;
  }
  // The section over the form's colour, as the paint engine composes it.
  TzkBitmap Section(int w, int h) {
    const TsSkinTables& t = skin.Tables();
    TzkBitmap want = NewDeviceBitmap24(w, h);
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(form->Color());
    PaintSkinnedItem(&t, SectionLook(t, t.IndexOfSection("CHECKBOX")), bg, clFuchsia, true, true,
                     &want, {0, 0}, Rect(0, 0, w, h), 0);
    return want;
  }
  static COLORREF ScreenPixel(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
  }
  static COLORREF CachePixel(const TzkBitmap& b, int x, int y) {
    const uint8_t* p = b.ScanLine(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
  }

  TsSkinManager skin{nullptr};
  TForm* form = nullptr;
};

TEST_F(StaticAdapter, TextIsWrittenOverTheSectionAndCopiedToTheWindow) {
  HWND w = MakeStatic(L"Some\ttext that wraps over lines", 0, WS_EX_RIGHT);
  auto a = TzkMainWnd::Attach<TzkStaticWnd>(w, false, "", &skin);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  LetPaintReachScreen();
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 120);
  ASSERT_EQ(cache.Height(), 40);

  TzkBitmap want = Section(120, 40);
  const TzkBitmap plain = Section(120, 40);
  DrawOnBitmap(want, [&](HDC dc) {
    TSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, L"Some\ttext that wraps over lines", true, &skin.Tables(), false,
                     skin.Tables().IndexOfSection("CHECKBOX"),
                     DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP | DT_RIGHT, Rect(0, 0, 120, 40));
  });
  EXPECT_EQ(DifferentPixels(cache, want), 0);
  EXPECT_GT(DifferentPixels(cache, plain), 20) << "the text is there";
  for (TPoint p : {TPoint{0, 0}, TPoint{119, 39}, TPoint{60, 20}})
    EXPECT_EQ(ScreenPixel(w, p.X, p.Y), CachePixel(cache, p.X, p.Y)) << p.X << "," << p.Y;

  // A new text is read and drawn.
  SetWindowTextW(w, L"");
  RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
  Pump();
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, plain), 0);
  EXPECT_EQ(SendMessageW(w, SM_ORVEXCMD, MakeCommandWParam(zcIsSkinned), 0), 1);
  a.reset();
  DestroyWindow(w);
}

TEST_F(StaticAdapter, IconAndBitmapStaticsShowTheirImageAtTheCorner) {
  HWND w = MakeStatic(L"", SS_ICON);
  HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
  SendMessageW(w, STM_SETICON, WPARAM(icon), 0);
  SetWindowPos(w, nullptr, 0, 0, 120, 40, SWP_NOMOVE | SWP_NOZORDER);
  auto a = TzkMainWnd::Attach<TzkIconWnd>(w, false, "", &skin);
  EXPECT_FALSE(a->ShowsBitmap());
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump();
  TzkBitmap want = Section(120, 40);
  DrawOnBitmap(want, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL); });
  ASSERT_EQ(a->Skin().CacheBmp.Width(), 120);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, want), 0);
  EXPECT_GT(DifferentPixels(a->Skin().CacheBmp, Section(120, 40)), 20);
  a.reset();
  DestroyWindow(w);

  // A bitmap static: the bitmap copied at the corner.
  w = MakeStatic(L"", SS_BITMAP);
  HDC screen = GetDC(nullptr);
  TBitmapHandle image(CreateCompatibleBitmap(screen, 8, 6));
  ReleaseDC(nullptr, screen);
  {
    TBitmapDc dc(image.Get());
    TBrushHandle brush(CreateSolidBrush(RGB(0x40, 0x50, 0x60)));
    RECT all{0, 0, 8, 6};
    FillRect(dc.Get(), &all, brush.Get());
  }
  SendMessageW(w, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(image.Get()));
  SetWindowPos(w, nullptr, 0, 0, 120, 40, SWP_NOMOVE | SWP_NOZORDER);
  a = TzkMainWnd::Attach<TzkIconWnd>(w, false, "", &skin);
  EXPECT_TRUE(a->ShowsBitmap());
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump();
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 120);
  EXPECT_EQ(CachePixel(cache, 0, 0), RGB(0x40, 0x50, 0x60));
  EXPECT_EQ(CachePixel(cache, 7, 5), RGB(0x40, 0x50, 0x60));
  EXPECT_NE(CachePixel(cache, 8, 6), RGB(0x40, 0x50, 0x60));
  const TzkBitmap plain = Section(120, 40);
  EXPECT_EQ(CachePixel(cache, 60, 30), CachePixel(plain, 60, 30));
  SendMessageW(w, STM_SETIMAGE, IMAGE_BITMAP, 0);
  a.reset();
  DestroyWindow(w);
}

TEST_F(StaticAdapter, StaticsWithAnEdgeOrTabStopKeepTheirOwnPainting) {
  for (auto [style, ex] : {std::pair<DWORD, DWORD>{0, WS_EX_STATICEDGE}, {WS_TABSTOP, 0}}) {
    HWND w = MakeStatic(L"Edge", style, ex);
    auto a = TzkMainWnd::Attach<TzkStaticWnd>(w, false, "", &skin);
    EXPECT_TRUE(a->LeftToBase());
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_TRUE(a->Skin().CacheBmp.Empty());
    a.reset();
    DestroyWindow(w);
  }
}

LRESULT CALLBACK Foreign(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC prev = reinterpret_cast<WNDPROC>(GetPropW(w, L"ForeignPrev"));
  return CallWindowProcW(prev, w, msg, wp, lp);
}

TEST_F(StaticAdapter, GivesTheWindowItsProcedureBackInEveryOrder) {
  HWND w = MakeStatic(L"Proc", 0);
  const LONG_PTR own = GetWindowLongPtrW(w, GWLP_WNDPROC);
  const int entries = TzkMainWnd::EntriesInUse();
  // Attached and detached in turn.
  auto a = TzkMainWnd::Attach<TzkStaticWnd>(w, false, "", &skin);
  EXPECT_NE(GetWindowLongPtrW(w, GWLP_WNDPROC), own);
  a.reset();
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), own);
  EXPECT_EQ(TzkMainWnd::FromWindow(w), nullptr);
  // Detached while a foreign subclass sits above it: the foreign one leaves last.
  a = TzkMainWnd::Attach<TzkStaticWnd>(w, false, "", &skin);
  SetPropW(w, L"ForeignPrev", HANDLE(SetWindowLongPtrW(w, GWLP_WNDPROC, LONG_PTR(&Foreign))));
  a.reset();
  SetWindowTextW(w, L"Still answering");
  wchar_t buf[32] = {};
  GetWindowTextW(w, buf, 32);
  EXPECT_STREQ(buf, L"Still answering");
  SetWindowLongPtrW(w, GWLP_WNDPROC, LONG_PTR(RemovePropW(w, L"ForeignPrev")));
  SendMessageW(w, WM_NULL, 0, 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), own);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  DestroyWindow(w);
}

TEST_F(StaticAdapter, ManyAttachmentsLeaveNoHandlesBehind) {
  HWND text = MakeStatic(L"Cycle", 0);
  HWND icon = MakeStatic(L"", SS_ICON);
  SendMessageW(icon, STM_SETICON, WPARAM(LoadIconW(nullptr, IDI_WARNING)), 0);
  auto cycle = [&] {
    auto a = TzkMainWnd::Attach<TzkStaticWnd>(text, false, "", &skin);
    auto b = TzkMainWnd::Attach<TzkIconWnd>(icon, false, "", &skin);
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SetWindowTextW(text, L"Again");
  };
  cycle();
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 200; ++i) cycle();
    Pump();
  }
  DestroyWindow(text);
  DestroyWindow(icon);
}

}  // namespace
