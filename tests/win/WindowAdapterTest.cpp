// Window adapters taking over plain windows by handle, and the skinned scroll bars they draw,
// hit-test and drive: procedures given back in every order, frame layout, pixels from the
// skin, arrow repeat, thumb dragging with full positions, and no handles left behind.
#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/zkBlend.h"
#include "skin/windows/zkEditWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/ListView.h"

namespace {

// What the plain test window saw.
struct TSeen {
  std::vector<std::pair<UINT, WPARAM>> scrolls;  // (message, wParam)
  std::vector<LPARAM> scrollParams;
  int commands51 = 0, commands52 = 0;
  int mouseMoves = 0;
  bool fullPositions = false;
  // The one window that answers the colour query (21), the waiting query (10) and the
  // background request (34) itself, and its answers.
  HWND colourWindow = nullptr;
  TColor colour = 0;
  HWND updatingWindow = nullptr;
  LRESULT updating = 0;
  HWND backgroundWindow = nullptr;
  TColor background = 0;
  void Clear() { *this = TSeen{}; }
  int Count(int code) const {
    int n = 0;
    for (auto& s : scrolls) n += LOWORD(s.second) == code;
    return n;
  }
};
TSeen g_seen;

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      g_seen.scrolls.push_back({msg, wParam});
      g_seen.scrollParams.push_back(lParam);
      return 0;
    case WM_MOUSEMOVE:
      ++g_seen.mouseMoves;
      return 0;
    case SM_ORVEXCMD:
      if (CommandCodeOf(wParam) == zcGetBackgroundColor && wnd == g_seen.colourWindow) return LRESULT(g_seen.colour);
      if (CommandCodeOf(wParam) == zcQueryUpdating && wnd == g_seen.updatingWindow) return g_seen.updating;
      if (CommandCodeOf(wParam) == zcGetBackground && wnd == g_seen.backgroundWindow && lParam) {
        auto* r = reinterpret_cast<TsBackgroundRequest*>(lParam);
        r->BgType = btColor;
        r->Color = g_seen.background;
        return 0;
      }
      if (CommandCodeOf(wParam) == zcBeforeScroll) {
        ++g_seen.commands51;
        return g_seen.fullPositions ? 1 : 0;
      }
      if (CommandCodeOf(wParam) == zcAfterScroll) ++g_seen.commands52;
      return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

const wchar_t kPlainClass[] = L"VornikAdapterTestWindow";

HWND NewPlainWindow(DWORD style) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPlainClass;
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowExW(WS_EX_TOPMOST, kPlainClass, L"adapted", WS_POPUP | WS_VISIBLE | style,
                         40, 40, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A visible child of the test window's class inside `parent`.
HWND NewPlainChild(HWND parent) {
  return CreateWindowExW(0, kPlainClass, L"child", WS_CHILD | WS_VISIBLE, 20, 20, 120, 80, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }

// Another subclasser that knows nothing of adapters: it chains to whatever it replaced.
class TRawSubclass {
 public:
  explicit TRawSubclass(HWND wnd) : wnd_(wnd) {
    instance_ = this;
    prev_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  ~TRawSubclass() { Remove(); }
  void Remove() {
    if (prev_ && IsWindow(wnd_)) SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev_));
    prev_ = nullptr;
  }
  int messages = 0;
  int repeatTimers = 0;

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++instance_->messages;
    if (msg == WM_TIMER && wParam == kRepeatTimer) ++instance_->repeatTimers;
    return CallWindowProcW(instance_->prev_, wnd, msg, wParam, lParam);
  }
  static TRawSubclass* instance_;
  HWND wnd_;
  WNDPROC prev_;
};
TRawSubclass* TRawSubclass::instance_ = nullptr;

class WindowAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_ = std::make_unique<TsSkinManager>(nullptr);
    skin_->InternalSkins().push_back(InternalStoredSkin());
    skin_->SetSkinName("Quarn (internal)");
    ASSERT_TRUE(skin_->SkinData().Active);
    g_seen.Clear();
  }
  void TearDown() override {
    if (wnd_) DestroyWindow(wnd_);
    skin_.reset();
  }
  std::unique_ptr<TzkMainWnd> AttachMain(HWND wnd) {
    return TzkMainWnd::Attach<TzkMainWnd>(wnd, false, "EDIT", skin_.get());
  }
  std::unique_ptr<TzkScrollWnd> AttachScroll(HWND wnd) {
    return TzkMainWnd::Attach<TzkScrollWnd>(wnd, true, "EDIT", skin_.get());
  }
  void SetRange(int bar, int max, UINT page, int pos) {
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_DISABLENOSCROLL, 0, max, page, pos, 0};
    SetScrollInfo(wnd_, bar, &si, TRUE);
  }
  std::unique_ptr<TsSkinManager> skin_;
  HWND wnd_ = nullptr;
};

TEST_F(WindowAdapter, GivesTheProcedureBackInEveryOrder) {
  wnd_ = NewPlainWindow(0);
  const WNDPROC original = ProcOf(wnd_);
  const int entries = TzkMainWnd::EntriesInUse();

  // Adapter alone.
  auto a = AttachMain(wnd_);
  EXPECT_NE(ProcOf(wnd_), original);
  EXPECT_EQ(TzkMainWnd::FromWindow(wnd_), a.get());
  EXPECT_EQ(SendMessageW(wnd_, SM_ORVEXCMD, MakeCommandWParam(zcIsSkinned), 0), 1);
  EXPECT_THROW(AttachMain(wnd_), std::logic_error);  // one adapter per window
  a.reset();
  EXPECT_EQ(ProcOf(wnd_), original);
  EXPECT_EQ(GetPropW(wnd_, kAdapterProp), nullptr);

  // Another subclasser below the adapter: each leaves in its own order.
  {
    TRawSubclass raw(wnd_);
    a = AttachMain(wnd_);
    a.reset();
    EXPECT_NE(ProcOf(wnd_), original);  // the raw one is still there
  }
  EXPECT_EQ(ProcOf(wnd_), original);

  // Another subclasser above the adapter that stays longer: the adapter's entry passes
  // messages on and leaves the chain as soon as it is on top again.
  a = AttachMain(wnd_);
  {
    TRawSubclass raw(wnd_);
    a.reset();
    EXPECT_EQ(GetPropW(wnd_, kAdapterProp), nullptr);
    SetWindowTextW(wnd_, L"still answered");
    EXPECT_GT(raw.messages, 0);
    EXPECT_EQ(SendMessageW(wnd_, SM_ORVEXCMD, MakeCommandWParam(zcIsSkinned), 0), 0);
    // A new adapter may come while the old entry still passes messages on.
    a = AttachMain(wnd_);
    a.reset();
  }
  SendMessageW(wnd_, WM_NULL, 0, 0);
  EXPECT_EQ(ProcOf(wnd_), original);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  wchar_t text[32] = {};
  GetWindowTextW(wnd_, text, 32);
  EXPECT_STREQ(text, L"still answered");
}

TEST_F(WindowAdapter, LetsGoOfAWindowDestroyedUnderIt) {
  const int entries = TzkMainWnd::EntriesInUse();
  HWND wnd = NewPlainWindow(WS_VSCROLL);
  auto a = AttachScroll(wnd);
  DestroyWindow(wnd);
  EXPECT_TRUE(a->Destroyed());
  EXPECT_FALSE(a->Hooked());
  a.reset();
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);

  // Destroyed while another subclasser sits over the adapter.
  wnd = NewPlainWindow(0);
  a = AttachScroll(wnd);
  TRawSubclass raw(wnd);
  DestroyWindow(wnd);
  EXPECT_TRUE(a->Destroyed());
  a.reset();
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
}

TEST_F(WindowAdapter, ManyCyclesLeaveNoHandles) {
  wnd_ = NewPlainWindow(WS_VSCROLL | WS_HSCROLL | WS_BORDER);
  SetRange(SB_VERT, 99, 10, 0);
  Pump();
  const int entries = TzkMainWnd::EntriesInUse();
  // The window stays shown, so each frame paint draws the skinned bar into it (which costs
  // tens of milliseconds a cycle on the test display, hence fewer cycles than elsewhere).
  const TColor track = skin_->Tables().Sections[size_t(skin_->IndexOfSection("SCROLLBAR1H"))].Color;
  RECT w;
  GetWindowRect(wnd_, &w);
  int skinnedBars = 0;
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 60; ++i) {
      auto a = TzkMainWnd::Attach<TzkScrollWnd>(wnd_, i % 2 == 0, "EDIT", skin_.get());
      a->VertBar().Shown = true;
      TzkBitmap bar;
      a->RenderBar(SB_VERT, bar, bpThumb, bpFirstArrow, -1);
      SendMessageW(wnd_, WM_NCPAINT, 1, 0);
      const TRect v = a->BarRect(SB_VERT);
      HDC dc = GetWindowDC(wnd_);
      skinnedBars += GetPixel(dc, v.Left - w.left + v.Width() / 2, v.Top - w.top + v.Height() * 3 / 4) == COLORREF(track);
      ReleaseDC(wnd_, dc);
    }
    Pump();
  }
  EXPECT_EQ(skinnedBars, 60);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
}

TEST_F(WindowAdapter, BarsTakeTheirSpaceAndAnswerHitTests) {
  wnd_ = NewPlainWindow(WS_VSCROLL | WS_HSCROLL | WS_BORDER);
  SetRange(SB_VERT, 99, 50, 25);
  SetRange(SB_HORZ, 99, 50, 0);
  RECT before;
  GetClientRect(wnd_, &before);
  auto a = AttachScroll(wnd_);
  RECT client;
  GetClientRect(wnd_, &client);
  const int thick = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_TRUE(a->VertBar().Shown && a->HorzBar().Shown);
  EXPECT_EQ(a->Borders(), Rect(1, 1, 1, 1));
  EXPECT_EQ(client.right, 300 - 2 - thick);
  EXPECT_EQ(client.bottom, 200 - 2 - GetSystemMetrics(SM_CYHSCROLL));

  const TRect v = a->BarRect(SB_VERT);
  EXPECT_EQ(v, Rect(40 + 300 - 1 - thick, 41, 40 + 299, 40 + 199 - GetSystemMetrics(SM_CYHSCROLL)));
  auto hit = [&](int x, int y) { return SendMessageW(wnd_, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(v.Left + 2, v.Top + 2), HTVSCROLL);
  EXPECT_EQ(hit(v.Left + 2, v.Bottom - 2), HTVSCROLL);
  const TRect h = a->BarRect(SB_HORZ);
  EXPECT_EQ(hit(h.Left + 30, h.Top + 3), HTHSCROLL);
  const LRESULT corner = hit(h.Right + 3, h.Top + 3);  // no grip on a popup: the platform's
  EXPECT_TRUE(corner != HTHSCROLL && corner != HTVSCROLL && corner != HTBOTTOMRIGHT) << corner;
  EXPECT_EQ(hit(100, 100), HTCLIENT);
  // A disabled bar answers nothing.
  EnableScrollBar(wnd_, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_EQ(hit(v.Left + 2, v.Top + 40), HTNOWHERE);
  EnableScrollBar(wnd_, SB_VERT, ESB_ENABLE_BOTH);

  a.reset();
  GetClientRect(wnd_, &client);
  EXPECT_EQ(client.right, before.right);  // the platform's bars are back
}

TEST_F(WindowAdapter, NonClientPixelsComeFromTheSkin) {
  wnd_ = NewPlainWindow(WS_VSCROLL | WS_BORDER);
  SetRange(SB_VERT, 99, 20, 0);
  auto a = AttachScroll(wnd_);
  RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  const TRect v = a->BarRect(SB_VERT);
  TzkBitmap expected;
  a->RenderBar(SB_VERT, expected, bpNone, bpNone, -1);
  ASSERT_FALSE(expected.Empty());
  HDC screen = GetDC(nullptr);
  int same = 0, total = 0;
  for (int y = 0; y < v.Height(); y += 7) {
    for (int x = 1; x < v.Width() - 1; x += 3) {
      const uint8_t* p = expected.ScanLine(y) + x * 3;
      const COLORREF want = RGB(p[2], p[1], p[0]);
      same += GetPixel(screen, v.Left + x, v.Top + y) == want;
      ++total;
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(same, total);
  // The track's colour is the skin's, which the platform's bar never has.
  const uint8_t* track = expected.ScanLine(v.Height() / 2) + (v.Width() / 2) * 3;
  const TColor bar = skin_->Tables().Sections[size_t(skin_->IndexOfSection("SCROLLBAR1H"))].Color;
  EXPECT_EQ(RGB(track[2], track[1], track[0]), COLORREF(bar));
}

TEST_F(WindowAdapter, HeldArrowRepeatsOncePerRepeatTimer) {
  wnd_ = NewPlainWindow(WS_VSCROLL);
  SetRange(SB_VERT, 99, 10, 0);
  auto a = AttachScroll(wnd_);
  TRawSubclass counter(wnd_);
  const TRect v = a->BarRect(SB_VERT);
  const POINT arrow{v.Left + v.Width() / 2, v.Bottom - 3};
  SetCursorPos(arrow.x, arrow.y);
  SendMessageW(wnd_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 1);  // at once
  WaitUntil([&] { return counter.repeatTimers >= 2; });
  const int timers = counter.repeatTimers;
  EXPECT_GE(timers, 2);
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 1 + timers);
  // Off the arrow the repeat pauses, back on it it goes on.
  SetCursorPos(arrow.x, v.Top + v.Height() / 2);
  SendMessageW(wnd_, WM_TIMER, kRepeatTimer, 0);
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 1 + counter.repeatTimers - 1);
  SetCursorPos(arrow.x, arrow.y);
  const int beforeBack = g_seen.Count(SB_LINEDOWN);
  SendMessageW(wnd_, WM_TIMER, kRepeatTimer, 0);
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), beforeBack + 1);
  SendMessageW(wnd_, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(g_seen.Count(SB_ENDSCROLL), 1);
  const int after = int(g_seen.scrolls.size());
  PumpFor(150);  // longer than a repeat: time must pass for a stopped timer to show it stopped
  EXPECT_EQ(int(g_seen.scrolls.size()), after);
  EXPECT_EQ(g_seen.commands51, g_seen.commands52);
}

// Drags the vertical thumb from its centre to `toY` (screen) and lets go.
void DragThumb(HWND wnd, TzkScrollWnd& a, int toY) {
  const TRect v = a.BarRect(SB_VERT);
  a.VertBar().ReadInfo(wnd);
  const TzkBarMetrics m = a.VertBar().Metrics(v, a.Skin().Tables());
  const TzkThumb t = ThumbGeometry(m, a.VertBar().Info);
  const int x = v.Left + v.Width() / 2;
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, v.Top + t.Start + t.Length / 2));
  EXPECT_TRUE(a.ThumbDragging());
  POINT p{x, toY};
  ScreenToClient(wnd, &p);
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

TEST_F(WindowAdapter, ThumbDragSendsFullPositionsToReceiversThatTakeThem) {
  wnd_ = NewPlainWindow(WS_VSCROLL);
  SetRange(SB_VERT, 1999999, 20, 0);
  auto a = AttachScroll(wnd_);
  g_seen.fullPositions = true;
  const TRect v = a->BarRect(SB_VERT);
  DragThumb(wnd_, *a, v.Bottom + 50);
  ASSERT_GE(g_seen.scrolls.size(), 3u);
  const size_t n = g_seen.scrolls.size();
  EXPECT_EQ(LOWORD(g_seen.scrolls[n - 3].second), SB_THUMBTRACK);
  EXPECT_EQ(g_seen.scrollParams[n - 3], 1999980);  // Max - Page + 1
  EXPECT_EQ(HIWORD(g_seen.scrolls[n - 3].second), 1999980 & 0xFFFF);
  EXPECT_EQ(LOWORD(g_seen.scrolls[n - 2].second), SB_THUMBPOSITION);
  EXPECT_EQ(g_seen.scrollParams[n - 2], 1999980);
  EXPECT_EQ(LOWORD(g_seen.scrolls[n - 1].second), SB_ENDSCROLL);
  EXPECT_FALSE(a->ThumbDragging());

  // Half way down: a position beyond 16 bits.
  g_seen.Clear();
  g_seen.fullPositions = true;
  SetRange(SB_VERT, 1999999, 20, 0);
  DragThumb(wnd_, *a, v.Top + v.Height() / 2);
  ASSERT_FALSE(g_seen.scrollParams.empty());
  EXPECT_GT(g_seen.scrollParams.front(), 65535);
}

TEST_F(WindowAdapter, ThumbDragLimitsPositionsForOtherWindows) {
  wnd_ = NewPlainWindow(WS_VSCROLL);
  SetRange(SB_VERT, 1999999, 20, 0);
  auto a = AttachScroll(wnd_);
  const TRect v = a->BarRect(SB_VERT);
  DragThumb(wnd_, *a, v.Top + v.Height() / 2);
  ASSERT_GE(g_seen.scrolls.size(), 1u);
  EXPECT_EQ(LOWORD(g_seen.scrolls[0].second), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(g_seen.scrolls[0].second), 65535);
  EXPECT_EQ(g_seen.scrollParams[0], 0);
  // The full position went to the bar, where the window can read it.
  EXPECT_GT(GetScrollPos(wnd_, SB_VERT), 65535);
}

// Skin commands a window with bars answers: the background request goes to the window
// first, and without its answer the adapter gives its own; the colour query answers the
// colour the section really shows (through a transparent section, the parent's).
TEST_F(WindowAdapter, BackgroundAndColourQueriesAskTheWindowAndAnswerTheEffectiveColour) {
  wnd_ = NewPlainWindow(0);
  HWND child = NewPlainChild(wnd_);
  auto a = AttachScroll(child);
  TsGeneralData& edit = skin_->LoadedTables().Sections[size_t(skin_->IndexOfSection("EDIT"))];
  const TColor own = ColorToRGB(edit.Color);

  TsBackgroundRequest r;
  g_seen.backgroundWindow = child;
  g_seen.background = RGBColor(1, 2, 3);
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), LPARAM(&r));
  EXPECT_EQ(r.BgType, btColor);
  EXPECT_EQ(r.Color, RGBColor(1, 2, 3)) << "the window's own answer";
  g_seen.backgroundWindow = nullptr;
  r = TsBackgroundRequest();
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), LPARAM(&r));
  EXPECT_EQ(r.BgType, btColor);
  EXPECT_EQ(r.Color, own);
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), 0);  // no request: nothing read

  g_seen.colourWindow = wnd_;
  g_seen.colour = RGBColor(0x30, 0x60, 0x90);
  const auto colour = [&] { return TColor(SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcGetBackgroundColor), 0)); };
  EXPECT_EQ(colour(), own);
  edit.Transparency = 100;
  EXPECT_EQ(colour(), RGBColor(0x30, 0x60, 0x90)) << "a see-through section shows its parent";
  edit.Transparency = 50;
  EXPECT_EQ(colour(), LerpColor(RGBColor(0x30, 0x60, 0x90), own, 0.5));
  edit.Transparency = 0;
}

// The base adapter: a section with a gradient tells children to repaint with it (19) and
// answers their background request with its cached image; the end of a parent's update only
// lets the window paint when the parent is not still busy (6).
TEST_F(WindowAdapter, GradientSectionsAnswerWithTheImageAndUpdatesWaitForTheParent) {
  wnd_ = NewPlainWindow(0);
  HWND child = NewPlainChild(wnd_);
  auto a = AttachMain(child);
  TsGeneralData& edit = skin_->LoadedTables().Sections[size_t(skin_->IndexOfSection("EDIT"))];
  const auto ownBackground = [&] { return SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcHasOwnBackground), 0); };
  EXPECT_EQ(ownBackground(), 0);
  edit.GradientPercent = 100;
  edit.GradientArray = {{RGBColor(255, 0, 0), RGBColor(0, 0, 255), 100, 0}};
  EXPECT_EQ(ownBackground(), 1);

  a->Skin().BGChanged = true;
  a->PrepareWindowCache(false);
  ASSERT_FALSE(a->Skin().CacheBmp.Empty());
  TsBackgroundRequest r;
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), LPARAM(&r));
  EXPECT_EQ(r.BgType, btBitmap);
  EXPECT_EQ(r.Bitmap, &a->Skin().CacheBmp);
  EXPECT_EQ(r.X, 0);
  EXPECT_EQ(r.Y, 0);

  g_seen.updatingWindow = wnd_;
  g_seen.updating = 1;
  a->Skin().Updating = true;
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcParentUpdateEnd), 0);
  EXPECT_TRUE(a->Skin().Updating) << "the parent is still being updated";
  g_seen.updating = 0;
  SendMessageW(child, SM_ORVEXCMD, MakeCommandWParam(zcParentUpdateEnd), 0);
  EXPECT_FALSE(a->Skin().Updating);
}

// Another window takes the capture while a bar is held (Alt+Tab, a modal window): the
// repeat stops, a thumb drag ends, and the window gets its mouse moves again.
TEST_F(WindowAdapter, LosingTheCaptureEndsAnArrowPressAndAThumbDrag) {
  wnd_ = NewPlainWindow(WS_VSCROLL);
  SetRange(SB_VERT, 99, 10, 0);
  auto a = AttachScroll(wnd_);
  HWND other = NewPlainWindow(0);
  MoveWindow(other, 400, 300, 100, 100, FALSE);
  const TRect v = a->BarRect(SB_VERT);
  const POINT arrow{v.Left + v.Width() / 2, v.Bottom - 3};
  SetCursorPos(arrow.x, arrow.y);
  SendMessageW(wnd_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
  ASSERT_EQ(GetCapture(), wnd_);
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 1);
  SetCapture(other);
  EXPECT_EQ(g_seen.Count(SB_ENDSCROLL), 1);
  PumpFor(300 + 55 * 4);  // the first repeat's delay and four more: none may come
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 1) << "no repeat after the capture went";
  ReleaseCapture();

  // The same through a cancelled mode, which the window answers by giving the capture up.
  SendMessageW(wnd_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 2);
  SendMessageW(wnd_, WM_CANCELMODE, 0, 0);
  EXPECT_NE(GetCapture(), wnd_);
  PumpFor(300 + 55 * 4);  // as above: time for repeats that must not come
  EXPECT_EQ(g_seen.Count(SB_LINEDOWN), 2);

  a->VertBar().ReadInfo(wnd_);
  const TzkThumb t = ThumbGeometry(a->VertBar().Metrics(v, a->Skin().Tables()), a->VertBar().Info);
  const int x = v.Left + v.Width() / 2;
  SendMessageW(wnd_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, v.Top + t.Start + t.Length / 2));
  ASSERT_TRUE(a->ThumbDragging());
  SetCapture(other);
  EXPECT_FALSE(a->ThumbDragging());
  ReleaseCapture();
  const size_t scrolls = g_seen.scrolls.size();
  const int moves = g_seen.mouseMoves;
  POINT p{x, v.Bottom - 20};
  ScreenToClient(wnd_, &p);
  SendMessageW(wnd_, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(g_seen.mouseMoves, moves + 1) << "the window's own mouse move";
  EXPECT_EQ(g_seen.scrolls.size(), scrolls) << "the thumb no longer follows the pointer";
  DestroyWindow(other);
}

// A toolkit control counts as opaque while an adapter paints it, and no longer afterwards; a
// list view, which draws its own rows, is left as it is.
TEST_F(WindowAdapter, AnAdaptedToolkitControlIsOpaqueWhileAdapted) {
  TForm* form = Application->CreateForm<TForm>();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  auto* list = new TListView(form);
  list->SetParent(form);
  ASSERT_FALSE(edit->ControlStyle() & csOpaque);
  const unsigned listStyle = list->ControlStyle();
  {
    auto a = TzkMainWnd::Attach<TzkEditWnd>(edit->Handle(), false, "EDIT", skin_.get());
    auto b = TzkMainWnd::Attach<TzkListViewWnd>(list->Handle(), false, "EDIT", skin_.get());
    EXPECT_TRUE(edit->ControlStyle() & csOpaque);
    EXPECT_EQ(list->ControlStyle(), listStyle);
  }
  EXPECT_FALSE(edit->ControlStyle() & csOpaque);
  delete form;
  Pump();
}

}  // namespace
