#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/zkBmpImage.h"
#include "support/BmpTestWriter.h"

namespace {

using bmptest::TBmpSpec;
using bmptest::WriteBmp;

// The pixel at (x, y) as 0x00RRGGBB, or 0xAARRGGBB for 32-bit bitmaps.
uint32_t Pixel(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
  if (b.BytesPerPixel() == 4) v |= uint32_t(p[3]) << 24;
  return v;
}

constexpr int kW = 5, kH = 3;  // odd width: every row needs padding

std::vector<uint32_t> Indexes(int colours) {
  std::vector<uint32_t> v;
  for (int i = 0; i < kW * kH; ++i) v.push_back(uint32_t((i * 7 + i / kW) % colours));
  return v;
}

std::vector<uint32_t> Palette(int colours) {
  std::vector<uint32_t> p;
  for (int i = 0; i < colours; ++i) p.push_back(uint32_t(i * 0x010203 + 0x102030) & 0xFFFFFF);
  return p;
}

TEST(BmpReader, PalettedDepthsInBothRowOrdersAndHeaders) {
  for (int bits : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      for (uint32_t header : {12u, 40u, 108u}) {
        if (header == 12 && topDown) continue;  // the core header has no top-down form
        SCOPED_TRACE(std::to_string(bits) + " bits, header " + std::to_string(header) +
                     (topDown ? ", top-down" : ", bottom-up"));
        TBmpSpec s;
        s.Width = kW;
        s.Height = kH;
        s.TopDown = topDown;
        s.BitCount = bits;
        s.HeaderSize = header;
        s.Palette = Palette(1 << bits);
        const auto idx = Indexes(1 << bits);
        const auto file = WriteBmp(s, idx);
        const TzkBitmap b = DecodeBmpImage(file.data(), file.size());
        ASSERT_EQ(b.Width(), kW);
        ASSERT_EQ(b.Height(), kH);
        ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
        for (int y = 0; y < kH; ++y)
          for (int x = 0; x < kW; ++x)
            ASSERT_EQ(Pixel(b, x, y), s.Palette[idx[size_t(y * kW + x)]]) << x << "," << y;
      }
    }
  }
}

TEST(BmpReader, DirectColourDepthsInBothRowOrders) {
  for (bool topDown : {false, true}) {
    // 24 bits: stored bytes are B, G, R.
    TBmpSpec s;
    s.Width = kW;
    s.Height = kH;
    s.TopDown = topDown;
    std::vector<uint32_t> px;
    for (int i = 0; i < kW * kH; ++i) px.push_back(uint32_t(i * 0x0A0B0C + 0x010203) & 0xFFFFFF);
    auto file = WriteBmp(s, px);
    TzkBitmap b = DecodeBmpImage(file.data(), file.size());
    ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
    for (int i = 0; i < kW * kH; ++i) ASSERT_EQ(Pixel(b, i % kW, i / kW), px[size_t(i)]);

    // 32 bits plain: the fourth byte is kept as alpha.
    s.BitCount = 32;
    for (auto& v : px) v |= 0x80000000u;
    file = WriteBmp(s, px);
    b = DecodeBmpImage(file.data(), file.size());
    ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
    for (int i = 0; i < kW * kH; ++i) ASSERT_EQ(Pixel(b, i % kW, i / kW), px[size_t(i)]);
  }
}

TEST(BmpReader, ColourMasksAreWidenedToEightBits) {
  // 16 bits, 5-6-5 masks after a 40-byte header: full-scale fields give 255.
  TBmpSpec s;
  s.Width = 3;
  s.Height = 2;
  s.BitCount = 16;
  s.Compression = 3;
  s.Masks[0] = 0xF800;
  s.Masks[1] = 0x07E0;
  s.Masks[2] = 0x001F;
  auto file = WriteBmp(s, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410});
  TzkBitmap b = DecodeBmpImage(file.data(), file.size());
  EXPECT_EQ(Pixel(b, 0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(b, 1, 0), 0x00FF00u);
  EXPECT_EQ(Pixel(b, 2, 0), 0x0000FFu);
  EXPECT_EQ(Pixel(b, 0, 1), 0xFFFFFFu);
  EXPECT_EQ(Pixel(b, 1, 1), 0x000000u);
  EXPECT_EQ(Pixel(b, 2, 1), 0x848284u);  // 16/31, 32/63, 16/31 of 255, rounded

  // 16 bits without masks: 5-5-5.
  s.Compression = 0;
  file = WriteBmp(s, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x4210});
  b = DecodeBmpImage(file.data(), file.size());
  EXPECT_EQ(Pixel(b, 0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(b, 1, 0), 0x00FF00u);
  EXPECT_EQ(Pixel(b, 2, 1), 0x848484u);

  // 32 bits, masks in a 108-byte header, alpha in the low byte.
  TBmpSpec w;
  w.Width = 2;
  w.Height = 1;
  w.BitCount = 32;
  w.HeaderSize = 108;
  w.Compression = 3;
  w.Masks[0] = 0xFF000000;
  w.Masks[1] = 0x00FF0000;
  w.Masks[2] = 0x0000FF00;
  w.Masks[3] = 0x000000FF;
  file = WriteBmp(w, {0x11223344, 0xAABBCCDD});
  b = DecodeBmpImage(file.data(), file.size());
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(Pixel(b, 0, 0), 0x44112233u);
  EXPECT_EQ(Pixel(b, 1, 0), 0xDDAABBCCu);

  // Masks without an alpha mask give alpha 0, as plain 32-bit pixels usually carry.
  w.Width = 1;
  w.HeaderSize = 40;
  w.Masks[3] = 0;
  file = WriteBmp(w, {0x11223344});
  b = DecodeBmpImage(file.data(), file.size());
  EXPECT_EQ(Pixel(b, 0, 0), 0x00112233u);
}

TEST(BmpReader, ShortPalettesAndMissingPixelOffset) {
  TBmpSpec s;
  s.Width = 4;
  s.Height = 1;
  s.BitCount = 8;
  s.Palette = {0x112233, 0x445566};  // ColorsUsed = 2
  s.ZeroPixelOffset = true;
  const auto file = WriteBmp(s, {0, 1, 2, 255});
  const TzkBitmap b = DecodeBmpImage(file.data(), file.size());
  EXPECT_EQ(Pixel(b, 0, 0), 0x112233u);
  EXPECT_EQ(Pixel(b, 1, 0), 0x445566u);
  EXPECT_EQ(Pixel(b, 2, 0), 0u);  // beyond the palette: black
  EXPECT_EQ(Pixel(b, 3, 0), 0u);
}

std::string ErrorOf(const std::vector<uint8_t>& file) {
  TzkBitmap b;
  std::string error;
  EXPECT_FALSE(ReadBmpImage(file.data(), file.size(), b, error));
  EXPECT_TRUE(b.Empty());
  return error;
}

void SetLe32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(v >> (8 * i));
}

TEST(BmpReader, DamagedAndHostileHeadersFailWithAReason) {
  TBmpSpec s;
  s.Width = 4;
  s.Height = 4;
  const auto good = WriteBmp(s, std::vector<uint32_t>(16, 0x123456));
  {
    TzkBitmap b;
    std::string error;
    ASSERT_TRUE(ReadBmpImage(good.data(), good.size(), b, error)) << error;
  }
  EXPECT_EQ(ErrorOf({'B', 'M', 0, 0}), "Cannot load BMP image: not a BMP file.");
  auto f = good;
  f[0] = 'X';
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: not a BMP file.");

  // A 60-byte file that claims 1,000,000 × 1,000,000 pixels fails before any allocation.
  f = std::vector<uint8_t>(good.begin(), good.begin() + 60);
  SetLe32(f, 18, 1000000);
  SetLe32(f, 22, 1000000);
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: the image of 1000000 x 1000000 pixels is too large.");
  f = good;
  SetLe32(f, 22, 0x80000000u);  // the most negative height
  EXPECT_NE(ErrorOf(f).find("too large"), std::string::npos);

  f = good;
  SetLe32(f, 18, 0);
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: the image is empty.");
  f = std::vector<uint8_t>(good.begin(), good.end() - 13);
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: the pixel data is truncated.");
  f = good;
  SetLe32(f, 10, 0xFFFFFFF0u);
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: the pixel data is truncated.");
  f = good;
  SetLe32(f, 14, 0x7FFFFFFF);
  EXPECT_NE(ErrorOf(f).find("unknown header"), std::string::npos);
  f = good;
  f[28] = 2;  // bit count
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: 2 bits per pixel are not supported.");
  f = good;
  f[30] = 1;  // run-length compression
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: run-length compressed files are not supported.");
  f = good;
  f[30] = 3;  // colour masks on 24 bits
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: colour masks need 16 or 32 bits per pixel.");

  TBmpSpec p;
  p.BitCount = 8;
  p.Palette = Palette(256);
  f = WriteBmp(p, {0});
  f.resize(14 + 40 + 100);
  EXPECT_EQ(ErrorOf(f), "Cannot load BMP image: the palette is truncated.");
}

TEST(BmpReader, LimitsAreCheckedAgainstTheDecodedSize) {
  TBmpSpec s;
  s.Width = 64;
  s.Height = 64;
  s.BitCount = 32;
  const auto file = WriteBmp(s, std::vector<uint32_t>(64 * 64, 0));
  TzkImageLimits limits;
  limits.MaxBytes = 64 * 64 * 4 - 1;
  EXPECT_THROW(DecodeBmpImage(file.data(), file.size(), limits), EzkBmpError);
  limits.MaxBytes = 64 * 64 * 4;
  EXPECT_EQ(DecodeBmpImage(file.data(), file.size(), limits).Width(), 64);
  limits.MaxSide = 63;
  EXPECT_THROW(DecodeBmpImage(file.data(), file.size(), limits), EzkBmpError);
}

}  // namespace
