// The check-box adapter for platform check boxes, radio buttons and three-state boxes: the
// section painted on the parent's background, the skin's box or radio glyph for the check
// state (pressed, hot or normal frame) and the caption beside it. The look is rendered into
// the skin state's cached image and copied to the window in one blit.
#pragma once

#include "skin/controls/zkSBUtils.h"

class TzkCheckBoxWnd : public TzkMainWnd {
 public:
  // An empty section means "CHECKBOX".
  TzkCheckBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  bool IsRadio() const;
  // The skin image for the current check state, -1 when the skin has none.
  int GlyphMask() const;
  // The glyph's size: its image's frame, or 16 x 16 without one.
  TSize GlyphSize() const;
  // The glyph's rectangle in window coordinates.
  TRect GlyphRect() const;
  // 2 pressed, 1 focused or under the pointer, 0 otherwise.
  int GlyphFrame() const;
  // Renders the whole box into the cached image.
  void PrepareCache() override;

 protected:
  void AdapterProc(TMessage& m) override;

 private:
  void DrawCaption(HDC dc, const TRect& glyph, bool hot);
  void Hover();
};
