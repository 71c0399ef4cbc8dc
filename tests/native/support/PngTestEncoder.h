// A small PNG encoder for tests, fuzz seeds and benchmarks: every colour type and bit depth,
// a chosen filter per row (or the usual adaptive choice), Adam7 interlacing, optional
// chunks, IDAT split into pieces, and chunk-level access for making damaged files.
//
//   pngtest::TPngImage img = pngtest::TPngImage::Rgba8(2, 1, {0xFF112233, 0x80445566});
//   std::vector<uint8_t> file = pngtest::EncodePng(img);
//
//   auto chunks = pngtest::ParseChunks(file);          // damage a file chunk by chunk
//   chunks[0].Data[10] = 1;                             // IHDR compression method
//   file = pngtest::JoinChunks(chunks);                 // CRCs recomputed unless set
//
// Independent of the decoder under test: CRCs come from zlib, filters and packing are
// written here from the format's definition.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pngtest {

enum TColorType : int { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

int ChannelCount(int colorType);

// The samples of an image as the file stores them: per pixel Grey | R,G,B | Index |
// Grey,Alpha | R,G,B,A, each in 0 .. 2^BitDepth - 1, rows top to bottom.
struct TPngImage {
  int Width = 0;
  int Height = 0;
  int ColorType = kRgba;
  int BitDepth = 8;
  std::vector<uint16_t> Samples;
  std::vector<uint32_t> Palette;  // 0x00RRGGBB; written as PLTE when not empty

  uint16_t Sample(int x, int y, int channel) const {
    return Samples[(size_t(y) * size_t(Width) + size_t(x)) * size_t(ChannelCount(ColorType)) +
                   size_t(channel)];
  }

  // An 8-bit RGBA image from 0xAARRGGBB pixels, top row first.
  static TPngImage Rgba8(int width, int height, const std::vector<uint32_t>& argb);
  // An image whose samples follow a fixed pseudo-random pattern (seeded) in the full range
  // of the bit depth; a palette of 2^BitDepth colours for colour type 3.
  static TPngImage Pattern(int width, int height, int colorType, int bitDepth, uint32_t seed = 1);
};

constexpr int kAdaptiveFilter = -1;  // per row, the filter with the smallest byte sum

struct TPngChunk {
  std::string Type;               // four letters
  std::vector<uint8_t> Data;
  std::optional<uint32_t> Crc;    // written as is when set, else computed
};

struct TPngOptions {
  bool Interlaced = false;
  // Filter type of each row in stream order (cycled); values above 4 are written as given.
  std::vector<int> Filters = {kAdaptiveFilter};
  int ZlibLevel = 6;
  size_t IdatPieceSize = 0;         // split the zlib stream into IDAT chunks of this size
  std::optional<uint32_t> Gamma;    // gAMA value (gamma × 100000)
  std::vector<uint8_t> Background;  // bKGD data as stored
  std::vector<uint8_t> Transparency;  // tRNS data as stored
  std::vector<TPngChunk> BeforeData;  // more chunks before the first IDAT
  std::vector<TPngChunk> AfterData;   // more chunks after the last IDAT
};

std::vector<uint8_t> EncodePng(const TPngImage& image, const TPngOptions& options = {});

// The pieces, for files the encoder would not write.
extern const uint8_t kPngSignature[8];
uint32_t ChunkCrc(const std::string& type, const std::vector<uint8_t>& data);
std::vector<uint8_t> IhdrData(int width, int height, int bitDepth, int colorType,
                              bool interlaced = false);
// The filtered, uncompressed image stream (filter byte plus row bytes per row, every pass).
std::vector<uint8_t> FilteredStream(const TPngImage& image, const TPngOptions& options = {});
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw, int level = 6);
std::vector<uint8_t> Be16(uint32_t v);
std::vector<uint8_t> Be32(uint32_t v);

// Chunks after the signature (stored CRCs kept in Crc only when `keepCrc`).
std::vector<TPngChunk> ParseChunks(const std::vector<uint8_t>& file, bool keepCrc = false);
// The signature followed by the chunks.
std::vector<uint8_t> JoinChunks(const std::vector<TPngChunk>& chunks);
// Index of the first chunk of that type, or -1.
int FindChunk(const std::vector<TPngChunk>& chunks, const std::string& type);

}  // namespace pngtest
