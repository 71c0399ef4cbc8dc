// The adapter for platform tool bars (inside common dialogs): the bar's section over the
// parent's background, and every button drawn from the tool-button section in its state
// (pressed or checked, under the pointer, normal) with its image and text over it. The
// platform keeps the buttons' behaviour; only the painting is taken over.
#pragma once

#include "skin/windows/zkCachedWnd.h"

class TzkToolBarWnd : public TzkCachedWnd {
 public:
  // An empty section means "BAR".
  TzkToolBarWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The section the buttons are drawn with: "TOOLBUTTON", else "SPEEDBUTTON_SMALL".
  int ButtonSection() const;
  // 2 pressed or checked, 1 under the pointer, 0 otherwise (also when disabled).
  int ButtonState(int index) const;
  // The button under the pointer, -1 for none.
  int HotButton() const { return HotPart(); }
  void PrepareCache() override;

 protected:
  int PartAt(POINT p) const override;
  void AdapterProc(TMessage& m) override;
  // The frame stays the platform's.
  TzkPaintRules PaintRules() const override { return {true, TzkEraseRule::Swallow, false}; }

 private:
  void DrawButton(int index, const TsBackgroundInfo& bg);
  void DrawButtonContent(HDC dc, int index, const TRect& r, int state);
};
