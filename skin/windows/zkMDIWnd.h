// The adapter of an MDI frame's client window: its background painted from the skin's
// "MDIAREA" section, kept whole while children move, maximize, restore and close, and its
// scroll bars skinned. Every change of the children (made, activated, maximized, restored,
// arranged, destroyed) is reported to the frame through OnChildrenChanged, after the client
// has handled it.
#pragma once

#include <functional>

#include "skin/controls/zkScrollWnd.h"

class TzkMDIWnd : public TzkScrollWnd {
 public:
  TzkMDIWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // Lets go here, while the derived handlers still exist.
  ~TzkMDIWnd() override;

  std::function<void()> OnChildrenChanged;

  // The background of the client area as composed for its current size.
  const TzkBitmap& Area();
  // Paints the background into a client-area context.
  void PaintArea(HDC dc);

 protected:
  void AdapterProc(TMessage& m) override;
  void AfterHook(bool repaint) override;

 private:
  // The background must be composed again (size or skin changed) and the client repainted.
  void AreaChanged();
  void ChildrenChanged();

  TzkBitmap area_;
  bool areaStale_ = true;
};
