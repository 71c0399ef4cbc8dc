// Standard dialogs: a message box from the call that opens it to the box and all its
// controls fully painted, skinned against the same box with the dialog rule off, and an
// activation switch (inactive, active) of a skinned dialog against a plain one.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/data/sSkinManager.h"

namespace {

struct TBoxTiming {
  LARGE_INTEGER start = {};
  double seconds = -1;
};
TBoxTiming timing;
HHOOK paintHook = nullptr;

bool IsDialog(HWND wnd) {
  char name[16] = {};
  return GetClassNameA(wnd, name, sizeof(name)) && std::string(name) == "#32770";
}

// The dialog and every child have nothing left to paint.
bool FullyPainted(HWND dialog) {
  if (GetUpdateRect(dialog, nullptr, FALSE)) return false;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) return false;
  return true;
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && m->message == WM_PAINT && timing.seconds < 0) {
    HWND dialog = IsDialog(m->hwnd) ? m->hwnd : GetParent(m->hwnd);
    if (dialog && IsDialog(dialog) && IsWindowVisible(dialog) && FullyPainted(dialog)) {
      timing.seconds = BenchSeconds(timing.start, BenchNow());
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(paintHook, code, wParam, lParam);
}

std::vector<double> TimeBoxes() {
  std::vector<double> samples;
  for (int i = 0; i < 30; ++i) {
    timing = TBoxTiming();
    timing.start = BenchNow();
    MessageBoxW(nullptr, L"Файл задач не удалось сохранить.", L"Vornik Desktop", MB_OK | MB_ICONERROR);
    if (timing.seconds >= 0) samples.push_back(timing.seconds);
  }
  return samples;
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A modeless captioned dialog without controls.
HWND MakeDialog() {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title[8];
  } tpl = {};
  tpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  tpl.t.cx = 180;
  tpl.t.cy = 80;
  const wchar_t* title = L"Dialog";
  for (int i = 0; title[i]; ++i) tpl.title[i] = WORD(title[i]);
  HWND d = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, nullptr, &PlainProc, 0);
  if (d) SetActiveWindow(d);
  return d;
}

std::vector<double> TimeActivation(HWND d) {
  std::vector<double> samples;
  for (int i = 0; i < 60; ++i) {
    const LARGE_INTEGER start = BenchNow();
    SendMessageW(d, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(d, WM_NCACTIVATE, TRUE, 0);
    UpdateWindow(d);
    samples.push_back(BenchSeconds(start, BenchNow()));
  }
  return samples;
}

}  // namespace

void RunDialogBench(TForm1* form) {
  std::printf("Message boxes and dialogs (Wine)\n");
  TsSkinManager* manager = form->sSkinManager1;
  const TsSkinningRules rules = manager->SkinningRules();
  paintHook = SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
  const std::vector<double> skinned = TimeBoxes();
  HWND skinnedDialog = MakeDialog();
  const std::vector<double> skinnedSwitch = TimeActivation(skinnedDialog);
  DestroyWindow(skinnedDialog);
  manager->SetSkinningRules(rules & ~TsSkinningRules(srStdDialogs));
  const double plain = BenchReport("message box opened to painted, platform-drawn", TimeBoxes());
  HWND plainDialog = MakeDialog();
  const double plainSwitch = BenchReport("dialog activation switch, platform-drawn", TimeActivation(plainDialog));
  DestroyWindow(plainDialog);
  manager->SetSkinningRules(rules);
  UnhookWindowsHookEx(paintHook);
  paintHook = nullptr;
  BenchReport("message box opened to painted, skinned (ratio to platform)", skinned, plain);
  BenchReport("dialog activation switch, skinned (ratio to platform)", skinnedSwitch, plainSwitch);
}
