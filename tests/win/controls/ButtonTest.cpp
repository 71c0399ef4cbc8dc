// The skinned button through real messages: its cached image against the section composed
// by the paint engine, the caption rectangle, the window shape, the disabled look, fades and
// the pressed flash, and the objects left after many hover and press cycles.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sGroupBox.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

// A button that keeps what the fade timer hands it with command 24.
class TFrameRecordingButton : public TsButton {
 public:
  using TsButton::TsButton;
  std::vector<TColor> frameCentres;
  std::vector<TColor> expectedCentres;

 protected:
  void WndProc(TMessage& m) override {
    if (IsSkinCommand(m) && CommandCodeOf(m.WParam) == zcFadeStep && FadeTimer()) {
      const auto& frame = *reinterpret_cast<TzkBitmap*>(m.LParam);
      const TsFadeTimer& t = *FadeTimer();
      TzkBitmap expected = NewBitmap24(0, 0);
      expected.Assign(*t.FromImage);
      FadeWhole(expected, *SkinData().CacheBmp, FadeWeight(t.Step, t.StepCount));
      frameCentres.push_back(PixelOf(frame, frame.Width() / 2, 2));
      expectedCentres.push_back(PixelOf(expected, frame.Width() / 2, 2));
    }
    TsButton::WndProc(m);
  }
};

// A button that notes the colour its window shows at the top middle after each paint.
class TPaintRecordingButton : public TsButton {
 public:
  using TsButton::TsButton;
  std::vector<TColor> shown;

 protected:
  void WndProc(TMessage& m) override {
    TsButton::WndProc(m);
    if (m.Msg != WM_PAINT || !HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    const COLORREF c = GetPixel(dc, Width() / 2, 2);
    ReleaseDC(Handle(), dc);
    shown.push_back(RGBColor(GetRValue(c), GetGValue(c), GetBValue(c)));
  }
};

// The smallest rectangle holding every pixel that differs between two images of one size.
TRect DifferingBox(const TzkBitmap& a, const TzkBitmap& b) {
  TRect box(a.Width(), a.Height(), 0, 0);
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelOf(a, x, y) != PixelOf(b, x, y))
        box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
  return box;
}

class SkinnedButton : public SkinnedForm {
 protected:
  template <typename T = TsButton>
  T* AddButton(const std::wstring& caption, int w = 113, int h = 22) {
    auto* b = new T(form);
    b->SetParent(form);
    b->SetBounds(20, 30, w, h);
    b->SetCaption(caption);
    // Another button holds the focus, so the one tested is neither focused nor the active one.
    auto* holder = new TButton(form);
    holder->SetParent(form);
    holder->SetBounds(200, 120, 60, 22);
    form->Show();
    Pump();
    holder->SetFocus();
    Pump();
    return b;
  }
  // The look of the section composed directly by the paint engine over the form's colour.
  // fillCorners: the key-coloured corner pixels show the form, as after a paint.
  TzkBitmap EngineLook(TsButton* b, int state, bool fillCorners = false) {
    TzkBitmap expected = NewBitmap24(b->Width(), b->Height());
    TsBackgroundInfo bg;
    bg.Color = ColorToRGB(form->Color());
    PaintSkinnedItem(&Tables(), b->SkinData().Look(), bg, clFuchsia, false, fillCorners, &expected,
                     TPoint(b->Left(), b->Top()), TRect(0, 0, b->Width(), b->Height()), state);
    return expected;
  }
};

TEST(ButtonCaption, RectangleCentresTheTextAndMovesWhenPressed) {
  EXPECT_EQ(ButtonCaptionRect(80, 25, TSize(40, 13), false), TRect(19, 6, 62, 19));
  EXPECT_EQ(ButtonCaptionRect(80, 25, TSize(40, 13), true), TRect(20, 7, 63, 20));
}

TEST_F(SkinnedButton, IsOwnerDrawnAndItsImageIsTheSectionTheEngineComposes) {
  TsButton* b = AddButton(L"");
  EXPECT_EQ(GetWindowLongW(b->Handle(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
  EXPECT_EQ(b->ButtonState(), 0);
  ASSERT_EQ(b->SkinData().SkinSection(), "BUTTON");
  b->PrepareCache();
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, EngineLook(b, 0)), 0);
  // What the window shows is the cached image.
  const TzkBitmap printed = PrintWindowBitmap(b->Handle(), b->Width(), b->Height());
  EXPECT_EQ(DifferentPixels(printed, *b->SkinData().CacheBmp), 0);
  // A caption changes the middle: the text's pixels lie inside the caption rectangle, centred.
  b->SetCaption(L"Добавить");
  b->PrepareCache();
  const TRect text = DifferingBox(*b->SkinData().CacheBmp, EngineLook(b, 0));
  ASSERT_LT(text.Left, text.Right) << "the caption is drawn";
  const TRect c = b->CaptionRect();
  EXPECT_LT(c.Left, b->Width() / 2);
  EXPECT_GE(text.Left, c.Left);
  EXPECT_GE(text.Top, c.Top);
  EXPECT_LE(text.Right, c.Right);
  EXPECT_LE(text.Bottom, c.Bottom);
  EXPECT_LE(std::abs(text.Left + text.Right - b->Width()), 2) << "centred across the button";
}

TEST_F(SkinnedButton, HotAndPressedStatesPaintTheirOwnLooks) {
  TsButton* b = AddButton(L"");
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  EXPECT_EQ(b->ButtonState(), 1);
  b->PrepareCache();
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, EngineLook(b, 1)), 0);
  b->SetDown(true);
  b->PrepareCache();
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, EngineLook(b, 2)), 0);
  EXPECT_GT(DifferentPixels(EngineLook(b, 1), EngineLook(b, 2)), 0);
}

TEST_F(SkinnedButton, WindowShapeLeavesOutTheKeyColouredCornerPixels) {
  TsButton* b = AddButton(L"OK");
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(b->Handle(), rgn.Get()), ERROR);
  const TsMaskData& mask = Tables().Masks[size_t(b->SkinData().BorderIndex)];
  std::vector<TRect> runs;
  CollectKeyRuns(runs, b->Width(), mask, false, 0);
  CollectKeyRuns(runs, b->Width(), mask, true, b->Height() - mask.WB);
  ASSERT_FALSE(runs.empty());  // the internal skin's buttons have rounded corners
  for (const TRect& r : runs)
    for (int x = r.Left; x < r.Right; ++x) EXPECT_FALSE(PtInRegion(rgn.Get(), x, r.Top)) << x << "," << r.Top;
  EXPECT_TRUE(PtInRegion(rgn.Get(), b->Width() / 2, 0));
  EXPECT_TRUE(PtInRegion(rgn.Get(), b->Width() / 2, b->Height() / 2));
}

TEST_F(SkinnedButton, ShrinkingInvalidatesTheParentUnderTheOldCorners) {
  TsButton* b = AddButton(L"OK", 100, 30);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ValidateRect(form->Handle(), nullptr);
  b->SetBounds(b->Left(), b->Top(), 80, 24);
  ValidateRect(form->Handle(), nullptr);  // what the move itself exposed
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const TsMaskData& mask = Tables().Masks[size_t(b->SkinData().BorderIndex)];
  TRegionHandle update(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(form->Handle(), update.Get(), FALSE);
  const int oldRight = 20 + 100, oldBottom = 30 + 30;
  EXPECT_TRUE(PtInRegion(update.Get(), oldRight - 1, 30));                  // top right
  EXPECT_TRUE(PtInRegion(update.Get(), oldRight - 1, oldBottom - 1));       // bottom right
  EXPECT_TRUE(PtInRegion(update.Get(), 20, oldBottom - 1));                 // bottom left
  EXPECT_FALSE(PtInRegion(update.Get(), 20 + mask.WL + 5, oldBottom - 1));  // between corners
}

TEST_F(SkinnedButton, DisabledButtonIsBlendedHalfWayWithTheParentColour) {
  TsButton* b = AddButton(L"");
  b->SetEnabled(false);
  b->PrepareCache();
  const TzkBitmap expected = Tinted(EngineLook(b, 0), ColorToRGB(form->Color()), 0.5);
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, expected), 0);
  EXPECT_GT(DifferentPixels(expected, EngineLook(b, 0)), 0);
}

TEST_F(SkinnedButton, FocusFrameNeedsACaption) {
  TsButton* b = AddButton(L"");
  b->SetFocus();
  Pump();
  b->PrepareCache();
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, EngineLook(b, 1)), 0);
  b->SetCaption(L"Go");
  b->PrepareCache();
  const TRect c = b->CaptionRect();
  // The frame's first dot is black, one pixel above-left of it white.
  EXPECT_EQ(PixelOf(*b->SkinData().CacheBmp, c.Left - 1, c.Top - 1), clBlack);
  EXPECT_EQ(PixelOf(*b->SkinData().CacheBmp, c.Left + 1, c.Top - 2), clWhite);
}

TEST(FadeWeights, TwentyStepsFallFrom243ToZero) {
  std::vector<int> w;
  for (int s = 1; s <= 20; ++s) w.push_back(FadeWeight(s, 20));
  EXPECT_EQ(w.front(), 243);
  EXPECT_EQ(w[1], 230);
  EXPECT_EQ(w[2], 217);
  EXPECT_EQ(w[18], 12);
  EXPECT_EQ(w.back(), 0);
}

TEST_F(SkinnedButton, EnteringFadesTwentyFramesThenTheFadeEnds) {
  auto* b = AddButton<TFrameRecordingButton>(L"");
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->StepCount, 20);
  EXPECT_EQ(b->FadeTimer()->Step, 1);
  // The old look as painted: the corners were refreshed from the form behind.
  EXPECT_EQ(DifferentPixels(*b->FadeTimer()->FromImage, EngineLook(b, 0, true)), 0);
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, EngineLook(b, 1)), 0);     // the new look
  for (int i = 0; i < 20; ++i) b->FadeTimer()->DoTick();
  EXPECT_EQ(b->frameCentres.size(), 20u);
  EXPECT_EQ(b->frameCentres, b->expectedCentres);
  EXPECT_NE(b->frameCentres.front(), b->frameCentres.back());
  // The byte blend reaches the new look to within one step of each channel.
  const TColor last = b->frameCentres.back(), target = PixelOf(EngineLook(b, 1), b->Width() / 2, 2);
  EXPECT_LE(std::abs(GetRValue(last) - GetRValue(target)), 1);
  EXPECT_LE(std::abs(GetBValue(last) - GetBValue(target)), 1);
  b->FadeTimer()->DoTick();  // past the last step: command 16 stops the fade
  EXPECT_EQ(b->FadeTimer(), nullptr);
  Pump();
}

TEST_F(SkinnedButton, PressFadesHalfTheStepsAndAQuickReleaseShowsThePressedLook) {
  auto* b = AddButton<TPaintRecordingButton>(L"");
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  PostMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  MSG msg;
  while (PeekMessageW(&msg, b->Handle(), WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) DispatchMessageW(&msg);
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->StepCount, 10);
  EXPECT_EQ(b->ButtonState(), 2);
  const TColor pressed = PixelOf(EngineLook(b, 2), b->Width() / 2, 2);
  ASSERT_NE(pressed, PixelOf(EngineLook(b, 1), b->Width() / 2, 2));
  b->shown.clear();
  SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_NE(std::find(b->shown.begin(), b->shown.end(), pressed), b->shown.end())
      << "the pressed look reached the window before the release fades";
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->StepCount, 10);
  EXPECT_EQ(b->ButtonState(), 1);
  ReleaseCapture();
}

TEST_F(SkinnedButton, DisablingDuringAFadeStopsItAndPaintsNormally) {
  auto* b = AddButton<TFrameRecordingButton>(L"");
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  ASSERT_NE(b->FadeTimer(), nullptr);
  b->FadeTimer()->DoTick();
  ASSERT_EQ(b->frameCentres.size(), 1u);
  b->SetEnabled(false);
  // Whether or not the timer is still there, it paints no frame once the button is disabled.
  for (int i = 0; i < 20 && b->FadeTimer(); ++i) b->FadeTimer()->DoTick();
  EXPECT_EQ(b->frameCentres.size(), 1u);
  EXPECT_TRUE(!b->FadeTimer() || !b->FadeTimer()->Enabled());
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const TzkBitmap expected = Tinted(EngineLook(b, 0), ColorToRGB(form->Color()), 0.5);
  EXPECT_EQ(DifferentPixels(*b->SkinData().CacheBmp, expected), 0);
}

TEST_F(SkinnedButton, AFadeOnAnEmptyCacheRebuildsItFirst) {
  TsButton* b = AddButton(L"");
  b->SkinData().CacheBmp->SetSize(0, 0);
  b->SkinData().BGChanged = false;
  b->SkinData().MouseAbove = true;
  TsFadeTimer* timer = nullptr;
  StartFade(timer, b->SkinData(), false, 1, true);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->FromImage->Width(), b->Width());
  EXPECT_EQ(DifferentPixels(*timer->FromImage, EngineLook(b, 1)), 0);
  StopFade(timer);
  EXPECT_EQ(timer, nullptr);
}

TEST_F(SkinnedButton, FiveHundredHoverAndPressCyclesLeaveNoObjects) {
  TsButton* b = AddButton(L"Добавить");
  int clicks = 0;
  b->OnClick = [&clicks](TObject*) { ++clicks; };
  const auto cycle = [b] {
    b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    while (b->FadeTimer()) b->FadeTimer()->DoTick();
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    b->Perform(CM_MOUSELEAVE, 0, LPARAM(b));
    Pump();
  };
  cycle();
  {
    TLeakCheck noLeaks(2);
    for (int i = 0; i < 500; ++i) cycle();
  }
  EXPECT_EQ(clicks, 501);
}

}  // namespace

namespace {

TEST_F(SkinnedButton, HoverShowsAGlowWindowAroundTheButtonThatTakesNoClicksAndNoActivation) {
  TsButton* b = AddButton(L"Glow");
  HWND active = GetActiveWindow();
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  const int id = b->SkinData().GlowId;
  ASSERT_GE(id, 0);
  HWND glow = GlowEffectWindow(id);
  ASSERT_NE(glow, nullptr);
  EXPECT_TRUE(IsWindowVisible(glow));
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_TRUE(GetWindowLongW(glow, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(SendMessageW(glow, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(TWinControl::FindControl(glow)->Tag(), -98);
  // The halo lies around the button: the glow image's borders less the margin on each side.
  RECT g, r;
  GetWindowRect(glow, &g);
  GetWindowRect(b->Handle(), &r);
  const int margin = Tables().Sections[size_t(b->SkinData().SkinIndex)].GlowMargin;
  EXPECT_EQ(r.left - g.left, 18 - margin);
  EXPECT_EQ(g.bottom - r.bottom, 18 - margin);
  b->Perform(CM_MOUSELEAVE, 0, LPARAM(b));
  EXPECT_EQ(b->SkinData().GlowId, -1);
  EXPECT_EQ(GlowEffectWindow(id), nullptr);
  Pump();
  EXPECT_FALSE(IsWindow(glow));
}

TEST(GlowEffect, MissingImageOrClosedIdsDoNothing) {
  TsSkinManager m(nullptr);
  EXPECT_EQ(ShowGlowEffect(TRect(0, 0, 10, 10), TRect(0, 0, 10, 10), "BUTTON", &m, nullptr, 255, 0, "GLOW"), -1);
  CloseGlowEffect(7);
  CloseGlowEffect(-1);
  EXPECT_EQ(GlowEffectWindow(7), nullptr);
}

}  // namespace

namespace {

TEST_F(SkinnedButton, AGlowIsCutOffWhereTheParentCutsTheButton) {
  auto* panel = new TsGroupBox(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 60);
  auto* b = new TsButton(form);
  b->SetParent(panel);
  b->SetBounds(70, 10, 60, 22);  // 30 pixels inside, 30 outside
  form->Show();
  Pump();
  b->Perform(CM_MOUSEENTER, 0, LPARAM(b));
  HWND glow = GlowEffectWindow(b->SkinData().GlowId);
  ASSERT_NE(glow, nullptr);
  RECT g, r;
  GetWindowRect(glow, &g);
  GetWindowRect(b->Handle(), &r);
  const int margin = Tables().Sections[size_t(b->SkinData().SkinIndex)].GlowMargin;
  EXPECT_EQ(g.left, r.left + margin - 18);
  EXPECT_EQ(g.right, r.left + 30);  // the halo stops at the parent's edge
  EXPECT_EQ(g.bottom - g.top, 22 + 2 * 18 - 2 * margin);
  b->Perform(CM_MOUSELEAVE, 0, LPARAM(b));
  Pump();
}

}  // namespace
