#include "toolkit/UtilWindow.h"

#include "toolkit/Application.h"

void RegisterWindowClassOnce(const wchar_t* className, WNDPROC proc, UINT style) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(inst, className, &existing)) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND CreateHiddenWindow(const wchar_t* className, WNDPROC proc, HWND parent) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  RegisterWindowClassOnce(className, proc);
  const bool messageOnly = parent == HWND_MESSAGE;
  return CreateWindowExW(messageOnly ? 0 : WS_EX_TOOLWINDOW, className, L"",
                         messageOnly ? 0 : WS_POPUP, 0, 0, 0, 0, parent, nullptr, inst, nullptr);
}

TUtilWindow::TUtilWindow(THandler handler) : handler_(std::move(handler)) {
  handle_ = CreateHiddenWindow(L"TPUtilWindow", Proc, nullptr);
  if (handle_) SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

LRESULT CALLBACK TUtilWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self || !self->handler_) return DefWindowProcW(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  bool handled = false;
  try {
    self->handler_(m, handled);
  } catch (const std::exception& e) {
    Application->HandleException(nullptr, &e);
    handled = true;
  } catch (...) {
    Application->HandleException(nullptr, nullptr);
    handled = true;
  }
  return handled ? m.Result : DefWindowProcW(wnd, msg, wParam, lParam);
}
