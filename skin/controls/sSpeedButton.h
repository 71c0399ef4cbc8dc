// Windowless skinned speed buttons. TsSpeedButton paints itself from its cached image: the
// section (default "SPEEDBUTTON") in its visual state over the background its parent
// answers, the corners refreshed from that background, an optional glyph and the disabled
// look. Entering, leaving, pressing and releasing cross-fade through an animation timer that
// hands each blended frame back to the button.
//
// TsTimerSpeedButton adds auto-repeat and the arrow glyph of the spin buttons:
//
//   press ---400 ms--- step ---100--- step ---100--- step ... release over the button: step
//
// Each repeat tick clicks the button only while it still holds the mouse.
#pragma once

#include <functional>
#include <memory>

#include "skin/paint/sCommonData.h"
#include "skin/paint/sFade.h"
#include "skin/paint/sSectionPainter.h"
#include "toolkit/Control.h"
#include "toolkit/Timer.h"

class TsSpeedButton : public TGraphicControl, public IzkAnimatedControl {
 public:
  explicit TsSpeedButton(TComponent* owner);
  ~TsSpeedButton() override;
  const wchar_t* ClassName() const override { return L"TsSpeedButton"; }

  TsCommonData& SkinData() { return *skinData_; }
  // Held in the down position (besides being pressed by the mouse).
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool Pressed() const { return pressed_; }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TzkAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TzkAnimatEvents value) { animatEvents_ = value; }
  // The glyph: drawn centred, its key-coloured (0xFF00FF) pixels left out; none when empty.
  const TzkBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TzkBitmap& glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);

  // Runs after the cached image is composed, before it is marked fresh.
  std::function<void(TObject*, TzkBitmap&)> OnPaint;

  // 2 while down, else 1 when hot, else 0.
  int VisualState() const;
  // Composes the cached image for the visual state.
  void PrepareCache();
  TsAnimTimer* AnimationTimer() const { return animTimer_; }

  // IzkAnimatedControl
  TsCommonData& AnimSkinData() override { return *skinData_; }
  TsAnimTimer*& AnimTimer() override { return animTimer_; }
  void PaintLookToCache() override { PrepareCache(); }

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // Draws the glyph into the cached image (or onto the canvas when unskinned: cache null).
  virtual void PaintGlyph(TzkBitmap* cache, int state);
  virtual void PaintUnskinned();
  // Asks for a fade to the new look (or repaints at once when no fade may run).
  void RequestFade(TzkAnimatEvent event, bool halve);
  void StopAnimationAndShow();

 private:
  bool SkinCommandMessage(TMessage& m);
  void MouseEntered();
  void MouseLeft();

  std::unique_ptr<TsCommonData> skinData_;
  TsAnimTimer* animTimer_ = nullptr;
  bool down_ = false;
  bool pressed_ = false;
  bool flat_ = false;
  bool transparent_ = false;
  bool lastDown_ = false;
  int lastNumGlyphs_ = 1;
  int lastSpacing_ = 4;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
  TzkAnimatEvents animatEvents_ = kDefaultAnimatEvents;
  TzkBitmap glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 4;
};

enum TsTimerOption : unsigned { toAllowTimer = 1, toShowFocus = 2 };

class TsTimerSpeedButton : public TsSpeedButton {
 public:
  static constexpr unsigned kFirstDelay = 400;
  static constexpr unsigned kRepeatDelay = 100;

  explicit TsTimerSpeedButton(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsTimerSpeedButton"; }

  bool Up = false;                        // the up arrow (else the down arrow)
  unsigned TimerOptions = toAllowTimer;   // a set of TsTimerOption
  // The skin data whose section gives the arrow its colour in the normal state.
  TsCommonData* ArrowColorSource = nullptr;
  // The repeat timer, made on the first press.
  TTimer* RepeatTimer() const { return repeatTimer_; }
  // The colour the arrow is drawn in for a state.
  TColor ArrowColor(int state);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void PaintGlyph(TzkBitmap* cache, int state) override;

 private:
  void TimerExpired();
  bool HoldsMouse() const;

  TTimer* repeatTimer_ = nullptr;
};

// The filled arrow triangle of a spin button of the given size: its three corners.
struct TArrowPoints {
  TPoint P[3];
};
TArrowPoints SpinArrowPoints(int width, int height, bool up);
