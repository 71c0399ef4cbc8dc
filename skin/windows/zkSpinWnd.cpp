#include "skin/windows/zkSpinWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/Handles.h"

namespace {

constexpr int kDialogIndent = 2;

// A filled 9 x 5 triangle (5 x 9 across) centred in r, pointing the part's way.
void ArrowPoints(const TRect& r, bool horizontal, bool first, POINT out[3]) {
  const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  if (!horizontal) {
    const int tip = first ? cy - 2 : cy + 2, base = first ? cy + 2 : cy - 2;
    out[0] = {cx - 4, base};
    out[1] = {cx + 4, base};
    out[2] = {cx, tip};
  } else {
    const int tip = first ? cx - 2 : cx + 2, base = first ? cx + 2 : cx - 2;
    out[0] = {base, cy - 4};
    out[1] = {base, cy + 4};
    out[2] = {tip, cy};
  }
}

}  // namespace

TzkSpinWnd::TzkSpinWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkCachedWnd(wnd, section.empty() ? "SPEEDBUTTON_SMALL" : section, manager) {}

bool TzkSpinWnd::Horizontal() const { return (GetWindowLongW(Handle(), GWL_STYLE) & UDS_HORZ) != 0; }

TRect TzkSpinWnd::PartRect(int part) const {
  RECT cr;
  GetClientRect(Handle(), &cr);
  const int left = DlgMode() ? std::min<int>(kDialogIndent, cr.right) : 0;
  if (Horizontal()) {
    const int mid = left + (cr.right - left) / 2;
    return part == spFirst ? Rect(left, 0, mid, cr.bottom) : Rect(mid, 0, cr.right, cr.bottom);
  }
  const int mid = cr.bottom / 2;
  return part == spFirst ? Rect(left, 0, cr.right, mid) : Rect(left, mid, cr.right, cr.bottom);
}

int TzkSpinWnd::PartAt(TPoint p) const {
  for (int part : {spFirst, spSecond})
    if (PartRect(part).Contains(p)) return part;
  return spNone;
}

int TzkSpinWnd::PartState(int part) const {
  if (!IsWindowEnabled(Handle())) return 0;
  if (pressed_ == part && hot_ == part) return 2;
  return hot_ == part && (pressed_ == spNone || pressed_ == part) ? 1 : 0;
}

void TzkSpinWnd::DrawArrow(HDC dc, const TRect& r, int part, int state) {
  const TsGeneralData& section = Skin().Tables()->Sections[size_t(Skin().SkinIndex)];
  const TColor color = ColorToRGB(TColor((state ? section.HotFontColor : section.FontColor).Color));
  POINT pts[3];
  ArrowPoints(state == 2 ? r.Offset(1, 1) : r, Horizontal(), part == spFirst, pts);
  TBrushHandle brush(CreateSolidBrush(ToColorRef(color)));
  TPenHandle pen(CreatePen(PS_SOLID, 1, ToColorRef(color)));
  TSelectObject b(dc, brush.Get());
  TSelectObject p(dc, pen.Get());
  Polygon(dc, pts, 3);
}

void TzkSpinWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  RECT cr;
  if (!SizeCacheToClient(cr)) return;
  const TsBackgroundInfo bg = ParentBackground();
  const TsItemLook look = SectionLook(*t, skin.SkinIndex);
  // The strip left of the buttons (inside dialogs) shows the parent.
  FillFromBackground(skin.CacheBmp, Rect(0, 0, cr.right, cr.bottom), bg);
  for (int part : {spFirst, spSecond}) {
    const TRect r = PartRect(part);
    if (r.IsEmpty()) continue;
    PaintSkinnedItem(t, look, bg.Moved(r.Left, r.Top), clFuchsia, true, true, &skin.CacheBmp,
                     {r.Left, r.Top}, r, PartState(part));
  }
  DrawOnBitmap(skin.CacheBmp, [&](HDC dc) {
    for (int part : {spFirst, spSecond}) DrawArrow(dc, PartRect(part), part, PartState(part));
  });
  if (!IsWindowEnabled(Handle())) PaintDisabledLook(skin.CacheBmp, dkBlended, bg.Color, {0, 0}, bg);
  skin.BGChanged = false;
}

void TzkSpinWnd::SetParts(int hot, int pressed) {
  if (hot == hot_ && pressed == pressed_) return;
  hot_ = hot;
  pressed_ = pressed;
  if (!Destroyed()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TzkSpinWnd::MouseMessage(TMessage& m) {
  const UINT msg = m.Msg;
  const TPoint at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (msg == WM_MOUSEMOVE)
    TzkCachedWnd::AdapterProc(m);  // also tells the skin manager the window under the pointer
  else
    PassOn(m);
  if (Destroyed()) return;
  switch (msg) {
    case WM_MOUSEMOVE: {
      WatchPointerLeaving();
      SetParts(PartAt(at), pressed_);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetParts(PartAt(at), PartAt(at));
      return;
    case WM_LBUTTONUP:
      SetParts(PartAt(at), spNone);
      return;
    case WM_MOUSELEAVE:
      SetParts(spNone, pressed_);
      return;
    case WM_CAPTURECHANGED:
      SetParts(hot_, spNone);
      return;
  }
}

void TzkSpinWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkCachedWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
      MouseMessage(m);
      return;
    case WM_ENABLE:
      TzkCachedWnd::AdapterProc(m);
      if (!IsWindowEnabled(Handle())) hot_ = pressed_ = spNone;
      InvalidateRect(Handle(), nullptr, FALSE);
      return;
  }
  TzkCachedWnd::AdapterProc(m);
}
