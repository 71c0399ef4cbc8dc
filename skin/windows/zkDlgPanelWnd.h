// The adapter for panels inside dialogs: the panel is painted as a skinned panel (its section
// over the parent's background, children left out) with its caption centred in the section's
// font colour, instead of its own bevels.
#pragma once

#include "skin/windows/zkTransPanelWnd.h"

class TzkDlgPanelWnd : public TzkTransPanelWnd {
 public:
  // An empty section means "PANEL".
  TzkDlgPanelWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  void PrepareCache() override;

 protected:
  void AdapterProc(TMessage& m) override;
  // A panel has its own look; its parent is not asked to refresh first.
  void RefreshParentCache() override {}
};
