#include "skin/windows/zkCachedWnd.h"

#include <windowsx.h>

void TzkCachedWnd::WatchPointerLeaving() const {
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&tme);
}

void TzkCachedWnd::SetHotPart(int part) {
  if (part == hotPart_) return;
  hotPart_ = part;
  if (!Destroyed()) InvalidateRect(Handle(), nullptr, FALSE);
}

bool TzkCachedWnd::FollowHotPart(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      TzkMainWnd::AdapterProc(m);
      if (Destroyed()) return true;
      WatchPointerLeaving();
      SetHotPart(PartAt(p));
      return true;
    }
    case WM_MOUSELEAVE:
      PassOn(m);
      SetHotPart(-1);
      return true;
    default:
      return false;
  }
}
