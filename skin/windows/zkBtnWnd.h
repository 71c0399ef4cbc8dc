// The push-button adapter for platform buttons: the section painted on the parent's
// background in the button's state (normal, hot, pressed), the caption centred over it and,
// for a disabled button, the parent's background blended through. The look is rendered into
// the skin state's cached image and copied to the window in one blit. Under the pointer the
// button turns hot and shows the section's glow around it.
#pragma once

#include "skin/controls/zkSBUtils.h"

// The disabled look of the adapted buttons: the finished look keeps 40 % over the parent's
// background bitmap, or is tinted 40 % toward the parent's colour.
void PaintAdaptedDisabledLook(TzkBitmap& image, const TsBackgroundInfo& bg);

class TzkBtnWnd : public TzkMainWnd {
 public:
  // An empty section means "BUTTON".
  TzkBtnWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  ~TzkBtnWnd() override;
  // 2 pressed, 1 hot (focused, under the pointer, or a default push button), 0 otherwise.
  int CtlState() const;
  // Renders the whole button in its current state into the cached image.
  void PrepareCache() override;
  // The caption's rectangle in window coordinates for a state.
  virtual TRect CaptionRect(HDC dc, int state) const;
  // The glow shown around the button, -1 when none.
  int GlowId() const { return glowId_; }

 protected:
  void AdapterProc(TMessage& m) override;
  void OnDetached() override;
  virtual void DrawCaption(HDC dc, int state);
  UINT CaptionFlags() const;

 private:
  // Lets the window handle a message with drawing off, then paints it once.
  void MouseEnter();
  void MouseLeave();
  void ShowGlow();
  void HideGlow();
  void MouseMove();

  int glowId_ = -1;
};
