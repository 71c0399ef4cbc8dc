// The internal skin at a display scale: the scaled copy of its tables made once per scale
// (125 %, 150 %, 175 % filtered piece by piece; 200 % replicated), against loading the skin
// at 100 % (BM_LoadInternalSkin in SkinLoadBench.cpp) and the plain copy at 100 %. Counters:
// the pixel bytes of the scaled pictures and of the loaded ones.
#include <benchmark/benchmark.h>

#include "skin/data/sScaledSkin.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"

namespace {

const TsSkinTables& InternalSkin() {
  static const TsSkinTables* tables = [] {
    const std::vector<uint8_t> archive = ReadWholeFile(VORNIK_QUARN_ARCHIVE, kMaxArchiveBytes);
    auto* t = new TsSkinTables;
    LoadSkinFromArchive(archive.data(), archive.size(), *t, {});
    return t;
  }();
  return *tables;
}

void BM_ScaleInternalSkin(benchmark::State& state) {
  const TsSkinTables& source = InternalSkin();
  const int scale = int(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    const std::unique_ptr<TsSkinTables> scaled = ScaleSkinTables(source, scale);
    bytes = SkinImageBytes(*scaled);
    benchmark::DoNotOptimize(scaled->Masks.data());
  }
  state.counters["images_kB"] = double(bytes) / 1024;
  state.counters["loaded_kB"] = double(SkinImageBytes(source)) / 1024;
  state.counters["masks"] = double(source.Masks.size());
}
BENCHMARK(BM_ScaleInternalSkin)
    ->Arg(100)
    ->Arg(125)
    ->Arg(150)
    ->Arg(175)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
