// Window subclasses that stack on one window and leave in any order: the window gets its own
// procedure back, messages keep reaching it, and no entry of the pool is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Subclass.h"

namespace {

constexpr UINT kProbe = WM_USER + 41;

// A subclass that notes the probe message under its name and passes everything on.
struct TNoting {
  TNoting(char name, std::string& log) : Name(name), Log(log) {}
  LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) Log += Name;
    return Subclass.CallPrevious(msg, wParam, lParam);
  }
  bool Install(HWND wnd) { return Subclass.Install<TNoting, &TNoting::Message>(wnd, this); }
  char Name;
  std::string& Log;
  TWindowSubclass Subclass;
};

LONG_PTR ProcOf(HWND wnd) { return GetWindowLongPtrW(wnd, GWLP_WNDPROC); }

// The window's own procedure answers the probe with 7.
LRESULT CALLBACK OwnProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return msg == kProbe ? 7 : DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeWindow() {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &OwnProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassTestWindow";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(WindowSubclass, StackedSubclassesLeaveInAndOutOfOrder) {
  HWND w = MakeWindow();
  ASSERT_NE(w, nullptr);
  const LONG_PTR own = ProcOf(w);
  const int entries = TWindowSubclass::EntriesInUse();
  std::string log;
  TNoting a('a', log), b('b', log);

  // In order: the last one on comes off first.
  ASSERT_TRUE(a.Install(w));
  ASSERT_TRUE(b.Install(w));
  EXPECT_EQ(SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, "ba");
  b.Subclass.Remove();
  a.Subclass.Remove();
  EXPECT_EQ(ProcOf(w), own);
  EXPECT_EQ(TWindowSubclass::EntriesInUse(), entries);

  // Out of order: a leaves under b and only passes messages on; once b is gone, a's entry
  // unlinks itself at the next message.
  log.clear();
  a.Install(w);
  b.Install(w);
  a.Subclass.Remove();
  EXPECT_EQ(SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, "b");
  // Back on while its old entry still sits under b: the chain holds each entry once.
  log.clear();
  a.Install(w);
  EXPECT_EQ(SendMessageW(w, kProbe, 0, 0), 7);
  EXPECT_EQ(log, "ab");
  a.Subclass.Remove();
  b.Subclass.Remove();
  EXPECT_NE(ProcOf(w), own);
  SendMessageW(w, WM_NULL, 0, 0);
  EXPECT_EQ(ProcOf(w), own);
  EXPECT_EQ(TWindowSubclass::EntriesInUse(), entries);

  // A window destroyed under a subclass and under a pass-through entry leaves no entry.
  a.Install(w);
  b.Install(w);
  a.Subclass.Remove();
  DestroyWindow(w);
  b.Subclass.Remove();
  EXPECT_EQ(TWindowSubclass::EntriesInUse(), entries);
  EXPECT_FALSE(a.Install(w)) << "not a window any more";
}
