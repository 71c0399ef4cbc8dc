#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

// Installs the DIB factory for one test and puts plain memory back afterwards.
struct TDibScope {
  TDibScope() { InstallDibBitmapStorage(); }
  ~TDibScope() { SetBitmapStorageFactory(nullptr); }
};

uint32_t Word(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

TEST(DibStorage, GdiDrawsIntoTheRowsOfBothRowOrders) {
  TDibScope dib;
  for (TRowOrder order : {TRowOrder::TopDown, TRowOrder::BottomUp}) {
    TzkBitmap b(7, 5, TPixelFormat::pf24bit, order, TBitmapUse::Device);
    ASSERT_NE(DibHandle(b), nullptr);
    EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), b.Stride());
    TBitmapDc dc(DibHandle(b));
    ASSERT_TRUE(dc);
    TBrushHandle brush(CreateSolidBrush(RGB(10, 20, 30)));
    RECT r = {2, 3, 4, 5};
    FillRect(dc.Get(), &r, brush.Get());
    GdiFlush();
    EXPECT_EQ(Word(b, 2, 3), 0x0A141Eu);  // stored B, G, R: 30, 20, 10
    EXPECT_EQ(Word(b, 3, 4), 0x0A141Eu);
    EXPECT_EQ(Word(b, 1, 3), 0u);
    // The engine writes, GDI reads.
    b.ScanLine(0)[0] = 0xFF;
    EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(0, 0, 255));
  }
}

TEST(DibStorage, BlitsAndCopiesWorkForPlainMemoryToo) {
  TzkBitmap plain(4, 3, TPixelFormat::pf32bit, TRowOrder::BottomUp);  // before the factory
  plain.Fill(0xFF336699);
  plain.ScanLine(2)[3 * 4 + 0] = 0x11;  // pixel (3, 2)
  TDibScope dib;
  TzkBitmap target = NewDeviceBitmap24(6, 5);
  ASSERT_NE(DibHandle(target), nullptr);
  ASSERT_EQ(DibHandle(plain), nullptr);
  TBitmapDc dc(DibHandle(target));
  DrawBitmapToDC(dc.Get(), 1, 1, plain, TRect(1, 1, 4, 3));
  GdiFlush();
  EXPECT_EQ(Word(target, 0, 0), 0u);
  EXPECT_EQ(Word(target, 1, 1), 0x336699u);
  EXPECT_EQ(Word(target, 3, 2), 0x336611u);  // source (3, 2)
  EXPECT_EQ(Word(target, 4, 1), 0u);
  TzkBitmap back = NewDeviceBitmap24(2, 2);
  TzkBitmap backPlain(2, 2);
  ASSERT_EQ(DibHandle(backPlain), nullptr);
  CopyDCToBitmap(back, dc.Get(), 2, 1);
  CopyDCToBitmap(backPlain, dc.Get(), 2, 1);
  EXPECT_EQ(Word(back, 1, 1), 0x336611u);
  EXPECT_EQ(Word(backPlain, 1, 1), 0x336611u);
  EXPECT_EQ(Word(backPlain, 0, 0), 0x336699u);
}

// Bitmaps are copied straight from their pixels; the result must be what a blit from a
// device context holding the same pixels gives, for device and memory bitmaps, in both row
// orders and both formats (into a target of the same format), with a source rectangle
// reaching past the bitmap and the target's origin moved.
TEST(DibStorage, CopyingABitmapGivesWhatABlitOfItsPixelsGives) {
  TDibScope dib;
  for (TBitmapUse use : {TBitmapUse::Device, TBitmapUse::Memory})
  for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit})
    for (TRowOrder order : {TRowOrder::TopDown, TRowOrder::BottomUp}) {
      SCOPED_TRACE(std::string(use == TBitmapUse::Device ? "device, " : "memory, ") +
                   (format == TPixelFormat::pf24bit ? "24" : "32") + "-bit, " +
                   (order == TRowOrder::TopDown ? "top-down" : "bottom-up"));
      TzkBitmap source(9, 7, format, order, use);
      ASSERT_EQ(DibHandle(source) != nullptr, use == TBitmapUse::Device);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9 * source.BytesPerPixel(); ++x) source.ScanLine(y)[x] = uint8_t(x * 13 + y * 29);
      // A 32-bit target keeps what the copy does with a 32-bit source's fourth byte.
      TzkBitmap direct(16, 12, format, TRowOrder::TopDown, TBitmapUse::Device);
      TzkBitmap blitted(16, 12, format, TRowOrder::TopDown, TBitmapUse::Device);
      TBitmapDc directDc(DibHandle(direct)), blittedDc(DibHandle(blitted));
      for (HDC dc : {directDc.Get(), blittedDc.Get()}) SetViewportOrgEx(dc, 2, 1, nullptr);
      DrawBitmapToDC(directDc.Get(), 3, 2, source, TRect(-2, 1, 12, 9));
      GdiFlush();
      {
        TzkBitmap section(9, 7, format, order, TBitmapUse::Device);
        for (int y = 0; y < 7; ++y) std::memcpy(section.ScanLine(y), source.ScanLine(y), size_t(9 * source.BytesPerPixel()));
        TBitmapDc sourceDc(DibHandle(section));
        // The visible part of (-2, 1)-(12, 9) is (0, 1)-(9, 7), two pixels further right.
        BitBlt(blittedDc.Get(), 5, 2, 9, 6, sourceDc.Get(), 0, 1, SRCCOPY);
        GdiFlush();
      }
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
          ASSERT_EQ(0, std::memcmp(direct.ScanLine(y) + x * direct.BytesPerPixel(),
                                   blitted.ScanLine(y) + x * blitted.BytesPerPixel(), size_t(direct.BytesPerPixel())))
              << "pixel (" << x << ", " << y << ")";
      EXPECT_NE(Word(direct, 7, 3), 0u);
    }
}

TEST(DibStorage, OnlyDeviceBitmapsBecomeSectionsAndEachIsCounted) {
  TDibScope dib;
  const long before = handles::GdiObjectsAlive();
  {
    TzkBitmap device = NewDeviceBitmap24(3, 3);
    EXPECT_NE(DibHandle(device), nullptr);
    EXPECT_EQ(handles::GdiObjectsAlive(), before + 1);
    TzkBitmap copy = device.Clone();
    EXPECT_NE(DibHandle(copy), nullptr);
    EXPECT_EQ(copy.Use(), TBitmapUse::Device);
    device.SetSize(5, 4);  // a new section replaces the old one
    EXPECT_EQ(handles::GdiObjectsAlive(), before + 2);
  }
  EXPECT_EQ(handles::GdiObjectsAlive(), before);
  // Skin images and temporaries stay in memory: more of them than a process may hold GDI
  // objects can live at once.
  std::vector<TzkBitmap> images;
  for (int i = 0; i < 10500; ++i) images.emplace_back(2, 2, TPixelFormat::pf32bit);
  EXPECT_EQ(DibHandle(images.back()), nullptr);
  EXPECT_EQ(handles::GdiObjectsAlive(), before);
}

TEST(GdiCounter, CountsWhatWasMadeAndDeletedNotTheOwners) {
  const long before = handles::GdiObjectsAlive();
  { TBrushHandle none(nullptr); }
  EXPECT_EQ(handles::GdiObjectsAlive(), before);
  {
    TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(handles::GdiObjectsAlive(), before + 1);
    DeleteObject(brush.Get());  // gone behind the owner's back: its own delete fails
  }
  EXPECT_EQ(handles::GdiObjectsAlive(), before + 1);
  handles::CountGdiObject(-1);
}

}  // namespace
