#include "skin/paint/zkPngWriter.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size) {
  PutBig32(out, uint32_t(size));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0L, out.data() + start, uInt(out.size() - start));
  PutBig32(out, uint32_t(crc));
}

inline uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  return uint8_t(pb <= pc ? b : c);
}

// Filters one row (n bytes, bpp bytes a pixel) with filter f into out; prev is the previous
// unfiltered row or null for the first.
void FilterRow(int f, const uint8_t* row, const uint8_t* prev, size_t n, int bpp, uint8_t* out) {
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= size_t(bpp) ? row[i - bpp] : 0;
    const int b = prev ? prev[i] : 0;
    const int c = prev && i >= size_t(bpp) ? prev[i - bpp] : 0;
    int predicted = 0;
    switch (f) {
      case 1: predicted = a; break;
      case 2: predicted = b; break;
      case 3: predicted = (a + b) / 2; break;
      case 4: predicted = Paeth(a, b, c); break;
      default: break;
    }
    out[i] = uint8_t(row[i] - predicted);
  }
}

// The image rows in PNG order (R, G, B[, A]) each preceded by its filter byte.
std::vector<uint8_t> FilteredRows(const TzkBitmap& image) {
  const int bpp = image.BytesPerPixel();
  const size_t n = size_t(image.Width()) * size_t(bpp);
  std::vector<uint8_t> result, row(n), prev(n), trial(n), best(n);
  result.reserve((n + 1) * size_t(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* src = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x) {
      const uint8_t* p = src + x * bpp;
      uint8_t* d = row.data() + x * bpp;
      d[0] = p[2], d[1] = p[1], d[2] = p[0];
      if (bpp == 4) d[3] = p[3];
    }
    int bestFilter = 0;
    uint64_t bestCost = UINT64_MAX;
    for (int f = 0; f < 5; ++f) {
      FilterRow(f, row.data(), y ? prev.data() : nullptr, n, bpp, trial.data());
      uint64_t cost = 0;
      for (uint8_t v : trial) cost += v < 128 ? v : 256 - v;
      if (cost < bestCost) bestCost = cost, bestFilter = f, best.swap(trial);
    }
    result.push_back(uint8_t(bestFilter));
    result.insert(result.end(), best.begin(), best.end());
    prev.swap(row);
  }
  return result;
}

}  // namespace

std::vector<uint8_t> EncodePng(const TzkBitmap& image) {
  if (image.Empty()) throw EzkPngWriteError("cannot write an empty image as PNG");
  const std::vector<uint8_t> raw = FilteredRows(image);
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
    throw EzkPngWriteError("deflating the PNG image data failed");
  packed.resize(packedSize);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, uint32_t(image.Width()));
  PutBig32(header, uint32_t(image.Height()));
  header.push_back(8);                                // bit depth
  header.push_back(image.BytesPerPixel() == 4 ? 6 : 2);  // RGB with alpha, or RGB
  header.push_back(0);                                // deflate
  header.push_back(0);                                // adaptive filtering
  header.push_back(0);                                // not interlaced
  PutChunk(out, "IHDR", header.data(), header.size());
  PutChunk(out, "IDAT", packed.data(), packed.size());
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

void SavePng(const TzkBitmap& image, const std::string& path) {
  const std::vector<uint8_t> bytes = EncodePng(image);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw EzkPngWriteError("cannot create \"" + path + "\"");
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  if (!file) throw EzkPngWriteError("cannot write \"" + path + "\"");
}
