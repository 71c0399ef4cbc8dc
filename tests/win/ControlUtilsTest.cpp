// Control utilities: command routing, broadcasts over control trees and child windows, control
// colours, windowless children painted over their container, the cover window, and the
// skin-changing cross-fade of framed forms.
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "SkinRecorders.h"
#include "WinTestSupport.h"
#include "skin/data/sFormTransition.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkDials.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"

namespace {

class ControlUtils : public ::testing::Test {
 protected:
  void SetUp() override {
    CommandLog().clear();
    form = Application->CreateForm<TRecordingForm>(L"form");
    form->SetBounds(40, 40, 260, 180);
    form->SetColor(clRed);
  }
  void TearDown() override {
    delete form;
    Pump();
  }
  template <typename T>
  T* Add(TWinControl* parent, const std::wstring& name, bool skinned = true) {
    auto* c = new T(form, name, skinned);
    c->SetParent(parent);
    c->SetBounds(10 * parent->ControlCount(), 5, 30, 20);
    return c;
  }
  TRecordingForm* form;
};

TEST_F(ControlUtils, CommandsReachWindowedAndWindowlessControlsButNotDyingOrWindowlessOnes) {
  auto* windowed = Add<TWindowedRecorder>(form, L"windowed");
  auto* windowless = Add<TWindowlessRecorder>(form, L"windowless");
  auto* unmade = new TWindowedRecorder(form, L"unmade");  // no parent, so no window
  windowed->HandleNeeded();
  EXPECT_EQ(SendCommandToControl(windowed, zcGetSectionIndex, 5, 1), 42);
  EXPECT_EQ(SendCommandToControl(windowless, zcGetSectionIndex, 6), 42);
  EXPECT_FALSE(unmade->HandleAllocated());
  EXPECT_EQ(SendCommandToControl(unmade, zcGetSectionIndex), 0);
  EXPECT_FALSE(unmade->HandleAllocated());  // asking does not make the window
  EXPECT_EQ(CommandLog(), (std::vector<TRecordedCommand>{{L"windowed", zcGetSectionIndex, 1, 5},
                                                          {L"windowless", zcGetSectionIndex, 0, 6}}));
  // Unknown codes answer 0 and go on to the default handling.
  EXPECT_EQ(SendCommandToControl(windowed, zcGetReservedTop), 0);
  EXPECT_EQ(windowed->defaultHandled, 1);
  EXPECT_EQ(SendCommandToWindow(windowed->Handle(), zcPlainFlag), 0);
  EXPECT_EQ(windowed->defaultHandled, 2);
  EXPECT_TRUE(IsSkinnedControl(windowed));
  EXPECT_TRUE(IsSkinnedControl(windowless));
  EXPECT_FALSE(IsSkinnedWindow(form->Handle()));
  // A control being destroyed gets nothing.
  CommandLog().clear();
  windowed->Destroying();
  EXPECT_EQ(SendCommandToControl(windowed, zcGetSectionIndex), 0);
  EXPECT_TRUE(CommandLog().empty());
  EXPECT_EQ(SendCommandToControl(nullptr, zcIsSkinned), 0);
}

TEST_F(ControlUtils, BroadcastPassesOverUnskinnedPanelsAndStopsAtADyingChild) {
  auto* panel = Add<TWindowedRecorder>(form, L"panel", false);
  Add<TWindowedRecorder>(panel, L"inner");
  Add<TWindowlessRecorder>(panel, L"innerLabel");
  Add<TWindowedRecorder>(form, L"before");
  auto* dying = Add<TWindowedRecorder>(form, L"dying");
  Add<TWindowedRecorder>(form, L"after");
  form->HandleNeeded();
  for (int i = 0; i < form->ControlCount(); ++i)
    static_cast<TWinControl*>(form->Controls(i))->HandleNeeded();
  static_cast<TWinControl*>(panel->Controls(0))->HandleNeeded();
  dying->Destroying();
  const TMessage m{SM_ORVEXCMD, WPARAM(MakeCommandWParam(zcSkinRefresh, 3)), 9, 0};
  BroadcastToControls(form, m);
  EXPECT_EQ(ReceiversOf(zcSkinRefresh),
            (std::vector<std::wstring>{L"inner", L"innerLabel", L"before"}));
  EXPECT_EQ(CommandLog().front().Lo, 3);
  EXPECT_EQ(CommandLog().front().Param, 9);
}

TEST_F(ControlUtils, ChildWindowBroadcastReachesDirectChildrenOnly) {
  auto* panel = Add<TWindowedRecorder>(form, L"panel");
  Add<TWindowedRecorder>(panel, L"grandchild");
  Add<TWindowedRecorder>(form, L"child");
  form->HandleNeeded();
  for (TControl* c : {form->Controls(0), form->Controls(1), panel->Controls(0)})
    static_cast<TWinControl*>(c)->HandleNeeded();
  BroadcastToChildWindows(form->Handle(), TMessage{SM_ORVEXCMD, MakeCommandWParam(zcSkinNew), 0, 0});
  std::vector<std::wstring> who = ReceiversOf(zcSkinNew);
  std::sort(who.begin(), who.end());
  EXPECT_EQ(who, (std::vector<std::wstring>{L"child", L"panel"}));
  CommandLog().clear();
  WakePostponedWindows(form->Handle());
  EXPECT_EQ(ReceiversOf(zcParentUpdateEnd).size(), 2u);
}

TEST_F(ControlUtils, ColoursOfSkinnedAndPlainControls) {
  auto* plain = Add<TWindowedRecorder>(form, L"plain", false);
  plain->SetColor(clRed);
  auto* skinned = Add<TWindowedRecorder>(form, L"skinned");
  plain->HandleNeeded();
  skinned->HandleNeeded();
  EXPECT_EQ(ControlColor(plain), 0x0000FF);
  EXPECT_EQ(ControlColor(skinned), kRecorderBackground);
  EXPECT_EQ(CommandLog().back().Param, LPARAM(clFuchsia));
  EXPECT_EQ(WindowColor(skinned->Handle()), kRecorderBackground);
  EXPECT_EQ(ControlColor(nullptr), clFuchsia);
  EXPECT_EQ(WindowColor(nullptr), clFuchsia);
  plain->SetColor(clBtnFace);
  EXPECT_EQ(ControlColor(plain), ColorToRGB(clBtnFace));
}

// Paints its left half in the key colour and its right half green.
class THalfKey : public TGraphicControl {
 public:
  explicit THalfKey(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clFuchsia);
    Canvas().FillRect(TRect(0, 0, Width() / 2, Height()));
    Canvas().Brush().SetColor(clLime);
    Canvas().FillRect(TRect(Width() / 2, 0, Width(), Height()));
  }
};

TEST_F(ControlUtils, WindowlessChildrenArePaintedOverTheBackgroundSkippingTheKeyColour) {
  auto* container = Add<TWindowedRecorder>(form, L"container", false);
  container->SetBounds(0, 0, 100, 60);
  auto* child = new THalfKey(form);
  child->SetParent(container);
  child->SetBounds(10, 10, 20, 10);
  container->HandleNeeded();
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 120, 80));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  TBrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  const RECT all = {0, 0, 120, 80};
  FillRect(dc.Get(), &all, white.Get());
  PaintGraphicChildren(dc.Get(), container, TPoint(3, 2));
  EXPECT_EQ(GetPixel(dc.Get(), 13 + 15, 12 + 5), RGB(0, 255, 0));     // green half
  EXPECT_EQ(GetPixel(dc.Get(), 13 + 2, 12 + 5), RGB(255, 255, 255));  // key colour: not copied
  EXPECT_EQ(GetPixel(dc.Get(), 9, 9), RGB(255, 255, 255));            // outside the child
  EXPECT_EQ(ReceiversOf(zcGetBackground), (std::vector<std::wstring>{L"container"}));
  // A target clipped away entirely paints nothing and marks the container partly hidden.
  CommandLog().clear();
  TRegionHandle empty(CreateRectRgn(0, 0, 0, 0));
  SelectClipRgn(dc.Get(), empty.Get());
  PaintGraphicChildren(dc.Get(), container, TPoint(0, 0));
  EXPECT_EQ(ReceiversOf(zcSetHalfVisible), (std::vector<std::wstring>{L"container"}));
}

TEST_F(ControlUtils, NewControlsAreAnnouncedToTheirFormAndShowingNeedsAWindowAndParent) {
  auto* panel = Add<TWindowedRecorder>(form, L"panel");
  auto* inner = Add<TWindowedRecorder>(panel, L"inner");
  form->HandleNeeded();
  AnnounceToParentForm(inner);
  ASSERT_EQ(ReceiversOf(zcChildAdded), (std::vector<std::wstring>{L"form"}));
  EXPECT_EQ(CommandLog().back().Param, LPARAM(inner));
  EXPECT_TRUE(IsShowingForSkin(inner));
  auto* loose = new TWindowedRecorder(form, L"loose");
  EXPECT_FALSE(IsShowingForSkin(loose));  // no parent
  EXPECT_FALSE(IsShowingForSkin(nullptr));
  inner->Destroying();
  EXPECT_FALSE(IsShowingForSkin(inner));
}

TEST_F(ControlUtils, GeometryHelpers) {
  auto* panel = Add<TWindowedRecorder>(form, L"panel");
  auto* inner = Add<TWindowedRecorder>(panel, L"inner");
  EXPECT_EQ(TopAncestorWindow(inner->Handle()), form->Handle());
  EXPECT_EQ(TopAncestorWindow(form->Handle()), form->Handle());
  const TRect client = ClientRectInWindow(form->Handle());
  RECT w;
  GetWindowRect(form->Handle(), &w);
  EXPECT_GT(client.Top, client.Left);  // below the caption
  EXPECT_EQ(client.Width(), form->ClientWidth());
  EXPECT_LE(client.Right, w.right - w.left);
  EXPECT_EQ(TextFlagsForAlignment(inner, TAlignment::taCenter), UINT(DT_CENTER | DT_EXPANDTABS | DT_VCENTER));
  SetWindowLongPtrW(inner->Handle(), GWL_EXSTYLE, WS_EX_RTLREADING);
  EXPECT_EQ(TextFlagsForAlignment(inner, TAlignment::taLeftJustify),
            UINT(DT_RIGHT | DT_EXPANDTABS | DT_VCENTER | DT_RTLREADING));
  EXPECT_NE(SetWindowThemeProc(), nullptr);
}

TEST_F(ControlUtils, CoverFormKeepsTheScreenUnderTheForm) {
  form->Show();
  Pump();
  RECT r;
  GetWindowRect(form->Handle(), &r);
  TzkBitmap screenNow = NewBitmap24(r.right - r.left, r.bottom - r.top);
  {
    TWindowDc screen(nullptr);
    CopyDCToBitmap(screenNow, screen.Get(), r.left, r.top);
  }
  TzkBitmap snapshot;
  TOutputWindow* cover = nullptr;
  CoverForm(form, snapshot, cover);
  ASSERT_NE(cover, nullptr);
  ASSERT_EQ(snapshot.Width(), screenNow.Width());
  ASSERT_EQ(snapshot.Height(), screenNow.Height());
  for (int y = 0; y < snapshot.Height(); ++y)
    ASSERT_EQ(0, memcmp(snapshot.ScanLine(y), screenNow.ScanLine(y), size_t(snapshot.Width()) * 3))
        << "row " << y;
  EXPECT_EQ(cover->Owner(), form);
  EXPECT_EQ(cover->Caption(), L"zkOutputWindow");
  EXPECT_EQ(cover->Color(), 0x800080);
  EXPECT_TRUE(IsWindowVisible(cover->Handle()));
  EXPECT_EQ(GetWindow(cover->Handle(), GW_OWNER), Application->Handle());
  RECT c;
  GetWindowRect(cover->Handle(), &c);
  EXPECT_TRUE(EqualRect(&c, &r));
  EXPECT_EQ(SendMessageW(cover->Handle(), WM_ERASEBKGND, 0, 0), 1);
  // A second cover reuses the window and keeps the snapshot.
  TOutputWindow* before = cover;
  CoverForm(form, snapshot, cover);
  EXPECT_EQ(cover, before);
}

// A frame provider stand-in that records what the skin-changing animation does with it.
class TFakeProvider : public IzkFrameProvider {
 public:
  TFakeProvider(TCustomForm* form, TsSkinManager* manager) : form_(form), manager_(manager) {}
  TCustomForm* Form() const override { return form_; }
  TsSkinManager* SkinManager() const override { return manager_; }
  bool DrawsNonClientArea() const override { return true; }
  void SetAnimating(bool on) override {
    log.push_back(on ? "animating" : "done");
    if (on) animatingFlagSeen = zkSkinAnimating;
  }
  void RebuildFrame() override { log.push_back("rebuild"); }
  HRGN CopyWindowRegion() const override { return nullptr; }
  std::vector<std::string> log;
  bool animatingFlagSeen = false;

 private:
  TCustomForm* form_;
  TsSkinManager* manager_;
};

TEST_F(ControlUtils, SkinChangingCrossFadesFramedFormsAndUncoversThem) {
  auto m = std::make_unique<TsSkinManager>(nullptr);
  m->InternalSkins().push_back(InternalStoredSkin());
  form->Show();
  Pump();
  TFakeProvider provider(form, m.get());
  FramedForms().push_back(&provider);
  const DWORD start = GetTickCount();
  m->SetSkinName(kInternalSkinName);
  const DWORD took = GetTickCount() - start;
  FramedForms().clear();
  // Prepared by ApplyNewSkin and by RepaintAll, run once after the refresh.
  EXPECT_EQ(provider.log, (std::vector<std::string>{"animating", "animating", "done", "rebuild"}));
  EXPECT_TRUE(provider.animatingFlagSeen);
  EXPECT_FALSE(zkSkinAnimating);
  EXPECT_GE(took, 13u * 8u - 20u);  // 13 frames 8 ms apart (coarse tick)
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  for (int i = 0; i < form->ComponentCount(); ++i)
    EXPECT_EQ(dynamic_cast<TOutputWindow*>(form->Components(i)), nullptr) << "cover left behind";
  // Time below 8: the new look at once.
  m->AnimEffects().SkinChanging.Time = 7;
  provider.log.clear();
  FramedForms().push_back(&provider);
  m->RepaintAll();
  FramedForms().clear();
  EXPECT_EQ(provider.log, (std::vector<std::string>{"animating", "done", "rebuild"}));
}

}  // namespace

namespace {

// Aligned children stack along their sides, follow the container's size and the sizes of
// their siblings, and AlignedSize sums what each side takes (windowless ones on request).
TEST_F(ControlUtils, AlignedChildrenStackAlongTheirSidesAndAlignedSizeSumsThem) {
  auto* top1 = Add<TWindowedRecorder>(form, L"top1");
  auto* top2 = Add<TWindowedRecorder>(form, L"top2");
  auto* label = Add<TWindowlessRecorder>(form, L"label");
  auto* left = Add<TWindowedRecorder>(form, L"left");
  auto* client = Add<TWindowedRecorder>(form, L"client");
  auto* hidden = Add<TWindowedRecorder>(form, L"hidden");
  form->HandleNeeded();
  const TRect area = form->ClientRect();
  top1->SetHeight(20);
  top2->SetHeight(30);
  label->SetHeight(7);
  left->SetWidth(40);
  hidden->SetHeight(11);
  hidden->SetVisible(false);
  for (TControl* c : std::initializer_list<TControl*>{top1, top2, label, hidden})
    c->SetAlign(TAlign::alTop);
  left->SetAlign(TAlign::alLeft);
  client->SetAlign(TAlign::alClient);

  EXPECT_EQ(AlignedSize(form, TAlign::alTop, false), 50);
  EXPECT_EQ(AlignedSize(form, TAlign::alTop, true), 57);
  EXPECT_EQ(AlignedSize(form, TAlign::alLeft, false), 40);
  EXPECT_EQ(AlignedSize(form, TAlign::alBottom, true), 0);
  EXPECT_EQ(top1->BoundsRect(), TRect(0, 0, area.Width(), 20));
  EXPECT_EQ(top2->BoundsRect(), TRect(0, 20, area.Width(), 50));
  EXPECT_EQ(label->BoundsRect(), TRect(0, 50, area.Width(), 57));
  EXPECT_EQ(left->BoundsRect(), TRect(0, 57, 40, area.Height()));
  EXPECT_EQ(client->BoundsRect(), TRect(40, 57, area.Width(), area.Height()));

  // A sibling growing, a hidden one shown and the container resized move the others.
  top1->SetHeight(25);
  hidden->SetVisible(true);
  form->SetBounds(40, 40, 300, 200);
  const TRect bigger = form->ClientRect();
  EXPECT_EQ(top2->BoundsRect(), TRect(0, 25, bigger.Width(), 55));
  EXPECT_EQ(AlignedSize(form, TAlign::alTop, true), 73);
  EXPECT_EQ(client->BoundsRect(), TRect(40, 73, bigger.Width(), bigger.Height()));
}

}  // namespace
