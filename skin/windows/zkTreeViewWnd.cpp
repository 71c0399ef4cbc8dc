#include "skin/windows/zkTreeViewWnd.h"

#include <commctrl.h>

TzkTreeViewWnd::TzkTreeViewWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkEditWnd(wnd, section.empty() ? "EDIT" : section, manager) {}

bool TzkTreeViewWnd::ChangesContent(UINT msg) const {
  switch (msg) {
    case TVM_INSERTITEMW:
    case TVM_INSERTITEMA:
    case TVM_DELETEITEM:
    case TVM_EXPAND:
    case TVM_ENSUREVISIBLE:
    case TVM_SELECTITEM:
    case TVM_SETITEMHEIGHT:
    case TVM_SETINDENT:
      return true;
  }
  return TzkEditWnd::ChangesContent(msg);
}
