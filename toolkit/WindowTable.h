// A process-wide table from window handles to what lies behind them, for window procedures
// that must find their object on every message. A window property would hold the same, but
// under Wine every lookup of one is a round trip to the server, hundreds per repaint.
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

template <typename T>
class TWindowTable {
 public:
  void Set(HWND wnd, const T& value) {
    std::lock_guard<std::mutex> hold(lock_);
    entries_[wnd] = value;
  }
  void Remove(HWND wnd) {
    std::lock_guard<std::mutex> hold(lock_);
    entries_.erase(wnd);
  }
  // The entry of the window, if it has one.
  bool Find(HWND wnd, T& value) const {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = entries_.find(wnd);
    if (it == entries_.end()) return false;
    value = it->second;
    return true;
  }

 private:
  mutable std::mutex lock_;
  std::unordered_map<HWND, T> entries_;
};
