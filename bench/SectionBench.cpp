// Border masks and whole sections painted over the main window's client area.
#include <benchmark/benchmark.h>

#include "bench/PaintBenchUtil.h"
#include "skin/data/sSkinTables.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"

namespace {

// A 3-frame 24 x 24 border with 6-pixel borders (key-colour corners), then the same picture
// as an alpha mask over its mask half.
void BuildTables(TsSkinTables& t) {
  t.MasterBitmap = TzkBitmap(72, 48);
  for (int y = 0; y < 48; ++y) {
    uint8_t* row = t.MasterBitmap.ScanLine(y);
    for (int x = 0; x < 72; ++x) {
      const bool key = (x % 24 < 2 && y % 24 < 2);
      row[3 * x] = key ? 255 : uint8_t(x * 3);
      row[3 * x + 1] = key ? 0 : uint8_t(y * 5);
      row[3 * x + 2] = key ? 255 : uint8_t(x + y);
    }
  }
  auto add = [&](const char* key, TRect r, int maskType) {
    TsMaskData m;
    m.SectionName = "BUTTON";
    m.PropertyName = key;
    m.Rect = r;
    m.ImageCount = 3;
    m.MaskType = int16_t(maskType);
    m.StretchMode = 4;
    m.WL = m.WT = m.WR = m.WB = 6;
    m.Manager = &t;
    t.Masks.push_back(std::move(m));
  };
  add("BORDERSMASK", Rect(0, 0, 72, 24), 0);
  add("ALPHAMASK", Rect(0, 0, 72, 48), 1);
  TsGeneralData s;
  s.SectionName = "BUTTON";
  s.Color = 0xF0E0D0;
  s.Transparency = 50;
  s.GradientPercent = 100;
  s.GradientData = "16777215;16313565;51;0;0;16313565;16114894;1;0;0;16114894;15456965;45;0;0;15456965;15456965;0;0;0";
  s.GradientArray = {{16777215, 16313565, 51, 0}, {16313565, 16114894, 1, 0},
                     {16114894, 15456965, 45, 0}, {15456965, 15456965, 0, 0}};
  s.BorderIndex = 0;
  t.Sections.push_back(std::move(s));
}

void BM_PaintBorderMaskKeyed657x451(benchmark::State& state) {
  TsSkinTables t;
  BuildTables(t);
  TzkBitmap dst(kClientW, kClientH);
  TsBackgroundInfo bg;
  bg.Color = 0x808080;
  TimedLoop(state, [&] { PaintBorderMask(dst, Rect(0, 0, kClientW, kClientH), true, true, 1, t.Masks[0], bg); },
            MemcpySeconds(kClientW, kClientH));
}
BENCHMARK(BM_PaintBorderMaskKeyed657x451);

void BM_PaintBorderMaskAlpha657x451(benchmark::State& state) {
  TsSkinTables t;
  BuildTables(t);
  TzkBitmap dst(kClientW, kClientH);
  TsBackgroundInfo bg;
  bg.Color = 0x808080;
  TimedLoop(state, [&] { PaintBorderMask(dst, Rect(0, 0, kClientW, kClientH), true, true, 1, t.Masks[1], bg); },
            MemcpySeconds(kClientW, kClientH));
}
BENCHMARK(BM_PaintBorderMaskAlpha657x451);

void BM_PaintSectionGradientHalfTransparent657x451(benchmark::State& state) {
  TsSkinTables t;
  BuildTables(t);
  TzkBitmap behind(kClientW, kClientH), dst(kClientW, kClientH);
  behind.Fill(0x336699);
  TsBackgroundInfo bg;
  bg.Bitmap = &behind;
  bg.IsBitmap = true;
  TimedLoop(state, [&] {
    PaintSection(0, "BUTTON", bg, clFuchsia, -1, -1, &t, dst, TPoint(), Rect(0, 0, kClientW, kClientH), 0);
  }, MemcpySeconds(kClientW, kClientH));
}
BENCHMARK(BM_PaintSectionGradientHalfTransparent657x451);

}  // namespace
