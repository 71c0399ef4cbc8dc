// One tick of the main window's real list view with 2,000 rows: every running row's
// elapsed text recomputed from its start text and every limit checked, with and without
// the repaint that follows. Timed with the performance counter.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "WinBenchUtil.h"
#include "app/WinTaskLocale.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

namespace {

class BenchLocale : public TWinTaskLocale {
 public:
  TDateTime now = 46000.5;
  TDateTime Now() const override { return now; }
};

class SilentAlarm : public ITaskAlarm {
 public:
  void Play() override {}
};

}  // namespace

int main() {
  Application->Initialize();
  Application->OnException = [](TObject*, const std::exception* e) {
    std::printf("error: %s\n", e ? e->what() : "unknown");
  };
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"vornik-bench\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* f : {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico"})
    CopyFileW((ExeFolder() + f).c_str(), (folder + f).c_str(), FALSE);
  DeleteFileW((folder + L"save.txt").c_str());

  BenchLocale locale;
  SilentAlarm alarm;
  TForm1Setup setup;
  setup.Folder = folder;
  setup.Locale = &locale;
  setup.Alarm = &alarm;
  TForm1* form = Application->CreateForm<TForm1>(setup);
  form->Timer1->SetEnabled(false);
  TTaskRows& rows = form->Rows();
  const int kRows = 2000;
  form->sListView1->BeginUpdate();
  for (int i = 0; i < kRows; ++i) {
    const int r = rows.AddRow();
    rows.SetText(r, tfCaption, "Task number " + std::to_string(i));
    rows.SetText(r, tfStart, locale.DateTimeToText(locale.now - i / 1440.0));
    rows.SetText(r, tfElapsed, "notend");
    rows.SetText(r, tfFinished, i % 10 == 0 ? "true" : "false");
    rows.SetText(r, tfLimit, i % 3 == 0 ? "100:0:00" : "notime");
    rows.SetText(r, tfPriority, std::to_string(i % 3));
  }
  form->sListView1->EndUpdate();
  form->Show();
  Application->ProcessMessages();

  std::vector<double> tickOnly, tickAndPaint;
  for (int run = 0; run < 30; ++run) {
    locale.now += 1.0 / 86400;
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    form->Timer1->Tick();
    QueryPerformanceCounter(&b);
    tickOnly.push_back(Seconds(a, b));
    Application->ProcessMessages();
  }
  for (int run = 0; run < 30; ++run) {
    locale.now += 1.0 / 86400;
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    form->Timer1->Tick();
    UpdateWindow(form->sListView1->Handle());
    Application->ProcessMessages();
    QueryPerformanceCounter(&b);
    tickAndPaint.push_back(Seconds(a, b));
  }
  std::printf("List view tick, %d rows (Wine)\n", kRows);
  Report("tick (texts, limits, invalidation)", tickOnly);
  Report("tick + repaint of the visible rows", tickAndPaint);
  RunSkinManagerBench(form);
  RunFrameBench(form);
  delete form;
  Application->ProcessMessages();
  RunStartBench(setup);
  for (const wchar_t* f : {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico", L"save.txt"})
    DeleteFileW((folder + f).c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
