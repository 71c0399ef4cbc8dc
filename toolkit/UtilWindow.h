// A hidden window of our own whose messages go to a function: the receiver of timers and
// of popup menu commands.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Messages.h"

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
