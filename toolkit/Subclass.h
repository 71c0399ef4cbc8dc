// Replacing a window's procedure so that several replacers (ours and anybody's) can stack on
// one window and leave in any order.
//
// Each subclass gets an entry procedure of its own from a fixed pool, so one window's chain
// never holds the same procedure twice. Removing a subclass gives the window its old procedure
// back when ours is still on top. When somebody has replaced the procedure over ours, ours
// cannot be taken out of the chain: its entry then only passes messages on, and unlinks
// itself as soon as it is on top again or the window is destroyed.
#pragma once

#include <windows.h>

class TWindowSubclass {
 public:
  // What receives the window's messages while the subclass is on. It may remove the
  // subclass (or free the object holding it) while it handles a message.
  using TReceiver = LRESULT (*)(void* context, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  TWindowSubclass() = default;
  ~TWindowSubclass() { Remove(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts the receiver on top of the window's chain (a subclass this object had on comes off
  // first). False when wnd is no window or every entry of the pool is in use.
  bool Install(HWND wnd, TReceiver receiver, void* context);
  // The same with target->Method(msg, wParam, lParam) receiving the messages.
  template <class T, LRESULT (T::*Method)(UINT, WPARAM, LPARAM)>
  bool Install(HWND wnd, T* target) {
    return Install(
        wnd, [](void* c, HWND, UINT m, WPARAM w, LPARAM l) { return (static_cast<T*>(c)->*Method)(m, w, l); },
        target);
  }
  // Lets go of the window (see above); nothing when the subclass is not on.
  void Remove();

  bool Installed() const { return slot_ >= 0; }
  HWND Window() const;
  // The procedure the window had before ours (null when the subclass is not on).
  WNDPROC Previous() const;
  // Calls it for the window; 0 when the subclass is not on.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

  // How many entries of the pool are in use: subclasses that are on and entries left in a
  // chain passing messages on.
  static int EntriesInUse();

 private:
  int slot_ = -1;
};
