#include "skin/paint/sFade.h"

#include <algorithm>
#include <vector>

#include "skin/data/sSkinView.h"
#include "skin/paint/sCommonData.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/UtilWindow.h"

namespace {

constexpr unsigned kFadeInterval = 10;
constexpr UINT kFreeTimers = WM_APP + 1;

// Timers stopped from inside their own tick are freed once that tick has returned.
std::vector<std::unique_ptr<TTimer>>& StoppedTimers() {
  static std::vector<std::unique_ptr<TTimer>> timers;
  return timers;
}

TUtilWindow& Reaper() {
  static TUtilWindow reaper([](TMessage& m, bool& handled) {
    if (m.Msg != kFreeTimers) return;
    handled = true;
    auto stopped = std::move(StoppedTimers());
    StoppedTimers().clear();
  });
  return reaper;
}

void FreeTimer(TTimer* timer, bool inTick) {
  timer->SetEnabled(false);
  if (!inTick) {
    delete timer;
    return;
  }
  StoppedTimers().emplace_back(timer);
  PostMessageW(Reaper().Handle(), kFreeTimers, 0, 0);
}

int Iterations(const TsCommonData& data) {
  const TsGeneralData* s = data.Section();
  return s ? s->FadingIterations : 0;
}

}  // namespace

bool AnimationAllowed(TzkAnimatEvent event, TzkAnimatEvents controlEvents, TsSkinView* manager) {
  if (controlEvents & event) return true;
  if (!(controlEvents & aeGlobalDef) || !manager) return false;
  TzkBtnEvent global = beMouseEnter;
  switch (event) {
    case aeMouseEnter: global = beMouseEnter; break;
    case aeMouseLeave: global = beMouseLeave; break;
    case aeMouseDown: global = beMouseDown; break;
    case aeMouseUp: global = beMouseUp; break;
    default: return false;
  }
  return (manager->AnimEffects().Buttons.Events & global) != 0;
}

uint8_t FadeWeight(int step, int stepCount) {
  if (stepCount <= 0) return 0;
  return uint8_t(std::clamp(255 - step * 256 / stepCount, 0, 255));
}

// [SECTION] TsFadeTimer

TsFadeTimer::TsFadeTimer() : TTimer(nullptr) {
  SetEnabled(false);
  SetInterval(kFadeInterval);
  SetOnTimer([this](TObject*) { DoTick(); });
}

void TsFadeTimer::DoTick() {
  if (!ControlData || IsDestroying() || inTick_) return;
  TControl* control = ControlData->OwnerControl;
  if (!control || control->IsDestroying() || Application->Terminated()) {
    Phase = 0;
    return;
  }
  inTick_ = true;
  if (Step > StepCount || Step < 0) {
    Phase = 0;
    SendCommandToControl(control, zcStopAnimation);
  } else if (Phase == 1 || Phase == 2) {
    if (!control->Enabled()) {
      SetEnabled(false);
      StepCount = 0;
      ControlData->Invalidate();
    } else {
      PaintFrame(control);
    }
    ++Step;
  }
  inTick_ = false;
}

void TsFadeTimer::PaintFrame(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  const TzkBitmap* cache = ControlData->CacheBmp.get();
  if (!w || !w->HandleAllocated() || !FromImage || !cache) return;
  TzkBitmap frame = NewBitmap24(FromImage->Width(), FromImage->Height());
  frame.Assign(*FromImage);
  FadeWhole(frame, *cache, FadeWeight(Step, StepCount));
  TWindowDc dc(w->Handle());
  TSaveDc saved(dc.Get());
  if (SendCommandToControl(control, zcFadeStep, LPARAM(&frame)) == 0)
    DrawBitmapToDC(dc.Get(), 0, 0, frame, TRect(0, 0, frame.Width(), frame.Height()));
}

void StopFade(TsFadeTimer*& timer) {
  if (!timer || timer->IsDestroying()) return;
  TsFadeTimer* t = timer;
  timer = nullptr;
  t->Phase = 0;
  FreeTimer(t, t->InTick());
}

namespace {

void BeginFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, int phase) {
  const int iterations = Iterations(data);
  const bool wasFading = timer && timer->Phase != 0;
  if (timer) {
    timer->Step = iterations;
  } else {
    timer = new TsFadeTimer();
    timer->Step = 1;
  }
  TsFadeTimer& t = *timer;
  t.ControlData = &data;
  if (data.BGChanged && data.CacheBmp->Empty()) SendCommandToControl(data.OwnerControl, zcPrepareCache);
  t.FromImage = std::make_unique<TzkBitmap>(NewBitmap24(0, 0));
  t.FromImage->Assign(*data.CacheBmp);
  t.SetInterval(kFadeInterval);
  t.StepCount = iterations;
  if (wasFading) t.StepCount = t.Phase == 1 ? t.Step : iterations - t.Step;
  if (halve) t.StepCount /= 2;
  if (t.Step >= t.StepCount || t.Step <= 0) t.Step = 1;
  SendCommandToControl(data.OwnerControl, zcPrepareCache);  // the cache now holds the new look
  t.Phase = uint8_t(phase);
  if (t.Step < 0) t.Step = 1;
  t.SetEnabled(t.Phase != 0);
}

}  // namespace

void StartFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, int phase, bool allowed) {
  if (!data.Skinned()) return;
  const TsGeneralData* s = data.Section();
  const bool fade = allowed && s->FadingEnabled && s->FadingIterations > 0 && data.CacheBmp &&
                    !data.BGChanged && data.OwnerControl;
  data.BGChanged = true;
  if (fade) {
    BeginFade(timer, data, halve, phase);
  } else {
    StopFade(timer);
    if (data.OwnerControl && data.OwnerControl->Showing()) data.OwnerControl->Repaint();
  }
  data.ShowGlow(halve);
}

// [SECTION] TsAnimTimer

TsAnimTimer::TsAnimTimer() : TTimer(nullptr) {
  SetEnabled(false);
  SetInterval(kFadeInterval);
  SetOnTimer([this](TObject*) { DoTick(); });
}

void TsAnimTimer::MakeFrame() {
  TControl* control = ControlData ? ControlData->OwnerControl : nullptr;
  if (!Busy && control && !control->IsDestroying() && StepCount != 0 && Step >= 0 && FromImage &&
      ControlData->CacheBmp) {
    Busy = true;
    FrameImage = std::make_unique<TzkBitmap>(NewBitmap24(0, 0));
    FrameImage->Assign(*FromImage);
    FadeWhole(*FrameImage, *ControlData->CacheBmp, FadeWeight(Step, StepCount));
    SendCommandToControl(control, zcSetUpdating, 0, 0);
    SendCommandToControl(control, zcRepaintFrame);
    Busy = false;
  }
  ++Step;
}

void TsAnimTimer::DoTick() {
  TControl* control = ControlData ? ControlData->OwnerControl : nullptr;
  if (IsDestroying() || !control || control->IsDestroying() || Application->Terminated() || inTick_)
    return;
  inTick_ = true;
  if (Step >= 0 && Step <= StepCount) MakeFrame();
  else SendCommandToControl(control, zcStopAnimation);
  inTick_ = false;
}

void StopAnimation(TsAnimTimer*& timer) {
  if (!timer || timer->IsDestroying()) return;
  TsAnimTimer* t = timer;
  timer = nullptr;
  FreeTimer(t, t->InTick());
}

void StartAnimation(IzkAnimatedControl& control, bool halve) {
  TsCommonData& data = control.AnimSkinData();
  TsAnimTimer*& timer = control.AnimTimer();
  int r = 1;
  if (timer) {
    r = timer->StepCount - timer->Step;
    StopAnimation(timer);
  }
  const TsGeneralData* s = data.Section();
  if (!s || !s->FadingEnabled || !data.CacheBmp) return;
  timer = new TsAnimTimer();
  TsAnimTimer& t = *timer;
  t.ControlData = &data;
  t.StepCount = halve ? s->FadingIterations / 2 : s->FadingIterations;
  t.Step = r;
  t.FromImage = std::make_unique<TzkBitmap>(NewBitmap24(0, 0));
  t.FromImage->Assign(*data.CacheBmp);  // the look painted last
  control.PaintLookToCache();
  data.UpdateCorners(1);
  t.SetEnabled(true);
  t.MakeFrame();
}
