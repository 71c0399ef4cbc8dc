// The animation timer of windowless controls, driven through a small speed-button stand-in,
// and the bound label's placement beside its control.
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "SkinnedControlsSupport.h"
#include "WinTestSupport.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/paint/sFade.h"
#include "skin/paint/zkBlend.h"

namespace {

// A windowless control with the BUTTON section that animates between normal and hot.
class TAnimatedStandIn : public TGraphicControl, public IzkAnimatedControl {
 public:
  explicit TAnimatedStandIn(TComponent* owner) : TGraphicControl(owner), data(this, true) {
    data.ControlKind = ckSpeedButton;
    data.SetSkinSection("BUTTON");
  }
  ~TAnimatedStandIn() override { StopAnimation(timer); }
  TsCommonData& AnimSkinData() override { return data; }
  TsAnimTimer*& AnimTimer() override { return timer; }
  void PaintLookToCache() override {
    data.PrepareCacheBitmap();
    TsBackgroundInfo bg;
    bg.Color = clWhite;
    PaintSkinnedItem(&data.SkinManager()->Tables(), data.Look(), bg, clFuchsia, false, true,
                     data.CacheBmp.get(), TPoint(0, 0), TRect(0, 0, Width(), Height()), state);
  }
  TsCommonData data;
  TsAnimTimer* timer = nullptr;
  int state = 0;
  std::vector<int> commands;

 protected:
  void WndProc(TMessage& m) override {
    if (IsSkinCommand(m)) {
      commands.push_back(CommandCodeOf(m.WParam));
      if (CommandCodeOf(m.WParam) == zcStopAnimation) StopAnimation(timer);
      return;
    }
    TGraphicControl::WndProc(m);
  }
};

using Animation = SkinnedForm;

TEST_F(Animation, WindowlessControlsBlendTheirOldLookIntoTheNewOne) {
  auto* c = new TAnimatedStandIn(form);
  c->SetParent(form);
  c->SetBounds(10, 10, 40, 20);
  c->PaintLookToCache();
  TzkBitmap oldLook = c->data.CacheBmp->Clone();
  c->state = 1;
  c->commands.clear();
  StartAnimation(*c, false);
  ASSERT_NE(c->timer, nullptr);
  EXPECT_EQ(c->timer->StepCount, 20);
  EXPECT_EQ(c->timer->Step, 2);  // the first frame is made at once
  EXPECT_EQ(c->commands, (std::vector<int>{zcSetUpdating, zcRepaintFrame}));
  TzkBitmap expected = oldLook.Clone();
  FadeWhole(expected, *c->data.CacheBmp, FadeWeight(1, 20));
  EXPECT_EQ(DifferentPixels(*c->timer->FrameImage, expected), 0);
  // Restarted near its end (back to normal, for a press), the animation takes the steps the
  // old one had left, out of half as many, and ends on the new look.
  for (int i = 0; i < 13; ++i) c->timer->DoTick();
  ASSERT_EQ(c->timer->StepCount - c->timer->Step, 5);
  c->state = 0;
  StartAnimation(*c, true);
  ASSERT_NE(c->timer, nullptr);
  EXPECT_EQ(c->timer->StepCount, 10);
  const size_t framesBefore = c->commands.size();
  while (c->timer && c->timer->Step <= c->timer->StepCount) c->timer->DoTick();
  ASSERT_NE(c->timer, nullptr);
  EXPECT_EQ(std::count(c->commands.begin() + framesBefore, c->commands.end(), zcRepaintFrame), 5);
  // The byte blend ends on the new look to within one step of each channel.
  EXPECT_LE(ChannelDistance(*c->timer->FrameImage, *c->data.CacheBmp), 1) << "ends on the new look";
  EXPECT_GT(ChannelDistance(*c->timer->FromImage, *c->data.CacheBmp), 1);
  c->timer->DoTick();  // past the end: command 16
  EXPECT_EQ(c->timer, nullptr);
  EXPECT_EQ(c->commands.back(), zcStopAnimation);
  Pump();
}

using BoundLabel = SkinnedForm;

TEST_F(BoundLabel, LabelSitsBesideItsControlByLayoutAndGoesWithIt) {
  auto* owner = new TsButton(form);
  owner->SetParent(form);
  owner->SetName(L"Hours");
  owner->SetBounds(100, 50, 80, 21);
  TsBoundLabel bound(&owner->SkinData());
  bound.SetIndent(2);
  bound.SetActive(true);
  TsEditLabel* l = bound.Label();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Caption(), L"Hours");
  EXPECT_EQ(l->Name(), L"HoursLabel");
  EXPECT_EQ(l->Left(), 100 - l->Width() - 2 - 4);
  EXPECT_EQ(l->Top(), 50 + (21 - l->Height()) / 2 - 1);
  bound.SetLayout(TsCaptionLayout::sclTopRight);
  EXPECT_EQ(l->Left() + l->Width(), 180);
  EXPECT_EQ(l->Top(), 50 - l->Height() - 2);
  EXPECT_EQ(l->Alignment(), TAlignment::taRightJustify);
  bound.SetMaxWidth(30);
  EXPECT_EQ(l->Width(), 30);
  EXPECT_GE(l->Height(), 21);
  // A label freed by someone else is forgotten, not freed again.
  delete l;
  EXPECT_FALSE(bound.Active());
  EXPECT_EQ(bound.Label(), nullptr);
  EXPECT_TRUE(bound.UseSkinColor());
}

}  // namespace
