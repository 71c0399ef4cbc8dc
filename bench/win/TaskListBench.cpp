// The main window's commands and its tick with 20,000 rows, in process. Each command is
// timed from the click until the list view has repainted, once with the task file written
// to disk as the program does and once with the written bytes kept in memory, which shows
// the command's own share. Closing is set against closing an empty plain window.
#include <cstdio>
#include <functional>

#include "app/Unit1.h"
#include "app/WinTaskLocale.h"
#include "app/WinTaskStorage.h"
#include "bench/win/WinBench.h"
#include "bench/win/WinBenchUtil.h"
#include "toolkit/Application.h"

namespace {

constexpr int kRows = 20000;
constexpr int kRuns = 20;

class TBenchLocale : public TWinTaskLocale {
 public:
  TDateTime now = 46000.5;
  TDateTime Now() const override { return now; }
};

class TSilentAlarm : public ITaskAlarm {
 public:
  void Play() override {}
};

// Encodes like the disk storage but keeps the file in memory.
class TMemoryStorage : public TWinTaskStorage {
 public:
  void ReplaceFile(const std::string&, const std::string& bytes) override { last = bytes; }
  std::string last;
};

void Settle(TForm1& form) {
  Application->ProcessMessages();
  UpdateWindow(form.sListView1->Handle());
}

// Times command until the list has repainted; `ownShare`, when given, gets the time until
// the command returned, before any painting.
std::vector<double> Time(TForm1& form, const std::function<void(int run)>& prepare,
                         const std::function<void()>& command, std::vector<double>* ownShare = nullptr) {
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    prepare(run);
    Settle(form);
    const LARGE_INTEGER a = BenchNow();
    command();
    const LARGE_INTEGER b = BenchNow();
    Settle(form);
    samples.push_back(BenchSeconds(a, BenchNow()));
    if (ownShare) ownShare->push_back(BenchSeconds(a, b));
  }
  return samples;
}

// The command's time, then how much of it passed before the list started painting.
void ReportCommand(const std::string& name, TForm1& form, const std::function<void(int run)>& prepare,
                   const std::function<void()>& command) {
  std::vector<double> own;
  BenchReport(name, Time(form, prepare, command, &own));
  BenchReport("  of which until the command returned", own);
}

void Select(TForm1& form, int row) {
  HWND list = form.sListView1->Handle();
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TimeCommands(TForm1& form, TBenchLocale& locale, const std::string& how) {
  BenchReport("save alone, " + how, Time(form, [](int) {}, [&] { form.SaveTasks(); }));
  // The form's own task file, so its rows' encoded lines are reused exactly as a save reuses
  // them (another encoder would rebuild every line, and spoil the form's line caches).
  BenchReport("  of which building the file's bytes",
              Time(form, [](int) {}, [&] { form.TaskFile().Format(form.Rows(), form.ListStart()); }));
  ReportCommand("add at the top, " + how, form,
                [&](int run) { form.sEdit1->SetText(L"new task " + std::to_wstring(run)); },
                [&] { form.sButton1->Click(); });
  ReportCommand("finish, " + how, form, [&](int run) { Select(form, run % 8); }, [&] { form.N1->Click(); });
  ReportCommand("delete, " + how, form, [&](int) { Select(form, 4); }, [&] { form.N2->Click(); });
  TMenuItem* priorities[] = {form.N5, form.N7, form.N8};
  int next = 0;
  ReportCommand("priority, " + how, form, [&](int run) { Select(form, run % 8); },
                [&] { priorities[next++ % 3]->Click(); });
  ReportCommand("one tick (no limit fires), " + how, form, [&](int) { locale.now += 1.0 / 86400; },
                [&] { form.Timer1->Tick(); });
}

TForm1* OpenForm(const TForm1Setup& setup) {
  const LARGE_INTEGER opening = BenchNow();
  TForm1* form = Application->CreateForm<TForm1>(setup);
  const LARGE_INTEGER created = BenchNow();
  form->Show();
  Settle(*form);
  BenchReport("making the window and loading the rows", {BenchSeconds(opening, created)});
  BenchReport("showing it until the first paint", {BenchSeconds(created, BenchNow())});
  form->Timer1->SetEnabled(false);
  return form;
}

double TimeDelete(TComponent* c) {
  const LARGE_INTEGER a = BenchNow();
  delete c;
  Application->ProcessMessages();
  return BenchSeconds(a, BenchNow());
}

}  // namespace

void RunTaskListBench() {
  TBenchLocale locale;
  TSilentAlarm alarm;
  TBenchFolder folder(L"vornik-bench-list");
  folder.Write(L"save.txt", BenchTaskFile(locale, locale.now, kRows, false));
  TForm1Setup setup;
  setup.Folder = folder.Path();
  setup.Locale = &locale;
  setup.Alarm = &alarm;

  std::printf("Main window with %d rows, in process (Wine)\n", kRows);
  TForm1* form = OpenForm(setup);
  TimeCommands(*form, locale, "file on disk");
  BenchReport("repaint of every visible row (reference)",
              Time(*form, [](int) {}, [&] { InvalidateRect(form->sListView1->Handle(), nullptr, TRUE); }));
  RunListScrollBench(form);
  RunSkinManagerBench(form);
  RunSkinnedControlsBench(form);
  RunFrameBench(form);
  RunMenuBench(form);
  RunDialogBench(form);
  delete form;

  TMemoryStorage memory;
  setup.Storage = &memory;
  form = OpenForm(setup);
  TimeCommands(*form, locale, "file kept in memory");
  BenchReport("close: destroying the main window", {TimeDelete(form)});
  TForm* plain = new TForm(Application);
  plain->Show();
  Application->ProcessMessages();
  BenchReport("close: an empty plain window (reference)", {TimeDelete(plain)});

  TBenchFolder empty(L"vornik-bench-frame");
  TForm1Setup fresh = setup;
  fresh.Folder = empty.Path();
  fresh.Storage = nullptr;
  RunStartBench(fresh);
  RunScaleBench(fresh);
}
