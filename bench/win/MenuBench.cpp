// The list's popup menu: from the right-click (WM_CONTEXTMENU to the list) to the menu fully
// painted, and from the key that opens "Приоритет" to the submenu fully painted, skinned
// against the same menu drawn by the platform. "Fully painted" is the end of a paint after
// which the menu window has nothing left to paint (a region set while painting asks for a
// second paint, which then counts too).
#include <windows.h>

#include <cstdio>
#include <string>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/data/sSkinManager.h"
#include "toolkit/Menu.h"

namespace {

struct TMenuTiming {
  LARGE_INTEGER start = {};
  double seconds = -1;
  int paintsToWait = 1;  // menu windows whose first paint ends the measurement
  bool openSubmenu = false;
};
TMenuTiming timing;
HHOOK paintHook = nullptr;

bool IsMenuWindow(HWND wnd) {
  char name[16] = {};
  return GetClassNameA(wnd, name, sizeof(name)) && std::string(name) == "#32768";
}

// Sees every paint a menu window finishes while the menu's loop runs.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && m->message == WM_PAINT && IsMenuWindow(m->hwnd) && timing.seconds < 0 &&
      !GetUpdateRect(m->hwnd, nullptr, FALSE)) {
    if (--timing.paintsToWait == 0) {
      timing.seconds = BenchSeconds(timing.start, BenchNow());
      EndMenu();
    } else if (timing.openSubmenu) {
      // The first item holds the submenu: select it, then time the key that opens it.
      PostMessageW(m->hwnd, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(m->hwnd, WM_KEYDOWN, VK_RIGHT, 0);
      timing.openSubmenu = false;
      timing.start = BenchNow();
    }
  }
  return CallNextHookEx(paintHook, code, wParam, lParam);
}

double TimeOneOpening(HWND list, bool submenu) {
  timing = TMenuTiming();
  timing.paintsToWait = submenu ? 2 : 1;
  timing.openSubmenu = submenu;
  timing.start = BenchNow();
  SendMessageW(list, WM_CONTEXTMENU, WPARAM(list), MAKELPARAM(300, 300));
  return timing.seconds;
}

std::vector<double> TimeOpenings(HWND list, bool submenu) {
  std::vector<double> samples;
  for (int i = 0; i < 30; ++i) {
    const double s = TimeOneOpening(list, submenu);
    if (s >= 0) samples.push_back(s);
  }
  return samples;
}

}  // namespace

void RunMenuBench(TForm1* form) {
  std::printf("The list's popup menu (Wine)\n");
  paintHook = SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
  TsSkinManager* manager = form->sSkinManager1;
  HWND list = form->sListView1->Handle();
  const std::vector<double> skinnedMenu = TimeOpenings(list, false);
  const std::vector<double> skinnedSub = TimeOpenings(list, true);
  manager->SetSkinnedPopups(false);
  const double plainMenu = BenchReport("right-click to painted, platform-drawn", TimeOpenings(list, false));
  const double plainSub = BenchReport("submenu opened to painted, platform-drawn", TimeOpenings(list, true));
  manager->SetSkinnedPopups(true);
  BenchReport("right-click to painted, skinned (ratio to platform)", skinnedMenu, plainMenu);
  BenchReport("submenu opened to painted, skinned (ratio to platform)", skinnedSub, plainSub);
  UnhookWindowsHookEx(paintHook);
  paintHook = nullptr;
}
