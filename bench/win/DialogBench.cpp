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

// A box's paints are dispatched from its queue, where a hook on sent messages never sees
// them. When a paint of the box or of a control in it is taken from the queue, a marker is
// posted; posted messages come before further paints, so the marker is taken right after
// that paint has been done, and the box is looked at then.
constexpr UINT kAfterPaint = WM_APP + 0x71;

LRESULT CALLBACK TakenMessage(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && timing.seconds < 0 && m->hwnd) {
    HWND dialog = IsDialog(m->hwnd) ? m->hwnd : GetParent(m->hwnd);
    if (dialog && IsDialog(dialog)) {
      if (m->message == WM_PAINT) {
        PostMessageW(dialog, kAfterPaint, 0, 0);
      } else if (m->message == kAfterPaint && IsWindowVisible(dialog) && FullyPainted(dialog)) {
        timing.seconds = BenchSeconds(timing.start, BenchNow());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(paintHook, code, wParam, lParam);
}

// A box that never gets fully painted is closed after a while (its sample is dropped).
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM) {
        if (IsDialog(w) && IsWindowVisible(w)) PostMessageW(w, WM_COMMAND, IDOK, 0);
        return TRUE;
      },
      0);
}

std::vector<double> TimeBoxes() {
  std::vector<double> samples;
  for (int i = 0; i < 30; ++i) {
    timing = TBoxTiming();
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &GiveUp);
    timing.start = BenchNow();
    MessageBoxW(nullptr, L"Файл задач не удалось сохранить.", L"Vornik Desktop", MB_OK | MB_ICONERROR);
    KillTimer(nullptr, watchdog);
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
  paintHook = SetWindowsHookExW(WH_GETMESSAGE, &TakenMessage, nullptr, GetCurrentThreadId());
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
