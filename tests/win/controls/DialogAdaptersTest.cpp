// The dialog control adapters without interaction of their own (links, transparent and
// dialog panels, size grips) against the looks the paint engine composes directly, and every
// new adapter's attaching and detaching: the window procedure back, the property gone, and no
// handles left over a thousand rounds.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkComboBoxWnd.h"
#include "skin/windows/zkCtrlAdapter.h"
#include "skin/windows/zkDlgPanelWnd.h"
#include "skin/windows/zkGroupBoxWnd.h"
#include "skin/windows/zkLinkWnd.h"
#include "skin/windows/zkSizerWnd.h"
#include "skin/windows/zkSpinWnd.h"
#include "skin/windows/zkTabControlWnd.h"
#include "skin/windows/zkToolBarWnd.h"
#include "skin/windows/zkTransPanelWnd.h"
#include "skin/windows/zkTreeViewWnd.h"
#include "toolkit/Handles.h"

namespace {

class DialogAdapters : public AdapterForm {
 protected:
  // A section over the form's colour as the paint engine composes it.
  TzkBitmap Section(const char* name, int w, int h) {
    TzkBitmap want = NewDeviceBitmap24(w, h);
    Compose(want, name, Rect(0, 0, w, h), 0);
    return want;
  }
};

TEST(LinkTags, AnchorsAreTakenOutAndEverythingElseStays) {
  EXPECT_EQ(StripLinkTags(L"Visit <a>our site</a> now"), L"Visit our site now");
  EXPECT_EQ(StripLinkTags(L"<A HREF=\"http://x\">One</A> and <a id=b>two</a>"), L"One and two");
  EXPECT_EQ(StripLinkTags(L"a < b, <ab> and <a"), L"a < b, <ab> and <a");
}

TEST_F(DialogAdapters, LinkTextIsUnderlinedInTheMessageFontWithoutTags) {
  const wchar_t* markup = L"Open <a href=\"x\">the page</a>";
  HWND w = Child(L"SysLink", markup, 0, Bounds(10, 10, 140, 30));
  if (!w) w = Child(L"Static", markup, 0, Bounds(10, 10, 140, 30));
  ASSERT_NE(w, nullptr);
  auto a = TzkMainWnd::Attach<TzkLinkWnd>(w, false, "", &Manager());
  Redraw(w);
  ASSERT_EQ(a->Skin().CacheBmp.Width(), 140);

  TzkBitmap want = Section("CHECKBOX", 140, 30);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  ncm.lfMessageFont.lfUnderline = TRUE;
  TFontHandle font(CreateFontIndirectW(&ncm.lfMessageFont));
  DrawOnBitmap(want, [&](HDC dc) {
    TSelectObject f(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, L"Open the page", true, &Tables(), false, Tables().IndexOfSection("CHECKBOX"),
                     DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP, Rect(0, 0, 144, 30));
  });
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, want), 0);
  EXPECT_GT(DifferentPixels(a->Skin().CacheBmp, Section("CHECKBOX", 140, 30)), 20);
  a.reset();
  DestroyWindow(w);

  // With a static edge the link keeps its own painting.
  w = Child(L"Static", markup, 0, Bounds(10, 10, 140, 30));
  SetWindowLongW(w, GWL_EXSTYLE, WS_EX_STATICEDGE);
  a = TzkMainWnd::Attach<TzkLinkWnd>(w, false, "", &Manager());
  EXPECT_TRUE(a->LeftToBase());
  Redraw(w);
  EXPECT_TRUE(a->Skin().CacheBmp.Empty());
  a.reset();
  DestroyWindow(w);
}

TEST_F(DialogAdapters, TransparentPanelPaintsAroundItsChildrenAndGroupBoxFrames) {
  HWND panel = Child(L"Static", L"", 0, Bounds(10, 10, 280, 150));
  HWND edit = Child(L"Edit", L"", WS_BORDER, Bounds(10, 10, 60, 20), panel);
  ASSERT_NE(edit, nullptr);
  HWND box = Child(L"Button", L"Box", BS_GROUPBOX, Bounds(100, 10, 150, 120), panel);
  auto boxAdapter = TzkMainWnd::Attach<TzkGroupBoxWnd>(box, false, "", &Manager());
  auto a = TzkMainWnd::Attach<TzkTransPanelWnd>(panel, false, "", &Manager());
  Redraw(panel);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Section("CHECKBOX", 280, 150)), 0);

  // Erasing into a context of our own: the edit and the box's caption band and frame stay
  // untouched, the inside of the box gets the panel's look.
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 280, 150));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  TBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
  RECT all{0, 0, 280, 150};
  FillRect(dc.Get(), &all, magenta.Get());
  EXPECT_EQ(SendMessageW(panel, WM_ERASEBKGND, WPARAM(dc.Get()), 0), 1);
  const COLORREF key = RGB(255, 0, 255);
  EXPECT_EQ(GetPixel(dc.Get(), 30, 20), key) << "inside the edit";
  EXPECT_EQ(GetPixel(dc.Get(), 170, 12), key) << "the caption band";
  EXPECT_EQ(GetPixel(dc.Get(), 101, 80), key) << "the box's left frame strip";
  EXPECT_NE(GetPixel(dc.Get(), 170, 80), key) << "inside the box";
  EXPECT_NE(GetPixel(dc.Get(), 5, 140), key) << "the panel itself";

  // Children asking what lies behind them get the panel's image.
  TsBackgroundRequest r;
  SendCommandToWindow(panel, zcGetBackground, LPARAM(&r));
  EXPECT_EQ(r.BgType, btBitmap);
  EXPECT_EQ(r.Bitmap, &a->Skin().CacheBmp);
  a.reset();
  boxAdapter.reset();
  DestroyWindow(panel);
}

TEST_F(DialogAdapters, DialogPanelShowsThePanelSectionWithItsCaption) {
  HWND panel = Child(L"Static", L"Panel", 0, Bounds(10, 10, 200, 60));
  auto a = TzkMainWnd::Attach<TzkDlgPanelWnd>(panel, false, "", &Manager());
  Redraw(panel);
  TzkBitmap want = Section("PANEL", 200, 60);
  DrawOnBitmap(want, [&](HDC dc) {
    TSelectObject f(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, L"Panel", true, &Tables(), false, Tables().IndexOfSection("PANEL"),
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, Rect(0, 0, 200, 60));
  });
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, want), 0);
  POINT p{100, 5};
  ClientToScreen(panel, &p);
  TWindowDc screen(nullptr);
  EXPECT_EQ(TColor(GetPixel(screen.Get(), p.x, p.y)), PixelOf(want, 100, 5));
  a.reset();
  DestroyWindow(panel);
}

TEST_F(DialogAdapters, SizeGripShowsTheSkinsGripImageInTheCorner) {
  HWND grip = Child(L"ScrollBar", L"", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, Bounds(200, 120, 24, 24));
  auto a = TzkMainWnd::Attach<TzkSizerWnd>(grip, false, "", &Manager());
  Redraw(grip);
  const int mask = a->GripMask();
  ASSERT_TRUE(Tables().IsValidMask(mask));
  const TsMaskData& m = Tables().Masks[size_t(mask)];
  RECT wr;
  GetWindowRect(grip, &wr);  // the platform sizes a grip to its own metrics
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const TPoint at = a->GripPosition();
  EXPECT_EQ(at.X, w - FrameWidth(m));
  EXPECT_EQ(at.Y, h - FrameHeight(m));
  TzkBitmap want = Section("CHECKBOX", w, h);
  TsBackgroundInfo self;
  self.Bitmap = &want;
  self.IsBitmap = true;
  PaintGlyphMask(want, at, 0, self, m, false);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, want), 0);
  EXPECT_GT(DifferentPixels(want, Section("CHECKBOX", w, h)), 3) << "the grip shows";
  a.reset();
  DestroyWindow(grip);
}

// One window of each kind with its adapter.
struct TAdapterCase {
  const wchar_t* Class;
  DWORD Style;
  std::function<std::unique_ptr<TzkMainWnd>(HWND, TsSkinManager*)> Make;
};

template <typename T>
std::function<std::unique_ptr<TzkMainWnd>(HWND, TsSkinManager*)> Maker() {
  return [](HWND w, TsSkinManager* m) -> std::unique_ptr<TzkMainWnd> {
    return TzkMainWnd::Attach<T>(w, true, "", m);
  };
}

std::vector<TAdapterCase> AllCases() {
  return {{L"Static", 0, Maker<TzkLinkWnd>()},
          {L"Static", 0, Maker<TzkTransPanelWnd>()},
          {L"Static", 0, Maker<TzkDlgPanelWnd>()},
          {L"ScrollBar", SBS_SIZEGRIP, Maker<TzkSizerWnd>()},
          {UPDOWN_CLASSW, UDS_ARROWKEYS, Maker<TzkSpinWnd>()},
          {TOOLBARCLASSNAMEW, TBSTYLE_FLAT, Maker<TzkToolBarWnd>()},
          {WC_TABCONTROLW, 0, Maker<TzkTabControlWnd>()},
          {L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, Maker<TzkComboBoxWnd>()},
          {WC_TREEVIEWW, WS_BORDER | TVS_HASLINES, Maker<TzkTreeViewWnd>()}};
}

TEST_F(DialogAdapters, EveryAdapterGivesTheWindowBackAndLeavesNoHandles) {
  std::vector<HWND> windows;
  for (const TAdapterCase& c : AllCases()) {
    HWND w = Child(c.Class, L"Item", c.Style, Bounds(10, 10, 120, 60));
    ASSERT_NE(w, nullptr);
    windows.push_back(w);
    const LONG_PTR own = GetWindowLongPtrW(w, GWLP_WNDPROC);
    auto a = c.Make(w, &Manager());
    EXPECT_NE(GetWindowLongPtrW(w, GWLP_WNDPROC), own);
    EXPECT_EQ(GetPropW(w, kAdapterProp), a.get());
    EXPECT_EQ(SendCommandToWindow(w, zcIsSkinned), 1);
    Redraw(w);
    a.reset();
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), own) << "class " << int(windows.size());
    EXPECT_EQ(GetPropW(w, kAdapterProp), nullptr);
  }
  // The ThirdParty lists of combo boxes, tree views and tab controls give these adapters.
  auto third = CreateThirdPartyAdapter(4, windows[7], "", &Manager());
  EXPECT_NE(dynamic_cast<TzkComboBoxWnd*>(third.get()), nullptr);
  third = CreateThirdPartyAdapter(9, windows[8], "", &Manager());
  EXPECT_NE(dynamic_cast<TzkTreeViewWnd*>(third.get()), nullptr);
  third = CreateThirdPartyAdapter(14, windows[6], "", &Manager());
  EXPECT_NE(dynamic_cast<TzkTabControlWnd*>(third.get()), nullptr);
  third.reset();

  const std::vector<TAdapterCase> cases = AllCases();
  auto round = [&] {
    std::vector<std::unique_ptr<TzkMainWnd>> adapters;
    for (size_t i = 0; i < cases.size(); ++i) adapters.push_back(cases[i].Make(windows[i], &Manager()));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  round();
  const int entries = TzkMainWnd::EntriesInUse();
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 1000; ++i) round();
    Pump();
    EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  }

  // A window destroyed under its adapter: the adapter lets go by itself.
  auto a = cases[4].Make(windows[4], &Manager());
  DestroyWindow(windows[4]);
  EXPECT_TRUE(a->Destroyed());
  a.reset();
  for (HWND w : windows)
    if (IsWindow(w)) DestroyWindow(w);
}

}  // namespace
