// The extended border of a skinned form: a layered window just behind the form, larger than
// it by the shadow images' content margins, showing the skin's shadow (active or inactive)
// around the form with per-pixel alpha. It never takes the activation, lets clicks through,
// and follows the form: moves, sizes, activation, hiding, showing and minimizing.
#pragma once

#include <functional>

#include <windows.h>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Form.h"

class TsSkinView;
class TOutputWindow;
struct TsShadowImages;

// The window itself: a hidden borderless form with Tag -98 (the hook leaves it alone).
class TzkBorderForm : public TCustomForm {
 public:
  explicit TzkBorderForm(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TzkBorderForm"; }
  // Asked first with every WM_NCHITTEST; a non-zero m.Result is the answer. Without it (or
  // with 0) the window lets the mouse through to what lies below.
  std::function<void(TMessage&)> OnHitTest;

 protected:
  void WndProc(TMessage& m) override;
};

// Shows a 32-bit image (straight alpha) in a layered window at a screen point with a constant
// alpha.
void ShowLayeredImage(HWND wnd, const TzkBitmap& image, POINT at, uint8_t alpha);

// Renders the shadow for a form of the given size: the image stretched as nine parts over the
// form's rectangle grown by the margins, the part under the form left fully transparent.
TzkBitmap RenderShadowBorder(const TzkBitmap& shadow, const TRect& margins, int formWidth,
                             int formHeight);

// The border window of one form, owned by the form's frame provider.
class TzkExtBorder {
 public:
  TzkExtBorder(HWND form, TsSkinView* manager);
  ~TzkExtBorder();
  TzkExtBorder(const TzkExtBorder&) = delete;
  TzkExtBorder& operator=(const TzkExtBorder&) = delete;

  HWND Window() const;
  // The form's new place, size, state or visibility: the border follows or hides.
  void Follow();
  // The image again for the activation state, then follow.
  void Refresh(bool active);
  void Hide();
  // The form's hit-test handler for the border window (null: the border takes no mouse).
  void SetHitTest(std::function<void(TMessage&)> handler);
  // The skin-changing cross-fade of a form with its border: the form is made almost fully
  // transparent, a temporary window over the border fades the new look (form and shadow) in
  // within `time` milliseconds (8 ms a step, none below 8), then the form and its border
  // take its place. The form must be frozen (WM_SETREDRAW false); it redraws afterwards.
  void SwitchLook(uint16_t time);

 private:
  void Render();
  void Update(uint8_t alpha);
  TzkBitmap NewLookWithBorder();

  HWND form_;
  TsSkinView* manager_;
  TzkBorderForm* window_ = nullptr;
  TzkBitmap image_;
  bool active_ = true;
  TPoint size_;  // the form size the image was made for
};
