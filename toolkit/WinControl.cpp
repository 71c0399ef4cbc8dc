#include "toolkit/WinControl.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/WideText.h"
#include "toolkit/WindowTable.h"

namespace {

// Controls whose windows are being made, innermost last: a window created while another is
// being created (from a creation hook or a WM_CREATE handler) finds its own control.
thread_local std::vector<TWinControl*> g_creating;

class TCreationEntry {
 public:
  explicit TCreationEntry(TWinControl* c) { g_creating.push_back(c); }
  ~TCreationEntry() { g_creating.pop_back(); }
  TCreationEntry(const TCreationEntry&) = delete;
  TCreationEntry& operator=(const TCreationEntry&) = delete;
};

// A control ID no sibling under `parent` uses, so WM_COMMAND, WM_DRAWITEM and WM_MEASUREITEM
// (found with GetDlgItem) reach the right child.
HMENU UniqueChildId(HWND parent) {
  static UINT next = 0;
  for (UINT tries = 0; tries < 0xFFFF; ++tries) {
    next = next % 0xFFFE + 1;  // 1 .. 0xFFFE: the low word of WM_COMMAND
    if (!parent || !GetDlgItem(parent, int(next))) break;
  }
  return reinterpret_cast<HMENU>(uintptr_t(next));
}

// Registers p.WinClassName once: our own class, or a superclass of p.SystemClass that
// starts in InitWndProc. Returns the procedure unhandled messages go to.
WNDPROC RegisterControlClass(const TCreateParams& p, WNDPROC initProc) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW base = {};
  base.cbSize = sizeof(base);
  WNDPROC defProc = DefWindowProcW;
  if (!p.SystemClass.empty()) {
    if (!GetClassInfoExW(nullptr, p.SystemClass.c_str(), &base))
      throw std::runtime_error("Unknown window class " + WideToUtf8(p.SystemClass));
    defProc = base.lpfnWndProc;
  }
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(inst, p.WinClassName.c_str(), &existing)) return defProc;
  WNDCLASSEXW wc = base;
  wc.cbSize = sizeof(wc);
  if (p.SystemClass.empty()) {
    wc.style = p.ClassStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  }
  wc.style &= ~UINT(CS_GLOBALCLASS);
  wc.lpfnWndProc = initProc;
  wc.hInstance = inst;
  wc.lpszClassName = p.WinClassName.c_str();
  wc.lpszMenuName = nullptr;
  if (!RegisterClassExW(&wc)) {
    const DWORD error = GetLastError();
    throw std::runtime_error("Cannot register window class " + WideToUtf8(p.WinClassName) + ": " +
                             WideToUtf8(SystemErrorText(error)));
  }
  return defProc;
}

bool IsMouseMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP ||
         msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP ||
         msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP;
}

}  // namespace

// The control of each window of ours. A window property would do, but under Wine each lookup
// of one is a round trip to the server, and the procedure and the reflection of notifications
// ask on every message. An entry goes when its window is destroyed or its control lets go.
static TWindowTable<TWinControl*>& AttachedControls() {
  static TWindowTable<TWinControl*> table;
  return table;
}

// Every window of ours runs this procedure; exceptions stop here and go to the general
// error handler, so they never cross the platform's frames.
LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = nullptr;
  AttachedControls().Find(wnd, control);
  if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WindowProc(m);
  } catch (const std::exception& e) {
    Application->HandleException(control, &e);
  } catch (...) {
    Application->HandleException(control, nullptr);
  }
  if (msg == WM_NCDESTROY && control->handle_ == wnd) control->Detach();
  return m.Result;
}

// The first procedure of windows of our classes (own ones and superclasses of platform
// classes): attaches the window to the control being created from its first message
// (WM_NCCREATE) on, then hands over to StdWndProc.
LRESULT CALLBACK InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = g_creating.empty() ? nullptr : g_creating.back();
  if (!control || control->handle_) return DefWindowProcW(wnd, msg, wParam, lParam);
  control->Attach(wnd);
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc));
  return StdWndProc(wnd, msg, wParam, lParam);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    delete c;
  }
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  TWinControl* control = nullptr;
  if (wnd) AttachedControls().Find(wnd, control);
  return control;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.WinClassName = ClassName();
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!enabled_) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  if (controlStyle_ & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  if (Parent()) p.WndParent = Parent()->Handle();
}

HWND TWinControl::Handle() {
  if (handle_) return handle_;
  if (IsDestroying()) return nullptr;
  TCreateParams p;
  CreateParams(p);
  defWndProc_ = RegisterControlClass(p, InitWndProc);
  if ((p.Style & WS_CHILD) && !p.Id) p.Id = UniqueChildId(p.WndParent);
  {
    TCreationEntry entry(this);
    CreateWindowHandle(p);
  }
  if (!handle_) {
    const DWORD error = GetLastError();
    throw std::runtime_error("Cannot create window of class " + WideToUtf8(p.WinClassName) +
                             ": " + WideToUtf8(SystemErrorText(error)));
  }
  CreateWnd();
  const auto watchers = handleWatchers_;
  for (const auto& [id, created] : watchers)
    if (handle_) created(handle_);
  return handle_;
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                  p.Width, p.Height, p.WndParent, p.Id, GetModuleHandleW(nullptr), nullptr);
}

int TWinControl::WatchHandle(std::function<void(HWND)> created) {
  const int id = nextWatcherId_++;
  handleWatchers_[id] = std::move(created);
  return id;
}

void TWinControl::UnwatchHandle(int id) { handleWatchers_.erase(id); }

void TWinControl::Attach(HWND wnd) {
  handle_ = wnd;
  AttachedControls().Set(wnd, this);
}

void TWinControl::Detach() {
  if (!handle_) return;
  TWinControl* listed = nullptr;
  if (AttachedControls().Find(handle_, listed) && listed == this) AttachedControls().Remove(handle_);
  handle_ = nullptr;
}

void TWinControl::CreateWnd() {
  SendMessageW(handle_, WM_SETFONT, WPARAM(Font().Handle()), 0);
  // Windowed children get their windows now, in tab order (which is also their z-order).
  for (TWinControl* c : tabList_) c->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  DestroyWnd();
  HWND wnd = handle_;
  DestroyWindow(wnd);
  if (handle_ == wnd) Detach();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    tabList_.push_back(w);
    if (handle_) w->HandleNeeded();
  } else {
    c->Invalidate();
  }
}

void TWinControl::RemoveControl(TControl* c) {
  if (c->parent_ != this) return;
  if (mouseCapture_ == c) mouseCapture_ = nullptr;
  if (!c->IsWindowed()) c->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    if (TCustomForm* f = ParentForm()) f->ControlRemoved(w);
    w->DestroyHandle();
  }
  c->parent_ = nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp(order, 0, int(list.size()));
  list.insert(list.begin() + order, this);
  if (handle_) {
    HWND after = order == 0 ? HWND_TOP : list[size_t(order) - 1]->WindowHandle();
    if (after) SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::SetTabStop(bool on) {
  if (on == tabStop_) return;
  tabStop_ = on;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = on ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP));
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (handle_) {
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // WM_WINDOWPOSCHANGED stored the result; keep the request when the window was not moved.
    if (left_ != left || top_ != top || width_ != width || height_ != height)
      TControl::SetBounds(left, top, width, height);
  } else {
    TControl::SetBounds(left, top, width, height);
  }
}

// The children go before the control's own size: a control that places its children itself
// when it is resized (the arrows of a spin edit) then places them last, at the new scale,
// instead of having its placing scaled once more.
void TWinControl::ChangeScale(int fromDpi, int toDpi) {
  if (fromDpi == toDpi) return;
  ScaleFont(fromDpi, toDpi);
  ScaleChildren(fromDpi, toDpi);
  ScaleBounds(fromDpi, toDpi);
}

void TWinControl::ScaleChildren(int fromDpi, int toDpi) {
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->ChangeScale(fromDpi, toDpi);
  AlignControls();
}

void TWinControl::AlignControls() {
  if (aligning_) return;
  aligning_ = true;
  TRect r = ClientRect();
  for (TAlign side : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                      TAlign::alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != side || !c->Visible()) continue;
      const int w = c->Width(), h = c->Height();
      switch (side) {
        case TAlign::alTop: c->SetBounds(r.Left, r.Top, r.Width(), h); r.Top += h; break;
        case TAlign::alBottom: c->SetBounds(r.Left, r.Bottom - h, r.Width(), h); r.Bottom -= h; break;
        case TAlign::alLeft: c->SetBounds(r.Left, r.Top, w, r.Height()); r.Left += w; break;
        case TAlign::alRight: c->SetBounds(r.Right - w, r.Top, w, r.Height()); r.Right -= w; break;
        default: c->SetBounds(r.Left, r.Top, r.Width(), r.Height()); break;
      }
    }
  }
  AlignedAreaLeft(r);
  aligning_ = false;
}

void TWinControl::UpdateBoundsFromWindow() {
  RECT r;
  GetWindowRect(handle_, &r);
  HWND parent = GetParent(handle_);
  if (parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const TRect b = FromRECT(r);
  if (b != BoundsRect()) UpdateBoundsRect(b);
}

TRect TWinControl::ClientRect() const {
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return FromRECT(r);
  }
  return TControl::ClientRect();
}

bool TWinControl::Showing() const {
  if (handle_) return IsWindowVisible(handle_) != FALSE;
  return visible_ && (!Parent() || Parent()->Showing());
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return ParentForm() != nullptr;
}

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (form && form != this) {
    form->FocusControl(this);
  } else if (handle_) {
    ::SetFocus(handle_);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward) const {
  std::vector<TWinControl*> order;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
    for (TWinControl* c : w->tabList_) {
      order.push_back(c);
      collect(c);
    }
  };
  collect(this);
  if (order.empty()) return nullptr;
  const int n = int(order.size());
  int start = int(std::find(order.begin(), order.end(), current) - order.begin());
  if (start == n) start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    const int i = forward ? (start + step) % n : (start - step + n) % n;
    TWinControl* c = order[size_t(i)];
    if (c->TabStop() && c->CanFocus()) return c;
  }
  return nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    c->WindowProc(m);
    if (m.Result) return;
  }
}

void TWinControl::NotifyShowing() {
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !w->Visible()) continue;
    w->Perform(CM_SHOWINGCHANGED, 1);
    w->NotifyShowing();
  }
}

std::wstring TWinControl::GetText() const {
  if (!handle_) return text_;
  const int n = GetWindowTextLengthW(handle_);
  std::wstring s(size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(handle_, s.data(), n + 1);
  s.resize(size_t(std::max(got, 0)));
  return s;
}

void TWinControl::TextChanged() {
  if (handle_) SetWindowTextW(handle_, text_.c_str());
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, WPARAM(Font().Handle()), TRUE);
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  for (TControl* c : controls_) c->ParentColorChanged();
}

bool TWinControl::WantsKey(WORD key) const {
  if (!handle_) return false;
  const LRESULT code = SendMessageW(handle_, WM_GETDLGCODE, key, 0);
  if (code & DLGC_WANTALLKEYS) return true;
  if (key == VK_TAB) return (code & DLGC_WANTTAB) != 0;
  return false;
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
  TCustomForm* form = ParentForm();
  if (form && form != this && form->KeyPreview() && form->OnKeyDown) {
    form->OnKeyDown(form, key, shift);
    if (key == 0) return true;
  }
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

bool TWinControl::WantsWindowlessPainting() const {
  for (TControl* c : controls_)
    if (!c->IsWindowed() && c->Visible()) return true;
  return false;
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, WPARAM(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    RECT clip;
    const RECT bounds = {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    if (GetClipBox(dc, &clip) != NULLREGION && !IntersectRect(&clip, &clip, &bounds)) continue;
    TSaveDc save(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    POINT old;
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &old);
    c->PaintTo(dc);
  }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  if (!Handle()) return;
  TSaveDc save(dc);
  OffsetViewportOrgEx(dc, x, y, nullptr);
  SendMessageW(handle_, WM_PRINT, WPARAM(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
}

namespace {

// The client area's offset inside the window rectangle.
POINT ClientOffsetInWindow(HWND wnd) {
  RECT window;
  GetWindowRect(wnd, &window);
  POINT origin = {0, 0};
  ClientToScreen(wnd, &origin);
  return POINT{origin.x - window.left, origin.y - window.top};
}

// A themed control draws its client edge with its visual style; so does its print. The
// theme library is looked up at run time, as it is not everywhere.
bool DrawThemedEdge(HWND wnd, HDC dc, const RECT& r) {
  using TGetWindowTheme = HANDLE(WINAPI*)(HWND);
  using TDrawThemeBackground = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  static HMODULE module = LoadLibraryW(L"uxtheme.dll");
  static auto getTheme = module ? reinterpret_cast<TGetWindowTheme>(reinterpret_cast<void*>(
                                      GetProcAddress(module, "GetWindowTheme")))
                                : nullptr;
  static auto drawBackground = module ? reinterpret_cast<TDrawThemeBackground>(reinterpret_cast<void*>(
                                            GetProcAddress(module, "DrawThemeBackground")))
                                      : nullptr;
  HANDLE theme = getTheme && drawBackground ? getTheme(wnd) : nullptr;
  if (!theme) return false;
  const POINT origin = ClientOffsetInWindow(wnd);
  RECT client;
  GetClientRect(wnd, &client);
  TSaveDc save(dc);
  ExcludeClipRect(dc, origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
  return SUCCEEDED(drawBackground(theme, dc, 0, 0, &r, nullptr));
}

}  // namespace

void TWinControl::Print(HDC dc, LPARAM flags) {
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(handle_)) return;
  if (flags & PRF_NONCLIENT) PrintFrame(dc, flags);
  if (!(flags & (PRF_CLIENT | PRF_CHILDREN))) return;
  const POINT origin = ClientOffsetInWindow(handle_);
  RECT client;
  GetClientRect(handle_, &client);
  TSaveDc save(dc);
  OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  if (flags & PRF_CLIENT) {
    TSaveDc clientState(dc);
    PrintClient(dc, flags);
  }
  if (flags & PRF_CHILDREN) PrintChildren(dc, flags);
}

void TWinControl::PrintFrame(HDC dc, LPARAM flags) {
  const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  if (style & WS_CAPTION) {
    // Caption and sizing frame: the platform draws what it can.
    TMessage m{WM_PRINT, WPARAM(dc), flags & (PRF_NONCLIENT | PRF_CHECKVISIBLE), 0};
    DefaultHandler(m);
    return;
  }
  RECT window;
  GetWindowRect(handle_, &window);
  RECT r = {0, 0, window.right - window.left, window.bottom - window.top};
  const LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
  if (style & WS_BORDER) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if ((ex & WS_EX_CLIENTEDGE) && DrawThemedEdge(handle_, dc, r)) return;
  if (ex & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (ex & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

void TWinControl::PrintClient(HDC dc, LPARAM flags) {
  if (defWndProc_ && defWndProc_ != DefWindowProcW) {
    PrintPlatformClient(dc, flags);
  } else {
    if (flags & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    if (dynamic_cast<TCustomControl*>(this)) PaintWindow(dc);
  }
  PaintControls(dc);
}

// A platform control paints itself, into a bitmap of its own whose origin is the client's:
// some platform controls clip to their client rectangle in device units and would paint
// nothing into a context whose origin is moved. What lies below shows where it paints not.
void TWinControl::PrintPlatformClient(HDC dc, LPARAM flags) {
  RECT client;
  GetClientRect(handle_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  TBitmapHandle bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  TBitmapDc own(bitmap.Get(), dc);
  if (!own) return;
  BitBlt(own.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  TMessage m{WM_PRINTCLIENT, WPARAM(own.Get()), flags, 0};
  DefaultHandler(m);
  BitBlt(dc, 0, 0, client.right, client.bottom, own.Get(), 0, 0, SRCCOPY);
}

void TWinControl::PrintChildren(HDC dc, LPARAM flags) {
  // Bottom of the z-order first, so the ones on top are printed over the others.
  for (HWND child = GetWindow(GetWindow(handle_, GW_CHILD), GW_HWNDLAST); child;
       child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
    TSaveDc save(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    SendMessageW(child, WM_PRINT, WPARAM(dc),
                 (flags & ~LPARAM(PRF_CHECKVISIBLE)) | PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  }
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
  TWinControl* c = FindControl(child);
  if (c && c != this) {
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::HandleCtlColor(TMessage& m) {
  HDC dc = HDC(m.WParam);
  SetTextColor(dc, ToColorRef(Font().Color()));
  SetBkColor(dc, ToColorRef(Color()));
  if (!colorBrush_ || colorBrushColor_ != Color()) {
    colorBrush_.Reset(CreateSolidBrush(ToColorRef(Color())));
    colorBrushColor_ = Color();
  }
  m.Result = LRESULT(colorBrush_.Get());
}

void TWinControl::RouteMouse(TMessage& m, bool& handled) {
  handled = false;
  const TPoint p(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)));
  TControl* target = mouseCapture_;
  if (!target) target = ControlAtPos(p);
  if (m.Msg == WM_MOUSEMOVE) {
    Application->SetMouseControl(target ? target : this);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  }
  if (!target) return;
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    mouseCapture_ = target;
    SetCapture(handle_);
  }
  const LPARAM local = MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
  target->Perform(m.Msg, m.WParam, local);
  if (m.Msg == WM_LBUTTONUP) {
    mouseCapture_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  handled = true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) return ReflectToChild(m, HWND(m.LParam));
      break;
    // A notification without its record (anybody can send one) names no child: it goes to
    // the default handling instead of being read through a null pointer.
    case WM_NOTIFY:
      if (m.LParam) return ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis && dis->CtlType != ODT_MENU) return ReflectToChild(m, dis->hwndItem);
      if (AnswerMenuOwnerDraw(m)) return;  // a menu this window owns
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis && mis->CtlType != ODT_MENU && handle_)
        return ReflectToChild(m, GetDlgItem(handle_, int(mis->CtlID)));
      if (AnswerMenuOwnerDraw(m)) return;
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return ReflectToChild(m, HWND(m.LParam));
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORLISTBOX:
      return HandleCtlColor(m);
    case WM_PAINT:
      if (WantsWindowlessPainting() || dynamic_cast<TCustomControl*>(this)) {
        const TPaintScope paint(handle_, m.WParam);
        PaintWindow(paint.Dc());
        PaintControls(paint.Dc());
        return;
      }
      break;
    case WM_PRINT:
      if (handle_ && m.WParam) Print(HDC(m.WParam), m.LParam);
      return;
    case WM_PRINTCLIENT:
      if (handle_ && m.WParam) PrintClient(HDC(m.WParam), m.LParam);
      return;
    case WM_SETFOCUS:
      if (TCustomForm* f = ParentForm(); f && f != this) f->SetFocusedControl(this);
      break;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      UpdateBoundsFromWindow();
      return;
    case WM_SETCURSOR:
      if (LOWORD(m.LParam) == HTCLIENT && HWND(m.WParam) == handle_) {
        POINT pt;
        GetCursorPos(&pt);
        ::ScreenToClient(handle_, &pt);
        TControl* c = ControlAtPos(TPoint(pt.x, pt.y));
        const TCursor cursor = c ? c->Cursor() : Cursor();
        if (cursor != TCursor::crDefault) {
          const wchar_t* id = cursor == TCursor::crHandPoint ? IDC_HAND
                              : cursor == TCursor::crIBeam  ? IDC_IBEAM
                                                            : IDC_ARROW;
          ::SetCursor(LoadCursorW(nullptr, id));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_MOUSELEAVE:
      Application->MouseLeftWindow(this);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      WORD key = WORD(m.WParam);
      if (DoKeyDown(key, KeyboardShiftState())) {
        m.Result = 1;
        return;
      }
      if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !WantsKey(key)) {
        if (TCustomForm* f = ParentForm()) m.Result = f->Perform(CM_DIALOGKEY, key, m.LParam);
      }
      return;
    }
    case CN_KEYUP: {
      WORD key = WORD(m.WParam);
      if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
      m.Result = key == 0 ? 1 : 0;
      return;
    }
    case CN_CHAR: {
      wchar_t ch = wchar_t(m.WParam);
      m.Result = DoKeyPress(ch) ? 1 : 0;
      return;
    }
    case CN_SYSCHAR:
      // Alt + a character: the control whose caption marks it as accelerator answers.
      if (TCustomForm* f = ParentForm()) m.Result = f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
      return;
    case CM_DIALOGCHAR: {
      const std::vector<TControl*> children = controls_;
      for (TControl* c : children) {
        m.Result = c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
        if (m.Result) return;
      }
      return;
    }
    case CM_ENTER:
      if (OnEnter) OnEnter(this);
      return;
    case CM_EXIT:
      if (OnExit) OnExit(this);
      return;
    case CM_FOCUSCHANGED: {
      const std::vector<TControl*> children = controls_;
      for (TControl* c : children) c->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
      return;
    }
    default:
      break;
  }
  if (IsMouseMessage(m.Msg) && handle_) {
    bool handled = false;
    RouteMouse(m, handled);
    if (handled) return;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  if (IsToolkitMessage(m.Msg)) return;  // toolkit notifications never reach the platform
  m.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, m.Msg,
                             m.WParam, m.LParam);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_.SetHandle(nullptr);
    throw;
  }
  canvas_.SetHandle(nullptr);
}

void TCustomControl::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(handle_, &r);
    TBrushHandle brush(CreateSolidBrush(ToColorRef(Color())));
    FillRect(HDC(m.WParam), &r, brush.Get());
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}
