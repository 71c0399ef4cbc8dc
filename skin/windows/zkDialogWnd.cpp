#include "skin/windows/zkDialogWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkBorderForm.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkGlowEffect.h"
#include "skin/windows/zkSystemMenu.h"
#include "toolkit/Dpi.h"

namespace {

// The common dialogs' messages after which they may have made new children.
constexpr UINT kCommonDialogChanged = WM_USER + 1;  // 1025
constexpr UINT kCommonDialogChildren = 1326;

// The flat scroll bars of the common controls, switched off while the skin draws the bars.
using TFlatSBProc = BOOL(WINAPI*)(HWND);
TFlatSBProc FlatSBProc(const char* name) {
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  return comctl ? reinterpret_cast<TFlatSBProc>(reinterpret_cast<void*>(GetProcAddress(comctl, name))) : nullptr;
}

// Group boxes and tab-stop statics show what lies behind them: erasing paints under them.
bool PaintedUnder(HWND child) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof(name));
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if (lstrcmpiA(name, "Button") == 0) return (style & 0x0F) == BS_GROUPBOX;
  if (lstrcmpiA(name, "Static") == 0) return (style & WS_TABSTOP) != 0;
  return false;
}

}  // namespace

TzkDialogWnd::TzkDialogWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkScrollWnd(wnd, section, manager) {
  sysMenu_ = std::make_unique<TzkSystemMenu>(*this);
  Skin().BGChanged = true;
  // The client area shows the frame cache until the dialog is handed its own painting back
  // (a dialog with edit or combo children); platforms before version 6 keep their painting.
  suppressClientPaint_ = DwmApi().MajorVersion > 5;
  // The platform's own frame animations would show its frame for a moment.
  SetNonClientTransitions(wnd, false);
}

TzkDialogWnd::~TzkDialogWnd() {
  title_.FreeAnimations();
  CloseAllGlowEffects();
  extBorder_.reset();
  if (!Destroyed() && IsWindow(Handle())) RestorePlatformFrame();
  sysMenu_.reset();
}

void TzkDialogWnd::BeforeHook() {
  // Flat scroll bars would draw over the skinned ones.
  if (TFlatSBProc off = FlatSBProc("UninitializeFlatSB")) flatBarsOff_ = SUCCEEDED(HRESULT(off(Handle())));
  TzkScrollWnd::BeforeHook();
}

// The window as the platform draws it without the skin: its system-menu style, no region,
// its frame animations, its flat scroll bars.
void TzkDialogWnd::RestorePlatformFrame() {
  HWND wnd = Handle();
  if (regionApplied_) SetWindowRgn(wnd, nullptr, TRUE);
  regionApplied_ = false;
  if (sysMenuTaken_) SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_SYSMENU);
  sysMenuTaken_ = false;
  SetNonClientTransitions(wnd, true);
  if (flatBarsOff_)
    if (TFlatSBProc on = FlatSBProc("InitializeFlatSB")) on(wnd);
  flatBarsOff_ = false;
}

void TzkDialogWnd::Initialize() {
  HWND wnd = Handle();
  style_ = GetWindowLongPtrW(wnd, GWL_STYLE) | (sysMenuTaken_ ? WS_SYSMENU : 0);
  exStyle_ = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if ((style_ & WS_POPUP) && (style_ & WS_CAPTION) != WS_CAPTION)
    kind_ = 2;
  else if (style_ & WS_THICKFRAME)
    kind_ = 3;
  else if (style_ & DS_MODALFRAME)
    kind_ = 0;
  else
    kind_ = 3;
  icon_ = HICON(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon_) icon_ = HICON(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0));
  active_ = GetActiveWindow() == wnd;
  initialized_ = true;
  if (Skin().Manager) title_.LookUp();
  if ((style_ & WS_SYSMENU) && !sysMenuTaken_) {
    SetWindowLongPtrW(wnd, GWL_STYLE, style_ & ~LONG_PTR(WS_SYSMENU));
    sysMenuTaken_ = true;
  }
  sysMenu_->Build();
  sysMenu_->Refresh();
  UpdateExtBorder();
  cache_.reset();
  cacheStale_ = true;
  regionStale_ = true;
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

bool TzkDialogWnd::FrameShown() const { return initialized_ && !Destroyed() && Skin().Skinned(); }

const TsCustomSysMenu* TzkDialogWnd::TitleQueries() const { return initialized_ ? sysMenu_.get() : nullptr; }

std::wstring TzkDialogWnd::TitleText() const {
  HWND wnd = Handle();
  const int n = GetWindowTextLengthW(wnd);
  std::wstring text(size_t(std::max(n, 0)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(wnd, text.data(), n + 1)));
  return text;
}

namespace {

// A window's small icon, or its big one, or its class's.
HICON WindowIcon(HWND wnd) {
  if (!wnd) return nullptr;
  HICON icon = HICON(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = HICON(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = HICON(GetClassLongPtrW(wnd, GCLP_HICONSM));
  if (!icon) icon = HICON(GetClassLongPtrW(wnd, GCLP_HICON));
  return icon;
}

}  // namespace

// A dialog without an icon of its own (a message box, a common dialog) shows its owner's, so
// it carries the icon of the program that asks; the platform's generic icon only when the
// owner has none either.
HICON TzkDialogWnd::IconHandle() const {
  if (icon_) return icon_;
  if (HICON owner = WindowIcon(GetWindow(Handle(), GW_OWNER))) return owner;
  return LoadIconW(nullptr, IDI_APPLICATION);
}

// The dialog's icon at the small-icon size.
void TzkDialogWnd::DrawTitleIcon(TzkBitmap& cache, const TzkTitleGeometry& g) {
  TBitmapDc dc(DibHandle(cache));
  if (dc)
    DrawIconEx(dc.Get(), g.Icon.Left, g.Icon.Top, IconHandle(), g.Icon.Width(), g.Icon.Height(), 0, nullptr,
               DI_NORMAL);
}

// [SECTION] Geometry

TzkTitleGeometry TzkDialogWnd::Geometry() const {
  TzkTitleGeometry g;
  HWND wnd = Handle();
  RECT wr;
  GetWindowRect(wnd, &wr);
  g.Width = wr.right - wr.left;
  g.Height = wr.bottom - wr.top;
  const LONG_PTR style = initialized_ ? style_ : GetWindowLongPtrW(wnd, GWL_STYLE);
  const int dpi = SkinDpi();
  g.W0 = PlatformFrameSize(style, 0, dpi).Border;
  g.W = g.W0;
  if ((style & WS_CAPTION) == WS_CAPTION || IsIconic(wnd))
    g.H = MetricForDpi(kind_ == 4 || kind_ == 5 ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
  g.Client = ClientRectInWindow(wnd);
  g.Maximized = IsZoomed(wnd) != FALSE;
  TsSkinView* manager = Skin().Manager;
  if (!manager || !initialized_) return g;
  const TsSkinData& d = manager->SkinData();
  title_.LayOutButtons(g);
  // Like a form's, the icon belongs to a title with a system menu (it opens that menu).
  g.IconShown = g.H > 0 && (style_ & WS_SYSMENU);
  const int iconW = MetricForDpi(SM_CXSMICON, dpi), iconH = MetricForDpi(SM_CYSMICON, dpi);
  if (g.IconShown) {
    const int top = (g.TitleBand() - iconH) / 2;
    g.Icon = TRect(g.W + d.TitleButtonsLeft, top, g.W + d.TitleButtonsLeft + iconW, top + iconH);
  }
  const int left = g.W + (g.IconShown ? iconW : 0) + d.TitleButtonsLeft + ScaleForDpi(4, dpi);
  g.Caption = TRect(left, ScaleForDpi(2, dpi), g.Width - title_.ReservedWidth(g) - ScaleForDpi(6, dpi), g.TitleBand());
  return g;
}

void TzkDialogWnd::MoveClientToScale(RECT& client) {
  HWND wnd = Handle();
  if (!FrameShown() || IsIconic(wnd)) return;
  MoveClientToFrameDpi(client, GetWindowLongPtrW(wnd, GWL_STYLE), GetWindowLongPtrW(wnd, GWL_EXSTYLE),
                       WindowDpi(wnd), SkinDpi());
}

// The dialog moved to a monitor of another scale: it takes the rectangle the platform
// suggests, and the skin manager takes the scale (one for all its windows), which re-skins
// this dialog with every other window.
void TzkDialogWnd::DpiChanged(TMessage& m) {
  HWND wnd = Handle();
  if (const auto* r = reinterpret_cast<const RECT*>(m.LParam))
    SetWindowPos(wnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  m.Result = 0;
  if (TsSkinView* manager = Skin().Manager) manager->SetPixelsPerInch(int(HIWORD(m.WParam)));
}

TPoint TzkDialogWnd::ClientOffset() const {
  const TRect c = ClientRectInWindow(Handle());
  return TPoint{c.Left, c.Top};
}

// [SECTION] The frame cache

void TzkDialogWnd::InvalidateFrame(bool repaintNow) {
  cacheStale_ = true;
  if (repaintNow && IsWindowVisible(Handle())) PaintFrameToWindow();
}

void TzkDialogWnd::RenderCache() {
  if (!FrameShown()) return;
  title_.SelectStateGlyphs();
  const TzkTitleGeometry g = Geometry();
  if (g.Width <= 0 || g.Height <= 0) return;
  if (!cache_ || cache_->Width() != g.Width || cache_->Height() != g.Height) {
    cache_ = std::make_unique<TzkBitmap>(g.Width, g.Height, TPixelFormat::pf24bit, TRowOrder::TopDown,
                                         TBitmapUse::Device);
    cacheStale_ = true;
  }
  if (!cacheStale_) return;
  const int state = active_ ? 1 : 0;
  const TsSkinTables* t = &Skin().Manager->Tables();
  TsBackgroundInfo bg;
  bg.Color = SectionColor();
  cache_->Fill(0);
  PaintSectionByIndex(Skin().SkinIndex, Skin().Section, bg, -1, -1, t, cache_.get(), TPoint{0, 0},
                      TRect(0, 0, g.Width, g.Height), state, true);
  if (g.H > 0) {
    title_.PaintBand(g, state);
    TBitmapDc dc(DibHandle(*cache_));
    if (dc) title_.PaintCaption(dc.Get(), g, DT_LEFT);
  }
  cacheStale_ = false;
}

void TzkDialogWnd::PaintFrameToWindow() {
  if (!FrameShown() || Skin().Updating) return;
  if (regionStale_) ApplyRegion(false);
  RenderCache();
  if (!cache_) return;
  DrawAroundClient(Handle(), *cache_, ClientRectInWindow(Handle()));
}

// The client area from the cache, except where children cover it (group boxes and tab-stop
// statics show it through).
void TzkDialogWnd::EraseClient(HDC dc) {
  RenderCache();
  if (!cache_ || !dc) return;
  HWND wnd = Handle();
  RECT rc;
  GetClientRect(wnd, &rc);
  TSaveDc save(dc);
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child) || PaintedUnder(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  const TPoint off = ClientOffset();
  DrawBitmapToDC(dc, 0, 0, *cache_, TRect(off.X, off.Y, off.X + rc.right, off.Y + rc.bottom));
}

bool TzkDialogWnd::PlainSection() const {
  const TsSkinTables* t = Skin().Tables();
  if (!t || !t->IsValidSection(Skin().SkinIndex)) return true;
  const TsGeneralData& s = t->Sections[size_t(Skin().SkinIndex)];
  return active_ ? s.HotGradientPercent + s.HotImagePercent <= 0 : s.GradientPercent + s.ImagePercent <= 0;
}

TColor TzkDialogWnd::SectionColor() const {
  const TsSkinTables* t = Skin().Tables();
  if (!t || !t->IsValidSection(Skin().SkinIndex)) return ColorToRGB(clBtnFace);
  const TsGeneralData& s = t->Sections[size_t(Skin().SkinIndex)];
  return ColorToRGB(active_ ? s.HotColor : s.Color);
}

// What lies behind a child: the section's colour when it is plain, else the client part of
// the frame cache.
void TzkDialogWnd::AnswerBackground(TsBackgroundRequest& r) {
  if (PlainSection() || (RenderCache(), !cache_)) {
    AnswerWithColor(r, SectionColor());
    return;
  }
  AnswerWithBitmap(r, *cache_, ClientOffset());
}

// [SECTION] Region

void TzkDialogWnd::ApplyRegion(bool redraw) {
  regionStale_ = false;
  HWND wnd = Handle();
  // A popup without a caption keeps its rectangle unless it is minimized or sizable.
  if (kind_ == 2 && !IsIconic(wnd) && !(style_ & WS_THICKFRAME)) return;
  const TzkTitleGeometry g = Geometry();
  corners_.clear();
  TRegionHandle rgn;
  if (g.Maximized) {
    rgn.Reset(CreateRectRgn(g.W, g.W, g.Width - g.W, g.Height - g.W));
  } else {
    title_.CollectCorners(corners_, g);
    rgn.Reset(CreateRectRgn(0, 0, g.Width, g.Height));
    for (const TRect& r : corners_) {
      TRegionHandle cut(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
      if (rgn && cut) CombineRgn(rgn.Get(), rgn.Get(), cut.Get(), RGN_DIFF);
    }
  }
  if (rgn && SetWindowRgn(wnd, rgn.Get(), redraw ? TRUE : FALSE)) {
    rgn.Release();
    regionApplied_ = true;
  }
}

// [SECTION] Hit-testing and the mouse

TPoint TzkDialogWnd::WindowPoint(LPARAM screen) const {
  RECT wr;
  GetWindowRect(Handle(), &wr);
  return TPoint{GET_X_LPARAM(screen) - wr.left, GET_Y_LPARAM(screen) - wr.top};
}

int TzkDialogWnd::HitTest(TPoint p) {
  const TzkTitleGeometry g = Geometry();
  // A maximized dialog's frame lies off the work area: the pointer there reaches what is
  // below.
  if (g.Maximized && !TRect(2, 2, g.Width - 2, g.Height - 2).Contains(p)) return HTTRANSPARENT;
  if (g.H == 0) return 0;
  const int code = title_.HitButton(g, p);
  if (code != 0 && code != HTCAPTION) return code;
  if (g.IconShown && g.Icon.Contains(p)) {
    if (!title_.Pressed()) title_.SetHot(0);
    return HTSYSMENU;
  }
  return 0;
}

void TzkDialogWnd::TrackNonClientLeave() {
  if (leaveTracked_) return;
  TRACKMOUSEEVENT t = {sizeof(t), TME_LEAVE | TME_NONCLIENT, Handle(), 0};
  leaveTracked_ = TrackMouseEvent(&t) != FALSE;
}

void TzkDialogWnd::ShowSystemMenu(int x, int y) {
  if (!sysMenu_ || !(style_ & WS_SYSMENU)) return;
  sysMenu_->ShowAt(x, y);
}

// Just below the icon; a second press on the icon while the menu is open (the platform's
// double click on the icon) closes the dialog.
void TzkDialogWnd::ShowSystemMenuAtIcon() {
  const TzkTitleGeometry g = Geometry();
  RECT wr;
  GetWindowRect(Handle(), &wr);
  const DWORD opened = GetTickCount();
  const int x = wr.left + (g.IconShown ? g.Icon.Left : g.W);
  const int y = wr.top + (g.IconShown ? g.Icon.Bottom : g.TitleBand());
  if (!sysMenu_ || !(style_ & WS_SYSMENU) || sysMenu_->ShowAt(x, y) != 0) return;
  POINT p;
  GetCursorPos(&p);
  const TPoint at{p.x - wr.left, p.y - wr.top};
  if (g.IconShown && g.Icon.Contains(at) && (GetAsyncKeyState(VK_LBUTTON) & 0x8000) &&
      GetTickCount() - opened <= GetDoubleClickTime()) {
    MSG pending;
    while (PeekMessageW(&pending, Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, PM_REMOVE)) {
    }
    PostMessageW(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

bool TzkDialogWnd::ButtonUp(TMessage& m, TPoint p) {
  HWND wnd = Handle();
  const int kind = title_.KindOfCode(title_.HotCode());
  title_.ClearPressed();
  if (GetCapture() == wnd) ReleaseCapture();
  if (kind < 0) return false;
  const UINT command = title_.ReleaseCommand(kind, p, false);
  if (!command) return false;
  sysMenu_->Refresh();
  if (kind == tbkHelp) InvalidateFrame(true);
  m.Result = 0;
  // Posted: closing destroys the dialog, and this adapter may go with it.
  PostMessageW(wnd, WM_SYSCOMMAND, command, 0);
  return true;
}

bool TzkDialogWnd::DoubleClick(int code) {
  HWND wnd = Handle();
  if (code == HTSYSMENU) {
    PostMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (code != HTCAPTION || !(sysMenu_->EnabledMax() || sysMenu_->EnabledRestore())) return false;
  SendMessageW(wnd, WM_SYSCOMMAND, (IsZoomed(wnd) || IsIconic(wnd)) ? SC_RESTORE : SC_MAXIMIZE, 0);
  sysMenu_->Refresh();
  return true;
}

bool TzkDialogWnd::HandleMouse(TMessage& m) {
  HWND wnd = Handle();
  switch (m.Msg) {
    case WM_NCHITTEST: {
      const int r = HitTest(WindowPoint(m.LParam));
      if (r != 0) {
        m.Result = r;
        return true;
      }
      if (!title_.Pressed()) title_.SetHot(0);
      return false;
    }
    case WM_NCMOUSEMOVE:
      TrackNonClientLeave();
      return false;
    case WM_NCMOUSELEAVE:
      leaveTracked_ = false;
      if (!title_.Pressed()) title_.SetHot(0);
      return false;
    case WM_MOUSELEAVE:
      if (!title_.Pressed()) title_.SetHot(0);
      return false;
    case WM_NCLBUTTONDOWN: {
      const int code = int(m.WParam);
      if (code == HTSYSMENU) {
        title_.SetHot(0);
        ShowSystemMenuAtIcon();
        m.Result = 0;
        return true;
      }
      if (title_.Press(code)) return true;
      if (IsIconic(wnd)) {
        m.Result = SendMessageW(wnd, WM_SYSCOMMAND, SC_MOVE + 2, m.LParam);
        return true;
      }
      if (IsZoomed(wnd) && WindowPoint(m.LParam).Y < Geometry().TitleBand()) {
        SetFocus(wnd);
        return true;
      }
      return false;
    }
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
      if (!title_.Pressed()) {
        if (m.Msg == WM_NCLBUTTONUP) title_.SetHot(0);
        return false;
      }
      POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (m.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
      return ButtonUp(m, WindowPoint(MAKELPARAM(p.x, p.y)));
    }
    case WM_CAPTURECHANGED:
      if (title_.Pressed() && HWND(m.LParam) != wnd) {
        title_.ClearPressed();
        title_.SetHot(0);
      }
      return false;
    case WM_NCLBUTTONDBLCLK:
      return DoubleClick(int(m.WParam));
    case WM_NCRBUTTONDOWN:
      if (m.WParam != HTCAPTION && m.WParam != HTSYSMENU) return false;
      m.Result = 0;
      return true;
    case WM_NCRBUTTONUP:
      if (m.WParam != HTCAPTION && m.WParam != HTSYSMENU) return false;
      title_.SetHot(0);
      ShowSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      m.Result = 0;
      return true;
    default:
      return false;
  }
}

// [SECTION] Messages

void TzkDialogWnd::AdapterProc(TMessage& m) {
  if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
    GiveBack(m);
    return;
  }
  if (m.Msg == SM_ORVEXCMD && HandleSkinCommand(m)) return;
  if (FrameShown() && (HandleMouse(m) || HandleFrameMessage(m))) return;
  TzkScrollWnd::AdapterProc(m);
}

void TzkDialogWnd::GiveBack(TMessage& m) {
  title_.FreeAnimations();
  extBorder_.reset();
  TzkScrollWnd::AdapterProc(m);
  givenBack_ = true;
}

// The platform's handling of activation and text draws its own caption: it runs with the
// window's drawing frozen, the skinned frame is drawn afterwards.
void TzkDialogWnd::Activate(TMessage& m) {
  HWND wnd = Handle();
  const bool active = m.WParam != 0;
  if (!active) title_.DropOverlays();
  if (!IsWindowVisible(wnd)) {
    active_ = active;
    cacheStale_ = true;
    PassOn(m);
    return;
  }
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  PassOn(m);
  active_ = active;
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  cacheStale_ = true;
  PaintFrameToWindow();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (extBorder_) extBorder_->Refresh(active_);
}

bool TzkDialogWnd::HandleFrameMessage(TMessage& m) {
  HWND wnd = Handle();
  switch (m.Msg) {
    case WM_NCPAINT:
      if (!IsWindowVisible(wnd)) return false;
      PaintFrameToWindow();
      PaintBars();
      m.Result = 0;
      return true;
    case WM_ERASEBKGND:
      EraseClient(HDC(m.WParam));
      m.Result = 1;
      return true;
    case WM_PAINT:
      if (!suppressClientPaint_) return false;
      {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
      }
      m.Result = 0;
      return true;
    case WM_NCACTIVATE:
      Activate(m);
      return true;
    case WM_SIZE:
      if (m.WParam == SIZE_MINIMIZED) title_.DropOverlays();
      cacheStale_ = true;
      regionStale_ = true;
      TzkScrollWnd::AdapterProc(m);
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      return true;
    case WM_WINDOWPOSCHANGED:
      if (auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam); wp && (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED))) {
        cacheStale_ = true;
        regionStale_ = true;
      }
      TzkScrollWnd::AdapterProc(m);
      if (extBorder_) extBorder_->Follow();
      return true;
    case WM_SETTEXT:
      // The platform would paint its own caption with the new text.
      WithoutPlatformPainting([&] { PassOn(m); });
      RefreshText();
      InvalidateFrame(true);
      return true;
    case WM_ENABLE:
      PassOn(m);
      InvalidateFrame(true);
      return true;
    case WM_SETFOCUS:
      TzkScrollWnd::AdapterProc(m);
      InvalidateFrame(true);
      return true;
    case WM_SHOWWINDOW:
      // Under composition the dialog shows its first composed picture only once its frame
      // is the skinned one.
      if (m.WParam && CompositionEnabled() && !(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
        const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
        SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        PassOn(m);
        SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
        return true;
      }
      if (!m.WParam) title_.DropOverlays();
      return false;
    case WM_GETDLGCODE:
      m.Result = 0;
      return true;
    case WM_DPICHANGED:
      DpiChanged(m);
      return true;
    case WM_CTLCOLORDLG: {
      const TColor c = Skin().Manager->GlobalColor();
      if (!background_ || c != backgroundColor_) {
        background_.Reset(CreateSolidBrush(COLORREF(ColorToRGB(c))));
        backgroundColor_ = c;
      }
      m.Result = LRESULT(background_.Get());
      return true;
    }
    case WM_DRAWITEM:
      if (auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam); di && di->CtlType == ODT_STATIC)
        SetBkMode(di->hDC, TRANSPARENT);
      return false;
    case kCommonDialogChanged:
    case kCommonDialogChildren:
      PassOn(m);
      if (OnAdoptChildren) OnAdoptChildren();
      return true;
    case WM_SYSCOMMAND:
      // Alt+Space: the platform shows no menu of a window without the system-menu style.
      if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == ' ' && (style_ & WS_SYSMENU)) {
        title_.SetHot(0);
        ShowSystemMenuAtIcon();
        m.Result = 0;
        return true;
      }
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE) title_.DropOverlays();
      return false;
    case WM_SETTINGCHANGE:
      cacheStale_ = true;
      return false;
    default:
      return false;
  }
}

// [SECTION] Skin commands and the extended border

void TzkDialogWnd::UpdateExtBorder() {
  TsSkinView* manager = Skin().Manager;
  const bool wanted = initialized_ && manager && manager->Active() && manager->ExtendedBorders() &&
                      !(style_ & WS_CHILD) && kind_ != 2;
  if (!wanted) {
    extBorder_.reset();
    return;
  }
  if (!extBorder_) extBorder_ = std::make_unique<TzkExtBorder>(Handle(), manager);
  extBorder_->Refresh(active_);
}

// A new skin (or the same one again): sections, glyphs, border, region and cache anew.
void TzkDialogWnd::NewSkin() {
  if (!initialized_) return;
  title_.FreeAnimations();
  title_.ForgetHot();
  title_.LookUp();
  title_.DropBand();
  UpdateExtBorder();
  cache_.reset();
  cacheStale_ = true;
  regionStale_ = true;
  background_.Reset();
}

bool TzkDialogWnd::HandleSkinCommand(TMessage& m) {
  const TsSkinCommand c = SkinCommandOf(m);
  TsSkinView* manager = Skin().Manager;
  const bool own = reinterpret_cast<TsSkinView*>(c.Param) == manager;
  switch (c.Code) {
    case zcSkinNew:
      // The base looks its section up and tells the children.
      if (own) NewSkin();
      return false;
    case zcSkinRefresh:
      if (!own) return false;
      Skin().UpdateIndexes();
      NewSkin();
      if (IsWindowVisible(Handle()) && FrameShown()) {
        ApplyRegion(false);
        PaintFrameToWindow();
      }
      return false;
    case zcSkinRemove:
      if (!own) return false;
      title_.FreeAnimations();
      extBorder_.reset();
      cache_.reset();
      title_.DropBand();
      RestorePlatformFrame();
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return false;
    case zcIsSkinned:
      m.Result = 1;
      return true;
    case zcSetUpdating:
      Skin().Updating = c.Lo == 1;
      return true;
    case zcQueryUpdating:
      m.Result = Skin().Updating ? 1 : 0;
      return true;
    case zcRepaintFrame:
      InvalidateFrame(true);
      if (extBorder_) extBorder_->Refresh(active_);
      return true;
    case zcHasOwnBackground:
      m.Result = PlainSection() ? 0 : 1;
      return true;
    case zcGetBackgroundColor:
      m.Result = LRESULT(uint32_t(SectionColor()));
      return true;
    case zcAdoptChildren:
      if (OnAdoptChildren) OnAdoptChildren();
      return true;
    case zcGetBackground:
      if (!FrameShown() || !c.Param) return false;
      AnswerBackground(*reinterpret_cast<TsBackgroundRequest*>(c.Param));
      return true;
    case zcGetClientOffset: {
      const TPoint p = ClientOffset();
      m.Result = LRESULT(MAKELONG(p.X, p.Y));
      return true;
    }
    default:
      return false;
  }
}
