// Shared pieces of the paint benchmarks: the client size and timing against memcpy.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "skin/paint/zkBitmap.h"

constexpr int kClientW = 657, kClientH = 451;  // the main window's client area

// Seconds one memcpy of a 24-bit bitmap's bytes of this size takes (best of several runs).
inline double MemcpySeconds(int w, int h) {
  const size_t bytes = DibRowBytes(w, TPixelFormat::pf24bit) * size_t(h);
  std::vector<uint8_t> a(bytes, 1), b(bytes, 2);
  double best = 1e9;
  for (int i = 0; i < 30; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

// Runs body once per iteration and reports its time per iteration relative to memcpy.
template <typename F>
void TimedLoop(benchmark::State& state, F body, double memcpySeconds) {
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    body();
    benchmark::ClobberMemory();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  if (state.iterations() > 0)
    state.counters["x_memcpy"] = total / double(state.iterations()) / memcpySeconds;
}
