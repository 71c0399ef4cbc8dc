// The adapter for size grips (scroll-bar windows of the size-box style inside dialogs): the
// section over the parent's background with the skin's grip image in the bottom-right corner
// (at the bottom-left for a right-to-left grip).
#pragma once

#include "skin/windows/zkCachedWnd.h"

class TzkSizerWnd : public TzkCachedWnd {
 public:
  // An empty section means "CHECKBOX".
  TzkSizerWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // The skin's grip image ("GRIPIMAGE" of GLOBALINFO), -1 when the skin has none.
  int GripMask() const;
  // Where the grip's top-left lies in the window.
  TPoint GripPosition() const;
  void PrepareCache() override;

 protected:
  void AdapterProc(TMessage& m) override;

 private:
};
