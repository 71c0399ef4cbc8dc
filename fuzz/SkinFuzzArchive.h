// Shared by the skin fuzz targets: small image files of every format a skin uses, and an
// archive holding them with the fuzzed input as its "Options.dat".
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/zkBmpWriter.h"
#include "skin/data/zkSkinPack.h"
#include "tests/native/support/JpegTestEncoder.h"

namespace skinfuzz {

inline void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  auto be32 = [&](uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
  };
  be32(uint32_t(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  be32(uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// An 8-bit RGBA PNG with a white transparent corner.
inline std::vector<uint8_t> SmallPng(int w, int h) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    for (int x = 0; x < w; ++x)
      for (uint8_t v : {uint8_t(x * 16), uint8_t(y * 16), uint8_t(200), uint8_t(x == 0 ? 0 : 255)})
        raw.push_back(x == 0 && y == 0 ? (v == 0 ? 0 : 255) : v);
  }
  uLongf n = compressBound(uLong(raw.size()));
  std::vector<uint8_t> z(n);
  compress2(z.data(), &n, raw.data(), uLong(raw.size()), 6);
  z.resize(n);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(out, "IHDR", {0, 0, 0, uint8_t(w), 0, 0, 0, uint8_t(h), 8, 6, 0, 0, 0});
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

inline std::vector<uint8_t> SmallBmp(int w, int h, TPixelFormat format) {
  TzkBitmap b(w, h, format);
  b.Fill(0x80FF00FF);
  b.ScanLine(0)[0] = 0x12;
  return EncodeBmp(b);
}

inline std::vector<uint8_t> SmallJpeg(int w, int h) {
  jpegtest::TJpegSpec spec;
  spec.Width = w;
  spec.Height = h;
  spec.Quality = 50;
  return jpegtest::EncodeJpeg(spec, jpegtest::SmoothSamples(w, h, 3));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A zlib stream of stored blocks: no compressor state per run, so the fuzzer stays fast.
inline void AppendStoredZlib(std::vector<uint8_t>& out, const uint8_t* data, size_t size) {
  out.push_back(0x78);
  out.push_back(0x01);
  size_t done = 0;
  do {
    const size_t n = std::min<size_t>(size - done, 65535);
    out.push_back(done + n == size ? 1 : 0);
    out.push_back(uint8_t(n));
    out.push_back(uint8_t(n >> 8));
    out.push_back(uint8_t(~n));
    out.push_back(uint8_t(~n >> 8));
    out.insert(out.end(), data + done, data + done + n);
    done += n;
  } while (done < size);
  const uLong a = adler32(adler32(0, nullptr, 0), data, uInt(size));
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(a >> s));
}

// The images' archive with one more entry, "Options.dat", holding the input.
inline std::vector<uint8_t> ArchiveWithOptions(const TzkSkinPacker& images, const uint8_t* data,
                                               size_t size) {
  std::vector<uint8_t> bytes = images.Bytes();
  bytes[4] = uint8_t(images.Count() + 1);
  const std::string name = "Options.dat";
  Put32(bytes, uint32_t(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  Put32(bytes, uint32_t(size));
  AppendStoredZlib(bytes, data, size);
  return bytes;
}

}  // namespace skinfuzz
