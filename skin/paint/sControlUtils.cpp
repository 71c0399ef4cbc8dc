#include "skin/paint/sControlUtils.h"

#include <vector>

#include "skin/data/sSkinCommands.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

// "UXTHEME" stays loaded from module start to module end.
class TUxThemeLibrary {
 public:
  TUxThemeLibrary() : library_(LoadLibraryW(L"UXTHEME")) {
    if (library_)
      setWindowTheme_ = reinterpret_cast<TSetWindowThemeProc>(
          reinterpret_cast<void*>(GetProcAddress(library_, "SetWindowTheme")));
  }
  ~TUxThemeLibrary() {
    if (library_) FreeLibrary(library_);
  }
  TUxThemeLibrary(const TUxThemeLibrary&) = delete;
  TUxThemeLibrary& operator=(const TUxThemeLibrary&) = delete;
  TSetWindowThemeProc SetWindowTheme() const { return setWindowTheme_; }

 private:
  HMODULE library_;
  TSetWindowThemeProc setWindowTheme_ = nullptr;
};

TUxThemeLibrary uxTheme;

bool IsWindowedWithHandle(TControl* c) {
  return c->IsWindowed() && static_cast<TWinControl*>(c)->HandleAllocated();
}

void Deliver(TControl* c, const TMessage& message) {
  if (IsWindowedWithHandle(c))
    SendMessageW(static_cast<TWinControl*>(c)->WindowHandle(), message.Msg, message.WParam,
                 message.LParam);
  else
    c->Perform(message.Msg, message.WParam, message.LParam);
}

BOOL CALLBACK SendToDirectChild(HWND child, LPARAM data) {
  auto* job = reinterpret_cast<std::pair<HWND, const TMessage*>*>(data);
  if (GetAncestor(child, GA_PARENT) == job->first)
    SendMessageW(child, job->second->Msg, job->second->WParam, job->second->LParam);
  return TRUE;
}

// The container's background as it answers command 34; its colour when nobody answers.
TsBackgroundRequest ContainerBackground(TWinControl* container) {
  TsBackgroundRequest request;
  request.Rect = container->ClientRect();
  SendCommandToControl(container, zcGetBackground, LPARAM(&request));
  if (request.BgType == btNotAnswered ||
      (request.BgType == btBitmap && (!request.Bitmap || request.Bitmap->Empty()))) {
    request.BgType = btColor;
    request.Color = ControlColor(container);
  }
  return request;
}

void FillBehind(HDC dc, TControl* child, const TsBackgroundRequest& bg) {
  const TRect r = child->BoundsRect();
  const bool opaque = (child->ControlStyle() & csOpaque) != 0;
  if (!opaque && bg.BgType == btBitmap) {
    DrawBitmapToDC(dc, r.Left, r.Top, *bg.Bitmap,
                   TRect(r.Left + bg.X, r.Top + bg.Y, r.Right + bg.X, r.Bottom + bg.Y));
    return;
  }
  const TColor color = opaque ? ControlColor(child) : ColorToRGB(bg.Color);
  TBrushHandle brush(CreateSolidBrush(COLORREF(color)));
  const RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
  FillRect(dc, &rc, brush.Get());
}

void PaintChildAt(HDC dc, TControl* child) {
  TSaveDc save(dc);
  POINT old;
  OffsetViewportOrgEx(dc, child->Left(), child->Top(), &old);
  IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
  child->PaintTo(dc);
}

bool BoundsVisible(HDC dc, const TRect& r) {
  const RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
  return RectVisible(dc, &rc) != FALSE;
}

}  // namespace

// [SECTION] Sending commands

LRESULT SendCommandToWindow(HWND wnd, uint16_t code, LPARAM param, uint16_t lo) {
  if (!wnd) return 0;
  return SendMessageW(wnd, SM_ORVEXCMD, WPARAM(MakeCommandWParam(code, lo)), param);
}

LRESULT SendCommandToControl(TControl* control, uint16_t code, LPARAM param, uint16_t lo) {
  if (!control) return 0;
  if (control->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(control);
    if (w->IsDestroying() || !w->HandleAllocated()) return 0;
    return SendCommandToWindow(w->WindowHandle(), code, param, lo);
  }
  return control->Perform(SM_ORVEXCMD, WPARAM(MakeCommandWParam(code, lo)), param);
}

bool CommandAnswersTrue(TControl* control, uint16_t code) {
  return SendCommandToControl(control, code) == 1;
}

bool CommandAnswersTrue(HWND wnd, uint16_t code) { return SendCommandToWindow(wnd, code) == 1; }

// [SECTION] State and colours

bool IsShowingForSkin(TControl* control) {
  if (!control || !control->Parent()) return false;
  if (control->IsWindowed() && !static_cast<TWinControl*>(control)->HandleAllocated())
    return false;
  return (control->ComponentState() & (csLoading | csReading | csDestroying)) == 0;
}

TColor ControlColor(TControl* control) {
  if (!control) return clFuchsia;
  if (IsSkinnedControl(control))
    return ColorToRGB(TColor(SendCommandToControl(control, zcGetBackgroundColor, clFuchsia)));
  return ColorToRGB(control->Color());
}

TColor WindowColor(HWND wnd) {
  if (!wnd) return clFuchsia;
  return ColorToRGB(TColor(SendCommandToWindow(wnd, zcGetBackgroundColor)));
}

// [SECTION] Broadcasting

void BroadcastToControls(TWinControl* container, const TMessage& message) {
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* child = container->Controls(i);
    if (child->IsDestroying()) return;
    if (!IsWindowedWithHandle(child) || IsSkinnedControl(child))
      Deliver(child, message);
    else
      BroadcastToControls(static_cast<TWinControl*>(child), message);
  }
}

void BroadcastToChildWindows(HWND wnd, const TMessage& message) {
  if (!wnd) return;
  std::pair<HWND, const TMessage*> job(wnd, &message);
  EnumChildWindows(wnd, SendToDirectChild, LPARAM(&job));
}

void WakePostponedChildren(TWinControl* container) {
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* child = container->Controls(i);
    if (!child->IsWindowed() || child->IsDestroying()) continue;
    auto* w = static_cast<TWinControl*>(child);
    if (w->HandleAllocated() && w->Showing())
      SendCommandToWindow(w->WindowHandle(), zcParentUpdateEnd);
  }
}

void WakePostponedWindows(HWND wnd) {
  if (!wnd) return;
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)
      SendCommandToWindow(child, zcParentUpdateEnd);
}

// [SECTION] Painting

void PaintGraphicChildren(HDC target, TWinControl* container, TPoint offset) {
  if (!target || !container || container->ControlCount() == 0) return;
  if (!container->Visible() && !container->IsDesigning()) return;
  RECT clip;
  if (GetClipBox(target, &clip) == NULLREGION) {
    SendCommandToControl(container, zcSetHalfVisible);
    return;
  }
  std::vector<TControl*> candidates;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* c = container->Controls(i);
    if (!c->IsWindowed() && c->Visible() && c->Width() >= 1 && c->Height() >= 1 &&
        !c->IsDestroying())
      candidates.push_back(c);
  }
  if (candidates.empty()) return;
  const TsBackgroundRequest bg = ContainerBackground(container);
  const TRect area = container->ClientRect();
  TBitmapHandle bitmap(CreateCompatibleBitmap(target, std::max(1, area.Width()),
                                              std::max(1, area.Height())));
  TBitmapDc buffer(bitmap.Get(), target);
  if (!buffer) return;
  std::vector<TControl*> painted;
  for (TControl* c : candidates) {
    TRect onTarget = c->BoundsRect();
    onTarget = TRect(onTarget.Left + offset.X, onTarget.Top + offset.Y,
                     onTarget.Right + offset.X, onTarget.Bottom + offset.Y);
    if (!BoundsVisible(target, onTarget)) {
      SendCommandToControl(c, zcSetHalfVisible);
      continue;
    }
    FillBehind(buffer.Get(), c, bg);
    PaintChildAt(buffer.Get(), c);
    painted.push_back(c);
  }
  for (TControl* c : painted)
    TransparentBlt(target, c->Left() + offset.X, c->Top() + offset.Y, c->Width(), c->Height(),
                   buffer.Get(), c->Left(), c->Top(), c->Width(), c->Height(), UINT(clFuchsia));
}

void AnnounceToParentForm(TControl* control) {
  if (!control || control->IsDesigning() || control->IsLoading()) return;
  if (TCustomForm* form = control->ParentForm(); form && form != control)
    SendCommandToControl(form, zcChildAdded, LPARAM(control));
}

// [SECTION] Geometry

int AlignedSize(TWinControl* container, TAlign side, bool includeWindowless) {
  if (!container || side == TAlign::alNone || side == TAlign::alClient) return 0;
  const bool vertical = side == TAlign::alTop || side == TAlign::alBottom;
  int size = 0;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* c = container->Controls(i);
    if (c->Align() != side || !c->Visible()) continue;
    if (!c->IsWindowed() && !includeWindowless) continue;
    size += vertical ? c->Height() : c->Width();
  }
  return size;
}

UINT TextFlagsForAlignment(TControl* control, TAlignment alignment) {
  TControl* windowed = control;
  while (windowed && !windowed->IsWindowed()) windowed = windowed->Parent();
  HWND wnd = windowed ? static_cast<TWinControl*>(windowed)->WindowHandle() : nullptr;
  const bool rightToLeft = wnd && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_RTLREADING);
  UINT flags = DT_EXPANDTABS | DT_VCENTER;
  switch (alignment) {
    case TAlignment::taLeftJustify: flags |= rightToLeft ? DT_RIGHT : DT_LEFT; break;
    case TAlignment::taRightJustify: flags |= rightToLeft ? DT_LEFT : DT_RIGHT; break;
    case TAlignment::taCenter: flags |= DT_CENTER; break;
  }
  if (rightToLeft) flags |= DT_RTLREADING;
  return flags;
}

HWND TopAncestorWindow(HWND wnd) {
  if (!wnd) return nullptr;
  for (HWND parent = GetParent(wnd); parent && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD);
       parent = GetParent(wnd))
    wnd = parent;
  return wnd;
}

TRect ClientRectInWindow(HWND wnd) {
  RECT window, client;
  if (!wnd || !GetWindowRect(wnd, &window) || !GetClientRect(wnd, &client)) return TRect();
  POINT origin = {0, 0};
  ClientToScreen(wnd, &origin);
  const int x = origin.x - window.left;
  const int y = origin.y - window.top;
  return TRect(x, y, x + client.right, y + client.bottom);
}

void DrawAroundClient(HWND wnd, const TzkBitmap& image, const TRect& client) {
  TWindowDc dc(wnd, true);
  if (!dc.Get()) return;
  TSaveDc save(dc.Get());
  ExcludeClipRect(dc.Get(), client.Left, client.Top, client.Right, client.Bottom);
  DrawBitmapToDC(dc.Get(), 0, 0, image, TRect(0, 0, image.Width(), image.Height()));
}

void AnswerWithBitmap(TsBackgroundRequest& r, TzkBitmap& image, TPoint origin) {
  r.BgType = btBitmap;
  if (r.PleaseDraw && r.DC) {
    DrawBitmapToDC(r.DC, r.Rect.Left, r.Rect.Top, image,
                   TRect(origin.X + r.X, origin.Y + r.Y, origin.X + r.X + r.Rect.Width(),
                         origin.Y + r.Y + r.Rect.Height()));
  } else {
    r.Bitmap = &image;
    r.X = origin.X;
    r.Y = origin.Y;
  }
}

// [SECTION] Cover window

TOutputWindow::TOutputWindow(TComponent* owner) : TCustomControl(owner) {
  SetCaption(L"zkOutputWindow");
  SetColor(0x800080);
  SetVisible(false);
}

void TOutputWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (popup_) {
    params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.WndParent = Application->Handle();
  }
}

void TOutputWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT: {
      // The screen under the cover stays as it was: validate without drawing.
      if (!m.WParam) ValidateRect(WindowHandle(), nullptr);
      return;
    }
    case WM_NCPAINT:
      return;
    default:
      TCustomControl::WndProc(m);
  }
}

namespace {

void SnapshotScreen(TzkBitmap& snapshot, const RECT& r) {
  snapshot = TzkBitmap(std::max(1, int(r.right - r.left)), std::max(1, int(r.bottom - r.top)),
                       TPixelFormat::pf24bit);
  TWindowDc screen(nullptr);
  CopyDCToBitmap(snapshot, screen.Get(), r.left, r.top);
}

}  // namespace

void CoverForm(TCustomForm* form, TzkBitmap& snapshot, TOutputWindow*& cover) {
  if (!form) return;
  HWND formWnd = form->Handle();
  RECT r;
  GetWindowRect(formWnd, &r);
  if (snapshot.Empty()) SnapshotScreen(snapshot, r);
  if (!cover) {
    cover = new TOutputWindow(form);
    cover->SetPopup(form->Parent() == nullptr);
  }
  if (TWinControl* parent = form->Parent()) {
    cover->SetParent(parent);
    cover->SetBounds(form->Left(), form->Top(), form->Width(), form->Height());
    HWND above = GetWindow(formWnd, GW_HWNDPREV);
    SetWindowPos(cover->Handle(), above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(cover->Handle(), SW_SHOWNOACTIVATE);
    return;
  }
  const bool topmost = (GetWindowLongPtrW(formWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  HWND wnd = cover->Handle();
  SetWindowPos(wnd, topmost ? HWND_TOPMOST : HWND_TOP, r.left, r.top, r.right - r.left,
               r.bottom - r.top, SWP_NOACTIVATE);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

// [SECTION] Visual themes

TSetWindowThemeProc SetWindowThemeProc() { return uxTheme.SetWindowTheme(); }

TUpdateLayeredWindowProc UpdateLayeredWindowProc() {
  static const TUpdateLayeredWindowProc proc = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<TUpdateLayeredWindowProc>(
                      reinterpret_cast<void*>(GetProcAddress(user, "UpdateLayeredWindow")))
                : nullptr;
  }();
  return proc;
}
