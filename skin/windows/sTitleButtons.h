// Title buttons of a skinned form frame: the record of each standard button (state, glyph,
// rectangle, hit-test code), the application's own title buttons (TsTitleButtons) and the
// layered overlay that fades a button between its looks, with a glow around hot buttons when
// the skin has one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"

class TsSkinProvider;
class TzkTitleBar;

// The standard buttons, in the order they are laid out from the right.
enum TzkTitleButtonKind { tbkClose = 0, tbkMax = 1, tbkMin = 2, tbkHelp = 3, kTitleButtonCount = 4 };
// Button kinds from kTitleButtonCount on are the custom buttons: kind = kTitleButtonCount + index.
// Their hit-test code is kCustomButtonCode + index.
constexpr int kCustomButtonCode = 1000;

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
  int HitCode = 0;         // HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP, or 1000 + index
  std::string GlyphKey;    // the GLOBALINFO key of the glyph ("BICONCLOSE" ...), or empty
  std::unique_ptr<TzkSBAnimation> Animation;
};

// Fades one title button between its looks with a borderless layered window over the button
// that takes no clicks and no activation. Fading in shows the new look with rising constant
// alpha, fading out lowers it and frees the overlay; one tick every 12 ms.
class TzkSBAnimation {
 public:
  TzkSBAnimation(TzkTitleBar& bar, int button);
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
  // Where the overlay lies, in window coordinates of the window (larger than the button with a
  // glow), and its image (32-bit, premultiplied alpha).
  TRect OverlayRect() const { return overlayRect_; }
  const TzkBitmap* OverlayImage() const { return image_.get(); }
  void Tick();

 private:
  void Render(int state);
  void Show(uint8_t alpha);
  void Free();
  bool PointerInside() const;

  TzkTitleBar& bar_;
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

// [SECTION] Custom title buttons

class TsTitleButtons;

// One of the application's own title buttons, laid out left of the standard ones. It draws the
// skin's "TITLEBUTTON" glyph (UseSkinData) and then its own Glyph centred on it: a Glyph with
// an alpha channel through it, any other with its bottom-left pixel as the transparent colour.
class TsTitleButton : public TObject {
 public:
  explicit TsTitleButton(TsTitleButtons& owner) : owner_(owner) {}
  TsTitleButton(const TsTitleButton&) = delete;
  TsTitleButton& operator=(const TsTitleButton&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  bool UseSkinData() const { return useSkinData_; }
  void SetUseSkinData(bool on);
  // The picture drawn over the button; call Changed() after drawing into it.
  TBitmap Glyph;
  std::wstring Hint;
  std::wstring Name;
  int Index() const;
  void Changed();

  TMouseEvent OnMouseDown;  // (this button, mbLeft, shift, x, y on the screen)
  TMouseEvent OnMouseUp;

  TzkTitleButton Record;  // state, skin glyph, rectangle and hit-test code

 private:
  TsTitleButtons& owner_;
  bool enabled_ = true;
  bool visible_ = true;
  bool useSkinData_ = true;
};

// The collection of a provider's custom title buttons. OnChange runs whenever a button is
// added, removed or changes what it shows (the provider renders its frame again).
class TsTitleButtons {
 public:
  TsTitleButtons() = default;
  TsTitleButtons(const TsTitleButtons&) = delete;
  TsTitleButtons& operator=(const TsTitleButtons&) = delete;

  TsTitleButton& Add();
  void Delete(int index);
  void Clear();
  int Count() const { return int(items_.size()); }
  TsTitleButton& Items(int index) const { return *items_.at(size_t(index)); }
  int IndexOf(const TsTitleButton* button) const;
  void Changed() const {
    if (OnChange) OnChange();
  }

  std::function<void()> OnChange;

 private:
  std::vector<std::unique_ptr<TsTitleButton>> items_;
};

// The hint of a title button (a kind as TsSkinProvider::Button takes it): a custom button's
// own Hint; for a standard one, only while the form has the extended border, the name of its
// command as the system menu shows it, without shortcut and accelerator mark.
std::wstring TitleButtonHint(TsSkinProvider& provider, int kind);
