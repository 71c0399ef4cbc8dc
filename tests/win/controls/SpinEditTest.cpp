// The skinned decimal spin edit through real window messages: the key filter, keys, wheel and
// leaving; the arrow buttons' layout, auto-repeat counted against the repeat timer's own
// ticks, arrow glyphs, their background from the edit's cached image, and the disabled look.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sSpinEdit.h"
#include "toolkit/Application.h"
#include "toolkit/Edit.h"
#include "toolkit/Handles.h"

namespace {

class SkinnedSpinEdit : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    box = new TsDecimalSpinEdit(form);
    box->SetParent(form);
    box->SetBounds(10, 30, 121, 21);
    box->SetDecimalPlaces(0);
    other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 70, 121, 21);
    form->Show();
    Pump();
  }
  void TearDown() override {
    SetCursorPos(0, 0);  // the pointer left over the arrows would hover the next test's controls
    SkinnedForm::TearDown();
  }
  void Key(wchar_t c) {
    PostMessageW(box->Handle(), WM_CHAR, c, 1);
    Pump();
  }
  void KeyDown(WORD vk) {
    PostMessageW(box->Handle(), WM_KEYDOWN, vk, 1);
    Pump();
  }
  void Wheel(int delta) {
    SendMessageW(box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), 0);
  }
  void TypeOver(const std::wstring& text) {
    SetFocus(box->Handle());
    SendMessageW(box->Handle(), EM_SETSEL, 0, -1);
    for (wchar_t c : text) Key(c);
  }
  void Leave() {
    SetFocus(other->Handle());
    Pump();
  }
  // Mouse messages to the spin button window at a point of its client area.
  void Mouse(UINT msg, int x, int y) {
    HWND spin = box->Button()->Handle();
    POINT p = {x, y};
    ClientToScreen(spin, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(spin, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }
  std::wstring Text() const { return box->Text(); }

  TsDecimalSpinEdit* box = nullptr;
  TEdit* other = nullptr;
};

TEST_F(SkinnedSpinEdit, KeyFilterArrowKeysAndWheel) {
  TypeOver(L"");
  Key(L'1');
  Key(L'a');
  Key(L'.');
  Key(L'2');
  Key(L'\r');
  EXPECT_EQ(Text(), L"12") << "letters, a separator without decimals and Enter are refused";
  Key(L'-');
  EXPECT_EQ(Text(), L"12") << "a sign only at the start";
  SendMessageW(box->Handle(), EM_SETSEL, 0, 0);
  Key(L'-');
  EXPECT_EQ(Text(), L"-12");
  EXPECT_EQ(box->Value(), -12);
  KeyDown(VK_UP);
  EXPECT_EQ(Text(), L"-11");
  KeyDown(VK_DOWN);
  KeyDown(VK_DOWN);
  EXPECT_EQ(Text(), L"-13");
  Wheel(240);
  EXPECT_EQ(Text(), L"-11") << "240 is two steps";
  Wheel(-120);
  EXPECT_EQ(Text(), L"-12");
}

TEST_F(SkinnedSpinEdit, LeavingClampsOnlyAnOutOfRangeTypedValueAndEditorEnabledStopsTyping) {
  box->SetMinValue(0);
  box->SetMaxValue(23);
  TypeOver(L"07");
  Leave();
  EXPECT_EQ(Text(), L"07") << "in range: the typed text stays";
  TypeOver(L"99");
  Leave();
  EXPECT_EQ(Text(), L"23");
  box->SetValue(-5);
  EXPECT_EQ(Text(), L"0");
  box->SetEditorEnabled(false);
  TypeOver(L"5");
  EXPECT_EQ(Text(), L"0") << "typing is off";
  box->UpClick();
  EXPECT_EQ(Text(), L"1") << "the arrows still step";
}

TEST_F(SkinnedSpinEdit, ReadOnlyBoxIgnoresTheWheelAndTheArrows) {
  box->SetValue(4);
  box->SetReadOnly(true);
  Wheel(240);
  KeyDown(VK_UP);
  Mouse(WM_LBUTTONDOWN, 5, 2);
  Mouse(WM_LBUTTONUP, 5, 2);
  EXPECT_EQ(Text(), L"4");
}

TEST_F(SkinnedSpinEdit, ArrowButtonsSitInsideTheEditWithTheTextKeptClear) {
  TsSpinButton* spin = box->Button();
  EXPECT_EQ(GetParent(spin->Handle()), box->Handle());
  EXPECT_EQ(spin->Left(), 121 - 18 - 4);
  EXPECT_EQ(spin->Top(), 0);
  EXPECT_EQ(spin->Height(), 21 - 4);
  EXPECT_EQ(spin->UpButton()->BoundsRect(), TRect(0, 0, 18, 8));
  EXPECT_EQ(spin->DownButton()->BoundsRect(), TRect(0, 8, 18, 17));
  EXPECT_EQ(spin->UpButton()->SkinData().SkinSection(), "SPEEDBUTTON_SMALL");
  RECT text;
  SendMessageW(box->Handle(), EM_GETRECT, 0, LPARAM(&text));
  EXPECT_LE(text.right, 121 - 18 - 3);
  spin->SetWidth(10);
  EXPECT_EQ(spin->Width(), TsSpinButton::kMinWidth);
}

TEST_F(SkinnedSpinEdit, HoldingAnArrowStepsAfter400msThenEvery100msAndOnceMoreOnRelease) {
  TsTimerSpeedButton* down = box->Button()->DownButton();
  Mouse(WM_LBUTTONDOWN, 5, 12);
  EXPECT_EQ(GetFocus(), box->WindowHandle()) << "pressing an arrow focuses the box";
  TTimer* timer = down->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 400u);
  EXPECT_EQ(Text(), L"0") << "no step on the press";

  std::vector<unsigned> intervals;
  const TNotifyEvent step = timer->OnTimer;
  timer->OnTimer = [&](TObject* s) {
    intervals.push_back(timer->Interval());
    step(s);
  };
  WaitUntil([&] { return intervals.size() >= 3; });
  const int ticks = int(intervals.size());
  ASSERT_GE(ticks, 2);
  EXPECT_EQ(intervals[0], 400u) << "the first tick comes after 400 ms";
  for (int i = 1; i < ticks; ++i) EXPECT_EQ(intervals[size_t(i)], 100u) << "then every 100 ms";
  EXPECT_EQ(box->Value(), -ticks) << "one step per tick";

  Mouse(WM_LBUTTONUP, 5, 12);
  EXPECT_EQ(box->Value(), -ticks - 1) << "released over the button: one more step";
  EXPECT_FALSE(timer->Enabled());
  PumpFor(250);  // more than two repeats' time must pass to show that none comes
  EXPECT_EQ(box->Value(), -ticks - 1) << "and the repeat stops";

  // Released away from the button: no step, and a tick without the mouse held clicks nothing.
  Mouse(WM_LBUTTONDOWN, 5, 2);
  Mouse(WM_LBUTTONUP, 5, 60);
  box->Button()->UpButton()->RepeatTimer()->Tick();
  EXPECT_EQ(box->Value(), -ticks - 1);
}

TEST_F(SkinnedSpinEdit, ArrowsPointTheirWayInTheEditsColourOrTheButtonsWhenHot) {
  const TArrowPoints up = SpinArrowPoints(18, 8, true);
  EXPECT_EQ(up.P[0], TPoint(5, 5));
  EXPECT_EQ(up.P[1], TPoint(11, 5));
  EXPECT_EQ(up.P[2], TPoint(8, 2)) << "the apex above the base";
  const TArrowPoints down = SpinArrowPoints(18, 9, false);
  EXPECT_EQ(down.P[0], TPoint(5, 3));
  EXPECT_EQ(down.P[2], TPoint(8, 6)) << "the apex below the base";

  TsTimerSpeedButton* b = box->Button()->UpButton();
  b->SkinData().SetSkinSection("FORMTITLE");
  const TsSkinTables& t = Tables();
  const TColor editFont = TColor(t.Sections[size_t(t.IndexOfSection("EDIT"))].FontColor.Color);
  const TColor ownFont = TColor(t.Sections[size_t(t.IndexOfSection("FORMTITLE"))].FontColor.Color);
  ASSERT_NE(editFont, ownFont);
  b->PrepareCache();
  EXPECT_EQ(PixelOf(*b->SkinData().CacheBmp, 8, 4), ColorToRGB(editFont));
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  b->PrepareCache();
  EXPECT_EQ(b->VisualState(), 1);
  EXPECT_EQ(PixelOf(*b->SkinData().CacheBmp, 8, 4), ColorToRGB(ownFont));
}

TEST_F(SkinnedSpinEdit, ButtonsTakeTheirBackgroundFromTheEditsCachedImage) {
  TsSpinButton* spin = box->Button();
  TsTimerSpeedButton* down = spin->DownButton();
  box->Repaint();
  Pump();
  const TsBackgroundInfo bg = down->SkinData().GetBackground();
  ASSERT_TRUE(bg.IsBitmap);
  EXPECT_EQ(bg.Bitmap, box->SkinData().CacheBmp.get());
  EXPECT_EQ(bg.X, spin->Left() + 2);
  EXPECT_EQ(bg.Y, spin->Top() + 2);
  // The normal look is see-through: away from the arrow the edit's image shows.
  down->PrepareCache();
  const TzkBitmap& cache = *box->SkinData().CacheBmp;
  EXPECT_EQ(PixelOf(*down->SkinData().CacheBmp, 2, 4),
            PixelOf(cache, bg.X + down->Left() + 2, bg.Y + down->Top() + 4));
}

TEST_F(SkinnedSpinEdit, DisabledBoxHidesItsButtonsAndShowsThemInItsImage) {
  TsSpinButton* spin = box->Button();
  box->SetEnabled(false);
  Pump();
  EXPECT_FALSE(spin->Visible());
  box->PrepareCache();
  const TzkBitmap& cache = *box->SkinData().CacheBmp;
  const int apexX = 2 + spin->Left() + 8, apexY = 2 + spin->Top() + 4;
  EXPECT_NE(PixelOf(cache, apexX, apexY), PixelOf(cache, 10, apexY)) << "the arrow is drawn";
  box->SetEnabled(true);
  Pump();
  EXPECT_TRUE(spin->Visible());
  EXPECT_TRUE(spin->Enabled());
}

TEST_F(SkinnedSpinEdit, HoverFadesPressesAndFocusChangesLeaveNoObjectsBehind) {
  TsTimerSpeedButton* up = box->Button()->UpButton();
  ASSERT_TRUE(up->SkinData().Section()->FadingEnabled);
  int frames = 0;
  const auto cycle = [&] {
    up->Perform(CM_MOUSEENTER, 0, LPARAM(up));
    while (TsAnimTimer* t = up->AnimationTimer()) {
      t->DoTick();
      ++frames;
    }
    Mouse(WM_LBUTTONDOWN, 5, 2);
    Mouse(WM_LBUTTONUP, 5, 2);
    up->Perform(CM_MOUSELEAVE, 0, LPARAM(up));
    box->SetEnabled(false);
    box->SetEnabled(true);
    Leave();
  };
  cycle();
  EXPECT_GT(frames, 1) << "entering fades";
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 200; ++i) cycle();
  }
  EXPECT_EQ(box->Value(), 201) << "one step per click";
}

// A background request without its record is answered with nothing, by the box and by its
// buttons.
TEST_F(SkinnedSpinEdit, ABackgroundRequestWithoutARecordIsIgnored) {
  EXPECT_EQ(SendMessageW(box->Handle(), SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), 0), 0);
  EXPECT_EQ(SendMessageW(box->Button()->Handle(), SM_ORVEXCMD, MakeCommandWParam(zcGetBackground), 0), 0);
  EXPECT_TRUE(IsWindow(box->Handle()));
}

}  // namespace
