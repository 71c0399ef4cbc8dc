#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/paint/zkBitmap.h"

namespace {

TEST(Bitmap, StrideIsRowOneMinusRowZeroForBothRowOrders) {
  TzkBitmap top(5, 3, TPixelFormat::pf24bit, TRowOrder::TopDown);
  TzkBitmap bottom(5, 3, TPixelFormat::pf24bit, TRowOrder::BottomUp);
  EXPECT_EQ(top.Stride(), 16);  // 15 bytes padded to 16
  EXPECT_EQ(bottom.Stride(), -16);
  EXPECT_EQ(top.ScanLine(1) - top.ScanLine(0), top.Stride());
  EXPECT_EQ(bottom.ScanLine(1) - bottom.ScanLine(0), bottom.Stride());
}

TEST(Bitmap, ResizeKeepsOverlapAndZeroesTheRest) {
  TzkBitmap b(2, 2, TPixelFormat::pf32bit, TRowOrder::BottomUp);
  b.Fill(0x11223344);
  b.SetSize(3, 1);
  ASSERT_EQ(b.Width(), 3);
  const uint8_t* row = b.ScanLine(0);
  EXPECT_EQ(row[0], 0x44);
  EXPECT_EQ(row[7], 0x11);
  EXPECT_EQ(row[8], 0);
  EXPECT_EQ(b.RowOrder(), TRowOrder::BottomUp);
}

TEST(Bitmap, FormatChangeConvertsPixels) {
  TzkBitmap b(2, 2, TPixelFormat::pf24bit);
  b.Fill(0x00A0B0C0);
  b.SetPixelFormat(TPixelFormat::pf32bit);
  const uint8_t* p = b.ScanLine(1) + 4;
  EXPECT_EQ(p[0], 0xC0);
  EXPECT_EQ(p[2], 0xA0);
  EXPECT_EQ(p[3], 0);  // alpha 0, as the platform's conversion gives
  b.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(b.ScanLine(1)[3], 0xC0);
}

TEST(Bitmap, HostileSizesFailBeforeAllocating) {
  EXPECT_THROW(TzkBitmap(100000, 100000, TPixelFormat::pf32bit), std::length_error);
  EXPECT_THROW(TzkBitmap(-1, 5), std::length_error);
  TzkBitmap empty(0, 7);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Stride(), 0);
}

TEST(Bitmap, CloneIsDeep) {
  TzkBitmap a = NewBitmap24(3, 2);
  a.Fill(0x010203);
  TzkBitmap b = a.Clone();
  b.ScanLine(0)[0] = 9;
  EXPECT_EQ(a.ScanLine(0)[0], 3);
  EXPECT_EQ(NewBitmapLike(a).PixelFormat(), TPixelFormat::pf24bit);
}

}  // namespace
