#include <gtest/gtest.h>

#include "paint/PaintTestUtil.h"
#include "skin/data/zkImageReaders.h"
#include "skin/paint/zkPngWriter.h"

using namespace painttest;

namespace {

// Noise in the left half exercises every filter choice; a gradient in the right half makes
// Sub, Up and Paeth win on some rows.
TzkBitmap Sample(int w, int h, TPixelFormat pf, TRowOrder order) {
  TzkBitmap b(w, h, pf, order);
  Noise(b, 7);
  for (int y = 0; y < h; ++y)
    for (int x = w / 2; x < w; ++x) SetPx(b, x, y, RGBColor(uint8_t(x * 9), uint8_t(y * 7), 40), uint8_t(x + y));
  return b;
}

TEST(PngWriter, RoundTripsThroughTheReaderForBothFormats) {
  for (TPixelFormat pf : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    const TzkBitmap image = Sample(37, 11, pf, TRowOrder::BottomUp);
    const std::vector<uint8_t> png = EncodePng(image);
    TzkBitmap back;
    std::string error;
    ASSERT_TRUE(ReadPngImage(png.data(), png.size(), back, error)) << error;
    ASSERT_EQ(back.PixelFormat(), pf);
    ASSERT_EQ(back.Width(), 37);
    for (int y = 0; y < 11; ++y)
      ASSERT_EQ(std::memcmp(back.ScanLine(y), image.ScanLine(y), 37 * image.BytesPerPixel()), 0) << y;
  }
}

TEST(PngWriter, EmptyImageAndUnwritablePathAreErrors) {
  EXPECT_THROW(EncodePng(TzkBitmap()), EzkPngWriteError);
  EXPECT_THROW(SavePng(Solid(2, 2, clRed), "/nonexistent-folder/x.png"), EzkPngWriteError);
}

}  // namespace
