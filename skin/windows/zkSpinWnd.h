// The adapter for platform up-down controls: two skinned arrow buttons (up and down, or left
// and right for a horizontal one) painted from the section in normal, hot and pressed states.
// The mouse still reaches the up-down itself, so it changes its position, repeats while held
// and notifies its parent and buddy exactly as before; the adapter only follows the pointer
// to draw the states.
#pragma once

#include "skin/windows/zkCachedWnd.h"

class TzkSpinWnd : public TzkCachedWnd {
 public:
  enum TPart { spNone = -1, spFirst = 0, spSecond = 1 };  // up / left, down / right

  // An empty section means "SPEEDBUTTON_SMALL".
  TzkSpinWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  bool Horizontal() const;
  // A button's rectangle in client coordinates; inside dialogs painting starts 2 pixels from
  // the left edge, where the parent's background shows.
  TRect PartRect(int part) const;
  int PartAt(TPoint client) const;
  // 2 pressed, 1 under the pointer, 0 otherwise.
  int PartState(int part) const;
  void PrepareCache() override;

 protected:
  void AdapterProc(TMessage& m) override;

 private:
  void DrawArrow(HDC dc, const TRect& r, int part, int state);
  void SetParts(int hot, int pressed);
  void MouseMessage(TMessage& m);

  int hot_ = spNone;
  int pressed_ = spNone;
};
