#include "skin/windows/zkDials.h"

namespace {

HHOOK hook = nullptr;
std::unique_ptr<TzkHookWindowList> windowList;

LRESULT CALLBACK SkinCbtProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

bool InstallSkinHook() {
  if (hook) return true;
  if (!windowList) windowList = std::make_unique<TzkHookWindowList>();
  hook = SetWindowsHookExW(WH_CBT, SkinCbtProc, nullptr, GetCurrentThreadId());
  return hook != nullptr;
}

void RemoveSkinHook() {
  if (hook) UnhookWindowsHookEx(hook);
  hook = nullptr;
  windowList.reset();
}

bool SkinHookInstalled() { return hook != nullptr; }

TzkHookWindowList* HookWindowList() { return windowList.get(); }

std::vector<IzkFrameProvider*>& FramedForms() {
  static std::vector<IzkFrameProvider*> forms;
  return forms;
}
