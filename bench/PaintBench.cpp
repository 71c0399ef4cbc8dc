// Paint engine benchmarks: the byte blender against memcpy of the same bytes and a scalar
// reference (to show the blend loops are vectorised), tint, border mask and section painting
// over the main window's 657 x 451 client area.
//
// Counters: "x_memcpy" is the time of one iteration divided by the time of memcpy of the
// destination's bytes (measured once, same buffers' size); bytes_per_second counts the
// destination bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "bench/PaintBenchUtil.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkFastBitmap.h"

namespace {

constexpr int kHdW = 1920, kHdH = 1080;

TzkBitmap NoiseBitmap(int w, int h, uint32_t seed, TPixelFormat pf = TPixelFormat::pf24bit) {
  TzkBitmap b(w, h, pf);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < w * b.BytesPerPixel(); ++i) row[i] = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
  }
  return b;
}

// The same formula, one byte at a time, with vectorisation switched off.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
void ScalarBlend(TzkBitmap& dst, const TzkBitmap& src, uint8_t w) {
  const size_t n = size_t(dst.Width()) * 3;
  for (int y = dst.Height() - 1; y >= 0; --y) {
    uint8_t* d = dst.ScanLine(y);
    const uint8_t* s = src.ScanLine(y);
#if defined(__clang__)
#pragma clang loop vectorize(disable)
#endif
    for (size_t b = n; b-- > 0;) d[b] = uint8_t((d[b] * w + s[b] * (255 - w) + 127) >> 8);
  }
}

void BM_Memcpy1080p24(benchmark::State& state) {
  TzkBitmap src = NoiseBitmap(kHdW, kHdH, 1), dst(kHdW, kHdH);
  const size_t bytes = DibRowBytes(kHdW, TPixelFormat::pf24bit) * kHdH;
  for (auto _ : state) {
    std::memcpy(dst.ScanLine(0), src.ScanLine(0), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Memcpy1080p24);

void BM_FadeWhole1080p24(benchmark::State& state) {
  TzkBitmap src = NoiseBitmap(kHdW, kHdH, 1), dst = NoiseBitmap(kHdW, kHdH, 2);
  TimedLoop(state, [&] { FadeWhole(dst, src, 100); }, MemcpySeconds(kHdW, kHdH));
}
BENCHMARK(BM_FadeWhole1080p24);

void BM_BlendBytes1080p24(benchmark::State& state) {
  TzkBitmap src = NoiseBitmap(kHdW, kHdH, 1), dst = NoiseBitmap(kHdW, kHdH, 2);
  TzkFastSum24 sum;
  sum.BindPair(&src, &dst);
  sum.Weight = 100;
  sum.DstRect = sum.SrcRect = Rect(0, 0, kHdW, kHdH);
  TimedLoop(state, [&] { sum.BlendBytes(); }, MemcpySeconds(kHdW, kHdH));
}
BENCHMARK(BM_BlendBytes1080p24);

void BM_BlendBytesScalarReference1080p24(benchmark::State& state) {
  TzkBitmap src = NoiseBitmap(kHdW, kHdH, 1), dst = NoiseBitmap(kHdW, kHdH, 2);
  TimedLoop(state, [&] { ScalarBlend(dst, src, 100); }, MemcpySeconds(kHdW, kHdH));
}
BENCHMARK(BM_BlendBytesScalarReference1080p24);

void BM_TintRect657x451(benchmark::State& state) {
  TzkBitmap dst = NoiseBitmap(kClientW, kClientH, 3);
  TimedLoop(state, [&] { TintRect(dst, Rect(0, 0, kClientW - 1, kClientH - 1), 60, 0x3C2A1E); },
            MemcpySeconds(kClientW, kClientH));
}
BENCHMARK(BM_TintRect657x451);

}  // namespace
