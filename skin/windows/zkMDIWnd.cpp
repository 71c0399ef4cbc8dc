#include "skin/windows/zkMDIWnd.h"

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

// The client's own request to recompute its scroll ranges after a child moved (sent by the
// children's default handling).
constexpr UINT kCalcChildScroll = 0x003F;

bool ChangesChildren(UINT msg) {
  switch (msg) {
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
    case WM_MDIRESTORE:
    case WM_MDINEXT:
    case WM_MDIMAXIMIZE:
    case WM_MDITILE:
    case WM_MDICASCADE:
    case WM_MDIICONARRANGE:
      return true;
    default:
      return false;
  }
}

}  // namespace

TzkMDIWnd::TzkMDIWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkScrollWnd(wnd, section.empty() ? "MDIAREA" : section, manager) {}

TzkMDIWnd::~TzkMDIWnd() { Detach(); }

void TzkMDIWnd::AfterHook(bool repaint) {
  TzkScrollWnd::AfterHook(repaint);
  AreaChanged();
}

const TzkBitmap& TzkMDIWnd::Area() {
  RECT r;
  GetClientRect(Handle(), &r);
  if (r.right <= 0 || r.bottom <= 0) {
    area_ = TzkBitmap();
    return area_;
  }
  if (area_.Width() != r.right || area_.Height() != r.bottom) {
    area_ = TzkBitmap(r.right, r.bottom, TPixelFormat::pf24bit, TRowOrder::TopDown, TBitmapUse::Device);
    areaStale_ = true;
  }
  if (areaStale_ && Skin().Skinned()) {
    const TsSkinTables* t = Skin().Tables();
    const TColor color = t->Sections[size_t(Skin().SkinIndex)].Color;
    TsBackgroundInfo bg;
    bg.Color = color;
    area_.Fill(0);
    PaintSectionByIndex(Skin().SkinIndex, Skin().Section, bg, -1, -1, t, &area_, TPoint{0, 0},
                        TRect(0, 0, r.right, r.bottom), 0, true);
    areaStale_ = false;
  }
  return area_;
}

void TzkMDIWnd::PaintArea(HDC dc) {
  const TzkBitmap& area = Area();
  if (area.Empty()) return;
  DrawBitmapToDC(dc, 0, 0, area, TRect(0, 0, area.Width(), area.Height()));
}

void TzkMDIWnd::AreaChanged() {
  areaStale_ = true;
  if (!Destroyed() && IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, TRUE);
}

void TzkMDIWnd::ChildrenChanged() {
  if (Destroyed()) return;
  RefreshChangedBars();
  if (OnChildrenChanged) OnChildrenChanged();
}

void TzkMDIWnd::AdapterProc(TMessage& m) {
  if (Destroyed() || !Skin().Skinned()) {
    if (m.Msg == SM_ORVEXCMD && SkinCommandOf(m).Code == zcSkinNew) areaStale_ = true;
    TzkScrollWnd::AdapterProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      PaintArea(HDC(m.WParam));
      m.Result = 1;
      return;
    case WM_PRINTCLIENT:
      if (m.WParam) PaintArea(HDC(m.WParam));
      return;
    case WM_PRINT:
      // The client window has no border: its client area starts at the window's corner.
      if (m.WParam && (m.LParam & PRF_CLIENT)) PaintArea(HDC(m.WParam));
      if (m.WParam && (m.LParam & PRF_NONCLIENT)) PaintBars(HDC(m.WParam));
      return;
    case WM_SIZE:
      TzkScrollWnd::AdapterProc(m);
      AreaChanged();
      return;
    case kCalcChildScroll:
      TzkScrollWnd::AdapterProc(m);
      RefreshChangedBars();
      return;
    default:
      break;
  }
  if (m.Msg == SM_ORVEXCMD) {
    const TzkCommandCode code = SkinCommandOf(m).Code;
    if (code == zcSkinNew || code == zcSkinRefresh) AreaChanged();
  }
  TzkScrollWnd::AdapterProc(m);
  if (ChangesChildren(m.Msg)) ChildrenChanged();
}
