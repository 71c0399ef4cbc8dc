#include "toolkit/Application.h"

#include <algorithm>

#include "skin/paint/zkTypes.h"
#include "toolkit/Form.h"
#include "toolkit/Screen.h"
#include "toolkit/WideText.h"
#include "toolkit/WinControl.h"

namespace {

TColor PlatformSysColor(int index) { return TColor(GetSysColor(index) & 0xFFFFFF); }

}  // namespace

// Made once and never destroyed: forms may still refer to it while the process ends.
TApplication* Application = new TApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  Destroying();
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TApplication::Initialize() {
  SetSysColorResolver(PlatformSysColor);
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE inst = GetModuleHandleW(nullptr);
  icon_.LoadFromResource(inst, L"MAINICON", GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  smallIcon_.LoadFromResource(inst, L"MAINICON", GetSystemMetrics(SM_CXSMICON),
                              GetSystemMetrics(SM_CYSMICON));
  Handle();
}

HWND TApplication::Handle() {
  if (handle_) return handle_;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExW(inst, L"TApplication", &existing)) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TApplication";
    RegisterClassExW(&wc);
  }
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_ = CreateWindowExW(0, L"TApplication", title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, inst, nullptr);
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!icon_.Empty()) SendMessageW(handle_, WM_SETICON, ICON_BIG, LPARAM(icon_.Handle()));
    if (!smallIcon_.Empty()) SendMessageW(handle_, WM_SETICON, ICON_SMALL, LPARAM(smallIcon_.Handle()));
  }
  return handle_;
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, title_.c_str());
}

void TApplication::RegisterForm(TCustomForm* form) {
  if (!mainForm_) mainForm_ = form;
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
  terminated_ = false;
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) {
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::MainFormClosed() { Terminate(); }

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND wnd = msg.hwnd;
  TWinControl* control = nullptr;
  while (wnd && !(control = TWinControl::FindControl(wnd))) wnd = GetParent(wnd);
  if (!control) return false;
  const UINT cn = CN_BASE + msg.message;
  if (cn != CN_KEYDOWN && cn != CN_KEYUP && cn != CN_CHAR && cn != CN_SYSKEYDOWN && cn != CN_SYSCHAR)
    return false;
  return control->Perform(cn, msg.wParam, msg.lParam) != 0;
}

namespace {

// The MDI keys (Ctrl+F4 closes the active child, Ctrl+F6 goes to the next one, Alt+- opens its
// system menu) for the children of the application's MDI frame.
bool IsMDIMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  TCustomForm* frame = TCustomForm::MDIFrameForm();
  return frame && frame->ClientHandle() && frame->ActiveMDIChild() &&
         TranslateMDISysAccel(frame->ClientHandle(), &msg);
}

}  // namespace

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  try {
    if (OnMessage) OnMessage(msg, handled);
    if (!handled) handled = IsMDIMsg(msg);
    if (!handled) handled = IsKeyMsg(msg);
  } catch (const std::exception& e) {
    HandleException(this, &e);
    handled = true;
  } catch (...) {
    HandleException(this, nullptr);
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::Minimize() {
  if (handle_ && !IsIconic(handle_)) ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
  if (handle_ && IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
  if (mainForm_ && mainForm_->HandleAllocated() && mainForm_->Visible())
    SetActiveWindow(mainForm_->WindowHandle());
}

bool TApplication::Minimized() const { return handle_ && IsIconic(handle_); }

void TApplication::BringToFront() {
  HWND target = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->WindowHandle() : handle_;
  if (target) SetForegroundWindow(target);
}

void TApplication::HandleException(TObject* sender, const std::exception* e) {
  if (handlingException_) return;
  handlingException_ = true;
  try {
    if (OnException) {
      OnException(sender, e);
    } else {
      ShowException(e ? Utf8ToWide(e->what()) : std::wstring(L"Unknown error."));
    }
  } catch (...) {
  }
  handlingException_ = false;
}

void TApplication::ShowException(const std::wstring& message) {
  ShowMessageBox(message, title_, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

int TApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = handle_;
  ModalStarted();
  const int answer = ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
  ModalFinished();
  return answer;
}

void TApplication::ModalStarted() {
  ++modalLevel_;
  if (OnModalBegin) OnModalBegin(this);
}

void TApplication::ModalFinished() {
  if (modalLevel_ > 0) --modalLevel_;
  if (OnModalEnd) OnModalEnd(this);
}

int TApplication::HookMainWindow(TWindowHook hook) {
  const int id = nextHookId_++;
  hooks_[id] = std::move(hook);
  return id;
}

void TApplication::UnhookMainWindow(int id) { hooks_.erase(id); }

void TApplication::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (control && control == mouseControl_)
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

void TApplication::MouseLeftWindow(TWinControl* window) {
  if (!mouseControl_) return;
  if (mouseControl_ == window ||
      (!mouseControl_->IsWindowed() && mouseControl_->Parent() == window))
    SetMouseControl(nullptr);
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!app) return DefWindowProcW(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    app->WndProc(m);
  } catch (const std::exception& e) {
    app->HandleException(app, &e);
  } catch (...) {
    app->HandleException(app, nullptr);
  }
  return m.Result;
}

void TApplication::WndProc(TMessage& m) {
  // Hooks may remove themselves while running, so walk a copy.
  const auto hooks = hooks_;
  for (const auto& [id, hook] : hooks)
    if (hook(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      if (mainForm_) mainForm_->Close();
      return;
    case WM_SYSCOMMAND:
      switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return;
        case SC_RESTORE:
          Restore();
          return;
      }
      break;
    case WM_ACTIVATEAPP:
      // The program became the active one: the hooks hear of it as CM_ACTIVATE, so skinned
      // forms can refresh what lies outside their client areas.
      if (m.WParam && handle_) SendMessageW(handle_, CM_ACTIVATE, 0, 0);
      break;
    case WM_SETFOCUS:
      if (mainForm_ && mainForm_->HandleAllocated() && IsWindowVisible(mainForm_->WindowHandle()))
        SetFocus(mainForm_->WindowHandle());
      return;
    case CM_RELEASE: {
      // A form asked to be freed once the message that asked had returned.
      auto* form = reinterpret_cast<TCustomForm*>(m.LParam);
      const auto& forms = Screen->CustomForms();
      if (std::find(forms.begin(), forms.end(), form) != forms.end()) delete form;
      return;
    }
    case WM_ENDSESSION:
      if (m.WParam) Terminate();
      return;
  }
  m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}
