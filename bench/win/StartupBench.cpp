// Start-up and closing of the real program under Wine: from CreateProcess until its main
// window is visible with nothing left to paint, and from WM_CLOSE until the process has
// ended, with task files of 0 to 100,000 rows, with and without a due limit on every fifth
// row. Ratios are to the empty list.
#include <cstdio>

#include "app/WinTaskLocale.h"
#include "bench/win/WinBench.h"

namespace {

constexpr DWORD kGiveUpMs = 180000;

HWND FindMainForm(DWORD pid) {
  struct TSearch {
    DWORD pid;
    HWND found;
  } search = {pid, nullptr};
  EnumWindows(
      [](HWND wnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        wchar_t cls[32] = {};
        GetClassNameW(wnd, cls, 32);
        if (owner != s->pid || lstrcmpW(cls, L"TForm1") != 0) return TRUE;
        s->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Visible, and neither the window nor any of its children waits for a repaint.
bool Painted(HWND form) {
  if (!IsWindowVisible(form) || GetUpdateRect(form, nullptr, FALSE)) return false;
  bool clean = true;
  EnumChildWindows(
      form,
      [](HWND child, LPARAM lp) -> BOOL {
        if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
        *reinterpret_cast<bool*>(lp) = false;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&clean));
  return clean;
}

struct TStartRun {
  bool ok = false;
  double shown = 0;
  double closed = 0;
};

TStartRun StartAndClose(const TBenchFolder& folder) {
  TStartRun run;
  std::wstring cmd = L"\"" + folder.Path() + L"VornikDesktop.exe\"";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  const LARGE_INTEGER start = BenchNow();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.Path().c_str(), &si, &pi))
    return run;
  HWND form = nullptr;
  while (!(form = FindMainForm(pi.dwProcessId)) || !Painted(form)) {
    if (WaitForSingleObject(pi.hProcess, 5) == WAIT_OBJECT_0 ||
        BenchSeconds(start, BenchNow()) * 1000 > kGiveUpMs)
      break;
  }
  if (form && Painted(form)) {
    run.shown = BenchSeconds(start, BenchNow());
    WaitForInputIdle(pi.hProcess, kGiveUpMs);
    Sleep(300);  // the first ticks and fades settle, so closing is timed alone
    const LARGE_INTEGER closing = BenchNow();
    PostMessageW(form, WM_CLOSE, 0, 0);
    run.ok = WaitForSingleObject(pi.hProcess, kGiveUpMs) == WAIT_OBJECT_0;
    run.closed = BenchSeconds(closing, BenchNow());
  }
  if (!run.ok) {
    std::printf("  (the program did not start, paint or close in time)\n");
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

struct TStartCase {
  int Rows;
  bool Due;
  std::string File;
  std::vector<double> Shown, Closed;
};

}  // namespace

void RunStartupBench() {
  TWinTaskLocale locale;
  const TDateTime now = locale.Now();
  TBenchFolder folder(L"vornik-bench-start");
  std::vector<TStartCase> cases;
  for (const bool due : {false, true})
    for (const int rows : {0, 5000, 20000, 100000})
      if (!(due && rows == 0))
        cases.push_back({rows, due, rows == 0 ? std::string("no\r\n") : BenchTaskFile(locale, now, rows, due), {}, {}});
  // Round by round over all cases, so a busy moment of the machine spreads over all of them.
  constexpr int kRounds = 5;
  std::printf("Start to first paint and close of VornikDesktop.exe (Wine), %d rounds\n", kRounds);
  for (int round = 0; round < kRounds; ++round) {
    for (TStartCase& c : cases) {
      folder.Write(L"save.txt", c.File);  // the program may have written it back
      const TStartRun run = StartAndClose(folder);
      if (!run.ok) continue;
      c.Shown.push_back(run.shown);
      c.Closed.push_back(run.closed);
    }
  }
  double emptyShown = 0, emptyClosed = 0;
  for (const TStartCase& c : cases) {
    const std::string label = std::to_string(c.Rows) + " rows" + (c.Due ? ", due limit every 5th" : "");
    const double s = BenchReport("start to first paint, " + label, c.Shown, emptyShown);
    const double d = BenchReport("close (WM_CLOSE to exit), " + label, c.Closed, emptyClosed);
    if (c.Rows == 0) {
      emptyShown = s;
      emptyClosed = d;
    }
  }
}
