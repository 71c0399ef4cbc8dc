// Cross-fades of skinned controls between their old and new look. TsFadeTimer serves window
// controls and paints each frame straight onto the control's window; TsAnimTimer serves
// windowless controls and hands each frame to the control, which paints it through its
// parent. Both blend the old look (FromImage) towards the control's cached image, one step
// every 10 ms:
//
//   step s of n:  frame = FromImage * w + CacheBmp * (255 - w),  w = clamp(255 - s*256 div n)
//
// A finished fade sends the control command 16; the control then stops and frees its timer.
#pragma once

#include <cstdint>
#include <memory>

#include "skin/paint/zkBitmap.h"
#include "toolkit/Timer.h"

class TsCommonData;
class TsSkinView;
class TControl;

enum TzkAnimatEvent : unsigned {
  aeMouseEnter = 1,
  aeMouseLeave = 2,
  aeMouseDown = 4,
  aeMouseUp = 8,
  aeGlobalDef = 16,
};
using TzkAnimatEvents = unsigned;  // a set of TzkAnimatEvent
constexpr TzkAnimatEvents kDefaultAnimatEvents = aeGlobalDef;

// Whether the event fades: named in the control's set, or, when the set holds aeGlobalDef,
// named in the manager's button events.
bool AnimationAllowed(TzkAnimatEvent event, TzkAnimatEvents controlEvents, TsSkinView* manager);

// The weight of the old look at step s of n.
uint8_t FadeWeight(int step, int stepCount);

class TsFadeTimer : public TTimer {
 public:
  TsFadeTimer();
  const wchar_t* ClassName() const override { return L"TsFadeTimer"; }

  uint8_t Phase = 0;                  // 0 idle; 1, 2 fading
  TsCommonData* ControlData = nullptr;
  int32_t StepCount = 0;
  int32_t Step = 0;                   // the step about to be painted, 1-based
  std::unique_ptr<TzkBitmap> FromImage;  // the old look

  // One tick: a frame, or the end of the fade (command 16).
  void DoTick();
  bool InTick() const { return inTick_; }

 private:
  void PaintFrame(TControl* control);
  bool inTick_ = false;
};

// Called by a window control on each state change. Fades when allowed, the section fades,
// the control has a cached image and it is not stale; otherwise repaints at once. The glow is
// then shown or hidden (repeat = halve).
void StartFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, int phase, bool allowed);
// Stops and frees the timer (a timer inside its own tick is freed right after it).
void StopFade(TsFadeTimer*& timer);

class TsAnimTimer;

// What a windowless control offers its animation timer.
class IzkAnimatedControl {
 public:
  virtual TsCommonData& AnimSkinData() = 0;
  virtual TsAnimTimer*& AnimTimer() = 0;
  // Composes the look of the control's current state into its cached image.
  virtual void PaintLookToCache() = 0;

 protected:
  ~IzkAnimatedControl() = default;
};

class TsAnimTimer : public TTimer {
 public:
  TsAnimTimer();
  const wchar_t* ClassName() const override { return L"TsAnimTimer"; }

  TsCommonData* ControlData = nullptr;
  int32_t StepCount = 0;
  int32_t Step = 0;
  std::unique_ptr<TzkBitmap> FromImage;
  std::unique_ptr<TzkBitmap> FrameImage;  // the last blended frame, read by the control
  bool Busy = false;

  // One frame (skipped while Busy, without a control, or outside the steps).
  void MakeFrame();
  void DoTick();
  bool InTick() const { return inTick_; }

 private:
  bool inTick_ = false;
};

// The windowless counterpart of StartFade: the cached image holds the old look; the control
// composes its new look, and the timer blends from one to the other.
void StartAnimation(IzkAnimatedControl& control, bool halve);
void StopAnimation(TsAnimTimer*& timer);
