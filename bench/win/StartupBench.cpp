// Start-up and closing of the real program under Wine: from CreateProcess until its main
// window is visible with nothing left to paint, and from WM_CLOSE until the process has
// ended, with task files of 0 to 100,000 rows, with and without a due limit on every fifth
// row. Ratios are to the empty list.
//
// The cost of the skin at start-up: this benchmark program, started again as a child, runs
// the program's own start sequence once with the skin and once with the skin manager
// inactive; the two starts differ in nothing else (same files, same rows).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/WinTaskLocale.h"
#include "bench/win/WinBench.h"
#include "bench/win/WinBenchUtil.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

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

TStartRun StartAndClose(const TBenchFolder& folder, const wchar_t* program = L"VornikDesktop.exe",
                        const wchar_t* arguments = L"") {
  TStartRun run;
  std::wstring cmd = L"\"" + folder.Path() + program + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  const LARGE_INTEGER start = BenchNow();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.Path().c_str(), &si, &pi))
    return run;
  HWND form = nullptr;
  bool painted = false;
  // The first moment the window is painted counts; asking again later could find it waiting
  // for a repaint that came after, and lose the run.
  while (!(painted = (form = FindMainForm(pi.dwProcessId)) && Painted(form))) {
    if (WaitForSingleObject(pi.hProcess, 5) == WAIT_OBJECT_0 ||
        BenchSeconds(start, BenchNow()) * 1000 > kGiveUpMs)
      break;
  }
  if (painted) {
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

namespace {

constexpr const char* kChildSkinned = "skinned";
constexpr const char* kChildPlain = "plain";

// Median, and the spread as the lowest and highest run relative to it.
double ReportWithSpread(const std::string& name, std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  std::printf("%-52s median %9.2f ms   spread %9.2f .. %9.2f ms  (%zu runs)\n", name.c_str(),
              median * 1e3, samples.front() * 1e3, samples.back() * 1e3, samples.size());
  std::fflush(stdout);
  return median;
}

}  // namespace

// The child: the program's start sequence, the skin manager active or not.
int RunStartChild(const char* mode) {
  InstallDibBitmapStorage();
  Application->Initialize();
  Application->SetTitle(L"Vornik Desktop");
  TForm1Setup setup;
  setup.SkinActive = std::strcmp(mode, kChildPlain) != 0;
  Form1 = Application->CreateForm<TForm1>(setup);
  Form2 = Application->CreateForm<TForm2>(Form1);
  Form1->TimeLimitDialog = Form2;
  Application->Run();
  delete Form2;
  delete Form1;
  return 0;
}

void RunSkinStartBench() {
  TWinTaskLocale locale;
  TBenchFolder folder(L"vornik-bench-skin-start");
  CopyFileW((ExeFolder() + L"win_bench.exe").c_str(), (folder.Path() + L"win_bench.exe").c_str(), FALSE);
  constexpr int kRounds = 11;
  std::printf("Cold start to first paint, skin against inactive skin manager (Wine), %d rounds\n",
              kRounds);
  for (const int rows : {0, 20000}) {
    const std::string file = rows == 0 ? std::string("no\r\n") : BenchTaskFile(locale, locale.Now(), rows, false);
    std::vector<double> skinned, plain, program;
    // Alternating, and taking turns at going first, so a busy moment of the machine falls on
    // both kinds of start.
    for (int round = 0; round < kRounds; ++round) {
      const bool skinFirst = round % 2 == 0;
      for (const char* mode : {skinFirst ? kChildSkinned : kChildPlain, skinFirst ? kChildPlain : kChildSkinned}) {
        folder.Write(L"save.txt", file);
        const std::wstring args = L"child " + Utf8ToWide(mode);
        const TStartRun run = StartAndClose(folder, L"win_bench.exe", args.c_str());
        if (run.ok) (mode == kChildPlain ? plain : skinned).push_back(run.shown);
      }
      folder.Write(L"save.txt", file);
      const TStartRun run = StartAndClose(folder);
      if (run.ok) program.push_back(run.shown);
    }
    const std::string label = ", " + std::to_string(rows) + " rows";
    ReportWithSpread("VornikDesktop.exe" + label, program);
    const double s = ReportWithSpread("start sequence with the skin" + label, skinned);
    const double p = ReportWithSpread("start sequence, skin manager inactive" + label, plain);
    if (p > 0) std::printf("%-52s %.2fx (aim: at most 1.3x)\n", ("ratio skinned / inactive" + label).c_str(), s / p);
    // The fastest runs are the ones the rest of the machine disturbed least.
    if (!skinned.empty() && !plain.empty())
      std::printf("%-52s %.2fx\n", ("ratio of the fastest runs" + label).c_str(),
                  *std::min_element(skinned.begin(), skinned.end()) / *std::min_element(plain.begin(), plain.end()));
  }
  // The same comparison inside this process, where the start of a process does not hide it.
  TForm1Setup setup;
  setup.Folder = folder.Path();
  folder.Write(L"save.txt", "no\r\n");
  RunStartBench(setup);
}
