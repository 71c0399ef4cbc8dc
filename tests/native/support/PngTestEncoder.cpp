#include "PngTestEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace pngtest {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

int ChannelCount(int colorType) {
  switch (colorType) {
    case kRgb: return 3;
    case kGreyAlpha: return 2;
    case kRgba: return 4;
    default: return 1;
  }
}

namespace {

struct TPass {
  int x0, y0, dx, dy;
};
constexpr TPass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr TPass kWhole = {0, 0, 1, 1};

int PassSize(int size, int start, int step) { return size > start ? (size - start + step - 1) / step : 0; }

void PutBytes(std::vector<uint8_t>& out, const std::vector<uint8_t>& v) {
  out.insert(out.end(), v.begin(), v.end());
}

// The row's pixels x0, x0 + dx, ... packed as the file stores them.
std::vector<uint8_t> PackRow(const TPngImage& img, int y, const TPass& pass, int count) {
  const int channels = ChannelCount(img.ColorType);
  const int depth = img.BitDepth;
  const size_t bits = size_t(count) * size_t(channels) * size_t(depth);
  std::vector<uint8_t> row((bits + 7) / 8, 0);
  size_t bit = 0;
  for (int i = 0; i < count; ++i) {
    const int x = pass.x0 + i * pass.dx;
    for (int c = 0; c < channels; ++c, bit += size_t(depth)) {
      const uint16_t v = img.Sample(x, y, c);
      if (depth == 16) {
        row[bit / 8] = uint8_t(v >> 8);
        row[bit / 8 + 1] = uint8_t(v);
      } else if (depth == 8) {
        row[bit / 8] = uint8_t(v);
      } else {
        row[bit / 8] |= uint8_t(v << (8 - depth - bit % 8));
      }
    }
  }
  return row;
}

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  if (pb <= pc) return uint8_t(b);
  return uint8_t(c);
}

std::vector<uint8_t> FilterRow(int type, const std::vector<uint8_t>& row,
                               const std::vector<uint8_t>& prior, size_t bpp) {
  std::vector<uint8_t> out(row.size());
  for (size_t i = 0; i < row.size(); ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= bpp ? prior[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
      case 1: predictor = a; break;
      case 2: predictor = b; break;
      case 3: predictor = (a + b) / 2; break;
      case 4: predictor = Paeth(a, b, c); break;
      default: break;  // 0, and unknown types written unfiltered
    }
    out[i] = uint8_t(row[i] - predictor);
  }
  return out;
}

// The usual encoder heuristic: the filter whose output, read as signed bytes, sums smallest.
int ChooseFilter(const std::vector<uint8_t>& row, const std::vector<uint8_t>& prior, size_t bpp) {
  int best = 0;
  uint64_t bestSum = UINT64_MAX;
  for (int type = 0; type <= 4; ++type) {
    uint64_t sum = 0;
    for (uint8_t v : FilterRow(type, row, prior, bpp)) sum += uint64_t(std::abs(int8_t(v)));
    if (sum < bestSum) {
      bestSum = sum;
      best = type;
    }
  }
  return best;
}

void PutChunk(std::vector<uint8_t>& out, const TPngChunk& chunk) {
  PutBytes(out, Be32(uint32_t(chunk.Data.size())));
  out.insert(out.end(), chunk.Type.begin(), chunk.Type.end());
  PutBytes(out, chunk.Data);
  PutBytes(out, Be32(chunk.Crc ? *chunk.Crc : ChunkCrc(chunk.Type, chunk.Data)));
}

uint32_t Random(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

}  // namespace

std::vector<uint8_t> Be16(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
std::vector<uint8_t> Be32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

TPngImage TPngImage::Rgba8(int width, int height, const std::vector<uint32_t>& argb) {
  TPngImage img;
  img.Width = width;
  img.Height = height;
  for (uint32_t p : argb) {
    img.Samples.push_back(uint16_t((p >> 16) & 0xFF));
    img.Samples.push_back(uint16_t((p >> 8) & 0xFF));
    img.Samples.push_back(uint16_t(p & 0xFF));
    img.Samples.push_back(uint16_t(p >> 24));
  }
  return img;
}

TPngImage TPngImage::Pattern(int width, int height, int colorType, int bitDepth, uint32_t seed) {
  TPngImage img;
  img.Width = width;
  img.Height = height;
  img.ColorType = colorType;
  img.BitDepth = bitDepth;
  uint32_t state = seed * 2654435761u + 1;
  const uint32_t range = 1u << bitDepth;
  const size_t count = size_t(width) * size_t(height) * size_t(ChannelCount(colorType));
  for (size_t i = 0; i < count; ++i) img.Samples.push_back(uint16_t(Random(state) % range));
  if (colorType == kPalette)
    for (uint32_t i = 0; i < range; ++i) img.Palette.push_back(Random(state) & 0xFFFFFF);
  return img;
}

uint32_t ChunkCrc(const std::string& type, const std::vector<uint8_t>& data) {
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), uInt(type.size()));
  if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size()));  // a null buffer restarts
  return uint32_t(crc);
}

std::vector<uint8_t> IhdrData(int width, int height, int bitDepth, int colorType, bool interlaced) {
  std::vector<uint8_t> d = Be32(uint32_t(width));
  PutBytes(d, Be32(uint32_t(height)));
  d.push_back(uint8_t(bitDepth));
  d.push_back(uint8_t(colorType));
  d.push_back(0);  // compression method
  d.push_back(0);  // filter method
  d.push_back(interlaced ? 1 : 0);
  return d;
}

std::vector<uint8_t> FilteredStream(const TPngImage& img, const TPngOptions& options) {
  const size_t bpp = std::max<size_t>(1, size_t(ChannelCount(img.ColorType) * img.BitDepth) / 8);
  std::vector<uint8_t> stream;
  size_t rowIndex = 0;
  const int passes = options.Interlaced ? 7 : 1;
  for (int p = 0; p < passes; ++p) {
    const TPass pass = options.Interlaced ? kAdam7[p] : kWhole;
    const int w = PassSize(img.Width, pass.x0, pass.dx);
    const int h = PassSize(img.Height, pass.y0, pass.dy);
    if (w == 0 || h == 0) continue;
    std::vector<uint8_t> prior;
    for (int r = 0; r < h; ++r, ++rowIndex) {
      const std::vector<uint8_t> row = PackRow(img, pass.y0 + r * pass.dy, pass, w);
      if (prior.empty()) prior.assign(row.size(), 0);
      int type = options.Filters.empty() ? 0 : options.Filters[rowIndex % options.Filters.size()];
      if (type == kAdaptiveFilter) type = ChooseFilter(row, prior, bpp);
      stream.push_back(uint8_t(type));
      PutBytes(stream, FilterRow(type, row, prior, bpp));
      prior = row;
    }
  }
  return stream;
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw, int level) {
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

std::vector<uint8_t> EncodePng(const TPngImage& img, const TPngOptions& options) {
  std::vector<TPngChunk> chunks;
  chunks.push_back({"IHDR", IhdrData(img.Width, img.Height, img.BitDepth, img.ColorType,
                                     options.Interlaced), {}});
  if (options.Gamma) chunks.push_back({"gAMA", Be32(*options.Gamma), {}});
  if (!img.Palette.empty()) {
    std::vector<uint8_t> plte;
    for (uint32_t c : img.Palette) {
      plte.push_back(uint8_t(c >> 16));
      plte.push_back(uint8_t(c >> 8));
      plte.push_back(uint8_t(c));
    }
    chunks.push_back({"PLTE", plte, {}});
  }
  if (!options.Transparency.empty()) chunks.push_back({"tRNS", options.Transparency, {}});
  if (!options.Background.empty()) chunks.push_back({"bKGD", options.Background, {}});
  chunks.insert(chunks.end(), options.BeforeData.begin(), options.BeforeData.end());

  const std::vector<uint8_t> z = ZlibCompress(FilteredStream(img, options), options.ZlibLevel);
  const size_t piece = options.IdatPieceSize ? options.IdatPieceSize : z.size();
  for (size_t at = 0; at < z.size(); at += piece)
    chunks.push_back({"IDAT", std::vector<uint8_t>(z.begin() + long(at),
                                                   z.begin() + long(std::min(z.size(), at + piece))),
                      {}});
  chunks.insert(chunks.end(), options.AfterData.begin(), options.AfterData.end());
  chunks.push_back({"IEND", {}, {}});
  return JoinChunks(chunks);
}

std::vector<TPngChunk> ParseChunks(const std::vector<uint8_t>& file, bool keepCrc) {
  std::vector<TPngChunk> chunks;
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const uint32_t length = uint32_t(file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3]);
    if (length > file.size() - at - 12) break;
    TPngChunk c;
    c.Type.assign(file.begin() + long(at + 4), file.begin() + long(at + 8));
    c.Data.assign(file.begin() + long(at + 8), file.begin() + long(at + 8 + length));
    const uint8_t* crc = file.data() + at + 8 + length;
    if (keepCrc) c.Crc = uint32_t(crc[0] << 24 | crc[1] << 16 | crc[2] << 8 | crc[3]);
    chunks.push_back(std::move(c));
    at += 12 + length;
  }
  return chunks;
}

std::vector<uint8_t> JoinChunks(const std::vector<TPngChunk>& chunks) {
  std::vector<uint8_t> out(kPngSignature, kPngSignature + 8);
  for (const TPngChunk& c : chunks) PutChunk(out, c);
  return out;
}

int FindChunk(const std::vector<TPngChunk>& chunks, const std::string& type) {
  for (size_t i = 0; i < chunks.size(); ++i)
    if (chunks[i].Type == type) return int(i);
  return -1;
}

}  // namespace pngtest
