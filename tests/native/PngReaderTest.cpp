#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "skin/data/zkPNG.h"
#include "support/PngTestEncoder.h"

namespace {

using namespace pngtest;

const char* const kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const char* const kScheme = "Cannot load image. The compression scheme is not supported for PNG files.";
const char* const kBadPalette = "Cannot load image. Palette in PNG file is invalid.";
const char* const kCrc = "Cannot load image. CRC error found in PNG file.";
const char* const kZlib = "Cannot load image. Compression error found in PNG file.";
const char* const kExtra = "Cannot load image. Extra compressed data found in PNG file.";
const char* const kColorFormat = "Invalid color format in PNG file.";
const char* const kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kLZ77 = "LZ77 decompression error.";

// The pixel at (x, y) as 0x00RRGGBB, or 0xAARRGGBB in a 32-bit bitmap.
uint32_t Pixel(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
  if (b.BytesPerPixel() == 4) v |= uint32_t(p[3]) << 24;
  return v;
}

uint32_t Level(uint32_t v, int depth) {
  if (depth == 16) return v * 255 / 65535;
  return v * 255 / ((1u << depth) - 1);
}

// What the decoder must make of the source pixel, without gamma.
uint32_t Expected(const TPngImage& img, int x, int y) {
  const int d = img.BitDepth;
  switch (img.ColorType) {
    case kPalette: return img.Palette[img.Sample(x, y, 0)];
    case kGrey:
    case kGreyAlpha: return Level(img.Sample(x, y, 0), d) * 0x010101u;
    case kRgb:
      return Level(img.Sample(x, y, 0), d) << 16 | Level(img.Sample(x, y, 1), d) << 8 |
             Level(img.Sample(x, y, 2), d);
    default:
      return Level(img.Sample(x, y, 3), d) << 24 | Level(img.Sample(x, y, 0), d) << 16 |
             Level(img.Sample(x, y, 1), d) << 8 | Level(img.Sample(x, y, 2), d);
  }
}

TPNGGraphic Load(const std::vector<uint8_t>& file) {
  TPNGGraphic png;
  png.LoadFromMemory(file.data(), file.size());
  return png;
}

void ExpectSource(const TPngImage& img, const TzkBitmap& b) {
  ASSERT_EQ(b.Width(), img.Width);
  ASSERT_EQ(b.Height(), img.Height);
  ASSERT_EQ(b.PixelFormat(), img.ColorType == kRgba ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x)
      ASSERT_EQ(Pixel(b, x, y), Expected(img, x, y)) << "at " << x << "," << y;
}

std::string ErrorOf(const std::vector<uint8_t>& file) {
  TzkBitmap b;
  std::string error;
  EXPECT_FALSE(ReadPngImage(file.data(), file.size(), b, error));
  EXPECT_TRUE(b.Empty());
  return error;
}

struct TFormat {
  int colorType, depth;
};
const TFormat kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

TEST(PngReader, EveryColourTypeDepthAndInterlacingMatchesTheSource) {
  // Odd sizes leave partial bytes at row ends and partial Adam7 blocks; 1 x 1 and 3 x 2
  // leave whole passes empty.
  const int sizes[][2] = {{13, 11}, {1, 1}, {3, 2}, {9, 17}};
  for (const TFormat f : kFormats) {
    for (const auto& size : sizes) {
      for (bool interlaced : {false, true}) {
        SCOPED_TRACE("type " + std::to_string(f.colorType) + " depth " + std::to_string(f.depth) +
                     " size " + std::to_string(size[0]) + "x" + std::to_string(size[1]) +
                     (interlaced ? " interlaced" : ""));
        const TPngImage img = TPngImage::Pattern(size[0], size[1], f.colorType, f.depth, uint32_t(size[0] + f.depth));
        TPngOptions o;
        o.Interlaced = interlaced;
        const TPNGGraphic png = Load(EncodePng(img, o));
        ExpectSource(img, png.Bitmap());
        EXPECT_EQ(png.BitDepth(), f.depth);
        EXPECT_EQ(png.ColorType(), f.colorType);
        EXPECT_EQ(png.Interlaced(), interlaced);
      }
    }
  }
}

TEST(PngReader, EveryFilterTypeOnEveryPixelSize) {
  // Pixel sizes of 1 (sub-byte and 8-bit grey), 2, 3, 4, 6 and 8 bytes.
  const TFormat formats[] = {{0, 2}, {0, 8}, {4, 8}, {2, 8}, {6, 8}, {2, 16}, {6, 16}};
  for (const TFormat f : formats) {
    const TPngImage img = TPngImage::Pattern(11, 7, f.colorType, f.depth, 3);
    for (int filter = 0; filter <= 4; ++filter) {
      for (bool interlaced : {false, true}) {
        SCOPED_TRACE("type " + std::to_string(f.colorType) + " depth " + std::to_string(f.depth) +
                     " filter " + std::to_string(filter) + (interlaced ? " interlaced" : ""));
        TPngOptions o;
        o.Filters = {filter};
        o.Interlaced = interlaced;
        ExpectSource(img, Load(EncodePng(img, o)).Bitmap());
      }
    }
    TPngOptions mixed;  // a different filter on consecutive rows
    mixed.Filters = {4, 0, 3, 1, 2, 4, 3};
    ExpectSource(img, Load(EncodePng(img, mixed)).Bitmap());
  }
}

TEST(PngReader, UnknownFilterTypeLeavesTheRowAsStored) {
  const TPngImage img = TPngImage::Pattern(6, 4, kRgb, 8, 9);
  TPngOptions o;
  o.Filters = {2, 7};  // the encoder writes rows of unknown type unfiltered
  ExpectSource(img, Load(EncodePng(img, o)).Bitmap());
}

TEST(PngReader, InterlacedRgbaEqualsItsNonInterlacedTwin) {
  const TPngImage img = TPngImage::Pattern(37, 29, kRgba, 8, 5);
  TPngOptions o;
  const TPNGGraphic plain = Load(EncodePng(img, o));
  o.Interlaced = true;
  const TPNGGraphic interlaced = Load(EncodePng(img, o));
  for (int y = 0; y < img.Height; ++y)
    ASSERT_EQ(0, std::memcmp(plain.Bitmap().ScanLine(y), interlaced.Bitmap().ScanLine(y), 37 * 4));
}

TEST(PngReader, SixteenBitSamplesAreScaledByIntegerDivision) {
  TPngImage img;
  img.Width = 2;
  img.Height = 1;
  img.ColorType = kRgb;
  img.BitDepth = 16;
  img.Samples = {0, 256, 257, 65534, 65535, 32896};
  const TPNGGraphic png = Load(EncodePng(img));
  EXPECT_EQ(Pixel(png.Bitmap(), 0, 0), 0x000001u);     // 0, 256 -> 0, 257 -> 1
  EXPECT_EQ(Pixel(png.Bitmap(), 1, 0), 0xFEFF80u);     // 65534 -> 254, 65535 -> 255, 32896 -> 128
}

TEST(PngReader, GammaTable) {
  TColorManager c;
  c.SetGamma(0.45454);  // the usual file gamma: the table is the identity after rounding
  ASSERT_TRUE(c.GammaOn());
  for (int i = 0; i < 256; ++i) ASSERT_EQ(c.Gamma(uint8_t(i)), i);

  c.SetGamma(1.0);
  for (int i : {0, 1, 64, 128, 200, 255})
    EXPECT_EQ(c.Gamma(uint8_t(i)), int(std::lround(std::pow(i / 255.0, 1 / 2.2) * 255))) << i;

  // In a file, gamma converts colour samples and palette colours but never alpha.
  TPngImage img = TPngImage::Rgba8(1, 1, {0x40408000});
  TPngOptions o;
  o.Gamma = 100000;
  TPNGGraphic png = Load(EncodePng(img, o));
  EXPECT_DOUBLE_EQ(png.FileGamma(), 1.0);
  EXPECT_EQ(Pixel(png.Bitmap(), 0, 0), 0x40 << 24 | uint32_t(c.Gamma(0x40)) << 16 | uint32_t(c.Gamma(0x80)) << 8);

  img = TPngImage::Pattern(4, 4, kPalette, 2, 1);
  png = Load(EncodePng(img, o));
  EXPECT_EQ(Pixel(png.Bitmap(), 0, 0) & 0xFF, c.Gamma(uint8_t(Expected(img, 0, 0))));

  // gAMA 45454 with the skin images' other chunks loads exactly as without.
  img = TPngImage::Pattern(8, 8, kRgba, 8, 4);
  o.Gamma = 45454;
  o.BeforeData = {{"pHYs", std::vector<uint8_t>(9, 1), {}}, {"iCCP", {'x', 0, 0, 1, 2}, {}},
                  {"cHRM", std::vector<uint8_t>(32, 7), {}}};
  png = Load(EncodePng(img, o));
  EXPECT_NEAR(png.FileGamma(), 0.45454, 1e-9);
  ExpectSource(img, png.Bitmap());
}

TEST(PngReader, GammaComesOnlyFromChunksBeforeTheImageData) {
  // A gAMA after IDAT is reported as the file gamma but cannot convert decoded rows; a gAMA
  // of 0 has no table and leaves the samples alone.
  const TPngImage img = TPngImage::Pattern(5, 5, kRgb, 8, 2);
  TPngOptions late;
  late.AfterData = {{"gAMA", Be32(100000), {}}};
  TPNGGraphic png = Load(EncodePng(img, late));
  EXPECT_DOUBLE_EQ(png.FileGamma(), 1.0);
  ExpectSource(img, png.Bitmap());

  TPngOptions zero;
  zero.Gamma = 0;
  png = Load(EncodePng(img, zero));
  ExpectSource(img, png.Bitmap());
}

TEST(PngReader, TransparencyChunk) {
  // Grey: the grey becomes the transparent colour; the bitmap stays 24-bit with grey levels.
  TPngImage grey = TPngImage::Pattern(4, 4, kGrey, 8, 6);
  TPngOptions o;
  o.Transparency = Be16(0x80);
  TPNGGraphic png = Load(EncodePng(grey, o));
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(png.TransparentColor(), RGBColor(0x80, 0x80, 0x80));
  EXPECT_EQ(png.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
  ASSERT_EQ(png.Palette().size(), 256u);
  EXPECT_EQ(png.Palette()[0x33], RGBColor(0x33, 0x33, 0x33));
  ExpectSource(grey, png.Bitmap());

  // 2-bit grey: the value is a grey level of the file's depth.
  grey = TPngImage::Pattern(4, 4, kGrey, 2, 6);
  o.Transparency = Be16(1);
  png = Load(EncodePng(grey, o));
  EXPECT_EQ(png.TransparentColor(), RGBColor(85, 85, 85));
  EXPECT_EQ(png.Palette().size(), 4u);

  // RGB, 16 bits: the colour is scaled as the samples are.
  TPngImage rgb = TPngImage::Pattern(3, 3, kRgb, 16, 6);
  o.Transparency = Be16(65535);
  for (uint32_t v : {257u, 514u}) {
    const auto b = Be16(v);
    o.Transparency.insert(o.Transparency.end(), b.begin(), b.end());
  }
  png = Load(EncodePng(rgb, o));
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(png.TransparentColor(), RGBColor(255, 1, 2));
  EXPECT_TRUE(png.Palette().empty());

  // Paletted: the alpha table is kept but not applied.
  const TPngImage pal = TPngImage::Pattern(4, 4, kPalette, 4, 6);
  o.Transparency = {0, 10, 20};
  png = Load(EncodePng(pal, o));
  EXPECT_FALSE(png.Transparent());
  EXPECT_EQ(png.PaletteAlpha(), std::vector<uint8_t>({0, 10, 20}));
  ASSERT_EQ(png.Palette().size(), 16u);
  EXPECT_EQ(uint32_t(png.Palette()[3]), (pal.Palette[3] & 0xFF) << 16 | (pal.Palette[3] & 0xFF00) | pal.Palette[3] >> 16);
  ExpectSource(pal, png.Bitmap());

  // RGBA: ignored.
  const TPngImage rgba = TPngImage::Pattern(2, 2, kRgba, 8, 6);
  o.Transparency = Be16(3);
  EXPECT_FALSE(Load(EncodePng(rgba, o)).Transparent());
}

// A file whose IDAT chunks hold only the first `keep` bytes of the compressed stream.
std::vector<uint8_t> CutImageData(const TPngImage& img, const TPngOptions& o, size_t keep) {
  auto chunks = ParseChunks(EncodePng(img, o));
  const int idat = FindChunk(chunks, "IDAT");
  chunks[size_t(idat)].Data.resize(keep);
  return JoinChunks(chunks);
}

TEST(PngReader, RowsTheImageDataNeverDeliversShowTheBackground) {
  TPngImage img = TPngImage::Pattern(16, 16, kRgb, 8, 8);
  TPngOptions o;
  o.Filters = {0};
  o.ZlibLevel = 0;  // stored blocks: the cut lands at a known row
  o.Background = {0, 0x10, 0, 0x20, 0, 0x30};
  const size_t rowBytes = 16 * 3 + 1;
  const TPNGGraphic png = Load(CutImageData(img, o, 2 + 5 + rowBytes * 5 + 10));
  EXPECT_EQ(png.BackgroundColor(), RGBColor(0x10, 0x20, 0x30));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(Pixel(png.Bitmap(), x, y), y < 5 ? Expected(img, x, y) : 0x102030u) << x << "," << y;

  // An interlaced image cut short: each pixel is either decoded or background.
  TPngOptions interlaced = o;
  interlaced.Interlaced = true;
  const TPNGGraphic cut = Load(CutImageData(img, interlaced, 2 + 5 + 400));
  int decoded = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t p = Pixel(cut.Bitmap(), x, y);
      if (p == Expected(img, x, y)) ++decoded;
      else ASSERT_EQ(p, 0x102030u) << x << "," << y;
    }
  EXPECT_GT(decoded, 16 * 16 / 4);
  EXPECT_LT(decoded, 16 * 16);
  EXPECT_EQ(Pixel(cut.Bitmap(), 15, 15), 0x102030u);  // last pass, last row

  // Without bKGD the background is white; a 32-bit image gets it with alpha 0.
  img = TPngImage::Pattern(16, 16, kRgba, 8, 8);
  o.Background.clear();
  const TPNGGraphic rgba = Load(CutImageData(img, o, 10));
  EXPECT_EQ(Pixel(rgba.Bitmap(), 15, 15), 0x00FFFFFFu);

  // No image data at all: all background (here a palette entry).
  auto chunks = ParseChunks(EncodePng(TPngImage::Pattern(3, 3, kPalette, 8, 1), {}));
  chunks.erase(chunks.begin() + FindChunk(chunks, "IDAT"));
  chunks.insert(chunks.begin() + 2, {"bKGD", {7}, {}});
  const TPNGGraphic empty = Load(JoinChunks(chunks));
  const TPngImage pal = TPngImage::Pattern(3, 3, kPalette, 8, 1);
  EXPECT_EQ(Pixel(empty.Bitmap(), 2, 2), pal.Palette[7]);
}

TEST(PngReader, ChunkRules) {
  const TPngImage img = TPngImage::Pattern(9, 9, kRgba, 8, 12);
  TPngOptions o;
  // Unknown ancillary chunks are skipped unread, even with a wrong CRC.
  o.BeforeData = {{"zzZz", {1, 2, 3}, 0xDEADBEEF}, {"tEXt", {'a', 0, 'b'}, 1}};
  o.AfterData = {{"prVt", std::vector<uint8_t>(100, 9), 0}};
  // The image data in one-byte IDAT chunks.
  o.IdatPieceSize = 1;
  const auto file = EncodePng(img, o);
  ExpectSource(img, Load(file).Bitmap());

  // Bytes after IEND are not read; the reader says where the PNG ended.
  auto withTail = file;
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  TPNGGraphic png;
  EXPECT_EQ(png.LoadFromMemory(withTail.data(), withTail.size()), file.size());

  // A used ancillary chunk is CRC-checked; so is image data after the last row.
  o = {};
  o.Gamma = 45454;
  auto chunks = ParseChunks(EncodePng(img, o));
  chunks[size_t(FindChunk(chunks, "gAMA"))].Crc = 0;
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCrc);

  chunks = ParseChunks(EncodePng(img, {}));
  const int idat = FindChunk(chunks, "IDAT");
  chunks.insert(chunks.begin() + idat + 1, {"IDAT", {1, 2, 3}, {}});
  EXPECT_NO_THROW(Load(JoinChunks(chunks)));  // trailing IDAT with a good CRC: skipped
  chunks[size_t(idat + 1)].Crc = 5;
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCrc);

  // A second IHDR is damage.
  chunks = ParseChunks(EncodePng(img, {}));
  chunks.insert(chunks.begin() + 1, chunks[0]);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
}

// [damage] Every message the reader has, each from a damaged file.
TEST(PngReaderErrors, SignatureAndHeader) {
  const auto good = EncodePng(TPngImage::Pattern(4, 4, kRgb, 8, 1));
  auto f = good;
  f[1] = 'p';
  EXPECT_EQ(ErrorOf(f), kInvalid);
  EXPECT_EQ(ErrorOf({good.begin(), good.begin() + 7}), kInvalid);
  EXPECT_EQ(ErrorOf({good.begin(), good.begin() + 8}), kInvalid);  // signature only

  auto chunks = ParseChunks(good);
  std::swap(chunks[0], chunks[1]);  // IDAT first
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
  chunks = ParseChunks(good);
  chunks[0].Data.clear();  // empty IHDR
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
  chunks = ParseChunks(good);
  chunks[0].Data = IhdrData(0, 4, 8, kRgb);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
  chunks[0].Data = IhdrData(4, 0, 8, kRgb);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);

  chunks = ParseChunks(good);
  chunks[0].Data[10] = 1;  // compression method
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kScheme);

  for (const TFormat bad : {TFormat{2, 4}, TFormat{3, 16}, TFormat{4, 4}, TFormat{6, 1}, TFormat{0, 3},
                            TFormat{1, 8}, TFormat{5, 8}, TFormat{7, 8}}) {
    chunks[0].Data = IhdrData(4, 4, bad.depth, bad.colorType);
    EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kColorFormat) << bad.colorType << "/" << bad.depth;
  }

  chunks = ParseChunks(good);
  chunks[0].Data[5] ^= 0x40;  // width changed without fixing the CRC
  chunks[0].Crc = ChunkCrc("IHDR", ParseChunks(good)[0].Data);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCrc);
}

TEST(PngReaderErrors, HostileSizesFailBeforeAllocation) {
  // 4 G x 4 G pixels in a 60-byte file.
  auto chunks = ParseChunks(EncodePng(TPngImage::Pattern(1, 1, kRgba, 8, 1)));
  chunks[0].Data = IhdrData(int(0xFFFFFFFF), int(0xFFFFFFFF), 8, kRgba);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
  chunks[0].Data = IhdrData(16385, 1, 8, kRgba);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
  chunks[0].Data = IhdrData(16384, 16384, 8, kRgba);  // 1 GiB: over the byte cap
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);

  // Smaller limits apply to the decoded bitmap's bytes (rows padded to 4 bytes).
  const auto file = EncodePng(TPngImage::Pattern(5, 5, kRgb, 8, 1));
  TPNGGraphic png;
  png.Limits.MaxBytes = 16 * 5 - 1;
  EXPECT_THROW(png.LoadFromMemory(file.data(), file.size()), EzkInvalidGraphic);
  png.Limits.MaxBytes = 16 * 5;
  EXPECT_NO_THROW(png.LoadFromMemory(file.data(), file.size()));

  // A chunk claiming 2 GiB in a small file fails at once, as does a file cut inside a chunk.
  auto f = EncodePng(TPngImage::Pattern(4, 4, kRgb, 8, 1));
  const auto cut = std::vector<uint8_t>(f.begin(), f.end() - 20);
  EXPECT_EQ(ErrorOf(cut), kInvalid);
  f[33] = 0x7F;  // length of the chunk after IHDR
  EXPECT_EQ(ErrorOf(f), kInvalid);
  f[33] = 0xFF;
  EXPECT_EQ(ErrorOf(f), kInvalid);
  // No IEND: the walk runs into the end of the file.
  chunks = ParseChunks(EncodePng(TPngImage::Pattern(4, 4, kRgb, 8, 1)));
  chunks.pop_back();
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kInvalid);
}

TEST(PngReaderErrors, PaletteAndCriticalChunks) {
  const TPngImage pal = TPngImage::Pattern(4, 4, kPalette, 8, 1);
  auto chunks = ParseChunks(EncodePng(pal));
  chunks[size_t(FindChunk(chunks, "PLTE"))].Data.pop_back();
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kBadPalette);

  chunks = ParseChunks(EncodePng(pal));
  chunks.insert(chunks.begin() + 1, {"ABCD", {1}, {}});
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCritical);
  chunks[1].Type = "1bcd";  // not a lower-case letter: not ancillary either
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCritical);
}

TEST(PngReaderErrors, ImageData) {
  const TPngImage img = TPngImage::Pattern(8, 8, kRgb, 8, 1);
  const auto good = ParseChunks(EncodePng(img));
  const size_t idat = size_t(FindChunk(good, "IDAT"));

  auto chunks = good;
  chunks[idat].Crc = 0;
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kCrc);

  chunks = good;
  chunks[idat].Data[0] = 0x79;  // not a deflate header
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kZlib);
  chunks = good;
  chunks[idat].Data[3] ^= 0xFF;  // damaged deflate data
  chunks[idat].Data[4] ^= 0xFF;
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kZlib);
  chunks = good;
  chunks[idat].Data = ZlibCompress(FilteredStream(img, {}));
  chunks[idat].Data.back() ^= 1;  // wrong stream checksum
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kZlib);

  // The stream ends inside a row, or exactly before a row.
  auto raw = FilteredStream(img, {});
  chunks = good;
  chunks[idat].Data = ZlibCompress(std::vector<uint8_t>(raw.begin(), raw.end() - 5));
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kExtra);
  chunks[idat].Data = ZlibCompress(std::vector<uint8_t>(raw.begin(), raw.end() - 25));
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kExtra);
  // Compressed bytes after the stream's end in the same chunk.
  chunks = good;
  chunks[idat].Data.push_back(0);
  EXPECT_EQ(ErrorOf(JoinChunks(chunks)), kExtra);
  // A longer stream than the image needs is read no further than its last row.
  raw.insert(raw.end(), 100, 0);
  chunks[idat].Data = ZlibCompress(raw);
  EXPECT_NO_THROW(Load(JoinChunks(chunks)));
}

void* FailingAlloc(void*, unsigned, unsigned) { return nullptr; }
void NoFree(void*, void*) {}

TEST(PngReaderErrors, InflaterThatCannotStart) {
  // zlib's start-up reads no input, so only a lack of memory stops it.
  const auto file = EncodePng(TPngImage::Pattern(2, 2, kRgb, 8, 1));
  TPNGGraphic png;
  png.InflaterAllocator.Alloc = FailingAlloc;
  png.InflaterAllocator.Free = NoFree;
  try {
    png.LoadFromMemory(file.data(), file.size());
    FAIL() << "loaded";
  } catch (const EzkCompressionError& e) {
    EXPECT_STREQ(e.what(), kLZ77);
  }
  EXPECT_TRUE(png.Bitmap().Empty());
}

TEST(PngReader, ProgressStages) {
  std::vector<std::string> texts;
  std::vector<int> percents;
  TPNGGraphic png;
  png.OnProgress = [&](TzkProgressStage stage, int percent, const std::string& text) {
    texts.push_back(std::to_string(int(stage)) + text);
    percents.push_back(percent);
  };
  TPngOptions o;
  o.Interlaced = true;
  const auto file = EncodePng(TPngImage::Pattern(4, 4, kGrey, 8, 1), o);
  png.LoadFromMemory(file.data(), file.size());
  // Adam7 on 4 x 4 pixels: passes 2 and 3 are empty, the others hold 1, 1, 1, 2, 2 rows.
  ASSERT_EQ(texts.size(), 1u + 7u + 1u);
  EXPECT_EQ(texts.front(), "0Preparing...");
  EXPECT_EQ(texts[1], "1Transfering...");
  EXPECT_EQ(percents[1], 14);
  EXPECT_EQ(percents[7], 100);
  EXPECT_EQ(texts.back(), "2");

  texts.clear();
  const auto bad = std::vector<uint8_t>(file.begin(), file.begin() + 20);
  EXPECT_THROW(png.LoadFromMemory(bad.data(), bad.size()), EzkInvalidGraphic);
  EXPECT_EQ(texts, std::vector<std::string>({"0Preparing...", "2"}));
}

TEST(PngReader, CrcMatchesTheReferenceForAnyLengthAndSplit) {
  std::vector<uint8_t> data(1000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 131 + (i >> 3));
  for (size_t n : {0, 1, 7, 8, 9, 15, 16, 17, 999, 1000}) {
    const uint32_t ref = uint32_t(crc32(0, data.data(), uInt(n)));
    EXPECT_EQ(zkCrc32(0, data.data(), n), ref) << n;
    EXPECT_EQ(zkCrc32(zkCrc32(0, data.data(), n / 3), data.data() + n / 3, n - n / 3), ref) << n;
  }
}

TEST(PngReader, TransparentWhiteCleanupAndAssign) {
  const TPngImage img = TPngImage::Rgba8(3, 1, {0x00FFFFFF, 0x01FFFFFF, 0x00FFFFFE});
  TPNGGraphic png = Load(EncodePng(img));
  ClearTransparentWhite(png.Bitmap());
  EXPECT_EQ(Pixel(png.Bitmap(), 0, 0), 0u);
  EXPECT_EQ(Pixel(png.Bitmap(), 1, 0), 0x01FFFFFFu);
  EXPECT_EQ(Pixel(png.Bitmap(), 2, 0), 0x00FFFFFEu);

  TPNGGraphic copy;
  png.Reflected = true;
  copy.Assign(png);
  EXPECT_TRUE(copy.Reflected);
  EXPECT_EQ(copy.ColorType(), kRgba);
  EXPECT_EQ(Pixel(copy.Bitmap(), 1, 0), 0x01FFFFFFu);
  EXPECT_NE(copy.Bitmap().Row0(), png.Bitmap().Row0());
}

}  // namespace
