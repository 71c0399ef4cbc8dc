// A tree view's adapter: the edit-style frame and skinned scroll bars, kept up to date when
// items are added, removed, expanded or scrolled into view.
#pragma once

#include "skin/windows/zkEditWnd.h"

class TzkTreeViewWnd : public TzkEditWnd {
 public:
  // An empty section means "EDIT".
  TzkTreeViewWnd(HWND wnd, const std::string& section, TsSkinView* manager);

 protected:
  bool ChangesContent(UINT msg) const override;
};
