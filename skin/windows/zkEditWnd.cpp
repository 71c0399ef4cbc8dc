#include "skin/windows/zkEditWnd.h"

#include <commctrl.h>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/ListView.h"
#include "toolkit/WinControl.h"

namespace {

const wchar_t kFocusColor[] = L"FocusColor";

}  // namespace

TzkEditWnd::TzkEditWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkScrollWnd(wnd, section.empty() ? "EDIT" : section, manager) {}

TzkEditWnd::~TzkEditWnd() { Detach(); }

bool TzkEditWnd::MarksControlOpaque() const {
  return dynamic_cast<TListView*>(TWinControl::FindControl(Handle())) == nullptr;
}

TWinControl* TzkEditWnd::ColorOwner() const {
  if (!saved_.Valid || Destroyed() || !IsWindow(Handle())) return nullptr;
  TWinControl* c = TWinControl::FindControl(Handle());
  return c && !c->IsDestroying() ? c : nullptr;
}

// Runs before the window is hooked, so a skinned control answers the query itself: its own
// skin data looks after its colours.
void TzkEditWnd::SaveControlColors() {
  TWinControl* c = TWinControl::FindControl(Handle());
  if (!c || SendCommandToWindow(Handle(), zcIsSkinned) == 1) return;
  saved_.Valid = true;
  saved_.Color = c->Color();
  saved_.FontColor = c->Font().Color();
  saved_.HasFocusColor = c->GetPublishedColor(kFocusColor, saved_.FocusColor);
}

void TzkEditWnd::RestoreControlColors() {
  TWinControl* c = ColorOwner();
  if (!c) return;
  c->SetColor(saved_.Color);
  if (saved_.HasFocusColor) c->SetPublishedColor(kFocusColor, saved_.FocusColor);
  c->Font().SetColor(saved_.FontColor);
  skinColorsApplied_ = false;
}

void TzkEditWnd::ApplySkinColors() {
  TzkScrollWnd::ApplySkinColors();
  TWinControl* c = ColorOwner();
  if (!c || !Skin().Skinned()) return;
  const TsGeneralData& section = Skin().Tables()->Sections[size_t(Skin().SkinIndex)];
  const bool hot = Skin().Focused;
  const TColor color = ColorToRGB(hot ? section.HotColor : section.Color);
  const TColor font = TColor((hot ? section.HotFontColor : section.FontColor).Color);
  if (c->Color() != color) c->SetColor(color);
  if (saved_.HasFocusColor) c->SetPublishedColor(kFocusColor, color);
  if (c->Font().Color() != font) c->Font().SetColor(font);
}

TsBackgroundInfo TzkEditWnd::BarBackground(TPoint at) {
  TsBackgroundInfo bg = TzkScrollWnd::BarBackground(at);
  if (!Skin().CacheBmp.Empty()) {
    bg.Bitmap = &Skin().CacheBmp;
    bg.IsBitmap = true;
    bg.X = at.X;
    bg.Y = at.Y;
  }
  return bg;
}

void TzkEditWnd::PaintFrame(HDC windowDc) {
  if (!Skin().Skinned() || Skin().Updating) return;
  if (!windowDc) {
    TWindowDc own(Handle(), true);
    if (own.Get()) PaintFrame(own.Get());
    return;
  }
  PrepareWindowCache(DlgMode());
  const TzkBitmap& cache = Skin().CacheBmp;
  if (cache.Empty()) return;
  HDC dc = windowDc;
  const TRect b = Borders();
  const int w = cache.Width(), h = cache.Height();
  // The ring of the border: four strips of the cached image.
  DrawBitmapToDC(dc, 0, 0, cache, Rect(0, 0, w, b.Top));
  DrawBitmapToDC(dc, 0, h - b.Bottom, cache, Rect(0, h - b.Bottom, w, h));
  DrawBitmapToDC(dc, 0, b.Top, cache, Rect(0, b.Top, b.Left, h - b.Bottom));
  DrawBitmapToDC(dc, w - b.Right, b.Top, cache, Rect(w - b.Right, b.Top, w, h - b.Bottom));
  PaintBars(dc);
}

void TzkEditWnd::SetHot(bool focused, bool mouseAbove) {
  if (Skin().Focused == focused && Skin().MouseAbove == mouseAbove) return;
  Skin().Focused = focused;
  Skin().MouseAbove = mouseAbove;
  Skin().BGChanged = true;
  if (saved_.Valid && skinColorsApplied_) ApplySkinColors();
  if (IsWindowVisible(Handle())) HotChanged();
}

bool TzkEditWnd::ChangesContent(UINT msg) const {
  switch (msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETTEXT:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
    case EM_REPLACESEL:
    case LVM_INSERTITEMW:
    case LVM_INSERTITEMA:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS:
    case LVM_SETITEMCOUNT:
    case LVM_ENSUREVISIBLE:
    case LVM_SCROLL:
    case LVM_SETCOLUMNWIDTH:
    case LVM_INSERTCOLUMNW:
    case LVM_DELETECOLUMN:
      return true;
  }
  return false;
}

void TzkEditWnd::Print(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  Skin().BGChanged = true;
  PaintFrame(dc);
  const TRect b = Borders();
  RECT client;
  GetClientRect(Handle(), &client);
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, b.Left + (LeftScroll() && VertBar().Shown ? VertBar().Thickness() : 0), b.Top,
                   nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  CallPrevious(WM_PRINTCLIENT, m.WParam, PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
  m.Result = 0;
}

void TzkEditWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkScrollWnd::AdapterProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_NCPAINT:
      if (IsWindowVisible(Handle()) && !OwnScrolling()) PaintFrame();
      return;
    case WM_PAINT:
    case WM_ERASEBKGND:
      if (!skinColorsApplied_ && !Skin().Updating) ApplySkinColors();
      if (m.Msg == WM_ERASEBKGND && Skin().Updating) {
        m.Result = 1;
        return;
      }
      break;
    case WM_ENABLE:
      Skin().BGChanged = true;
      TzkScrollWnd::AdapterProc(m);
      if (!Destroyed() && IsWindowVisible(Handle())) PaintFrame();
      return;
    case WM_PRINT:
      if (m.LParam & PRF_NONCLIENT) {
        Print(m);
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TzkScrollWnd::AdapterProc(m);
      SetHot(m.Msg == WM_SETFOCUS, Skin().MouseAbove);
      return;
    case WM_MOUSEMOVE:
      if (!Skin().MouseAbove) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&t);
        SetHot(Skin().Focused, true);
      }
      break;
    case WM_MOUSELEAVE:
      SetHot(Skin().Focused, false);
      // A glow whose owner missed the pointer going goes with it; when the pointer went on
      // into another control, the glows are that control's own and stay.
      if (!Application->MouseControl()) CloseAllGlowEffects();
      break;
    case WM_SIZE:
      Skin().BGChanged = true;
      break;
  }
  if (m.Msg == SM_ORVEXCMD) {
    const TzkCommandCode code = SkinCommandOf(m).Code;
    if (code == zcGetSectionIndex) {
      m.Result = Skin().SkinIndex + 1;
      return;
    }
    if (code == zcSkinNew || code == zcSkinRefresh) skinColorsApplied_ = false;
    if (code == zcGetBackgroundColor) {
      // A plain window shows the section's colour, or inside dialogs the window colour the
      // flat frame is drawn on.
      PassOn(m);
      if (m.Result == 0) m.Result = LRESULT(uint32_t(DlgMode() ? ColorToRGB(clWindow) : EffectiveColor()));
      return;
    }
  }
  TzkScrollWnd::AdapterProc(m);
  if (Hooked() && !OwnScrolling() && !ThumbDragging() && ChangesContent(m.Msg)) RefreshChangedBars();
}
