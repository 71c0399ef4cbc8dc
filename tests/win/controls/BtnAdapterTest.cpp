// The push-button adapter on platform buttons: its cached look in each state against the
// section composed directly, the glow following a real pointer, clicks still reaching the
// parent, the window procedure given back, and no handle growth over many attachments.
#include <windows.h>

#include <cmath>
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
#include "skin/windows/zkBtnWnd.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Handles.h"

namespace {

int g_clicks = 0;

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_clicks;
  return DefWindowProcW(w, msg, wp, lp);
}

class BtnAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    skin.InternalSkins().push_back(InternalStoredSkin());
    skin.SetSkinName("Quarn (internal)");
    ASSERT_TRUE(skin.SkinData().Active);
    parent = MakeForegroundParent(L"BtnAdapterTestParent", ParentProc, 240, 140);
    g_clicks = 0;
    Pump();
  }
  void TearDown() override {
    SetCursorPos(0, 0);
    DestroyWindow(parent);
    Pump();
  }
  HWND MakeButton(const wchar_t* text, DWORD style = BS_PUSHBUTTON) {
    HWND b = CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | style, 20, 20, 100, 30, parent,
                             HMENU(101), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(b, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return b;
  }
  // The button as the paint engine composes it: section over the parent's colour, caption.
  TzkBitmap Composed(const wchar_t* text, int state, bool focused = false) {
    const TsSkinTables& t = skin.Tables();
    const int index = t.IndexOfSection("BUTTON");
    TzkBitmap want = NewDeviceBitmap24(100, 30);
    TsBackgroundInfo bg;
    bg.Color = TColor(GetSysColor(COLOR_BTNFACE));
    PaintSkinnedItem(&t, SectionLook(t, index), bg, clFuchsia, true, true, &want, {0, 0},
                     Rect(0, 0, 100, 30), state);
    DrawOnBitmap(want, [&](HDC dc) {
      TSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
      SetBkMode(dc, TRANSPARENT);
      const UINT flags = DT_EXPANDTABS | DT_CENTER | DT_SINGLELINE;
      RECT r{0, 0, 98, 0};
      DrawTextW(dc, text, -1, &r, flags | DT_CALCRECT);
      const TRect caption = ButtonCaptionRect(100, 30, TSize(r.right, r.bottom), state == 2);
      PaintSectionText(dc, text, true, &t, state != 0, index, flags, caption);
      if (!focused || !t.Sections[size_t(index)].ShowFocus) return;
      const RECT f{caption.Left - 1, caption.Top - 1, caption.Right + 1, caption.Bottom + 1};
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      DrawFocusRect(dc, &f);
    });
    return want;
  }
  static void PointAt(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    MovePointerTo(p);
  }
  void Redraw(HWND b) {
    RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }

  TsSkinManager skin{nullptr};
  HWND parent = nullptr;
};

TEST_F(BtnAdapter, CachedLookMatchesTheSectionInEveryState) {
  HWND b = MakeButton(L"Go ahead");
  auto a = TzkMainWnd::Attach<TzkBtnWnd>(b, false, "", &skin);
  Redraw(b);
  ASSERT_EQ(a->Skin().CacheBmp.Width(), 100);
  EXPECT_EQ(a->CtlState(), 0);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Go ahead", 0)), 0) << "normal";

  SendMessageW(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(a->CtlState(), 2);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Go ahead", 2)), 0) << "pressed";
  SendMessageW(b, BM_SETSTATE, FALSE, 0);

  // A default push button is hot without the pointer or the focus.
  SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(a->CtlState(), 1);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Go ahead", 1)), 0) << "hot";
  EXPECT_GT(DifferentPixels(Composed(L"Go ahead", 1), Composed(L"Go ahead", 0)), 0);

  // The window shows the cache.
  const uint8_t* px = a->Skin().CacheBmp.ScanLine(15) + 50 * 3;
  HDC wdc = GetDC(b);
  EXPECT_EQ(GetPixel(wdc, 50, 15), RGB(px[2], px[1], px[0]));
  ReleaseDC(b, wdc);

  // Disabled: the normal look keeps 40 %, the parent's colour gives 60 %.
  SendMessageW(b, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EnableWindow(b, FALSE);
  const TzkBitmap disabled = Tinted(Composed(L"Go ahead", 0), GetSysColor(COLOR_BTNFACE), 0.4);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, disabled), 0) << "disabled";

  EXPECT_EQ(SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcIsSkinned), 0), 1);
  a.reset();
  DestroyWindow(b);
}

TEST_F(BtnAdapter, RealPointerShowsAndHidesTheGlowAndClicksStillArrive) {
  HWND b = MakeButton(L"Hover");
  auto a = TzkMainWnd::Attach<TzkBtnWnd>(b, false, "", &skin);
  Redraw(b);
  PointAt(b, 50, 15);
  EXPECT_EQ(skin.HotWindow(), b);
  EXPECT_EQ(a->CtlState(), 1);
  ASSERT_GE(a->GlowId(), 0);
  HWND glow = GlowEffectWindow(a->GlowId());
  ASSERT_NE(glow, nullptr);
  EXPECT_TRUE(IsWindowVisible(glow));
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Hover", 1)), 0);

  // A real click: pressed while down, the parent told once, the glow closed on pressing.
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendMouseButton(true);
  EXPECT_EQ(a->CtlState(), 2);
  EXPECT_EQ(a->GlowId(), -1);
  EXPECT_EQ(GetFocus(), b) << "pressing focuses the button";
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Hover", 2, true)), 0);
  SendInput(1, &in[1], sizeof(INPUT));
  WaitUntil([] { return g_clicks > 0; });
  EXPECT_EQ(g_clicks, 1);
  EXPECT_NE(a->CtlState(), 2);

  // Away from the button: the glow goes and the button is normal again.
  PointAt(b, 50, 15);
  PointAt(parent, 200, 120);
  EXPECT_TRUE(WaitUntil([&] { return skin.HotWindow() != b; }));
  EXPECT_EQ(a->GlowId(), -1);
  Pump();
  EXPECT_FALSE(IsWindow(glow) && IsWindowVisible(glow));
  SetFocus(parent);
  Redraw(b);
  EXPECT_EQ(a->CtlState(), 0);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(L"Hover", 0)), 0);
  a.reset();
  DestroyWindow(b);
}

TEST_F(BtnAdapter, LeavingOrPressingClosesOnlyTheButtonsOwnGlow) {
  HWND b = MakeButton(L"Mine");
  auto a = TzkMainWnd::Attach<TzkBtnWnd>(b, false, "", &skin);
  Redraw(b);
  // Another owner's glow, shown elsewhere.
  const int other = ShowGlowEffect(TRect(300, 300, 340, 320), TRect(0, 0, 40, 20), "BUTTON", &skin,
                                   nullptr, 255, 0, "GLOW");
  ASSERT_GE(other, 0);
  PointAt(b, 50, 15);
  ASSERT_GE(a->GlowId(), 0);
  const int own = a->GlowId();
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseLeave), 0);
  EXPECT_EQ(a->GlowId(), -1);
  EXPECT_FALSE(GlowEffectOpen(own));
  EXPECT_TRUE(GlowEffectOpen(other)) << "pointer left";

  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseEnter), 0);
  ASSERT_GE(a->GlowId(), 0);
  SendMessageW(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(a->GlowId(), -1);
  EXPECT_TRUE(GlowEffectOpen(other)) << "pressed";
  SendMessageW(b, BM_SETSTATE, FALSE, 0);

  // A glow closed behind the button's back (all glows closed) is shown again on entering.
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseLeave), 0);
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseEnter), 0);
  const int before = a->GlowId();
  ASSERT_GE(before, 0);
  CloseAllGlowEffects();
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseLeave), 0);
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseEnter), 0);
  EXPECT_TRUE(GlowEffectOpen(a->GlowId()));
  EXPECT_NE(a->GlowId(), before);
  CloseAllGlowEffects();
  a.reset();
  DestroyWindow(b);
}

TEST_F(BtnAdapter, DetachingGivesTheProcedureBackAndLeavesNoHandles) {
  HWND b = MakeButton(L"Cycle");
  const LONG_PTR own = GetWindowLongPtrW(b, GWLP_WNDPROC);
  const int entries = TzkMainWnd::EntriesInUse();
  auto cycle = [&] {
    auto a = TzkMainWnd::Attach<TzkBtnWnd>(b, false, "", &skin);
    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    SendMessageW(b, BM_SETSTATE, FALSE, 0);
    SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseLeave), LPARAM(&skin));
    SendMessageW(b, BM_CLICK, 0, 0);
  };
  cycle();
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), own);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  EXPECT_EQ(g_clicks, 1);
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 200; ++i) cycle();
    Pump();
  }
  EXPECT_EQ(g_clicks, 201);
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), own);
  DestroyWindow(b);
}

}  // namespace
