// The skinned frame of the main window: a non-client repaint (title bar and borders rendered
// and copied), an activation switch, and the start of the main window up to its first paint
// with the skin against the same window with its skin manager inactive.
#include <windows.h>

#include <cstdio>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/paint/sControlUtils.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Application.h"

void RunFrameBench(TForm1* form) {
  HWND wnd = form->Handle();
  SetActiveWindow(wnd);
  Application->ProcessMessages();
  auto* provider = reinterpret_cast<IzkFrameProvider*>(SendCommandToWindow(wnd, zcGetProvider));
  auto* frame = dynamic_cast<TsSkinProvider*>(provider);
  std::printf("Skinned frame of the main window (Wine)\n");
  if (!frame) {
    std::printf("  the main window has no frame provider\n");
    return;
  }
  BenchReport("non-client repaint (render + copy)", TimeRuns(200, [&] {
           frame->InvalidateFrame(false);
           SendMessageW(wnd, WM_NCPAINT, 1, 0);
         }));
  BenchReport("non-client repaint from the cache", TimeRuns(200, [&] { SendMessageW(wnd, WM_NCPAINT, 1, 0); }));
  BenchReport("activation switch (inactive, active)", TimeRuns(100, [&] {
           SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
           SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
         }));
}

namespace {

double StartToFirstPaint(const TForm1Setup& setup) {
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  TForm1* form = Application->CreateForm<TForm1>(setup);
  form->Timer1->SetEnabled(false);
  form->Show();
  SetActiveWindow(form->Handle());
  UpdateWindow(form->Handle());
  Application->ProcessMessages();
  QueryPerformanceCounter(&b);
  delete form;
  Application->ProcessMessages();
  return BenchSeconds(a, b);
}

}  // namespace

void RunStartBench(const TForm1Setup& setup) {
  std::vector<double> skinned, plain;
  TForm1Setup inactive = setup;
  inactive.SkinActive = false;
  // Taking turns at going first, so neither kind of start always finds the other's leftovers.
  for (int run = 0; run < 16; ++run) {
    if (run % 2) plain.push_back(StartToFirstPaint(inactive));
    skinned.push_back(StartToFirstPaint(setup));
    if (!(run % 2)) plain.push_back(StartToFirstPaint(inactive));
  }
  std::printf("Start of the main window to its first paint, in process (Wine)\n");
  BenchReport("with the skin", skinned);
  BenchReport("with the skin manager inactive", plain);
  std::sort(skinned.begin(), skinned.end());
  std::sort(plain.begin(), plain.end());
  std::printf("%-44s %.2fx (aim: at most 1.3x)\n", "ratio of the medians",
              skinned[skinned.size() / 2] / plain[plain.size() / 2]);
}
