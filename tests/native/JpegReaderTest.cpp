#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "skin/data/zkJpegImage.h"
#include "support/JpegTestEncoder.h"

namespace {

using jpegtest::EncodeJpeg;
using jpegtest::SmoothSamples;
using jpegtest::TJpegSpec;

// Largest difference between the bitmap and RGB (or grey) source samples.
int MaxError(const TzkBitmap& b, const std::vector<uint8_t>& src, int components) {
  int worst = 0;
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x, p += 3) {
      const uint8_t* s = src.data() + (size_t(y) * size_t(b.Width()) + size_t(x)) * size_t(components);
      for (int c = 0; c < 3; ++c) {
        const int want = components == 1 ? s[0] : s[2 - c];  // bitmap B, G, R
        worst = std::max(worst, std::abs(p[c] - want));
      }
    }
  }
  return worst;
}

TEST(JpegReader, DecodesColourAndGreyIntoTwentyFourBits) {
  TJpegSpec s;
  s.Width = 37;  // not a multiple of the 8 x 8 blocks
  s.Height = 21;
  const auto rgb = SmoothSamples(s.Width, s.Height, 3);
  TzkBitmap b = DecodeJpegImage(EncodeJpeg(s, rgb).data(), EncodeJpeg(s, rgb).size());
  ASSERT_EQ(b.Width(), 37);
  ASSERT_EQ(b.Height(), 21);
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_LE(MaxError(b, rgb, 3), 6);

  s.Components = 1;
  const auto grey = SmoothSamples(s.Width, s.Height, 1);
  const auto file = EncodeJpeg(s, grey);
  b = DecodeJpegImage(file.data(), file.size());
  EXPECT_LE(MaxError(b, grey, 1), 4);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint8_t* p = b.ScanLine(y) + 3 * x;
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
    }
}

TEST(JpegReader, EncodingVariants) {
  TJpegSpec s;
  s.Width = 40;
  s.Height = 24;
  const auto rgb = SmoothSamples(s.Width, s.Height, 3);
  struct Variant {
    const char* name;
    void (*apply)(TJpegSpec&);
    int tolerance;
  };
  const Variant variants[] = {
      {"progressive", [](TJpegSpec& v) { v.Progressive = true; }, 6},
      {"subsampled chroma", [](TJpegSpec& v) { v.FullChroma = false; }, 12},
      {"arithmetic coding", [](TJpegSpec& v) { v.Arithmetic = true; }, 6},
      {"restart markers", [](TJpegSpec& v) { v.RestartRows = 1; }, 6},
  };
  for (const Variant& v : variants) {
    TJpegSpec spec = s;
    v.apply(spec);
    const auto file = EncodeJpeg(spec, rgb);
    TzkBitmap b;
    std::string error;
    ASSERT_TRUE(ReadJpegImage(file.data(), file.size(), b, error)) << v.name << ": " << error;
    EXPECT_LE(MaxError(b, rgb, 3), v.tolerance) << v.name;
  }
}

TEST(JpegReader, CmykWithTheAdobeMarkerIsStoredInverted) {
  TJpegSpec s;
  s.Width = 16;
  s.Height = 8;
  s.Components = 4;
  s.Quality = 100;
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 16 * 8; ++i) cmyk.insert(cmyk.end(), {200, 100, 50, 255});
  const auto file = EncodeJpeg(s, cmyk);
  const TzkBitmap b = DecodeJpegImage(file.data(), file.size());
  const uint8_t* p = b.ScanLine(4) + 3 * 8;
  EXPECT_NEAR(p[2], 200, 2);  // red
  EXPECT_NEAR(p[1], 100, 2);
  EXPECT_NEAR(p[0], 50, 2);
}

std::string ErrorOf(const std::vector<uint8_t>& file, const TzkImageLimits& limits = {}) {
  try {
    DecodeJpegImage(file.data(), file.size(), limits);
  } catch (const EzkJpegError& e) {
    return e.what();
  }
  ADD_FAILURE() << "decoded";
  return {};
}

// Offset of the first marker 0xFF, code at or after `from`.
size_t FindMarker(const std::vector<uint8_t>& f, uint8_t code, size_t from = 2) {
  for (size_t i = from; i + 1 < f.size(); ++i)
    if (f[i] == 0xFF && f[i + 1] == code) return i;
  return f.size();
}

TEST(JpegReader, DamagedAndHostileFilesFailWithAReason) {
  TJpegSpec s;
  s.Width = 16;
  s.Height = 16;
  const auto file = EncodeJpeg(s, SmoothSamples(16, 16, 3));

  EXPECT_EQ(ErrorOf({}), "Cannot load JPEG image: Empty input file.");
  EXPECT_EQ(ErrorOf({0x89, 'P', 'N', 'G'}), "Cannot load JPEG image: Not a JPEG file: starts with 0x89 0x50.");
  EXPECT_NE(ErrorOf({file.begin(), file.begin() + 30}).find("Cannot load JPEG image: "), std::string::npos);

  // A frame header claiming 65000 x 65000 pixels fails before any pixel memory is taken.
  auto big = file;
  const size_t sof = FindMarker(big, 0xC0);
  ASSERT_LT(sof, big.size());
  big[sof + 5] = big[sof + 7] = 0xFD;
  big[sof + 6] = big[sof + 8] = 0xE8;
  EXPECT_EQ(ErrorOf(big), "Cannot load JPEG image: the image of 65000 x 65000 pixels is too large.");
  TzkImageLimits small;
  small.MaxSide = 15;
  EXPECT_EQ(ErrorOf(file, small), "Cannot load JPEG image: the image of 16 x 16 pixels is too large.");

  // The last scan of a progressive file repeated past the scan cap.
  s.Progressive = true;
  const auto prog = EncodeJpeg(s, SmoothSamples(16, 16, 3));
  size_t lastScan = 0;
  for (size_t at = FindMarker(prog, 0xDA); at < prog.size(); at = FindMarker(prog, 0xDA, at + 2)) lastScan = at;
  std::vector<uint8_t> many(prog.begin(), prog.begin() + long(lastScan));
  for (int i = 0; i < 600; ++i) many.insert(many.end(), prog.begin() + long(lastScan), prog.end() - 2);
  many.insert(many.end(), {0xFF, 0xD9});
  EXPECT_EQ(ErrorOf(many), "Cannot load JPEG image: the file holds too many scans.");
}

TEST(JpegReader, TruncatedDataStillGivesThePicture) {
  // libjpeg fills what is missing; the part that arrived is decoded.
  TJpegSpec s;
  s.Width = 32;
  s.Height = 32;
  const auto rgb = SmoothSamples(32, 32, 3);
  auto file = EncodeJpeg(s, rgb);
  const size_t scan = FindMarker(file, 0xDA);
  file.resize(scan + (file.size() - scan) / 2);  // half the scan data
  TzkBitmap b;
  std::string error;
  ASSERT_TRUE(ReadJpegImage(file.data(), file.size(), b, error)) << error;
  ASSERT_EQ(b.Height(), 32);
  const uint8_t* p = b.ScanLine(0) + 3 * 5;
  EXPECT_NEAR(p[2], rgb[3 * 5], 6);
}

}  // namespace
