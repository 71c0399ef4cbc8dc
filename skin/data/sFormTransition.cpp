#include "skin/data/sFormTransition.h"

#include <vector>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sCrossFade.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

// The new look of the form's whole window, 24-bit.
TzkBitmap PrintNewLook(HWND wnd, int width, int height) {
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  TzkBitmap look = NewBitmap24(width, height);
  if (!dc) return look;
  PrintWindowTree(wnd, dc.Get());
  CopyDCToBitmap(look, dc.Get(), 0, 0);
  return look;
}

bool PlatformVersion6OrLater() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExW(&info) && info.dwMajorVersion >= 6;
#pragma GCC diagnostic pop
}

// Restores the animation flag however the transition ends.
class TAnimatingScope {
 public:
  TAnimatingScope() { zkSkinAnimating = true; }
  ~TAnimatingScope() { zkSkinAnimating = false; }
  TAnimatingScope(const TAnimatingScope&) = delete;
  TAnimatingScope& operator=(const TAnimatingScope&) = delete;
};

}  // namespace

void PrintWindowTree(HWND wnd, HDC dc) {
  SendMessageW(wnd, WM_PRINT, WPARAM(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  RECT parent;
  GetWindowRect(wnd, &parent);
  // Children from the bottom of the z-order up, so the topmost ends on top.
  std::vector<HWND> children;
  for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (!IsWindowVisible(*it)) continue;
    RECT r;
    GetWindowRect(*it, &r);
    TSaveDc save(dc);
    POINT old;
    OffsetViewportOrgEx(dc, r.left - parent.left, r.top - parent.top, &old);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    PrintWindowTree(*it, dc);
  }
}

void SwitchFormLook(TCustomForm* form, uint16_t time, HRGN region) {
  TRegionHandle ownRegion(region);
  if (!form || !form->HandleAllocated()) return;
  TAnimatingScope animating;
  HWND wnd = form->WindowHandle();
  TzkBitmap oldLook;
  TOutputWindow* cover = nullptr;
  CoverForm(form, oldLook, cover);
  if (ownRegion) SetWindowRgn(cover->Handle(), ownRegion.Release(), FALSE);
  const TzkBitmap newLook = PrintNewLook(wnd, oldLook.Width(), oldLook.Height());
  const TRect all(0, 0, newLook.Width(), newLook.Height());
  {
    TWindowDc coverDc(cover->Handle());
    TzkBitmap frame = NewBitmap24(newLook.Width(), newLook.Height());
    for (uint8_t weight : CrossFadeWeights(time)) {
      BlendCrossFadeFrame(oldLook, newLook, weight, frame);
      DrawBitmapToDC(coverDc.Get(), 0, 0, frame, all);
      GdiFlush();
      Sleep(kCrossFadeFramePause);
    }
    DrawBitmapToDC(coverDc.Get(), 0, 0, newLook, all);
  }
  zkSkinAnimating = false;
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  if (PlatformVersion6OrLater())
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (!(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED)) ShowWindow(cover->Handle(), SW_HIDE);
  delete cover;
}
