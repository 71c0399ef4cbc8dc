#include "skin/windows/zkCachedWnd.h"

#include <windowsx.h>

#include "skin/paint/zkDibStorage.h"

void TzkCachedWnd::Paint(HDC dc) {
  PrepareCache();
  const TzkBitmap& cache = Skin().CacheBmp;
  if (!cache.Empty()) DrawBitmapToDC(dc, 0, 0, cache, Rect(0, 0, cache.Width(), cache.Height()));
}

bool TzkCachedWnd::AnswerPaint(TMessage& m, bool ownFrame) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m, [this](HDC dc) { Paint(dc); });
      return true;
    case WM_PRINTCLIENT:
      Paint(HDC(m.WParam));
      return true;
    case WM_NCPAINT:
      if (!ownFrame) return false;
      m.Result = 1;
      return true;
    case WM_ERASEBKGND:
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

void TzkCachedWnd::WatchPointerLeaving() const {
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&tme);
}

bool TzkCachedWnd::SizeCacheToClient(RECT& client) {
  TzkAdapterSkin& skin = Skin();
  GetClientRect(Handle(), &client);
  if (!skin.Tables() || !skin.Skinned() || client.right <= 0 || client.bottom <= 0) return false;
  if (skin.CacheBmp.Width() != client.right || skin.CacheBmp.Height() != client.bottom)
    skin.CacheBmp = NewDeviceBitmap24(client.right, client.bottom);
  return true;
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
