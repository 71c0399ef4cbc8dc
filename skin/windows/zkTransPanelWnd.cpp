#include "skin/windows/zkTransPanelWnd.h"

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "toolkit/Handles.h"

namespace {

bool IsGroupBoxWindow(HWND wnd) {
  char name[16] = {};
  GetClassNameA(wnd, name, sizeof(name));
  return lstrcmpiA(name, "button") == 0 && (GetWindowLongW(wnd, GWL_STYLE) & 0xF) == BS_GROUPBOX &&
         !(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// The GROUPBOX border widths: left, right and bottom.
void GroupBoxBorders(const TsSkinTables* t, int& wl, int& wr, int& wb) {
  wl = wr = wb = 0;
  if (!t) return;
  const int section = t->IndexOfSection("GROUPBOX");
  const int mask = t->IsValidSection(section) ? t->Sections[size_t(section)].BorderIndex : -1;
  if (!t->IsValidMask(mask)) return;
  wl = t->Masks[size_t(mask)].WL;
  wr = t->Masks[size_t(mask)].WR;
  wb = t->Masks[size_t(mask)].WB;
}

// Where the client area's top-left lies in the window.
TPoint ClientOffset(HWND wnd) {
  RECT wr;
  GetWindowRect(wnd, &wr);
  POINT p{0, 0};
  ClientToScreen(wnd, &p);
  return {p.x - wr.left, p.y - wr.top};
}

}  // namespace

void ExcludeChildWindows(HDC dc, HWND wnd, const TsSkinTables* tables) {
  int wl, wr, wb;
  GroupBoxBorders(tables, wl, wr, wb);
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&rc), 2);
    if (!IsGroupBoxWindow(child)) {
      ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
      continue;
    }
    const int top = int(SendCommandToWindow(child, zcGetReservedTop));
    ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.top + top);
    ExcludeClipRect(dc, rc.left, rc.top, rc.left + wl, rc.bottom);
    ExcludeClipRect(dc, rc.right - wr, rc.top, rc.right, rc.bottom);
    ExcludeClipRect(dc, rc.left, rc.bottom - wb, rc.right, rc.bottom);
  }
}

TzkTransPanelWnd::TzkTransPanelWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section.empty() ? "CHECKBOX" : section, manager) {}

void TzkTransPanelWnd::RefreshParentCache() {
  if (HWND parent = GetParent(Handle())) SendCommandToWindow(parent, zcPrepareCache);
}

void TzkTransPanelWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  RECT cr;
  GetClientRect(Handle(), &cr);
  if (!CanRender(cr.right, cr.bottom)) return;
  RefreshParentCache();
  skin.FitCache(cr.right, cr.bottom);
  const TPoint offset = ClientOffset(Handle());
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), ParentBackground().Moved(offset.X, offset.Y),
                   clFuchsia, true, true, &skin.CacheBmp, {0, 0}, Rect(0, 0, cr.right, cr.bottom), 0);
  skin.BGChanged = false;
}

void TzkTransPanelWnd::LeaveOutOfPaint(HDC dc) { ExcludeChildWindows(dc, Handle(), Skin().Tables()); }

bool TzkTransPanelWnd::AnswerBackground(TMessage& m) {
  const TsSkinCommand c = SkinCommandOf(m);
  auto* r = reinterpret_cast<TsBackgroundRequest*>(c.Param);
  if (c.Code != zcGetBackground || !r) return false;
  PrepareStaleCache();
  if (Skin().CacheBmp.Empty()) return false;
  r->BgType = btBitmap;
  r->Bitmap = &Skin().CacheBmp;
  r->X = 0;
  r->Y = 0;
  return true;
}

void TzkTransPanelWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkMainWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_SIZE:
    case WM_MOVE:
      Skin().BGChanged = true;
      break;
  }
  if (m.Msg == SM_ORVEXCMD && AnswerBackground(m)) return;
  TzkMainWnd::AdapterProc(m);
}
