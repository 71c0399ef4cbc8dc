// "/zkver": the program shows the skin engine's version notice once, then runs normally.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "toolkit/WideText.h"

namespace {

struct TFound {
  DWORD process;
  std::wstring className;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindows(HWND wnd, LPARAM data) {
  auto* found = reinterpret_cast<TFound*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(wnd, &process);
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  if (process == found->process && found->className == name && IsWindowVisible(wnd))
    found->windows.push_back(wnd);
  return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD process, const wchar_t* className) {
  TFound found{process, className, {}};
  EnumWindows(CollectWindows, LPARAM(&found));
  return found.windows;
}

// Waits up to 20 s for a visible window of that class in the process.
HWND WaitForWindow(DWORD process, const wchar_t* className) {
  HWND found = nullptr;
  WaitUntil([&] {
    const std::vector<HWND> w = VisibleWindows(process, className);
    found = w.empty() ? nullptr : w.front();
    return found != nullptr;
  }, 20000);
  return found;
}

std::wstring TextsOf(HWND dialog) {
  std::wstring all;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t text[256] = {};
    GetWindowTextW(c, text, 256);
    all += text;
    all += L"|";
  }
  return all;
}

TEST(VersionNotice, ShownOnceThenTheProgramRuns) {
  TScratchFolder scratch;
  scratch.CopyAssets();
  const std::wstring exe = scratch.Path() + L"VornikDesktop.exe";
  ASSERT_TRUE(CopyFileW((ExeFolder() + L"VornikDesktop.exe").c_str(), exe.c_str(), FALSE));
  std::wstring command = L"\"" + exe + L"\" /ZKVER";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             scratch.Path().c_str(), &si, &pi));
  HWND notice = WaitForWindow(pi.dwProcessId, L"#32770");
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(TextsOf(notice).find(L"OrvexControls v6.48"), std::wstring::npos) << TextsOf(notice);
  // The main window waits for the notice.
  EXPECT_TRUE(VisibleWindows(pi.dwProcessId, L"TForm1").empty());
  PostMessageW(notice, WM_COMMAND, IDOK, 0);
  HWND main = WaitForWindow(pi.dwProcessId, L"TForm1");
  ASSERT_NE(main, nullptr);
  Sleep(300);  // time for a notice that must not come back
  EXPECT_TRUE(VisibleWindows(pi.dwProcessId, L"#32770").empty()) << "the notice came back";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
