// Loading a whole packed skin: a realistic archive made in code (60 sections, a 320 × 300
// 24-bit master bitmap, five RGBA PNGs, a 32-bit BMP, a JPEG pattern and a JPEG texture),
// loaded as the skin manager loads its stored skin; and the steps on their own.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <stdexcept>

#include "skin/data/sHueSaturation.h"
#include "skin/data/sOptionsFile.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"
#include "tests/native/support/JpegTestEncoder.h"
#include "tests/native/support/SkinTestData.h"

namespace {

std::vector<uint8_t> EncodeRgbaPng(int w, int h) {
  std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const size_t p = i / 4;
    rgba[i] = uint8_t(p * 7), rgba[i + 1] = uint8_t(p / size_t(w) * 9), rgba[i + 2] = 200;
    rgba[i + 3] = uint8_t(p % size_t(w) < 4 ? 0 : 255);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(w);
  image.height = png_uint_32(h);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr))
    throw std::runtime_error("png encoding failed");
  out.resize(size);
  return out;
}

std::vector<uint8_t> Jpeg(const skintest::TImageFile& f) {
  jpegtest::TJpegSpec spec;
  spec.Width = f.Width;
  spec.Height = f.Height;
  return jpegtest::EncodeJpeg(spec, jpegtest::SmoothSamples(f.Width, f.Height, 3));
}

const std::vector<uint8_t>& Archive() {
  static const std::vector<uint8_t> archive = [] {
    TzkSkinPacker p;
    const std::string options = skintest::RealisticOptions(60);
    p.Add("Options.dat", std::vector<uint8_t>(options.begin(), options.end()));
    p.Add("Master.bmp", skintest::MasterBmp(320, 300));
    p.Add(skintest::kButtonBmp.Name, skintest::PlainBmp(skintest::kButtonBmp.Width, skintest::kButtonBmp.Height, 32));
    for (const auto& f : skintest::kPngFiles) p.Add(f.Name, EncodeRgbaPng(f.Width, f.Height));
    p.Add(skintest::kBackJpeg.Name, Jpeg(skintest::kBackJpeg));
    p.Add(skintest::kTileJpeg.Name, Jpeg(skintest::kTileJpeg));
    return p.Bytes();
  }();
  return archive;
}

void BM_LoadPackedSkin(benchmark::State& state) {
  const std::vector<uint8_t>& archive = Archive();
  TsSkinLoadOptions options;
  options.HueOffset = int(state.range(0));
  TsSkinTables tables;
  for (auto _ : state) {
    LoadSkinFromArchive(archive.data(), archive.size(), tables, options);
    benchmark::DoNotOptimize(tables.Masks.data());
  }
  state.counters["sections"] = double(tables.Sections.size());
  state.counters["masks"] = double(tables.Masks.size());
  state.counters["archive_kB"] = double(archive.size()) / 1024;
}
BENCHMARK(BM_LoadPackedSkin)->Arg(0)->Arg(40)->Unit(benchmark::kMillisecond);

// The program's own skin, as it is loaded from the resource at every start.
void BM_LoadInternalSkin(benchmark::State& state) {
  const std::vector<uint8_t> archive = ReadWholeFile(VORNIK_QUARN_ARCHIVE, kMaxArchiveBytes);
  TsSkinTables tables;
  for (auto _ : state) {
    LoadSkinFromArchive(archive.data(), archive.size(), tables, {});
    benchmark::DoNotOptimize(tables.Masks.data());
  }
  state.counters["sections"] = double(tables.Sections.size());
  state.counters["masks"] = double(tables.Masks.size());
  state.counters["archive_kB"] = double(archive.size()) / 1024;
}
BENCHMARK(BM_LoadInternalSkin)->Unit(benchmark::kMillisecond);

void BM_ParseArchive(benchmark::State& state) {
  const std::vector<uint8_t>& archive = Archive();
  for (auto _ : state) {
    std::unique_ptr<TzkSkinConvertor> reader;
    TzkSkinConvertor::ParseBuffer(archive.data(), archive.size(), reader);
    benchmark::DoNotOptimize(reader->Images().data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(archive.size()));
}
BENCHMARK(BM_ParseArchive)->Unit(benchmark::kMicrosecond);

void BM_ParseOptions(benchmark::State& state) {
  const std::string text = skintest::RealisticOptions(60);
  for (auto _ : state) {
    TsOptionsFile f(text);
    benchmark::DoNotOptimize(f.ReadSectionInteger(int(f.Sections().size()) - 1, "COLOR", 0));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ParseOptions)->Unit(benchmark::kMicrosecond);

void BM_ApplyHueToMaster(benchmark::State& state) {
  TsSkinTables tables;
  LoadSkinFromArchive(Archive().data(), Archive().size(), tables);
  const TzkBitmap original = tables.MasterBitmap.Clone();
  for (auto _ : state) {
    state.PauseTiming();
    tables.MasterBitmap = original.Clone();
    state.ResumeTiming();
    ApplyHue(tables, 40);
  }
}
BENCHMARK(BM_ApplyHueToMaster)->Unit(benchmark::kMillisecond);

}  // namespace
