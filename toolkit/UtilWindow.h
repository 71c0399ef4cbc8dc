// A hidden window of our own whose messages go to a function: the receiver of timers and
// of popup menu commands.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Messages.h"

// Registers the window class `className` (arrow cursor, no background) with `proc` and
// the class `style` unless this module has it already.
void RegisterWindowClassOnce(const wchar_t* className, WNDPROC proc, UINT style = 0);

// Registers the window class `className` with `proc` the first time it is asked for, then
// creates a hidden window of that class: a message-only window when `parent` is HWND_MESSAGE,
// otherwise a zero-size top-level popup. Null when the system refuses.
HWND CreateHiddenWindow(const wchar_t* className, WNDPROC proc, HWND parent = HWND_MESSAGE);

class TUtilWindow {
 public:
  // Messages the handler leaves with handled = false go to DefWindowProc.
  using THandler = std::function<void(TMessage& m, bool& handled)>;
  explicit TUtilWindow(THandler handler);
  ~TUtilWindow();
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;
  HWND Handle() const { return handle_; }

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  THandler handler_;
  HWND handle_ = nullptr;
};
