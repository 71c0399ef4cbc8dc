// Timing helpers of the Win32 benchmarks (the platform's performance counter).
#pragma once

#include <windows.h>

#include <vector>

#include "WinBench.h"

class TForm1;
struct TForm1Setup;

// Times fn over `runs` runs.
template <typename Fn>
std::vector<double> TimeRuns(int runs, Fn fn) {
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    fn();
    QueryPerformanceCounter(&b);
    samples.push_back(BenchSeconds(a, b));
  }
  return samples;
}

// The skin manager benchmarks, run with the main window open.
void RunSkinManagerBench(TForm1* form);
// The list's popup menu opened and painted, skinned and by the platform.
void RunMenuBench(TForm1* form);
void RunDialogBench(TForm1* form);
// The skinned controls of the main window: repaints with and without the skin, fade frames.
void RunSkinnedControlsBench(TForm1* form);
// The skinned frame of the main window: non-client repaint and activation switch.
void RunFrameBench(TForm1* form);
// The main window's start to its first paint, with the skin and with an inactive manager.
void RunStartBench(const TForm1Setup& setup);
// The main window's start to its first paint with the skin at 150 % and 200 % against 100 %,
// and scale changes of the open window.
void RunScaleBench(const TForm1Setup& setup);
// Scrolling the skinned task list against a plain one, with the main window open.
void RunListScrollBench(TForm1* form);
