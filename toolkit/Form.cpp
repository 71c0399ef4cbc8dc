#include "toolkit/Form.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Menu.h"
#include "toolkit/Screen.h"
#include "toolkit/WideText.h"

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  BeginLoading();
  visible_ = false;
  SetColor(clBtnFace);
  SetParentFont(false);
  SetControlStyle(ControlStyle() | csAcceptsControls);
  Screen->RegisterForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      Application->HandleException(this, &e);
    }
  }
  // The client window must hear of its child going (WM_MDIDESTROY), which only this class
  // knows to send; the base destructor would destroy the window plainly.
  if (formStyle_ == TFormStyle::fsMDIChild) DestroyHandle();
  Screen->UnregisterForm(this);
  Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  EndLoading();
  try {
    DoCreate();
  } catch (const std::exception& e) {
    Application->HandleException(this, &e);
  } catch (...) {
    Application->HandleException(this, nullptr);
  }
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::StyleFromBorder(DWORD& style, DWORD& exStyle) const {
  style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  exStyle = 0;
  const bool mdiChild = formStyle_ == TFormStyle::fsMDIChild;
  // An MDI child always has a caption: without one it could not be moved, sized or closed.
  const TFormBorderStyle borderStyle =
      mdiChild && borderStyle_ == TFormBorderStyle::bsNone ? TFormBorderStyle::bsSizeable : borderStyle_;
  switch (borderStyle) {
    case TFormBorderStyle::bsNone:
      style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (borderStyle == TFormBorderStyle::bsToolWindow || borderStyle == TFormBorderStyle::bsSizeToolWin)
    exStyle |= WS_EX_TOOLWINDOW;
  if (borderStyle != TFormBorderStyle::bsNone) {
    if (borderIcons_ & biSystemMenu) style |= WS_SYSMENU;
    if (borderStyle != TFormBorderStyle::bsDialog) {
      if (borderIcons_ & biMinimize) style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    if ((borderIcons_ & biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
      exStyle |= WS_EX_CONTEXTHELP;
  }
  if (alphaBlend_ && !mdiChild) exStyle |= WS_EX_LAYERED;
  if (mdiChild) {
    style = (style & ~DWORD(WS_POPUP)) | WS_CHILD;
    exStyle |= WS_EX_MDICHILD;
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  StyleFromBorder(p.Style, p.ExStyle);
  if (!Enabled()) p.Style |= WS_DISABLED;
  p.WndParent = Application->Handle();
  p.ClassStyle = CS_DBLCLKS;
  if (formStyle_ == TFormStyle::fsMDIChild) {
    TCustomForm* frame = MDIFrameForm();
    if (!frame || frame == this)
      throw std::runtime_error("Cannot make an MDI child form: there is no MDI frame form");
    frame->HandleNeeded();
    p.WndParent = frame->ClientHandle();
  }
}

// An MDI child is made by the client window, which keeps the list of its children.
void TCustomForm::CreateWindowHandle(const TCreateParams& p) {
  if (formStyle_ != TFormStyle::fsMDIChild) {
    TWinControl::CreateWindowHandle(p);
    return;
  }
  MDICREATESTRUCTW mcs = {};
  mcs.szClass = p.WinClassName.c_str();
  mcs.szTitle = p.Caption.c_str();
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = p.X;
  mcs.y = p.Y;
  mcs.cx = p.Width;
  mcs.cy = p.Height;
  mcs.style = p.Style & ~DWORD(WS_CHILD);
  SendMessageW(p.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
}

void TCustomForm::DestroyWnd() {
  TWinControl::DestroyWnd();
  HWND client = handle_ ? GetParent(handle_) : nullptr;
  if (formStyle_ == TFormStyle::fsMDIChild && client)
    SendMessageW(client, WM_MDIDESTROY, WPARAM(handle_), 0);
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (!handle_ || IsToolkitMessage(m.Msg) || formStyle_ == TFormStyle::fsNormal) {
    TWinControl::DefaultHandler(m);
    return;
  }
  if (formStyle_ == TFormStyle::fsMDIForm)
    m.Result = DefFrameProcW(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
  else
    m.Result = DefMDIChildProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  // The old window goes the way its style asks (an MDI child through its client window).
  const bool hadWindow = HandleAllocated();
  DestroyHandle();
  formStyle_ = style;
  if (hadWindow) HandleNeeded();
}

void TCustomForm::AlignedAreaLeft(const TRect& rest) {
  if (clientHandle_)
    SetWindowPos(clientHandle_, nullptr, rest.Left, rest.Top, std::max(0, rest.Width()), std::max(0, rest.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client window takes what the aligned controls leave of the client area (see
// AlignedAreaLeft) and, made before them, lies below the form's own controls.
void TCustomForm::CreateMDIClient() {
  RECT r;
  GetClientRect(handle_, &r);
  CLIENTCREATESTRUCT ccs = {nullptr, kFirstMDIChildId};
  clientHandle_ = CreateWindowExW(0, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                      WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                  0, 0, r.right, r.bottom, handle_, reinterpret_cast<HMENU>(kMDIClientId),
                                  GetModuleHandleW(nullptr), &ccs);
  if (!clientHandle_) {
    const DWORD error = GetLastError();
    throw std::runtime_error("Cannot make the MDI client window: " + WideToUtf8(SystemErrorText(error)));
  }
}

TCustomForm* TCustomForm::MDIFrameForm() {
  TCustomForm* main = Application->MainForm();
  if (main && main->FormStyle() == TFormStyle::fsMDIForm && !main->IsDestroying()) return main;
  const std::vector<TCustomForm*>& forms = Screen->CustomForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it)
    if ((*it)->FormStyle() == TFormStyle::fsMDIForm && !(*it)->IsDestroying()) return *it;
  return nullptr;
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm*> list;
  if (!clientHandle_) return list;
  for (TCustomForm* f : Screen->CustomForms())
    if (f->FormStyle() == TFormStyle::fsMDIChild && f->HandleAllocated() &&
        GetParent(f->WindowHandle()) == clientHandle_)
      list.push_back(f);
  return list;
}

int TCustomForm::MDIChildCount() const { return int(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int index) const { return MDIChildList().at(size_t(index)); }

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  HWND active = HWND(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(active));
}

void TCustomForm::Cascade() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
}

void TCustomForm::CreateWnd() {
  // Laid out for the window's DPI before the controls get their windows. A window made on a
  // monitor of another scale already has that scale's frame around bounds computed for the
  // form's DPI, so the client size the form was laid out for is the bounds less the frame at
  // the form's DPI, not the client area the window has.
  const int designed = ApplyDpi(WindowDpi(handle_), nullptr, ClientRectInBounds());
  if (formStyle_ == TFormStyle::fsMDIForm) CreateMDIClient();
  ApplyLayered();
  const TIcon& icon = Application->Icon();
  if (!icon.Empty()) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, LPARAM(icon.Handle()));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, LPARAM(icon.Handle()));
  }
  TWinControl::CreateWnd();
  if (menu_) ::SetMenu(handle_, menu_->Handle());
  if (designed != dpi_) Perform(CM_DPICHANGED, WPARAM(designed), LPARAM(dpi_));
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  MenuChanged();
}

void TCustomForm::MenuChanged() {
  if (!handle_) return;
  // The window lets go of the old bar first: it is destroyed when the menu is rebuilt.
  ::SetMenu(handle_, nullptr);
  if (menu_) ::SetMenu(handle_, menu_->Handle());
  DrawMenuBar(handle_);
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == TOperation::opRemove && c == menu_) {
    menu_ = nullptr;
    if (handle_) ::SetMenu(handle_, nullptr);
  }
}

void TCustomForm::ApplyLayered() {
  if (!handle_) return;
  LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
  if (alphaBlend_) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(handle_, 0, alphaValue_, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  const int cw = ClientWidth(), ch = ClientHeight();
  borderStyle_ = style;
  RecreateWnd();
  SetClientSize(cw, ch);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

void TCustomForm::SetAlphaBlend(bool on) {
  alphaBlend_ = on;
  ApplyLayered();
}

void TCustomForm::SetAlphaBlendValue(BYTE value) {
  alphaValue_ = value;
  ApplyLayered();
}

void TCustomForm::AdjustForFrame(RECT& r) const {
  DWORD style, exStyle;
  StyleFromBorder(style, exStyle);
  AdjustWindowRectForDpi(r, style, exStyle, dpi_);
}

void TCustomForm::SetClientSize(int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustForFrame(r);
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

// The frame a window has now may not be the platform's (a skin draws its own), nor at the DPI
// the platform would compute it for: the client size is set around the frame there is.
void TCustomForm::SetClientSizeInFrame(int width, int height) {
  if (!handle_) {
    SetClientSize(width, height);
    return;
  }
  RECT window, client;
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  SetBounds(Left(), Top(), width + (window.right - window.left) - client.right,
            height + (window.bottom - window.top) - client.bottom);
}

TRect TCustomForm::ClientRect() const {
  if (handle_) return TWinControl::ClientRect();
  return ClientRectInBounds();
}

TRect TCustomForm::ClientRectInBounds() const {
  RECT r = {0, 0, 0, 0};
  AdjustForFrame(r);
  return TRect(0, 0, Width() - (r.right - r.left), Height() - (r.bottom - r.top));
}

void TCustomForm::ChangeScale(int fromDpi, int toDpi) {
  if (fromDpi == toDpi) return;
  ScaleFont(fromDpi, toDpi);
  ScaleChildren(fromDpi, toDpi);
}

int TCustomForm::ApplyDpi(int dpi, const RECT* suggested, const TRect& client) {
  const int old = dpi_;
  if (dpi > 0 && dpi != old) {
    const int width = scaledClientWidth_.Rescale(client.Width(), old, dpi);
    const int height = scaledClientHeight_.Rescale(client.Height(), old, dpi);
    dpi_ = dpi;
    ChangeScale(old, dpi);
    if (!suggested) SetClientSizeInFrame(width, height);
  }
  if (suggested)
    SetBounds(suggested->left, suggested->top, suggested->right - suggested->left,
              suggested->bottom - suggested->top);
  // The platform tells top-level windows only; the children inside an MDI frame follow it.
  for (TCustomForm* child : MDIChildList()) child->ScaleToDpi(dpi_);
  return old;
}

void TCustomForm::ScaleToDpi(int dpi, const RECT* suggested) {
  const int old = ApplyDpi(dpi, suggested, ClientRect());
  if (old != dpi_) Perform(CM_DPICHANGED, WPARAM(old), LPARAM(dpi_));
}

bool TCustomForm::Showing() const { return handle_ && IsWindowVisible(handle_); }

void TCustomForm::Center() {
  SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::VisibleChanged() {
  if (Visible()) {
    HandleNeeded();
    if (!positioned_ && position_ == TPosition::poScreenCenter) Center();
    positioned_ = true;
    DoShow();
    if (!Visible()) return;  // OnShow hid the form again
    if (Application->MainForm() == this && !IsWindowVisible(Application->Handle()))
      ShowWindow(Application->Handle(), SW_SHOWNA);
    NotifyShowing();
    ShowWindow(handle_, SW_SHOW);
    if (formStyle_ == TFormStyle::fsMDIChild)
      SendMessageW(GetParent(handle_), WM_MDIACTIVATE, WPARAM(handle_), 0);
    else
      SetForegroundWindow(handle_);
    TWinControl* target = activeControl_;
    if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true);
    if (target && GetActiveWindow() == handle_) ::SetFocus(target->Handle());
  } else if (handle_) {
    ShowWindow(handle_, SW_HIDE);
    DoHide();
  }
}

void TCustomForm::ColorChanged() {
  backgroundBrush_.Reset();
  TWinControl::ColorChanged();
}

bool TCustomForm::Active() const { return handle_ && GetActiveWindow() == handle_; }

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == this) control = nullptr;
  activeControl_ = control;
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control) return;
  if (Showing() && control->CanFocus()) {
    ::SetFocus(control->Handle());
  } else {
    SetActiveControl(control);
  }
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == activeControl_ || control == this) return;
  TWinControl* old = activeControl_;
  activeControl_ = control;
  if (old) old->Perform(CM_EXIT);
  if (control) control->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TWinControl* control) {
  if (activeControl_ == control) activeControl_ = nullptr;
  for (TWinControl* c = activeControl_; c; c = c->Parent())
    if (c == control) activeControl_ = nullptr;
}

TButton* TCustomForm::DefaultButton() const {
  std::function<TButton*(const TWinControl*)> find = [&](const TWinControl* w) -> TButton* {
    for (TWinControl* c : w->TabList()) {
      if (auto* b = dynamic_cast<TButton*>(c); b && b->Default() && b->Visible() && b->Enabled())
        return b;
      if (TButton* b = find(c)) return b;
    }
    return nullptr;
  };
  return find(this);
}

bool TCustomForm::DialogKey(WORD key) {
  switch (key) {
    case VK_TAB: {
      const bool forward = GetKeyState(VK_SHIFT) >= 0;
      if (TWinControl* next = FindNextControl(activeControl_, forward)) next->SetFocus();
      return true;
    }
    case VK_RETURN: {
      if (auto* b = dynamic_cast<TButton*>(activeControl_); b && b->Enabled()) {
        b->Click();
        return true;
      }
      if (TButton* b = DefaultButton()) {
        b->Click();
        return true;
      }
      return false;
    }
    case VK_ESCAPE:
      for (TWinControl* c : TabList())
        if (auto* b = dynamic_cast<TButton*>(c); b && b->Cancel() && b->Visible() && b->Enabled()) {
          b->Click();
          return true;
        }
      return false;
  }
  return false;
}

void TCustomForm::Close() {
  // A closed MDI child goes away, as a closed document does.
  TCloseAction action = Application->MainForm() == this || formStyle_ == TFormStyle::fsMDIChild
                            ? TCloseAction::caFree
                            : TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  switch (action) {
    case TCloseAction::caNone:
      break;
    case TCloseAction::caHide:
      Hide();
      break;
    case TCloseAction::caMinimize:
      Application->Minimize();
      break;
    case TCloseAction::caFree:
      if (Application->MainForm() == this)
        Application->MainFormClosed();
      else
        Release();
      break;
  }
}

void TCustomForm::Release() {
  PostMessageW(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(handle_, &r);
      if (!backgroundBrush_) backgroundBrush_.Reset(CreateSolidBrush(ToColorRef(Color())));
      FillRect(HDC(m.WParam), &r, backgroundBrush_.Get());
      m.Result = 1;
      return;
    }
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        Screen->SetActiveForm(this);
        TWinControl* target = activeControl_;
        if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true);
        if (target && target->HandleAllocated())
          ::SetFocus(target->WindowHandle());
        else
          ::SetFocus(handle_);
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application->MainForm() == this) {
        Application->Minimize();
        return;
      }
      break;
    case CM_DIALOGKEY:
      m.Result = DialogKey(WORD(m.WParam)) ? 1 : 0;
      return;
    case WM_COMMAND:
      // A menu bar item: the menu owns its platform handles, the window must not free them.
      if (!m.LParam && HIWORD(m.WParam) == 0 && menu_) {
        if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(m.WParam))) {
          item->Click();
          return;
        }
      }
      break;
    case WM_DESTROY:
      // The window would destroy its menu bar with it; the menu component owns that handle.
      if (menu_ && handle_) ::SetMenu(handle_, nullptr);
      break;
    case WM_NCDESTROY:
      clientHandle_ = nullptr;  // destroyed with the form's window
      break;
    case WM_SIZE:
      // The frame's default handling gives the client window the whole client area; the
      // aligned controls keep their sides of it.
      DefaultHandler(m);
      if (clientHandle_) AlignControls();
      return;
    case WM_DPICHANGED:
      ScaleToDpi(LOWORD(m.WParam), reinterpret_cast<const RECT*>(m.LParam));
      m.Result = 0;
      return;
    case WM_MDIACTIVATE:
      // An MDI child that becomes active gives the focus to its active control.
      DefaultHandler(m);
      if (HWND(m.LParam) == handle_) {
        TWinControl* target = activeControl_;
        if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true);
        if (target && target->HandleAllocated()) ::SetFocus(target->WindowHandle());
      }
      return;
  }
  TWinControl::WndProc(m);
}
