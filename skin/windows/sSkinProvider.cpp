// TsSkinProvider: construction, attaching to the form, skin commands and the form's messages.
// Painting, the region and hit-testing are in sSkinProviderFrame.cpp.
#include "skin/windows/sSkinProvider.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "skin/data/sFormTransition.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/zkComposition.h"
#include "skin/windows/zkGlowEffect.h"
#include "skin/windows/zkMessageBox.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"
#include "toolkit/FlagScope.h"

const char* const kProviderFormsOnly = "TsSkinProvider component must be used with forms only!";
const char* const kProviderOneInstance =
    "Only one instance of the TsSkinProvider component is allowed!";

namespace {

void Warn(const char* text) { ShowSkinMessage(L"", Utf8ToWide(text), mkWarning); }

// The provider that serves a form already, found among the form's components.
TsSkinProvider* OtherProviderOf(TCustomForm* form, const TsSkinProvider* self) {
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TsSkinProvider*>(form->Components(i)); p && p != self && p->Form())
      return p;
  return nullptr;
}


// The outline of an rmBorder drag, inverted on the screen (drawing it twice takes it away).
void InvertOutline(const RECT& r) {
  TWindowDc screen(nullptr);
  if (!screen.Get()) return;
  const int t = 3;
  PatBlt(screen.Get(), r.left, r.top, r.right - r.left, t, DSTINVERT);
  PatBlt(screen.Get(), r.left, r.bottom - t, r.right - r.left, t, DSTINVERT);
  PatBlt(screen.Get(), r.left, r.top + t, t, r.bottom - r.top - 2 * t, DSTINVERT);
  PatBlt(screen.Get(), r.right - t, r.top + t, t, r.bottom - r.top - 2 * t, DSTINVERT);
}

// Where a drag by `delta` from a press on `hit` puts the window: the caption moves it, a
// border moves the edges it names, never below the platform's smallest tracking size.
RECT DraggedRect(const RECT& start, WPARAM hit, POINT delta) {
  RECT r = start;
  if (hit == HTCAPTION) {
    OffsetRect(&r, delta.x, delta.y);
    return r;
  }
  const LONG minW = GetSystemMetrics(SM_CXMINTRACK), minH = GetSystemMetrics(SM_CYMINTRACK);
  if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
    r.left = std::min<LONG>(start.left + delta.x, start.right - minW);
  if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT)
    r.right = std::max<LONG>(start.right + delta.x, start.left + minW);
  if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
    r.top = std::min<LONG>(start.top + delta.y, start.bottom - minH);
  if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
    r.bottom = std::max<LONG>(start.bottom + delta.y, start.top + minH);
  return r;
}

}  // namespace

// [SECTION] Construction and attaching

TsSkinProvider::TsSkinProvider(TComponent* owner) : TComponent(owner) {
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (!form) Warn(kProviderFormsOnly);
  if (form) {
    if (TsSkinProvider* older = OtherProviderOf(form, this)) {
      if (IsDesigning()) {
        Warn(kProviderOneInstance);
        form = nullptr;
      } else {
        delete older;
      }
    }
  }
  form_ = form;
  skinData_ = std::make_unique<TsCommonData>(form_, false);
  skinData_->SetSkinSection("FORM");
  titleButtons_.OnChange = [this] { TitleButtonsChanged(); };
  if (form_ && !IsDesigning()) Attach();
}

TsSkinProvider::~TsSkinProvider() {
  auto& framed = FramedForms();
  framed.erase(std::remove(framed.begin(), framed.end(), static_cast<IzkFrameProvider*>(this)),
               framed.end());
  titleButtons_.OnChange = nullptr;
  title_.FreeAnimations();
  sysMenu_.reset();
  // The client window gets its own procedure back.
  mdiArea_.reset();
  // The adapted children get their own message procedures back.
  ctrlAdapter_.reset();
  extBorder_.reset();
  // While the form itself is being destroyed its message method is gone already; the window
  // was destroyed before and detached the provider then.
  if (attached_ && form_ && !form_->IsDestroying()) {
    if (form_->HandleAllocated() && Skinned()) {
      SetWindowRgn(form_->WindowHandle(), nullptr, TRUE);
      GiveSystemMenuStyle();
      SetNonClientTransitions(form_->WindowHandle(), true);
    }
    Detach();
  }
}

void TsSkinProvider::Attach() {
  prevProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& m) { NewWndProc(m); };
  attached_ = true;
  FramedForms().push_back(this);
  if (form_->HandleAllocated()) {
    active_ = GetActiveWindow() == form_->WindowHandle();
    InitSkin();
  }
}

void TsSkinProvider::Detach() {
  if (!attached_) return;
  attached_ = false;
  // The closure that runs this may be the one replaced here: nothing of it is used after.
  form_->WindowProc = std::move(prevProc_);
}

TsSkinView* TsSkinProvider::SkinManager() const { return skinData_->SkinManager(); }

bool TsSkinProvider::SkinAvailable() const {
  if (!form_ || !attached_ || form_->IsDestroying() || !drawNonClientArea_) return false;
  TsSkinView* manager = SkinManager();
  return manager && manager->Active() && form_->HandleAllocated();
}

// The manager keeps its skin data switched off while it announces a new skin (so that no
// control paints with indexes of the old one); the provider sets itself up for the new skin
// during that announcement and counts as skinned meanwhile.
bool TsSkinProvider::Skinned() const {
  return SkinAvailable() && (applying_ || SkinManager()->SkinData().Active);
}

void TsSkinProvider::SetDrawNonClientArea(bool on) {
  if (on == drawNonClientArea_) return;
  drawNonClientArea_ = on;
  if (!form_ || !form_->HandleAllocated()) return;
  if (on) {
    InitSkin();
  } else {
    SetWindowRgn(form_->WindowHandle(), nullptr, TRUE);
    GiveSystemMenuStyle();
    SetNonClientTransitions(form_->WindowHandle(), true);
    RedrawWindow(form_->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

void TsSkinProvider::InitSkin() {
  if (!Skinned()) return;
  // The platform's own frame animations would show its frame for a moment.
  SetNonClientTransitions(form_->WindowHandle(), false);
  if (!sysMenu_) sysMenu_ = std::make_unique<TsSystemMenu>(this, form_);
  if (!ctrlAdapter_) {
    ctrlAdapter_ = std::make_unique<TzkCtrlAdapter>(form_, SkinManager());
    ctrlAdapter_->OnSkinItem = [this](TControl* item, bool& canBeAdded, std::string& section) {
      if (OnSkinItem) OnSkinItem(item, canBeAdded, section);
    };
  }
  ctrlAdapter_->AddAllItems();
  AttachMdiArea();
  UpdateExtBorder();
  TakeSystemMenuStyle();
  LookUpIndexes();
  mdiLineMade_ = MdiLineMade();
  UpdateFormColor();
  menuFont_.Reset();  // the menu line's font is the one at the manager's scale
  cache_.reset();
  title_.DropBand();
  InvalidateFrame(false);
  ApplyRegion(false);
  SetWindowPos(form_->WindowHandle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(form_->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// The platform must neither draw nor hit-test its own title buttons: the system-menu style
// goes while the provider draws the frame and comes back when it stops.
void TsSkinProvider::TakeSystemMenuStyle() {
  HWND wnd = form_->WindowHandle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (sysMenuTaken_) return;
  hadSysMenu_ = (style & WS_SYSMENU) != 0;
  if (hadSysMenu_) {
    SetWindowLongPtrW(wnd, GWL_STYLE, style & ~LONG_PTR(WS_SYSMENU));
    sysMenuTaken_ = true;
  }
}

void TsSkinProvider::GiveSystemMenuStyle() {
  if (!sysMenuTaken_ || !form_->HandleAllocated()) return;
  HWND wnd = form_->WindowHandle();
  SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_SYSMENU);
  sysMenuTaken_ = false;
}

void TsSkinProvider::LookUpIndexes() {
  skinData_->UpdateIndexes();
  title_.LookUp();
  LookUpMdiGlyphs();
}

// The big glyph set belongs to forms with a single or sizable border.
bool TsSkinProvider::TitleBigGlyphs() const {
  const TFormBorderStyle style = form_->BorderStyle();
  return style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
}

HWND TsSkinProvider::TitleWindow() const {
  return form_ && form_->HandleAllocated() ? form_->WindowHandle() : nullptr;
}

void TsSkinProvider::TitleButtonStateChanged(int kind, int state) {
  hint_.Arm(state == kButtonHot ? TitleButtonHint(*this, kind) : std::wstring());
}

// A custom button came, went or changed its look: the frame is laid out and drawn again.
void TsSkinProvider::TitleButtonsChanged() {
  if (title_.HotCode() >= kCustomButtonCode) title_.ForgetHot();
  if (!Skinned()) return;
  LookUpIndexes();
  InvalidateFrame(true);
}

// [SECTION] Form colour

TColor TsSkinProvider::FormColor() const {
  if (!Skinned() || skinData_->CustomColor() || !UseGlobalColor) return ColorToRGB(form_->Color());
  const TsSkinTables& t = SkinManager()->Tables();
  if (!t.IsValidSection(title_.FrameIndex())) return ColorToRGB(form_->Color());
  const TsGeneralData& s = t.Sections[size_t(title_.FrameIndex())];
  return ColorToRGB(active_ ? s.HotColor : s.Color);
}

void TsSkinProvider::UpdateFormColor() {
  if (!UseGlobalColor || skinData_->CustomColor()) return;
  const TColor c = FormColor();
  if (c != form_->Color()) form_->SetColor(c);
}

bool TsSkinProvider::PlainForm() const {
  const TsSkinTables& t = SkinManager()->Tables();
  if (!t.IsValidSection(title_.FrameIndex())) return true;
  const TsGeneralData& s = t.Sections[size_t(title_.FrameIndex())];
  return active_ ? s.HotGradientPercent + s.HotImagePercent <= 0 : s.GradientPercent + s.ImagePercent <= 0;
}

// What lies behind a child: the form colour over a plain "FORM" section, else the client
// part of the frame cache (the section as composed over the whole window).
void TsSkinProvider::AnswerBackground(TsBackgroundRequest& r) {
  const TPoint off = ClientOffset();
  if (!PlainForm()) RenderCache();
  if (PlainForm() || !cache_) {
    AnswerWithColor(r, FormColor());
    return;
  }
  AnswerWithBitmap(r, *cache_, off);
}

// The client area of a form whose section is not plain (or that shows a size grip) is the
// client part of the frame cache, copied in one blit; a plain one is filled with the form
// colour.
void TsSkinProvider::FillClientBackground(HDC dc, const TRect& r) {
  const TsFrameGeometry g = Geometry();
  if (PlainForm()) {
    TBrushHandle brush(CreateSolidBrush(COLORREF(FormColor())));
    const RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rc, brush.Get());
    if (GripShown(g)) PaintGripOver(dc, g);
    return;
  }
  RenderCache();
  if (!cache_) return;
  const TPoint off = ClientOffset();
  DrawBitmapToDC(dc, r.Left, r.Top, *cache_, TRect(off.X + r.Left, off.Y + r.Top, off.X + r.Right, off.Y + r.Bottom));
}

bool TsSkinProvider::EraseClient(TMessage& m) {
  if (!m.WParam || animating_) return false;
  RECT rc;
  GetClientRect(form_->WindowHandle(), &rc);
  FillClientBackground(HDC(m.WParam), TRect(rc.left, rc.top, rc.right, rc.bottom));
  m.Result = 1;
  return true;
}

void TsSkinProvider::DropOverlays() {
  if (title_.DropOverlays()) cacheStale_ = true;
  hint_.Cancel();
}

// Moving near an edge of the work area puts the form's edge on it (right, bottom, then left
// and top, which win).
void TsSkinProvider::SnapToScreen(WINDOWPOS& wp) const {
  HWND wnd = form_->WindowHandle();
  if ((wp.flags & SWP_NOMOVE) || IsZoomed(wnd) || (wp.x == 0 && wp.y == 0) || form_->Parent()) return;
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  if (!GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi)) return;
  int w = wp.cx, h = wp.cy;
  if (wp.flags & SWP_NOSIZE) {
    RECT r;
    GetWindowRect(wnd, &r);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  const RECT& a = mi.rcWork;
  if (std::abs(a.right - (wp.x + w)) < SnapBuffer) wp.x = a.right - w;
  if (std::abs(a.bottom - (wp.y + h)) < SnapBuffer) wp.y = a.bottom - h;
  if (std::abs(wp.x - a.left) < SnapBuffer) wp.x = a.left;
  if (std::abs(wp.y - a.top) < SnapBuffer) wp.y = a.top;
}

TPoint TsSkinProvider::ClientOffset() const {
  if (!form_ || !form_->HandleAllocated()) return TPoint{0, 0};
  const TRect c = ClientRectInWindow(form_->WindowHandle());
  return TPoint{c.Left, c.Top};
}

// [SECTION] Display scale

void TsSkinProvider::CalcFrame(TMessage& m) {
  CallPrevious(m);
  HWND wnd = form_->WindowHandle();
  if (m.LParam && Skinned() && !IsIconic(wnd))
    MoveClientToFrameDpi(*reinterpret_cast<RECT*>(m.LParam), GetWindowLongPtrW(wnd, GWL_STYLE),
                         GetWindowLongPtrW(wnd, GWL_EXSTYLE), WindowDpi(wnd), FrameDpi());
  ResizeForMdiLine(m);
}

// One scale per manager: the form that moved to another DPI sets it for every window the
// manager skins, and the manager announces the skin again at that scale.
void TsSkinProvider::DpiChanged(int dpi) {
  TsSkinView* view = SkinManager();
  if (!view || dpi <= 0 || form_->IsDestroying()) return;
  view->SetPixelsPerInch(dpi);
}

// [SECTION] IzkFrameProvider

void TsSkinProvider::RebuildFrame() {
  if (!Skinned()) return;
  InvalidateFrame(false);
  ApplyRegion(false);
  RedrawWindow(form_->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  UpdateExtBorder();
}

// A top-level framed form gets its border window while the manager asks for extended
// borders and layered windows exist; it loses it when they are switched off.
void TsSkinProvider::UpdateExtBorder() {
  TsSkinView* manager = SkinManager();
  const bool wanted = Skinned() && AllowExtBorders && manager && manager->ExtendedBorders() &&
                      !form_->Parent() && !MdiChild() && form_->BorderStyle() != TFormBorderStyle::bsNone;
  if (!wanted) {
    extBorder_.reset();
    return;
  }
  if (!extBorder_) extBorder_ = std::make_unique<TzkExtBorder>(form_->WindowHandle(), manager);
  if (OnExtHitTest)
    extBorder_->SetHitTest([this](TMessage& hit) {
      if (OnExtHitTest) OnExtHitTest(hit);
    });
  // A form frozen for a skin change looks hidden; its border is shown by the cross-fade.
  if (!animating_) extBorder_->Refresh(active_);
}

bool TsSkinProvider::SwitchLookWithBorder(uint16_t time) {
  if (!extBorder_ || !UpdateLayeredWindowProc()) return false;
  extBorder_->SwitchLook(time);
  return true;
}

HRGN TsSkinProvider::CopyWindowRegion() const {
  if (!form_ || !form_->HandleAllocated() || !regionApplied_) return nullptr;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  if (!rgn) return nullptr;
  const int kind = GetWindowRgn(form_->WindowHandle(), rgn);
  if (kind == ERROR || kind == NULLREGION) {
    DeleteObject(rgn);
    return nullptr;
  }
  return rgn;
}

// [SECTION] Skin commands

bool TsSkinProvider::SkinCommand(const TsSkinCommand& c, LRESULT& result) {
  switch (c.Code) {
    case zcSkinNew:
      if (SkinAvailable()) {
        // The provider sets itself up for the new skin, however the set-up ends.
        TFlagScope applying(applying_);
        InitSkin();
        RedrawWindow(form_->WindowHandle(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      return true;
    case zcSkinRemove:
      if (form_ && form_->HandleAllocated()) {
        hint_.Cancel();
        SetWindowRgn(form_->WindowHandle(), nullptr, TRUE);
        regionApplied_ = false;
        mdiLineMade_ = false;  // the frame change below gives the platform's geometry back
        GiveSystemMenuStyle();
        SetNonClientTransitions(form_->WindowHandle(), true);
        if (UseGlobalColor && !skinData_->CustomColor()) form_->SetColor(clBtnFace);
        title_.FreeAnimations();
        ctrlAdapter_.reset();
        mdiArea_.reset();
        extBorder_.reset();
        cache_.reset();
        title_.DropBand();
        SetWindowPos(form_->WindowHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return true;
    case zcSkinRefresh:
      if (Skinned()) {
        // Controls made while the skin was being announced get their adapters now.
        if (ctrlAdapter_) ctrlAdapter_->AddAllItems();
        LookUpIndexes();
        UpdateFormColor();
        cache_.reset();
        InvalidateFrame(!animating_);
      }
      // The new skin's shadow images, or no border when extended borders went off.
      UpdateExtBorder();
      return true;
    case zcGetProvider:
      result = LRESULT(static_cast<IzkFrameProvider*>(this));
      return true;
    case zcIsSkinned:
      result = 1;
      return true;
    case zcRepaintFrame:
    case zcUpdateShadow:
      if (Skinned()) InvalidateFrame(true);
      if (extBorder_ && !animating_) extBorder_->Refresh(active_);
      return true;
    case zcChildAdded:
      ChildAdded(reinterpret_cast<TControl*>(c.Param));
      return true;
    case zcGetApplication:
      result = LRESULT(Application);
      return true;
    case zcGetClientOffset: {
      const TPoint p = ClientOffset();
      result = LRESULT(MAKELONG(p.X, p.Y));
      return true;
    }
    case zcGetBackgroundColor:
      result = LRESULT(FormColor());
      return true;
    case zcGetBackground:
      if (!Skinned() || !c.Param) return false;
      AnswerBackground(*reinterpret_cast<TsBackgroundRequest*>(c.Param));
      return true;
    case zcHasOwnBackground:
      result = PlainForm() ? 0 : 1;
      return true;
    default:
      return false;
  }
}

// [SECTION] Messages

void TsSkinProvider::CallPrevious(TMessage& m) {
  if (prevProc_) prevProc_(m);
}

// Default handling that would draw the platform's caption runs with the visible style bit
// cleared, so nothing of the platform frame flashes on the screen.
void TsSkinProvider::CallPreviousHidden(TMessage& m) {
  HWND wnd = form_->WindowHandle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (style & WS_VISIBLE) SetWindowLongPtrW(wnd, GWL_STYLE, style & ~LONG_PTR(WS_VISIBLE));
  CallPrevious(m);
  if (style & WS_VISIBLE)
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
}

void TsSkinProvider::NewWndProc(TMessage& m) {
  if (!attached_) {
    CallPrevious(m);
    return;
  }
  if (IsSkinCommand(m)) {
    const TzkCommandCode code = TzkCommandCode(CommandCodeOf(m.WParam));
    const bool always = code == zcSkinNew || code == zcSkinRemove || code == zcGetProvider ||
                        code == zcIsSkinned;
    if ((always || Skinned()) && DispatchSkinCommand(*this, m)) return;
    CallPrevious(m);
    return;
  }
  if (m.Msg == WM_CREATE) {
    // A provider made before its form's window is set up as soon as the window exists.
    CallPrevious(m);
    if (m.Result != -1 && !MdiChild() && !sysMenu_) {
      active_ = GetActiveWindow() == form_->WindowHandle();
      InitSkin();
    }
    return;
  }
  if (m.Msg == WM_NCDESTROY) {
    hint_.Cancel();
    extBorder_.reset();
    CallPrevious(m);
    Detach();
    return;
  }
  if (!Skinned() || !HandleFrameMessage(m)) CallPrevious(m);
}

// One drag of rmBorder: an inverted outline follows the pointer (moving it, or the edges the
// press was on) until the button comes up; the window then takes the outline's place.
// Escape or a lost capture leaves the window where it was.
bool TsSkinProvider::OutlineDrag(WPARAM hit, LPARAM screenPoint) {
  HWND wnd = form_->WindowHandle();
  RECT start;
  GetWindowRect(wnd, &start);
  const POINT from = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  RECT now = start;
  SetCapture(wnd);
  InvertOutline(now);
  bool done = false, cancelled = false;
  MSG msg;
  while (!done) {
    if (GetCapture() != wnd) {
      cancelled = true;
      break;
    }
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));  // the quit goes on to the program's own loop
      cancelled = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      POINT p = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      ClientToScreen(msg.hwnd, &p);
      InvertOutline(now);
      now = DraggedRect(start, hit, POINT{p.x - from.x, p.y - from.y});
      InvertOutline(now);
      done = msg.message == WM_LBUTTONUP;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      cancelled = done = true;
    } else if (msg.message != WM_KEYDOWN) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  InvertOutline(now);
  if (GetCapture() == wnd) ReleaseCapture();
  if (!cancelled)
    SetWindowPos(wnd, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

bool TsSkinProvider::HandleFrameMessage(TMessage& m) {
  HWND wnd = form_->WindowHandle();
  switch (m.Msg) {
    case WM_NCPAINT:
      PaintFrameToWindow();
      m.Result = 0;
      return true;
    case WM_ERASEBKGND:
      return EraseClient(m);
    case WM_SYSCOMMAND:
      // Alt+Space: the platform shows no menu of a window without the system-menu style.
      if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == ' ' && hadSysMenu_ && sysMenu_) {
        SetHotButton(0);
        ShowSystemMenuAtIcon();
        m.Result = 0;
        return true;
      }
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE) DropOverlays();
      return false;
    case WM_CONTEXTMENU:
      // Items added to the form's menu since the skin was applied get the painter's handlers.
      if (TsSkinableMenus* menus = SkinableMenusOf(SkinManager()); menus && form_->PopupMenu())
        menus->HookMenu(form_->PopupMenu(), SkinManager()->Active());
      return false;
    case WM_WINDOWPOSCHANGING:
      if (auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam)) {
        if (wp->flags & SWP_HIDEWINDOW) DropOverlays();
        if (ScreenSnap) SnapToScreen(*wp);
      }
      return false;
    case WM_SHOWWINDOW:
      if (!m.WParam) DropOverlays();
      return HandleShowWindow(m);
    case WM_NCACTIVATE: {
      const bool active = m.WParam != 0;
      if (!active) DropOverlays();
      if (active != active_) {
        active_ = active;
        cacheStale_ = true;
        UpdateFormColor();
      }
      if (!active) hint_.Cancel();
      CallPreviousHidden(m);
      PaintFrameToWindow();
      if (extBorder_) extBorder_->Refresh(active_);
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      // Moves, sizes, showing, hiding and minimizing all arrive here.
      CallPrevious(m);
      if (auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
          wp && ((~wp->flags & (SWP_NOMOVE | SWP_NOSIZE)) || (wp->flags & SWP_HIDEWINDOW)))
        hint_.Cancel();
      if (extBorder_ && !animating_) extBorder_->Follow();
      return true;
    case WM_SETTEXT:
      CallPreviousHidden(m);
      InvalidateFrame(true);
      TellMdiFrame();
      return true;
    case WM_SETICON:
      CallPrevious(m);
      InvalidateFrame(true);
      TellMdiFrame();
      return true;
    case WM_SIZE: {
      if (m.WParam == SIZE_MINIMIZED) DropOverlays();
      CallPrevious(m);
      RECT r;
      GetWindowRect(wnd, &r);
      // A maximized MDI child keeps its size while its frame is cut away or given back.
      if (r.right - r.left != regionSize_.X || r.bottom - r.top != regionSize_.Y || MdiChild()) {
        cacheStale_ = true;
        ApplyRegion(true);
      }
      if (MdiChild()) TellMdiFrame();
      return true;
    }
    case WM_MDIACTIVATE:
      CallPrevious(m);
      TellMdiFrame();
      return true;
    case WM_GETMINMAXINFO:
      CallPrevious(m);
      if (!MdiChild() && !form_->Parent() && m.LParam)
        SetMaximizedPlacement(*reinterpret_cast<MINMAXINFO*>(m.LParam));
      return true;
    case WM_NCCALCSIZE:
      CalcFrame(m);
      return true;
    case CM_DPICHANGED:
      CallPrevious(m);
      DpiChanged(int(m.LParam));
      return true;
    case WM_NCHITTEST: {
      POINT sp = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT wr;
      GetWindowRect(wnd, &wr);
      const int r = HitTest(TPoint{sp.x - wr.left, sp.y - wr.top});
      if ((r < kMdiButtonCode || r >= kMdiButtonCode + kMdiButtonCount) && !mdiPressed_) SetMdiHot(0);
      if (r == HTMENU && mdiLineMade_) {
        m.Result = HTMENU;  // the line the provider added is unknown to the platform
        return true;
      }
      if (r == HTNOWHERE || r == HTCLIENT || r == HTCAPTION || r == HTMENU) {
        if (!title_.Pressed()) SetHotButton(0);
        CallPrevious(m);
      } else {
        m.Result = r;
      }
      return true;
    }
    case WM_NCMOUSEMOVE:
      TrackNonClientLeave();
      return false;
    case WM_NCMOUSELEAVE:
      leaveTracked_ = false;
      if (!title_.Pressed()) SetHotButton(0);
      if (!mdiPressed_) SetMdiHot(0);
      return false;
    case WM_MOUSELEAVE:
      if (!title_.Pressed()) SetHotButton(0);
      if (!mdiPressed_) SetMdiHot(0);
      return false;
    case WM_NCLBUTTONDOWN:
      return NonClientButtonDown(int(m.WParam), m);
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
      if (mdiPressed_) {
        POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (m.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
        RECT wr;
        GetWindowRect(wnd, &wr);
        return MdiButtonUp(TPoint{p.x - wr.left, p.y - wr.top});
      }
      if (!title_.Pressed()) {
        if (m.Msg == WM_NCLBUTTONUP) SetHotButton(0);
        return false;
      }
      POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (m.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
      RECT wr;
      GetWindowRect(wnd, &wr);
      return ReleaseButton(TPoint{p.x - wr.left, p.y - wr.top}, m);
    }
    case WM_CAPTURECHANGED:
      if (title_.Pressed() && HWND(m.LParam) != wnd) {
        title_.ClearPressed();
        SetHotButton(0);
      }
      if (mdiPressed_ && HWND(m.LParam) != wnd) {
        mdiPressed_ = false;
        SetMdiHot(0);
      }
      return false;
    case WM_NCLBUTTONDBLCLK:
      return DoubleClick(int(m.WParam));
    case WM_NCRBUTTONDOWN:
      return m.WParam == HTCAPTION || m.WParam == HTSYSMENU;
    case WM_NCRBUTTONUP:
      if (m.WParam != HTCAPTION && m.WParam != HTSYSMENU) return false;
      SetHotButton(0);
      PopupSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      return true;
    case CM_VISIBLECHANGED:
      CallPrevious(m);
      if (m.WParam) {
        // Controls made after the provider was set up get their adapters when it shows.
        if (ctrlAdapter_) ctrlAdapter_->AddAllItems();
        ShowTransition();
      }
      return true;
    case WM_SETTINGCHANGE:
      cacheStale_ = true;
      return false;
    case WM_NOTIFY:
      // A tab control changed its page: controls on the page now shown get their adapters.
      CallPrevious(m);
      if (m.LParam && reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(TCN_SELCHANGE) && ctrlAdapter_)
        ctrlAdapter_->AddAllItems();
      return true;
    default:
      return false;
  }
}

bool TsSkinProvider::HandleShowWindow(TMessage& m) {
  HWND wnd = form_->WindowHandle();
  // Under composition the frame is drawn before the platform shows the window, so its
  // first composed picture is the skinned one.
  if (m.WParam && !form_->Parent() && !MdiChild() && CompositionEnabled() &&
      !(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
    InvalidateFrame(false);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  if (!MdiFrame()) return false;
  // Children made while the frame was hidden get their frames now.
  CallPrevious(m);
  ClassifyMDIChildren(form_);
  return true;
}

// A maximized top-level form covers the work area of its monitor (not the whole monitor, so
// the task bar stays visible); its border lies just outside, where the region cuts it away.
void TsSkinProvider::SetMaximizedPlacement(MINMAXINFO& info) const {
  HWND wnd = form_->WindowHandle();
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  if (!GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi)) return;
  const int w = Geometry().W;
  const RECT& work = mi.rcWork;
  info.ptMaxPosition = {work.left - mi.rcMonitor.left - w, work.top - mi.rcMonitor.top - w};
  info.ptMaxSize = {work.right - work.left + 2 * w, work.bottom - work.top + 2 * w};
}

// A control was put on the form: a windowed one is adapted alone, anything else (or no
// control named) has the whole form walked again.
void TsSkinProvider::ChildAdded(TControl* control) {
  if (!ctrlAdapter_) return;
  auto* w = dynamic_cast<TWinControl*>(control);
  if (w && w->HandleAllocated() && (SkinManager()->SkinningRules() & srThirdParty) &&
      ThirdListOf(*SkinManager(), WideToUtf8(w->ClassName())) >= 0)
    ctrlAdapter_->AddNewItem(w, std::string());
  else
    ctrlAdapter_->AddAllItems();
}

void TsSkinProvider::TrackNonClientLeave() {
  if (leaveTracked_) return;
  TRACKMOUSEEVENT t = {sizeof(t), TME_LEAVE | TME_NONCLIENT, form_->WindowHandle(), 0};
  leaveTracked_ = TrackMouseEvent(&t) != FALSE;
}

// A skinned top-level form that becomes visible is switched to its look by the manager's
// form transition; a transition without frames (under 8 ms) would only flash a cover.
void TsSkinProvider::ShowTransition() {
  TsSkinView* manager = SkinManager();
  if (!manager || form_->Parent() || MdiChild() || !form_->HandleAllocated()) return;
  const TFormBorderStyle style = form_->BorderStyle();
  const bool formLike = style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
  const TzkAnimEffects& effects = manager->AnimEffects();
  const TzkFormAnimation& a = formLike ? static_cast<const TzkFormAnimation&>(effects.FormShow)
                                       : static_cast<const TzkFormAnimation&>(effects.DialogShow);
  if (!a.Active || a.Time < 8 || !IsWindowVisible(form_->WindowHandle())) return;
  SwitchFormLook(form_, a.Time, CopyWindowRegion());
}

void TsSkinProvider::PopupSystemMenu(int x, int y) {
  if (!sysMenu_) return;
  sysMenu_->ShowAt(x, y);
}
