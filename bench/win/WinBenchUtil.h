// Timing helpers of the Win32 benchmarks (the platform's performance counter).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

class TForm1;
struct TForm1Setup;

inline double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

inline void Report(const char* name, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  std::printf("%-44s median %8.3f ms   min %8.3f ms   max %8.3f ms   (%zu runs)\n", name,
              median * 1e3, samples.front() * 1e3, samples.back() * 1e3, samples.size());
}

// Times fn over `runs` runs.
template <typename Fn>
std::vector<double> TimeRuns(int runs, Fn fn) {
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    fn();
    QueryPerformanceCounter(&b);
    samples.push_back(Seconds(a, b));
  }
  return samples;
}

// The skin manager benchmarks, run with the main window open.
void RunSkinManagerBench(TForm1* form);
// The skinned controls of the main window: repaints with and without the skin, fade frames.
void RunSkinnedControlsBench(TForm1* form);
// The skinned frame of the main window: non-client repaint and activation switch.
void RunFrameBench(TForm1* form);
// The main window's start to its first paint, with the skin and with an inactive manager.
void RunStartBench(const TForm1Setup& setup);
// Scrolling the skinned task list against a plain one, with the main window open.
void RunListScrollBench(TForm1* form);
