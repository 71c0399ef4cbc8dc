// Title buttons of a skinned form frame: the record of each standard button (state, glyph,
// rectangle, hit-test code) and the layered overlay that fades a button between its looks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"

class TsSkinProvider;

// The standard buttons, in the order they are laid out from the right.
enum TzkTitleButtonKind { tbkClose = 0, tbkMax = 1, tbkMin = 2, tbkHelp = 3, kTitleButtonCount = 4 };

// Title button states.
constexpr int kButtonNormal = 0;
constexpr int kButtonHot = 1;
constexpr int kButtonPressed = 2;

class TzkSBAnimation;

struct TzkTitleButton {
  TzkTitleButton();
  ~TzkTitleButton();
  TzkTitleButton(TzkTitleButton&&) noexcept;
  TzkTitleButton& operator=(TzkTitleButton&&) noexcept;

  int State = kButtonNormal;
  int GlyphIndex = -1;     // the glyph image in the skin's mask table
  TRect Rect;              // window coordinates, set at every frame paint
  bool Visible = false;    // laid out at the last frame paint
  bool BigGlyph = true;    // one of the BICON images
  int HitCode = 0;         // HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP
  std::unique_ptr<TzkSBAnimation> Animation;
};

// Fades one title button between its looks with a borderless layered window over the button
// that takes no clicks and no activation. Fading in shows the new look with rising constant
// alpha, fading out lowers it and frees the overlay; one tick every 12 ms.
class TzkSBAnimation {
 public:
  TzkSBAnimation(TsSkinProvider& provider, int button);
  ~TzkSBAnimation();
  TzkSBAnimation(const TzkSBAnimation&) = delete;
  TzkSBAnimation& operator=(const TzkSBAnimation&) = delete;

  static constexpr unsigned kInterval = 12;
  // The button changed to `state`: hot fades in over 10 steps, pressed over one, normal
  // fades out over 10.
  void ChangeState(int state);
  bool Running() const { return timer_.Enabled(); }
  int Step() const { return step_; }
  int StepCount() const { return stepCount_; }
  bool FadingIn() const { return fadeIn_; }
  uint8_t LastAlpha() const { return lastAlpha_; }
  HWND Overlay() const { return overlay_.Get(); }
  // The look the overlay shows (the state it fades to or from), or -1.
  int ShownState() const { return shownState_; }
  void Tick();

 private:
  void Render(int state);
  void Show(uint8_t alpha);
  void Free();
  bool PointerInside() const;

  TsSkinProvider& provider_;
  int button_;
  TTimer timer_;
  TWindowHandle overlay_;
  std::unique_ptr<TzkBitmap> image_;
  TRect overlayRect_;  // window coordinates of the form
  int step_ = 0;
  int stepCount_ = 0;
  bool fadeIn_ = true;
  bool done_ = false;
  int shownState_ = -1;
  uint8_t lastAlpha_ = 0;
};
