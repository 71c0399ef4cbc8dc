// The skinned edit through real messages: the border ring in the frame, the hot colours
// while focused or hovered, the disabled image with password characters, and the bound label
// following the edit.
#include <windows.h>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Handles.h"

namespace {

// The whole window as the edit prints it itself (no children, no separate erase).
TzkBitmap PrintEdit(HWND wnd) { return PrintWhole(wnd, PRF_NONCLIENT | PRF_CLIENT); }

class SkinnedEdit : public SkinnedForm {
 protected:
  TsEdit* AddEdit(int left = 20, int top = 30) {
    auto* e = new TsEdit(form);
    e->SetParent(form);
    e->SetBounds(left, top, 121, 21);
    return e;
  }
  void ShowWithFocusElsewhere() {
    other = new TButton(form);
    other->SetParent(form);
    other->SetBounds(200, 120, 60, 22);
    form->Show();
    Pump();
    other->SetFocus();
    Pump();
  }
  // The look the paint engine composes for the edit's section over the form's colour.
  TzkBitmap EngineLook(TsEdit* e, int state) {
    TzkBitmap expected = NewBitmap24(e->Width(), e->Height());
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(form->Color());
    PaintSkinnedItem(&Tables(), e->SkinData().Look(), bg, clFuchsia, true, false, &expected,
                     TPoint(e->Left(), e->Top()), TRect(0, 0, e->Width(), e->Height()), state);
    return expected;
  }
  const TsGeneralData& EditSection() {
    return Tables().Sections[size_t(Tables().IndexOfSection("EDIT"))];
  }

  TButton* other = nullptr;
};

TEST_F(SkinnedEdit, BorderedEditGetsTheTwoPixelRingAndABorderlessOneNone) {
  TsEdit* bordered = AddEdit();
  TsEdit* bare = AddEdit(20, 80);
  bare->SetBorderStyle(TsEditBorderStyle::bsNone);
  ShowWithFocusElsewhere();
  ASSERT_EQ(bordered->SkinData().SkinSection(), "EDIT");
  ASSERT_TRUE(bordered->SkinData().Skinned(true));
  EXPECT_EQ(bordered->BorderWidth(), 2);
  EXPECT_EQ(bare->BorderWidth(), 0);

  const TzkBitmap printed = PrintEdit(bordered->Handle());
  const TzkBitmap look = EngineLook(bordered, 0);
  ASSERT_EQ(printed.Width(), 121);
  int ringPixels = 0, ringDiffs = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 121; ++x) {
      if (x >= 2 && y >= 2 && x < 119 && y < 19) continue;
      ++ringPixels;
      if (PixelOf(printed, x, y) != PixelOf(look, x, y)) ++ringDiffs;
    }
  EXPECT_EQ(ringPixels, 2 * 121 * 2 + 2 * 17 * 2);
  EXPECT_EQ(ringDiffs, 0) << "the ring is the section's border";
  EXPECT_NE(PixelOf(look, 0, 10), PixelOf(look, 10, 10)) << "the border is not the fill colour";

  RECT window, client;
  GetWindowRect(bare->Handle(), &window);
  GetClientRect(bare->Handle(), &client);
  EXPECT_EQ(window.right - window.left, client.right) << "no frame to paint";
  const TzkBitmap barePrint = PrintEdit(bare->Handle());
  EXPECT_EQ(PixelOf(barePrint, 0, 10), ColorToRGB(bare->Color())) << "the platform's client";
}

TEST_F(SkinnedEdit, HotColourWhileFocusedOrHoveredAndBackAfterwardsUnlessCustom) {
  TsEdit* e = AddEdit();
  ShowWithFocusElsewhere();
  const TsGeneralData& s = EditSection();
  ASSERT_NE(s.Color, s.HotColor);
  EXPECT_EQ(e->Color(), s.Color);
  e->SetFocus();
  Pump();
  EXPECT_TRUE(e->SkinData().IsHot());
  EXPECT_EQ(e->Color(), s.HotColor);
  EXPECT_EQ(e->Font().Color(), TColor(s.HotFontColor.Color));
  EXPECT_EQ(PixelOf(*e->SkinData().CacheBmp, 0, 10), PixelOf(EngineLook(e, 1), 0, 10))
      << "the frame shows the hot border";
  other->SetFocus();
  Pump();
  EXPECT_EQ(e->Color(), s.Color);

  e->Perform(CM_MOUSEENTER, 0, LPARAM(e));
  Pump();
  EXPECT_EQ(e->Color(), s.HotColor) << "hovered";
  e->Perform(CM_MOUSELEAVE, 0, LPARAM(e));
  Pump();
  EXPECT_EQ(e->Color(), s.Color);

  e->SkinData().SetCustomColor(true);
  e->SetColor(RGBColor(250, 240, 200));
  e->SetFocus();
  Pump();
  EXPECT_EQ(e->Color(), RGBColor(250, 240, 200)) << "CustomColor keeps the colour";
}

TEST_F(SkinnedEdit, DisabledPasswordEditShowsOnePasswordCharacterPerCharacter) {
  TsEdit* secret = AddEdit();
  TsEdit* stars = AddEdit(20, 80);
  TsEdit* plain = AddEdit(160, 30);
  ShowWithFocusElsewhere();
  secret->SetPasswordChar(L'*');
  secret->SetText(L"abc");
  stars->SetText(L"***");
  plain->SetText(L"abc");
  for (TsEdit* e : {secret, stars, plain}) {
    e->SetEnabled(false);
    Pump();
  }
  // The form's plain colour lies behind all three, wherever they are.
  for (TsEdit* e : {secret, stars, plain}) e->PrepareCache();
  EXPECT_EQ(DifferentPixels(*secret->SkinData().CacheBmp, *stars->SkinData().CacheBmp), 0);
  EXPECT_GT(DifferentPixels(*secret->SkinData().CacheBmp, *plain->SkinData().CacheBmp), 0)
      << "the text itself is not shown";
  // The disabled edit is painted from its cache.
  const TzkBitmap printed = PrintEdit(secret->Handle());
  EXPECT_EQ(DifferentPixels(printed, *secret->SkinData().CacheBmp), 0);
}

TEST_F(SkinnedEdit, BoundLabelFollowsMovesVisibilityAndEnabling) {
  TsEdit* e = AddEdit(100, 40);
  e->SetName(L"sEdit9");
  TsBoundLabel& bound = e->BoundLabel();
  bound.SetCaption(L"Имя");
  bound.SetIndent(3);
  bound.SetActive(true);
  ShowWithFocusElsewhere();
  TsEditLabel* label = bound.Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Left(), 100 - label->Width() - 3 - 4);
  e->SetBounds(130, 70, 121, 21);
  EXPECT_EQ(label->Left(), 130 - label->Width() - 3 - 4) << "sclLeft: 4 pixels plus Indent";
  EXPECT_EQ(label->Top(), 70 + (21 - label->Height()) / 2 - 1);
  SetWindowPos(e->Handle(), nullptr, 140, 90, 121, 21, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(label->Left(), 140 - label->Width() - 3 - 4) << "moved by the platform";
  EXPECT_EQ(label->Top(), 90 + (21 - label->Height()) / 2 - 1);

  e->Hide();
  EXPECT_FALSE(label->Visible());
  e->Show();
  EXPECT_TRUE(label->Visible());

  e->SetEnabled(false);
  EXPECT_FALSE(label->Enabled()) << "dkBlended disables the label";
  e->SetEnabled(true);
  EXPECT_TRUE(label->Enabled());
  e->SetDisabledKind(dkGrayed);
  e->SetEnabled(false);
  EXPECT_TRUE(label->Enabled()) << "without dkBlended the label stays enabled";
}

// An enabled edit draws its own text, so a new text is not put into the cached image; what
// the screen shows after a text change, enabled or disabled, is still a full fresh render.
TEST_F(SkinnedEdit, NewTextReachesTheScreenEnabledAndDisabled) {
  TsEdit* e = AddEdit();
  ShowWithFocusElsewhere();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const auto shownAfter = [&](const wchar_t* text) {
    e->SetText(text);
    UpdateWindow(e->Handle());
    LetPaintReachScreen();
    return WindowOnScreen(e->Handle());
  };
  const auto freshRender = [&] {
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    LetPaintReachScreen();
    return WindowOnScreen(e->Handle());
  };
  const TzkBitmap first = shownAfter(L"first");
  const TzkBitmap second = shownAfter(L"second task");
  EXPECT_GT(DifferentPixels(first, second), 0);
  EXPECT_EQ(DifferentPixels(second, freshRender()), 0) << "enabled";

  e->SetEnabled(false);
  LetPaintReachScreen();
  const TzkBitmap disabled = WindowOnScreen(e->Handle());
  const TzkBitmap third = shownAfter(L"third");
  EXPECT_GT(DifferentPixels(disabled, third), 0) << "the disabled image shows the new text";
  EXPECT_EQ(DifferentPixels(third, freshRender()), 0) << "disabled";
  EXPECT_EQ(DifferentPixels(third, PrintEdit(e->Handle())), 0);
}

}  // namespace
