// The skinned frame of standard dialogs: platform dialogs made from in-memory templates, the
// dialog adapter attached by hand (the hook is told to leave dialogs alone), their frame
// against the paint engine's own composition, the title buttons, the system menu, activation,
// client painting, giving the window back, and handles over many dialogs.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/windows/zkDialogWnd.h"
#include "skin/windows/zkMnuWnd.h"
#include "skin/windows/zkSystemMenu.h"

namespace {

constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT kRunScript = WM_APP + 7;
constexpr COLORREF kRed = RGB(255, 0, 0);

// A dialog template in memory: the dialog, then each control, DWORD-aligned as the platform
// reads them.
class TDialogTemplate {
 public:
  TDialogTemplate(DWORD style, const wchar_t* caption) {
    Dword(style);
    Dword(0);
    count_ = words_.size();
    words_.insert(words_.end(), {0, 20, 20, 200, 110});  // controls, x, y, cx, cy
    words_.insert(words_.end(), {0, 0});                   // no menu, the dialog class
    Text(caption);
  }
  void Add(WORD atom, const wchar_t* text, DWORD style, WORD id, short x, short y, short cx, short cy) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    words_.insert(words_.end(), {WORD(x), WORD(y), WORD(cx), WORD(cy), id, 0xFFFF, atom});
    Text(text);
    words_.push_back(0);
    ++words_[count_];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD d) { words_.insert(words_.end(), {LOWORD(d), HIWORD(d)}); }
  void Text(const wchar_t* s) {
    for (; *s; ++s) words_.push_back(WORD(*s));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  size_t count_ = 0;
};

// What the test dialogs do: end on OK, Cancel and closing, paint their client red when asked,
// run a step inside their own message loop, and tell what their window procedure is while
// they are being destroyed.
struct TDialogScript {
  bool modal = false;
  bool paintRed = false;
  std::function<void(HWND)> run;
  WNDPROC procAtDestroy = nullptr;
  bool adapterAtDestroy = true;
};

INT_PTR CALLBACK ScriptedDialog(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<TDialogScript*>(GetWindowLongPtrW(wnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(wnd, DWLP_USER, lParam);
      if (reinterpret_cast<TDialogScript*>(lParam)->run) PostMessageW(wnd, kRunScript, 0, 0);
      return TRUE;
    case kRunScript:
      s->run(wnd);
      return TRUE;
    case WM_PAINT:
      if (!s || !s->paintRed) return FALSE;
      {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        TBrushHandle red(CreateSolidBrush(kRed));
        FillRect(dc, &ps.rcPaint, red.Get());
        EndPaint(wnd, &ps);
      }
      return TRUE;
    case WM_CLOSE:
      wParam = IDCANCEL;
      [[fallthrough]];
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      if (s && s->modal)
        EndDialog(wnd, LOWORD(wParam));
      else
        DestroyWindow(wnd);
      return TRUE;
    case WM_DESTROY:
      if (s) {
        s->procAtDestroy = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
        s->adapterAtDestroy = TzkMainWnd::FromWindow(wnd) != nullptr;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The visible menu window, or null.
HWND OpenMenuWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM l) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof(name));
        if (std::string(name) == "#32768" && IsWindowVisible(w)) *reinterpret_cast<HWND*>(l) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class DialogWnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // The hook leaves dialogs to the tests, which attach their adapters themselves.
    manager = MakeDefaultSkinManager([](TsSkinManager& m) { m.SetSkinningRules(m.SkinningRules() & ~srStdDialogs); });
    ASSERT_TRUE(manager->SkinData().Active);
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    TzkMainWnd::Dispose(adapter);
    for (HWND w : dialogs)
      if (IsWindow(w)) DestroyWindow(w);
    Pump();
    ReleaseManager(manager);
  }
  // A shown, active modeless dialog with an OK button.
  HWND Open(DWORD style, const wchar_t* caption = L"Skinned dialog", HWND owner = nullptr) {
    TDialogTemplate t(style, caption);
    t.Add(0x0080, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 140, 88, 50, 14);
    HWND wnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, ScriptedDialog,
                                          reinterpret_cast<LPARAM>(&script));
    EXPECT_NE(wnd, nullptr);
    dialogs.push_back(wnd);
    SetWindowPos(wnd, HWND_TOP, 120, 120, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(wnd);
    Pump();
    return wnd;
  }
  TzkDialogWnd& Attach(HWND wnd) {
    adapter = TzkMainWnd::Attach<TzkDialogWnd>(wnd, false, "DIALOG", manager.get());
    adapter->Initialize();
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return *adapter;
  }
  LPARAM ScreenPoint(HWND wnd, TPoint p) const {
    RECT r;
    GetWindowRect(wnd, &r);
    return MAKELPARAM(r.left + p.X, r.top + p.Y);
  }
  LRESULT HitTest(HWND wnd, TPoint p) const { return SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, p)); }
  // The frame as the paint engine composes it: "DIALOG" over the window, the "FORMTITLE"
  // band, the close glyph (opaque or half transparent) in its place.
  TzkBitmap Composed(const TzkTitleGeometry& g, int state, const char* closeKey, bool opaque) const {
    const TsSkinTables& t = manager->Tables();
    TzkBitmap want = NewDeviceBitmap24(g.Width, g.Height);
    const int dialog = t.IndexOfSection("DIALOG");
    const TsGeneralData& s = t.Sections[size_t(dialog)];
    TsBackgroundInfo plain;
    plain.Color = state ? s.HotColor : s.Color;
    PaintSectionByIndex(dialog, "DIALOG", plain, -1, -1, &t, &want, TPoint{0, 0}, TRect(0, 0, g.Width, g.Height),
                        state, true);
    TsBackgroundInfo bg;
    bg.Bitmap = &want;
    bg.IsBitmap = true;
    PaintSectionByIndex(t.IndexOfSection("FORMTITLE"), "FORMTITLE", bg, -1, -1, &t, &want, TPoint{0, 0},
                        TRect(0, 0, g.Width, g.TitleBand()), state, true);
    const int glyph = t.IndexOfMask(t.IndexOfSection("GLOBALINFO"), "GLOBALINFO", closeKey);
    EXPECT_GE(glyph, 0) << closeKey;
    const TRect& close = g.Buttons[tbkClose];
    if (glyph >= 0) PaintGlyphMask(want, TPoint{close.Left, close.Top}, 0, bg, t.Masks[size_t(glyph)], opaque);
    return want;
  }

  std::unique_ptr<TsSkinManager> manager;
  std::unique_ptr<TzkDialogWnd> adapter;
  std::vector<HWND> dialogs;
  TDialogScript script;
};

// [SECTION] Frame kinds, glyphs and the system menu

TEST_F(DialogWnd, TheStyleDecidesTheFrameKindTheGlyphSetTheButtonsAndTheMenuItems) {
  HWND wnd = Open(kModal);
  TzkDialogWnd& a = Attach(wnd);
  EXPECT_EQ(a.FrameKind(), 0);
  TzkTitleGeometry g = a.Geometry();
  EXPECT_TRUE(g.ButtonShown[tbkClose]);
  EXPECT_FALSE(g.ButtonShown[tbkMax] || g.ButtonShown[tbkMin] || g.ButtonShown[tbkHelp]);
  EXPECT_EQ(a.TitleBar().Button(tbkClose).GlyphKey, "SICONCLOSE");
  EXPECT_FALSE(a.TitleBar().Button(tbkClose).BigGlyph);
  // Small glyphs sit in the middle of the band.
  EXPECT_EQ(g.Buttons[tbkClose].Top, (g.TitleBand() - g.Buttons[tbkClose].Height()) / 2);
  // The platform no longer draws or hit-tests buttons of its own; the adapter remembers them.
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  EXPECT_TRUE(a.SavedStyle() & WS_SYSMENU);
  TzkSystemMenu& menu = *a.SystemMenu();
  menu.Refresh();
  EXPECT_FALSE(menu.ItemRestore->Visible());
  EXPECT_FALSE(menu.ItemSize->Visible());
  EXPECT_FALSE(menu.ItemMinimize->Visible() || menu.ItemMaximize->Visible());
  EXPECT_TRUE(menu.ItemMove->Visible() && menu.ItemMove->Enabled());
  EXPECT_TRUE(menu.ItemClose->Visible() && menu.ItemClose->Enabled());
  EXPECT_EQ(menu.ItemClose->ShortCutText(), L"Alt+F4");
  EXPECT_FALSE(menu.ItemMove->Caption().empty());
  // The skin commands a child or the manager asks.
  EXPECT_EQ(SendMessageW(wnd, SM_ORVEXCMD, MakeCommandWParam(zcIsSkinned), 0), 1);
  const TPoint off = a.ClientOffset();
  EXPECT_EQ(SendMessageW(wnd, SM_ORVEXCMD, MakeCommandWParam(zcGetClientOffset), 0), MAKELONG(off.X, off.Y));
  EXPECT_EQ(off.Y, g.Client.Top);
  TzkMainWnd::Dispose(adapter);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU) << "the style is given back";

  wnd = Open(kSizable);
  TzkDialogWnd& s = Attach(wnd);
  EXPECT_EQ(s.FrameKind(), 3);
  g = s.Geometry();
  EXPECT_EQ(s.TitleBar().Button(tbkClose).GlyphKey, "BICONCLOSE");
  ASSERT_TRUE(g.ButtonShown[tbkClose] && g.ButtonShown[tbkMax] && g.ButtonShown[tbkMin]);
  EXPECT_LT(g.Buttons[tbkMax].Left, g.Buttons[tbkClose].Left);
  EXPECT_LT(g.Buttons[tbkMin].Left, g.Buttons[tbkMax].Left);
  s.SystemMenu()->Refresh();
  EXPECT_TRUE(s.SystemMenu()->ItemSize->Visible() && s.SystemMenu()->ItemSize->Enabled());
  EXPECT_TRUE(s.SystemMenu()->ItemRestore->Visible());
  EXPECT_FALSE(s.SystemMenu()->ItemRestore->Enabled());
  EXPECT_TRUE(s.SystemMenu()->ItemMaximize->Enabled());
  TzkMainWnd::Dispose(adapter);

  wnd = Open(WS_POPUP | WS_BORDER);
  TzkDialogWnd& p = Attach(wnd);
  EXPECT_EQ(p.FrameKind(), 2);
  EXPECT_EQ(p.Geometry().H, 0);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(wnd, rgn.Get()), ERROR) << "a popup without a caption keeps its rectangle";
}

// [SECTION] Painting

TEST_F(DialogWnd, TheFrameIsTheDialogSectionWithTheTitleBandAndTheGlyphOnTheScreen) {
  HWND wnd = Open(kModal);
  TzkDialogWnd& a = Attach(wnd);
  ASSERT_TRUE(a.Active());
  const TzkTitleGeometry g = a.Geometry();
  a.RenderCache();
  ASSERT_NE(a.FrameCache(), nullptr);
  const TzkBitmap& cache = *a.FrameCache();
  const TzkBitmap want = Composed(g, 1, "SICONCLOSE", true);
  const TRect iconAndCaption(g.Icon.Left, 0, g.Caption.Right, g.TitleBand());
  EXPECT_EQ(DifferencesIn(cache, want, TRect(0, 0, g.Width, g.Height), iconAndCaption), 0);
  EXPECT_GT(DifferencesIn(cache, want, g.Caption), 10) << "the caption is written";
  EXPECT_GT(DifferencesIn(cache, want, g.Icon), 10) << "the icon is drawn";

  // The screen shows the cache in the frame (the region cuts the corners away).
  int cornerW = 0, cornerH = 0;
  ASSERT_FALSE(a.CornerAreas().empty());
  for (const TRect& r : a.CornerAreas()) {
    cornerW = std::max(cornerW, int(r.Width()));
    cornerH = std::max(cornerH, int(r.Height()));
  }
  LetPaintReachScreen();
  const TzkBitmap shot = WindowOnScreen(wnd);
  EXPECT_EQ(DifferencesIn(shot, cache, TRect(cornerW, 0, g.Width - cornerW, g.Client.Top)), 0);
  EXPECT_EQ(DifferencesIn(shot, cache, TRect(0, g.Client.Top, g.Client.Left, g.Height - cornerH)), 0);
  EXPECT_EQ(DifferencesIn(shot, cache, TRect(g.Client.Right, g.Client.Top, g.Width, g.Height - cornerH)), 0);
}

// A solid, opaque icon of one colour.
TIconHandle SolidIcon(int size, COLORREF colour) {
  const DWORD argb = 0xFF000000u | (DWORD(GetRValue(colour)) << 16) | (DWORD(GetGValue(colour)) << 8) | GetBValue(colour);
  const std::vector<DWORD> pixels(size_t(size * size), argb);
  TBitmapHandle colours(CreateBitmap(size, size, 1, 32, pixels.data()));
  const std::vector<BYTE> zeros(size_t(size * size / 8 + 2 * size), 0);
  TBitmapHandle mask(CreateBitmap(size, size, 1, 1, zeros.data()));  // all zero: every pixel shown
  ICONINFO info = {TRUE, 0, 0, mask.Get(), colours.Get()};
  return TIconHandle(CreateIconIndirect(&info));
}

TEST_F(DialogWnd, ADialogWithoutAnIconOfItsOwnShowsItsOwnersIcon) {
  TIconHandle red = SolidIcon(16, kRed);
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(owner, WM_SETICON, ICON_SMALL, LPARAM(red.Get()));
  ASSERT_EQ(HICON(SendMessageW(owner, WM_GETICON, ICON_SMALL, 0)), red.Get());
  HWND wnd = Open(kModal, L"Owned", owner);
  TzkDialogWnd& a = Attach(wnd);
  const TzkTitleGeometry g = a.Geometry();
  a.RenderCache();
  ASSERT_NE(a.FrameCache(), nullptr);
  ASSERT_TRUE(g.IconShown);
  EXPECT_EQ(PixelOf(*a.FrameCache(), Centre(g.Icon).X, Centre(g.Icon).Y), kRed)
      << "a message box carries the icon of the program that shows it, not the generic one";
  DestroyWindow(wnd);
  DestroyWindow(owner);
}

TEST_F(DialogWnd, WithoutEditChildrenTheCacheShowsThroughUntilTheClientPaintIsHandedBack) {
  script.paintRed = true;
  HWND wnd = Open(kModal);
  TzkDialogWnd& a = Attach(wnd);
  ASSERT_TRUE(a.SuppressClientPaint());
  const TzkTitleGeometry g = a.Geometry();
  const TPoint inside{g.Client.Left + 20, g.Client.Top + 20};
  RECT wr;
  GetWindowRect(wnd, &wr);
  LetPaintReachScreen();
  EXPECT_EQ(PixelOf(ScreenPixels(TRect(wr.left + inside.X, wr.top + inside.Y, wr.left + inside.X + 1,
                                       wr.top + inside.Y + 1)), 0, 0),
            PixelOf(*a.FrameCache(), inside.X, inside.Y));

  a.HandBackClientPaint();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  LetPaintReachScreen();
  EXPECT_EQ(PixelOf(ScreenPixels(TRect(wr.left + inside.X, wr.top + inside.Y, wr.left + inside.X + 1,
                                       wr.top + inside.Y + 1)), 0, 0),
            TColor(kRed));
}

TEST_F(DialogWnd, ActivationSwitchesTheTitleBetweenItsLooksAndDimsTheCloseButton) {
  HWND wnd = Open(kModal);
  TzkDialogWnd& a = Attach(wnd);
  const TzkTitleGeometry g = a.Geometry();
  const TRect close = g.Buttons[tbkClose];
  const TRect strip(g.Caption.Right, 0, close.Left, g.TitleBand());
  ASSERT_GT(strip.Width(), 0);
  auto check = [&](int state, bool opaque) {
    a.RenderCache();
    const TzkBitmap want = Composed(g, state, "SICONCLOSE", opaque);
    EXPECT_EQ(DifferencesIn(*a.FrameCache(), want, strip), 0) << state;
    EXPECT_EQ(DifferencesIn(*a.FrameCache(), want, close), 0) << state;
  };
  check(1, true);

  HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 500, 400, 80, 60, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  Pump();
  EXPECT_FALSE(a.Active());
  // Half transparent while inactive (the internal skin's glyphs carry their own alpha, which
  // the glyph painter uses either way).
  check(0, false);

  SetForegroundWindow(wnd);
  Pump();
  EXPECT_TRUE(a.Active());
  check(1, true);
  DestroyWindow(other);
}

// [SECTION] The mouse

TEST_F(DialogWnd, ClickingTheIconOpensTheSkinnedMenuBelowItAndDoubleClickingItCloses) {
  HWND wnd = Open(kModal);
  TzkDialogWnd& a = Attach(wnd);
  const TzkTitleGeometry g = a.Geometry();
  RECT wr;
  GetWindowRect(wnd, &wr);
  static HWND menu;
  static RECT menuRect;
  static bool adapted;
  menu = nullptr;
  adapted = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 80, [](HWND, UINT, UINT_PTR, DWORD) {
    if (!menu && (menu = OpenMenuWindow()) != nullptr) {
      GetWindowRect(menu, &menuRect);
      adapted = dynamic_cast<TzkMnuWnd*>(TzkMainWnd::FromWindow(menu)) != nullptr;
    }
    EndMenu();
  });
  ASSERT_EQ(HitTest(wnd, Centre(g.Icon)), HTSYSMENU);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTSYSMENU, ScreenPoint(wnd, Centre(g.Icon)));
  KillTimer(nullptr, timer);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(adapted) << "the menu window is drawn by the menu painter";
  EXPECT_EQ(menuRect.left, wr.left + g.Icon.Left);
  EXPECT_EQ(menuRect.top, wr.top + g.Icon.Bottom);
  EXPECT_TRUE(IsWindow(wnd));

  SendMessageW(wnd, WM_NCLBUTTONDBLCLK, HTSYSMENU, ScreenPoint(wnd, Centre(g.Icon)));
  Pump();
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_TRUE(a.GivenBack());
}

TEST_F(DialogWnd, HitTestsMatchThePaintedButtonsAndReleasingCloseEndsTheModalDialog) {
  TDialogTemplate t(kModal, L"Modal");
  t.Add(0x0080, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 140, 88, 50, 14);
  WNDPROC own = nullptr;
  script.modal = true;
  script.run = [&](HWND wnd) {
    own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    TzkDialogWnd& a = Attach(wnd);
    const TzkTitleGeometry g = a.Geometry();
    const TRect close = g.Buttons[tbkClose];
    EXPECT_EQ(HitTest(wnd, Centre(close)), HTCLOSE);
    EXPECT_EQ(a.TitleBar().HotCode(), HTCLOSE);
    EXPECT_EQ(HitTest(wnd, TPoint{close.Left, close.Top}), HTCLOSE);
    EXPECT_EQ(HitTest(wnd, TPoint{close.Right - 1, close.Bottom - 1}), HTCLOSE);
    EXPECT_EQ(HitTest(wnd, TPoint{close.Left - 1, Centre(close).Y}), HTCAPTION);
    EXPECT_EQ(a.TitleBar().HotCode(), 0);
    EXPECT_EQ(HitTest(wnd, TPoint{g.Icon.Left, g.Icon.Top}), HTSYSMENU);
    EXPECT_EQ(HitTest(wnd, TPoint{g.Icon.Right - 1, g.Icon.Bottom - 1}), HTSYSMENU);
    EXPECT_EQ(HitTest(wnd, Centre(g.Caption)), HTCAPTION);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, ScreenPoint(wnd, Centre(close)));
    EXPECT_EQ(a.TitleBar().Button(tbkClose).State, kButtonPressed);
    // Released anywhere: close acts without an inside test.
    SendMessageW(wnd, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(wnd, Centre(g.Caption)));
  };
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, ScriptedDialog,
                                                 reinterpret_cast<LPARAM>(&script));
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_NE(adapter, nullptr);
  EXPECT_TRUE(adapter->GivenBack());
  EXPECT_EQ(script.procAtDestroy, own) << "the dialog's own procedure is back while it is destroyed";
  EXPECT_FALSE(script.adapterAtDestroy);
}

// [SECTION] Giving the window back

TEST_F(DialogWnd, TheDialogGetsItsOwnFrameAndProcedureBackWhenTheSkinGoesWhileItIsOpen) {
  HWND wnd = Open(kModal);
  const LONG_PTR own = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  Attach(wnd);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), own);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_NE(GetWindowRgn(wnd, rgn.Get()), ERROR);
  manager->SetActive(false);
  TzkMainWnd::Dispose(adapter);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), own);
  EXPECT_EQ(TzkMainWnd::FromWindow(wnd), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(GetWindowRgn(wnd, rgn.Get()), ERROR);
}

TEST_F(DialogWnd, TwoHundredDialogsOpenedAndClosedLeaveNoHandlesBehind) {
  auto round = [&] {
    HWND wnd = Open(kModal);
    TzkDialogWnd& a = Attach(wnd);
    HitTest(wnd, Centre(a.Geometry().Buttons[tbkClose]));  // a hot button with its overlay
    SendMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(a.GivenBack());
    TzkMainWnd::Dispose(adapter);
    dialogs.clear();
    Pump();
  };
  round();
  const int entries = TzkMainWnd::EntriesInUse();
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 200; ++i) round();
    Pump();
  }
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
}

}  // namespace
