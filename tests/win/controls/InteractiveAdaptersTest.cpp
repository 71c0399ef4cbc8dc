// The dialog control adapters that follow the mouse (up-down, combo box, tab control, tool
// bar) and the edit-style ones (tree view, toolkit edit): their looks against the sections
// composed directly, the platform behaviour kept under them through real mouse input, and a
// toolkit control's own colours given back.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkComboBoxWnd.h"
#include "skin/windows/zkSpinWnd.h"
#include "skin/windows/zkTabControlWnd.h"
#include "skin/windows/zkToolBarWnd.h"
#include "skin/windows/zkTreeViewWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Edit.h"
#include "toolkit/Handles.h"

namespace {

class InteractiveAdapters : public AdapterForm {
 protected:
  TsBackgroundInfo FormColor() const {
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(form->Color());
    return bg;
  }
  static void MoveTo(HWND w, int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    MovePointerTo(p);
  }
  static void Button(bool down) { SendMouseButton(down); }
};

TEST_F(InteractiveAdapters, SpinArrowsAreSkinnedAndStillMoveThePosition) {
  HWND spin = Child(UPDOWN_CLASSW, L"", 0, Bounds(20, 20, 18, 40));
  SendMessageW(spin, UDM_SETRANGE32, 0, 100);
  SendMessageW(spin, UDM_SETPOS32, 0, 50);
  auto a = TzkMainWnd::Attach<TzkSpinWnd>(spin, false, "", &Manager());
  Redraw(spin);
  RECT cr;
  GetClientRect(spin, &cr);  // the platform may narrow it
  const int w = cr.right;
  const TRect up = a->PartRect(TzkSpinWnd::spFirst), down = a->PartRect(TzkSpinWnd::spSecond);
  EXPECT_EQ(up, Rect(0, 0, w, 20));
  EXPECT_EQ(down, Rect(0, 20, w, 40));
  // The arrows sit in the middle of each button; everything else is the section's look.
  auto arrowOf = [](const TRect& r) {
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    return Rect(cx - 5, cy - 3, cx + 6, cy + 5);
  };
  auto expectLook = [&](int upState, int downState) {
    TzkBitmap want = NewDeviceBitmap24(w, 40);
    FillSolid(want, Rect(0, 0, w, 40), form->Color());
    Compose(want, "SPEEDBUTTON_SMALL", up, upState);
    Compose(want, "SPEEDBUTTON_SMALL", down, downState);
    const TzkBitmap& cache = a->Skin().CacheBmp;
    EXPECT_EQ(DifferencesIn(cache, want, up, arrowOf(up)), 0) << upState;
    EXPECT_EQ(DifferencesIn(cache, want, down, arrowOf(down)), 0) << downState;
    EXPECT_GT(DifferencesIn(cache, want, arrowOf(up)), 5) << "the arrow is drawn";
  };
  expectLook(0, 0);

  // Real input: over the upper arrow it is hot, pressed while held, and the up-down itself
  // moves one step up; the lower arrow moves it back down.
  MoveTo(spin, 9, 10);
  EXPECT_EQ(a->PartState(TzkSpinWnd::spFirst), 1);
  expectLook(1, 0);
  Button(true);
  EXPECT_EQ(a->PartState(TzkSpinWnd::spFirst), 2);
  expectLook(2, 0);
  Button(false);
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 51);
  EXPECT_EQ(a->PartState(TzkSpinWnd::spFirst), 1);
  MoveTo(spin, 9, 30);
  Button(true);
  Button(false);
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 50);
  expectLook(0, 1);
  MoveTo(form->Handle(), 250, 150);
  EXPECT_EQ(a->PartState(TzkSpinWnd::spSecond), 0);
  a.reset();
  DestroyWindow(spin);
}

TEST_F(InteractiveAdapters, ComboBoxGetsTheFrameAndButtonAndStillDropsDown) {
  HWND combo = Child(L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, Bounds(20, 20, 150, 120));
  for (const wchar_t* s : {L"One", L"Two", L"Three"}) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(s));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  auto a = TzkMainWnd::Attach<TzkComboBoxWnd>(combo, false, "", &Manager());
  Redraw(combo);
  TzkBitmap out;
  a->Render(out);
  ASSERT_FALSE(out.Empty());
  const int w = out.Width(), h = out.Height(), f = a->FrameWidth();
  // The ring is the section's border, as the paint engine composes it.
  TzkBitmap want = NewDeviceBitmap24(w, h);
  Compose(want, "COMBOBOX", Rect(0, 0, w, h), 0, false);
  EXPECT_EQ(DifferencesIn(out, want, Rect(0, 0, w, h), Rect(f, f, w - f, h - f)), 0);
  // The button is the combo button's section with its glyph.
  const TRect button = a->ButtonRect();
  ASSERT_FALSE(button.IsEmpty());
  TzkBitmap composed = NewDeviceBitmap24(w, h);
  CopyRect(composed, 0, 0, out, Rect(0, 0, w, h));
  TsCachedSection part = Tables().CachedIndexes.ComboButton;
  part.GlyphIndex = Tables().CachedIndexes.ComboGlyph;
  TsBackgroundInfo self;
  self.Bitmap = &composed;
  self.IsBitmap = true;
  PaintBarPart(Tables(), part, self, composed, button, 0, &button);
  EXPECT_EQ(DifferentPixels(out, composed), 0);
  // What the window shows is that image.
  TWindowDc dc(combo, false);
  EXPECT_EQ(TColor(GetPixel(dc.Get(), button.Left + 3, button.Top + 3)), PixelOf(out, button.Left + 3, button.Top + 3));

  // A real click on the button drops the list down, and the button is drawn pressed.
  MoveTo(combo, button.Left + button.Width() / 2, button.Top + button.Height() / 2);
  Button(true);
  Button(false);
  EXPECT_NE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_EQ(a->ButtonState(), 2);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; });
  EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  a.reset();
  DestroyWindow(combo);
}

TEST_F(InteractiveAdapters, TabControlDrawsPageFrameAndTabsAndKeepsSwitching) {
  HWND tabs = Child(WC_TABCONTROLW, L"", 0, Bounds(10, 10, 240, 120));
  for (int i = 0; i < 3; ++i) {
    wchar_t text[8] = L"Page 0";
    text[5] = wchar_t(L'1' + i);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    SendMessageW(tabs, TCM_INSERTITEMW, WPARAM(i), LPARAM(&item));
  }
  SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
  auto a = TzkMainWnd::Attach<TzkTabControlWnd>(tabs, false, "", &Manager());
  Redraw(tabs);
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 240);
  const TRect page = a->PageRect();
  EXPECT_GT(page.Top, 10);
  EXPECT_EQ(page.Bottom, 120);
  TzkBitmap want = NewDeviceBitmap24(240, 120);
  FillSolid(want, Rect(0, 0, 240, 120), form->Color());
  Compose(want, "PAGECONTROL", page, 0);
  // Below the tabs (the selected one reaches one row into the frame) it is the page frame;
  // right of the last tab, the form.
  EXPECT_EQ(DifferencesIn(cache, want, Rect(0, page.Top + 1, 240, 120)), 0);
  RECT last;
  SendMessageW(tabs, TCM_GETITEMRECT, 2, LPARAM(&last));
  EXPECT_EQ(DifferencesIn(cache, want, Rect(last.right + 3, 0, 240, page.Top)), 0);
  EXPECT_EQ(a->TabState(1), 2);

  // The tab under the pointer is hot; a click still switches pages.
  RECT third;
  SendMessageW(tabs, TCM_GETITEMRECT, 2, LPARAM(&third));
  MoveTo(tabs, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
  EXPECT_EQ(a->HotTab(), 2);
  EXPECT_EQ(a->TabState(2), 1);
  Button(true);
  Button(false);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(a->TabState(2), 2);
  EXPECT_EQ(a->TabState(1), 0);
  a.reset();
  DestroyWindow(tabs);
}

TEST_F(InteractiveAdapters, ToolBarPaintsBarAndButtonsInTheirStates) {
  HWND bar = Child(TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER,
                   Bounds(0, 0, 300, 30));
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[2]{};
  buttons[0] = {I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT, {}, 0, INT_PTR(L"Open")};
  buttons[1] = {I_IMAGENONE, 2, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK | BTNS_AUTOSIZE | BTNS_SHOWTEXT, {}, 0,
                INT_PTR(L"View")};
  SendMessageW(bar, TB_ADDBUTTONSW, 2, LPARAM(buttons));
  auto a = TzkMainWnd::Attach<TzkToolBarWnd>(bar, false, "", &Manager());
  Redraw(bar);
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 300);
  EXPECT_EQ(a->ButtonState(0), 0);
  EXPECT_EQ(a->ButtonState(1), 2) << "checked";
  RECT first, second;
  SendMessageW(bar, TB_GETITEMRECT, 0, LPARAM(&first));
  SendMessageW(bar, TB_GETITEMRECT, 1, LPARAM(&second));
  TzkBitmap want = NewDeviceBitmap24(300, 30);
  Compose(want, "BAR", Rect(0, 0, 300, 30), 0);
  EXPECT_EQ(DifferencesIn(cache, want, Rect(second.right + 1, 0, 300, 30)), 0) << "the bar";
  TsBackgroundInfo self;
  self.Bitmap = &want;
  self.IsBitmap = true;
  const TRect checked{second.left, second.top, second.right, second.bottom};
  PaintSkinnedItem(&Tables(), SectionLook(Tables(), a->ButtonSection()), self.Moved(checked.Left, checked.Top),
                   clFuchsia, true, true, &want, {checked.Left, checked.Top}, checked, 2);
  EXPECT_EQ(DifferencesIn(cache, want, Rect(checked.Left, checked.Top, checked.Right, checked.Top + 3)), 0)
      << "the checked button's top edge";

  MoveTo(bar, (first.left + first.right) / 2, (first.top + first.bottom) / 2);
  EXPECT_EQ(a->HotButton(), 0);
  EXPECT_EQ(a->ButtonState(0), 1);
  MoveTo(form->Handle(), 250, 150);
  EXPECT_EQ(a->HotButton(), -1);
  a.reset();
  DestroyWindow(bar);
}

// An adapter made hot by the pointer leaves no hot window behind when it lets go of its
// window, nor when the window is destroyed under it.
TEST_F(InteractiveAdapters, SpinToolBarAndTabsGiveUpTheHotWindowWhenTheyGo) {
  struct TCase {
    const wchar_t* cls;
    DWORD style;
    std::function<std::unique_ptr<TzkMainWnd>(HWND)> attach;
  };
  const TCase cases[] = {
      {UPDOWN_CLASSW, 0, [&](HWND w) { return TzkMainWnd::Attach<TzkSpinWnd>(w, false, "", &Manager()); }},
      {TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NODIVIDER,
       [&](HWND w) { return TzkMainWnd::Attach<TzkToolBarWnd>(w, false, "", &Manager()); }},
      {WC_TABCONTROLW, 0, [&](HWND w) { return TzkMainWnd::Attach<TzkTabControlWnd>(w, false, "", &Manager()); }},
  };
  for (const TCase& c : cases) {
    for (bool destroy : {false, true}) {
      MoveTo(form->Handle(), 250, 150);
      HWND w = Child(c.cls, L"", c.style, Bounds(20, 20, 60, 40));
      TCITEMW tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = const_cast<wchar_t*>(L"Page");
      // A tab control lets the pointer through to its parent except over a tab.
      if (wcscmp(c.cls, WC_TABCONTROLW) == 0) SendMessageW(w, TCM_INSERTITEMW, 0, LPARAM(&tab));
      auto a = c.attach(w);
      MoveTo(w, 10, 10);
      ASSERT_EQ(Manager().HotWindow(), w) << c.cls;
      if (destroy) {
        DestroyWindow(w);
        EXPECT_FALSE(a->Hooked());
      } else {
        a.reset();
      }
      EXPECT_EQ(Manager().HotWindow(), nullptr) << c.cls << (destroy ? " destroyed" : " detached");
      a.reset();
      if (!destroy) DestroyWindow(w);
    }
  }
}

TEST_F(InteractiveAdapters, TreeViewFrameAndBarsFollowItsItems) {
  HWND tree = Child(WC_TREEVIEWW, L"", WS_BORDER | TVS_HASLINES, Bounds(10, 10, 160, 100));
  auto a = TzkMainWnd::Attach<TzkTreeViewWnd>(tree, true, "", &Manager());
  Redraw(tree);
  EXPECT_FALSE(a->VertBar().Shown);
  for (int i = 0; i < 40; ++i) {
    TVINSERTSTRUCTW ins{};
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<wchar_t*>(L"Item");
    SendMessageW(tree, TVM_INSERTITEMW, 0, LPARAM(&ins));
  }
  Redraw(tree);
  EXPECT_TRUE(a->VertBar().Shown);
  EXPECT_GT(a->VertBar().Info.Max, 30);
  // The frame on screen is the section's border from the cache.
  const TzkBitmap& cache = a->Skin().CacheBmp;
  ASSERT_EQ(cache.Width(), 160);
  TzkBitmap want = NewDeviceBitmap24(160, 100);
  Compose(want, "EDIT", Rect(0, 0, 160, 100), 0, false);
  EXPECT_EQ(DifferencesIn(cache, want, Rect(0, 0, 160, 100), Rect(2, 2, 158, 98)), 0);
  TWindowDc dc(tree, true);
  EXPECT_EQ(TColor(GetPixel(dc.Get(), 0, 50)), PixelOf(cache, 0, 50));
  EXPECT_EQ(TColor(GetPixel(dc.Get(), 80, 0)), PixelOf(cache, 80, 0));
  EXPECT_EQ(SendCommandToWindow(tree, zcGetSectionIndex), Tables().IndexOfSection("EDIT") + 1);
  EXPECT_EQ(TColor(SendCommandToWindow(tree, zcGetBackgroundColor)),
            Tables().Sections[size_t(Tables().IndexOfSection("EDIT"))].Color);
  a.reset();

  // Inside a dialog: a one-pixel frame in the skin's border colour on the window colour.
  TzkMainWnd::CreatingDialogAdapters = true;
  a = TzkMainWnd::Attach<TzkTreeViewWnd>(tree, true, "", &Manager());
  TzkMainWnd::CreatingDialogAdapters = false;
  Redraw(tree);
  ASSERT_TRUE(a->DlgMode());
  EXPECT_EQ(PixelOf(a->Skin().CacheBmp, 0, 50), Tables().SkinData.BorderColor);
  EXPECT_EQ(PixelOf(a->Skin().CacheBmp, 1, 50), ColorToRGB(clWindow));
  EXPECT_EQ(TColor(SendCommandToWindow(tree, zcGetBackgroundColor)), ColorToRGB(clWindow));
  a.reset();
  DestroyWindow(tree);
}

// A toolkit edit that publishes a focus colour.
class TFocusEdit : public TEdit {
 public:
  using TEdit::TEdit;
  bool GetPublishedColor(const std::wstring& name, TColor& value) const override {
    if (name != L"FocusColor") return false;
    value = focusColor;
    return true;
  }
  bool SetPublishedColor(const std::wstring& name, TColor value) override {
    if (name != L"FocusColor") return false;
    focusColor = value;
    return true;
  }
  TColor focusColor = RGBColor(7, 8, 9);
};

TEST_F(InteractiveAdapters, ToolkitEditShowsSkinColoursAndGetsItsOwnBack) {
  auto* edit = new TFocusEdit(form);
  edit->SetParent(form);
  edit->SetBounds(20, 20, 120, 24);
  edit->SetColor(RGBColor(1, 2, 3));
  edit->Font().SetColor(RGBColor(4, 5, 6));
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(20, 60, 120, 24);
  const TsGeneralData& section = Tables().Sections[size_t(Tables().IndexOfSection("EDIT"))];
  auto a = TzkMainWnd::Attach<TzkEditWnd>(edit->Handle(), true, "", &Manager());
  EXPECT_TRUE(a->KeepsControlColors());
  Redraw(edit->Handle());
  EXPECT_EQ(edit->Color(), ColorToRGB(section.Color));
  EXPECT_EQ(edit->focusColor, ColorToRGB(section.Color));
  EXPECT_EQ(edit->Font().Color(), TColor(section.FontColor.Color));
  // Focused, the control takes the section's hot colours.
  SetFocus(edit->Handle());
  Redraw(edit->Handle());
  EXPECT_EQ(edit->Color(), ColorToRGB(section.HotColor));
  SetFocus(other->Handle());
  Pump();

  // Disabled: the frame gets the disabled look over the form.
  edit->SetEnabled(false);
  Redraw(edit->Handle());
  TzkBitmap want = NewDeviceBitmap24(120, 24);
  Compose(want, "EDIT", Rect(0, 0, 120, 24), 0, false);
  PaintDisabledLook(want, dkBlended, FormColor().Color, {0, 0}, FormColor());
  EXPECT_EQ(DifferencesIn(a->Skin().CacheBmp, want, Rect(0, 0, 120, 24), Rect(2, 2, 118, 22)), 0);

  a.reset();
  EXPECT_EQ(edit->Color(), RGBColor(1, 2, 3));
  EXPECT_EQ(edit->focusColor, RGBColor(7, 8, 9));
  EXPECT_EQ(edit->Font().Color(), RGBColor(4, 5, 6));
}

}  // namespace
