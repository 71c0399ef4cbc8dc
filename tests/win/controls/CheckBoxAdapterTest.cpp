// The check-box adapter on platform check boxes and radio buttons: the skin's glyph for each
// check state and frame against the paint engine's own drawing, the parent asked to prepare
// itself first, real clicks still toggling the box, and the window procedure given back.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkCheckBoxWnd.h"
#include "toolkit/Handles.h"

namespace {

int g_clicks = 0;
int g_childPaints = 0;

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_clicks;
  if (msg == SM_ORVEXCMD && SkinCommandOf(TMessage{msg, wp, lp, 0}).Code == zcChildPaint) ++g_childPaints;
  return DefWindowProcW(w, msg, wp, lp);
}

class CheckBoxAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    skin.InternalSkins().push_back(InternalStoredSkin());
    skin.SetSkinName("Quarn (internal)");
    ASSERT_TRUE(skin.SkinData().Active);
    parent = MakeForegroundParent(L"CheckBoxAdapterTestParent", ParentProc, 240, 140);
    g_clicks = g_childPaints = 0;
    Pump();
  }
  void TearDown() override {
    SetCursorPos(0, 0);
    DestroyWindow(parent);
    Pump();
  }
  HWND MakeBox(const wchar_t* text, DWORD style) {
    HWND b = CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | style, 20, 20, 120, 24, parent,
                             HMENU(102), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(b, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return b;
  }
  // The section over the parent's colour and a glyph frame at the left, vertically centred.
  TzkBitmap Composed(int mask, int frame) {
    const TsSkinTables& t = skin.Tables();
    TzkBitmap want = NewDeviceBitmap24(120, 24);
    TsBackgroundInfo bg;
    bg.Color = TColor(GetSysColor(COLOR_BTNFACE));
    PaintSkinnedItem(&t, SectionLook(t, t.IndexOfSection("CHECKBOX")), bg, clFuchsia, true, true, &want,
                     {0, 0}, Rect(0, 0, 120, 24), 0);
    const TSize g = t.ImageFrameSize(mask);
    PaintGlyphMask(want, {0, (24 - g.cy) / 2}, frame, TsBackgroundInfo{}, t.Masks[size_t(mask)], true);
    return want;
  }
  void Redraw(HWND b) {
    RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }

  TsSkinManager skin{nullptr};
  HWND parent = nullptr;
};

TEST_F(CheckBoxAdapter, GlyphFollowsTheCheckStateAndFrame) {
  const TsCachedIndexes& c = skin.Tables().CachedIndexes;
  ASSERT_TRUE(skin.Tables().IsValidMask(c.CheckBoxChecked));
  HWND b = MakeBox(L"", BS_3STATE);
  auto a = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
  Redraw(b);
  EXPECT_GT(g_childPaints, 0) << "the parent is asked to prepare itself";
  ASSERT_EQ(a->Skin().CacheBmp.Width(), 120);
  EXPECT_EQ(a->GlyphSize().cx, skin.Tables().ImageFrameSize(c.CheckBoxUnchecked).cx);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxUnchecked, 0)), 0);
  SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxChecked, 0)), 0);
  SendMessageW(b, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxGrayed, 0)), 0);
  SendMessageW(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(a->GlyphFrame(), 2);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxGrayed, 2)), 0) << "pressed";
  SendMessageW(b, BM_SETSTATE, FALSE, 0);
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseEnter), LPARAM(&skin));
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxGrayed, 1)), 0) << "hot";
  SendMessageW(b, SM_ORVEXCMD, MakeCommandWParam(zcMouseLeave), LPARAM(&skin));
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxGrayed, 0)), 0);
  a.reset();
  DestroyWindow(b);

  // Radio buttons: their own glyphs, and the box's grey glyph when indeterminate.
  b = MakeBox(L"", BS_RADIOBUTTON);
  a = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
  EXPECT_TRUE(a->IsRadio());
  Redraw(b);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.RadioUnchecked, 0)), 0);
  SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.RadioChecked, 0)), 0);
  EXPECT_GT(DifferentPixels(Composed(c.RadioChecked, 0), Composed(c.RadioUnchecked, 0)), 0);
  a.reset();
  DestroyWindow(b);
}

TEST_F(CheckBoxAdapter, ADisabledBoxKeepsFortyPercentOfItsLookOverTheParentsColour) {
  HWND b = MakeBox(L"", BS_CHECKBOX);
  auto a = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
  EnableWindow(b, FALSE);
  Redraw(b);
  const TzkBitmap want =
      Tinted(Composed(skin.Tables().CachedIndexes.CheckBoxUnchecked, 0), GetSysColor(COLOR_BTNFACE), 0.4);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, want), 0);
  a.reset();
  DestroyWindow(b);
}

TEST_F(CheckBoxAdapter, CaptionAndLeftTextPlacement) {
  HWND b = MakeBox(L"Remember", BS_CHECKBOX | BS_LEFTTEXT);
  auto a = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
  Redraw(b);
  const TSize g = a->GlyphSize();
  EXPECT_EQ(a->GlyphRect().Left, 120 - g.cx);
  // The text lies left of the glyph; without text the box is only the section and glyph.
  const TzkBitmap& cache = a->Skin().CacheBmp;
  SetWindowTextW(b, L"");
  TzkBitmap empty = a->Skin().CacheBmp.Clone();
  SetWindowTextW(b, L"Remember");
  int textPixels = 0, rightOfText = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool diff = memcmp(cache.ScanLine(y) + x * 3, empty.ScanLine(y) + x * 3, 3) != 0;
      textPixels += diff;
      rightOfText += diff && x >= 120 - g.cx;
    }
  EXPECT_GT(textPixels, 20);
  EXPECT_EQ(rightOfText, 0);
  a.reset();
  DestroyWindow(b);
}

TEST_F(CheckBoxAdapter, RealClicksToggleTheBoxAndReachTheParent) {
  const TsCachedIndexes& c = skin.Tables().CachedIndexes;
  HWND b = MakeBox(L"", BS_AUTOCHECKBOX);
  const LONG_PTR own = GetWindowLongPtrW(b, GWLP_WNDPROC);
  const int entries = TzkMainWnd::EntriesInUse();
  auto a = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
  Redraw(b);
  POINT p{8, 12};
  ClientToScreen(b, &p);
  MovePointerTo(p);
  EXPECT_EQ(skin.HotWindow(), b);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  WaitUntil([] { return g_clicks > 0; });
  EXPECT_EQ(g_clicks, 1);
  EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetFocus(parent);
  Redraw(b);
  EXPECT_EQ(DifferentPixels(a->Skin().CacheBmp, Composed(c.CheckBoxChecked, 1)), 0) << "hot and checked";
  SetCursorPos(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return skin.HotWindow() != b; })) << "leaving clears the hot state";

  // Attached and detached many times: the procedure back, no handles left behind.
  a.reset();
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), own);
  EXPECT_EQ(TzkMainWnd::EntriesInUse(), entries);
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 200; ++i) {
      auto cycle = TzkMainWnd::Attach<TzkCheckBoxWnd>(b, false, "", &skin);
      SendMessageW(b, BM_CLICK, 0, 0);
      Redraw(b);
    }
  }
  EXPECT_EQ(g_clicks, 201);
  EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED) << "toggled once per click";
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), own);
  DestroyWindow(b);
}

}  // namespace
