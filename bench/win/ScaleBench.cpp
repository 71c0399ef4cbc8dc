// The skin at display scales: the main window made, its skin set to a scale (the skin
// scaled from the loaded tables) and shown up to its first paint, at 150 % and 200 % against
// 100 %; then a scale change of the open window, the first one to a scale (its tables made)
// against later ones (the tables kept since).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "app/WinTaskLocale.h"
#include "skin/data/sSkinManager.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"

namespace {

// From the window's construction (which loads the skin) to its first paint with the skin at
// a scale.
double StartAtScale(const TForm1Setup& setup, int dpi) {
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  TForm1* form = Application->CreateForm<TForm1>(setup);
  form->Timer1->SetEnabled(false);
  form->sSkinManager1->SetPixelsPerInch(dpi);
  form->Show();
  SetActiveWindow(form->Handle());
  UpdateWindow(form->Handle());
  Application->ProcessMessages();
  QueryPerformanceCounter(&b);
  delete form;
  Application->ProcessMessages();
  return BenchSeconds(a, b);
}

class TQuietAlarm : public ITaskAlarm {
 public:
  void Play() override {}
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

void RunScaleBench(const TForm1Setup& setup) {
  const int scales[] = {kDesignDpi, kDesignDpi * 3 / 2, kDesignDpi * 2};
  std::vector<double> runs[3];
  // Taking turns, so no scale always finds another's leftovers.
  for (int run = 0; run < 10; ++run)
    for (int i = 0; i < 3; ++i) runs[(i + run) % 3].push_back(StartAtScale(setup, scales[(i + run) % 3]));
  std::printf("Skin load and first paint of the main window at a display scale, in process (Wine)\n");
  const double base = BenchReport("at 100 %", runs[0]);
  BenchReport("at 150 %", runs[1], base);
  BenchReport("at 200 %", runs[2], base);
  std::printf("%-44s %.2fx / %.2fx (aim: at most 1.5x)\n", "150 % / 200 % against 100 %",
              Median(runs[1]) / Median(runs[0]), Median(runs[2]) / Median(runs[0]));

  TForm1* form = Application->CreateForm<TForm1>(setup);
  form->Timer1->SetEnabled(false);
  form->Show();
  Application->ProcessMessages();
  TsSkinManager* m = form->sSkinManager1;
  std::vector<double> first, again;
  for (int dpi : {kDesignDpi * 5 / 4, kDesignDpi * 3 / 2, kDesignDpi * 7 / 4, kDesignDpi * 2}) {
    first.push_back(TimeRuns(1, [&] {
      m->SetPixelsPerInch(dpi);
      Application->ProcessMessages();
    })[0]);
    m->SetPixelsPerInch(kDesignDpi);
    Application->ProcessMessages();
  }
  for (int i = 0; i < 8; ++i) {
    again.push_back(TimeRuns(1, [&] {
      m->SetPixelsPerInch(i % 2 ? kDesignDpi * 2 : kDesignDpi * 3 / 2);
      Application->ProcessMessages();
    })[0]);
  }
  std::printf("Display scale change of the open main window (Wine)\n");
  BenchReport("first change to a scale (tables made)", first);
  BenchReport("later changes (tables kept)", again);
  delete form;
  Application->ProcessMessages();
}

void RunScaleBenchAlone() {
  TWinTaskLocale locale;
  TQuietAlarm alarm;
  TBenchFolder folder(L"vornik-bench-scale");
  TForm1Setup setup;
  setup.Folder = folder.Path();
  setup.Locale = &locale;
  setup.Alarm = &alarm;
  RunScaleBench(setup);
}
