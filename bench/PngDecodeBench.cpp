// Decoding 8-bit RGBA PNG files of 64 x 64 to 1024 x 1024: our reader against libpng on the
// same bytes, both producing B, G, R, A rows in memory.
//
//   BM_PngOurs/N, BM_PngLibpng/N   each decoder alone
//   BM_PngRatio/N                  both in turns within one loop; the "ratio" counter is our
//                                  time divided by libpng's (below 1.0: ours is faster)
//
// The images are drawn in code to compress like real skin art: gradients with a little
// noise, soft-edged shapes, a glow with falling alpha, transparent margins and some fine
// detail; encoded with the usual adaptive filter choice and zlib level 6.
#include <benchmark/benchmark.h>
#include <png.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "skin/data/zkPNG.h"
// The benchmark program is built from bench/*.cpp alone: the test tree's encoder is
// compiled in here, once; other benchmark files include only its header.
#include "tests/native/support/PngTestEncoder.cpp"

namespace {

uint8_t Clamp(double v) { return uint8_t(std::lround(std::min(255.0, std::max(0.0, v)))); }

std::vector<uint32_t> DrawSkinArt(int size) {
  std::vector<uint32_t> px(size_t(size) * size_t(size));
  uint32_t noise = 12345;
  const double s = size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      noise = noise * 1103515245u + 12345u;
      const double n = double((noise >> 16) & 3) - 1.5;
      // Base: a vertical blue gradient.
      double r = 40 + 60 * y / s + n, g = 70 + 80 * y / s + n, b = 140 + 90 * y / s + n, a = 255;
      // A rounded panel with a soft edge.
      const double dx = std::max(0.0, std::abs(x - s * 0.5) - s * 0.25);
      const double dy = std::max(0.0, std::abs(y - s * 0.55) - s * 0.18);
      const double edge = std::clamp(s * 0.06 - std::hypot(dx, dy), 0.0, 1.0);
      r = r * (1 - edge) + (225 + n) * edge;
      g = g * (1 - edge) + (230 + n) * edge;
      b = b * (1 - edge) + (238 + n) * edge;
      // A glow in the upper left whose alpha falls off; transparent margins around.
      const double glow = std::exp(-std::pow(std::hypot(x - s * 0.2, y - s * 0.2) / (s * 0.12), 2));
      r += 120 * glow;
      g += 100 * glow;
      if (x < size / 16 || y < size / 16) a = 255 * std::max(glow, 0.0);
      // Fine detail: a few thin lines and a checker band like small glyphs.
      if ((y % 23 == 0 && x > size / 3) || (x % 31 == 0 && y > size / 2)) r = g = b = 30;
      if (y > size * 0.85 && y < size * 0.9 && ((x / 3 + y / 3) & 1)) r = g = b = 200;
      px[size_t(y) * size_t(size) + size_t(x)] =
          uint32_t(Clamp(a)) << 24 | uint32_t(Clamp(r)) << 16 | uint32_t(Clamp(g)) << 8 | Clamp(b);
    }
  }
  return px;
}

const std::vector<uint8_t>& FileOfSize(int size) {
  static std::vector<uint8_t> files[2048];
  std::vector<uint8_t>& f = files[size];
  if (f.empty()) f = pngtest::EncodePng(pngtest::TPngImage::Rgba8(size, size, DrawSkinArt(size)));
  return f;
}

void DecodeOurs(const std::vector<uint8_t>& file) {
  TPNGGraphic png;
  png.LoadFromMemory(file.data(), file.size());
  benchmark::DoNotOptimize(png.Bitmap().Row0());
}

struct TMemoryReader {
  const uint8_t* data;
  size_t size, pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* r = static_cast<TMemoryReader*>(png_get_io_ptr(png));
  if (length > r->size - r->pos) png_error(png, "read past the end");
  std::memcpy(out, r->data + r->pos, length);
  r->pos += length;
}

// What libpng decodes into; owned by the caller so that no object with a destructor lives
// in the frame libpng's error handler jumps back to.
struct TLibpngOutput {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
};

void DecodeLibpngInto(const std::vector<uint8_t>& file, TLibpngOutput& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error("libpng failed");
  }
  TMemoryReader reader{file.data(), file.size(), 0};
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  png_set_bgr(png);
  png_read_update_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  out.pixels.resize(stride * height);
  out.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) out.rows[y] = out.pixels.data() + y * stride;
  png_read_image(png, out.rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

void DecodeLibpng(const std::vector<uint8_t>& file) {
  TLibpngOutput out;
  DecodeLibpngInto(file, out);
  benchmark::DoNotOptimize(out.pixels.data());
}

void SetBytes(benchmark::State& state, int size) {
  state.SetBytesProcessed(int64_t(state.iterations()) * size * size * 4);
  state.counters["file_kB"] = double(FileOfSize(size).size()) / 1024;
}

void BM_PngOurs(benchmark::State& state) {
  const int size = int(state.range(0));
  const auto& file = FileOfSize(size);
  for (auto _ : state) DecodeOurs(file);
  SetBytes(state, size);
}

void BM_PngLibpng(benchmark::State& state) {
  const int size = int(state.range(0));
  const auto& file = FileOfSize(size);
  for (auto _ : state) DecodeLibpng(file);
  SetBytes(state, size);
}

void BM_PngRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const int size = int(state.range(0));
  const auto& file = FileOfSize(size);
  Clock::duration ours{}, theirs{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    DecodeOurs(file);
    const auto t1 = Clock::now();
    DecodeLibpng(file);
    ours += t1 - t0;
    theirs += Clock::now() - t1;
  }
  state.counters["ratio"] = double(ours.count()) / double(theirs.count());
  state.counters["ours_us"] = benchmark::Counter(
      std::chrono::duration<double, std::micro>(ours).count(), benchmark::Counter::kAvgIterations);
  state.counters["libpng_us"] = benchmark::Counter(
      std::chrono::duration<double, std::micro>(theirs).count(), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_PngOurs)->RangeMultiplier(2)->Range(64, 1024);
BENCHMARK(BM_PngLibpng)->RangeMultiplier(2)->Range(64, 1024);
BENCHMARK(BM_PngRatio)->RangeMultiplier(2)->Range(64, 1024);

}  // namespace
