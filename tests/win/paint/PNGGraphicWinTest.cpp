#include <gtest/gtest.h>

#include <windows.h>

#include "WinTestSupport.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkPNGGraphicWin.h"
#include "skin/paint/zkPictureFormats.h"
#include "skin/paint/zkPngWriter.h"
#include "toolkit/Handles.h"

namespace {

TColor Px(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}

void Set(TzkBitmap& b, int x, int y, TColor c, uint8_t a = 255) {
  uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
  if (b.BytesPerPixel() == 4) p[3] = a;
}

// A PNG made by the engine's writer and read back by its reader.
TPNGGraphic Png(const TzkBitmap& image) {
  const std::vector<uint8_t> bytes = EncodePng(image);
  TPNGGraphic png;
  png.LoadFromMemory(bytes.data(), bytes.size());
  return png;
}

struct TScreen {
  TScreen() : bitmap(NewDeviceBitmap24(12, 12)), dc(DibHandle(bitmap)) { bitmap.Fill(0x808080); }
  TColor At(int x, int y) {
    GdiFlush();
    return Px(bitmap, x, y);
  }
  struct TDib {
    TDib() { InstallDibBitmapStorage(); }
    ~TDib() { SetBitmapStorageFactory(nullptr); }
  } dib;
  TzkBitmap bitmap;
  TBitmapDc dc;
};

TEST(PNGGraphicWin, DrawBlendsByAlphaAndReflectsBelow) {
  TzkBitmap image(2, 2, TPixelFormat::pf32bit);
  Set(image, 0, 0, RGBColor(255, 0, 0), 255);
  Set(image, 1, 0, RGBColor(0, 0, 255), 0);
  Set(image, 0, 1, RGBColor(0, 255, 0), 128);
  Set(image, 1, 1, RGBColor(255, 255, 255), 255);
  TPNGGraphic png = Png(image);
  ASSERT_EQ(png.Bitmap().BytesPerPixel(), 4);
  TScreen s;
  DrawPNGGraphic(s.dc.Get(), TRect(3, 3, 5, 5), png);
  EXPECT_EQ(s.At(3, 3), RGBColor(255, 0, 0));    // opaque: exactly the image
  EXPECT_EQ(s.At(4, 3), RGBColor(128, 128, 128));  // transparent: the screen
  EXPECT_EQ(s.At(3, 4), RGBColor(64, 192, 64));   // (255*128 + 128*127 + 127) / 255 = 192
  EXPECT_EQ(s.At(3, 5), RGBColor(128, 128, 128));  // nothing below without Reflected
  png.Reflected = true;
  DrawPNGGraphic(s.dc.Get(), TRect(6, 6, 8, 8), png);
  // One extra row (half of 2) holds the mirror of the last row at half its alpha.
  EXPECT_EQ(s.At(7, 7), clWhite);
  EXPECT_EQ(s.At(7, 8), RGBColor(191, 191, 191));  // white at alpha 127: (255*127 + 128*128 + 127) / 255
  EXPECT_EQ(s.At(7, 9), RGBColor(128, 128, 128));
}

TEST(PNGGraphicWin, StretchedAndPlainImages) {
  TzkBitmap image(2, 1, TPixelFormat::pf32bit);
  Set(image, 0, 0, RGBColor(255, 0, 0), 255);
  Set(image, 1, 0, RGBColor(0, 0, 255), 255);
  TScreen s;
  DrawPNGGraphic(s.dc.Get(), TRect(0, 0, 4, 2), Png(image));
  EXPECT_EQ(s.At(1, 1), RGBColor(255, 0, 0));
  EXPECT_EQ(s.At(2, 0), RGBColor(0, 0, 255));
  TzkBitmap rgb(1, 1);
  Set(rgb, 0, 0, RGBColor(1, 2, 3));
  TPNGGraphic plain = Png(rgb);
  ASSERT_EQ(plain.Bitmap().BytesPerPixel(), 3);
  DrawPNGGraphic(s.dc.Get(), TRect(5, 5, 7, 6), plain);
  EXPECT_EQ(s.At(6, 5), RGBColor(1, 2, 3));
}

// More paints and icons than a process may hold GDI objects (Windows: 10,000), each making
// and freeing GDI objects; the live count shows any left behind.
TEST(PNGGraphicWin, ThousandsOfBlendsAndIconsLeakNothing) {
  TzkBitmap image(2, 2, TPixelFormat::pf32bit);
  Set(image, 0, 0, RGBColor(255, 0, 0), 200);
  Set(image, 1, 1, RGBColor(0, 0, 255), 255);
  const TPNGGraphic png = Png(image);
  TScreen s;
  {
    TLeakCheck noLeaks(TLeakCheck::kHandlesOnly);
    for (int i = 0; i < 20000; ++i) DrawPNGGraphic(s.dc.Get(), TRect(1, 1, 3, 3), png);
    for (int i = 0; i < 11000; ++i) EXPECT_TRUE(CreatePNGGraphicIcon(png, false)) << i;
  }
  EXPECT_EQ(s.At(2, 2), RGBColor(0, 0, 255));
}

// The icon's AND mask as 0/1 per pixel.
std::vector<int> MaskOf(HICON icon, int w, int h) {
  ICONINFO info = {};
  EXPECT_TRUE(GetIconInfo(icon, &info));
  std::vector<int> bits;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmMask);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits.push_back(GetPixel(dc, x, y) == RGB(255, 255, 255) ? 1 : 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  return bits;
}

TEST(PNGGraphicWin, IconMaskFromTheTopLeftColourOrOpaque) {
  TzkBitmap rgb(3, 1);
  Set(rgb, 0, 0, clLime);
  Set(rgb, 1, 0, clRed);
  Set(rgb, 2, 0, clLime);
  TIconHandle icon = CreatePNGGraphicIcon(Png(rgb), false);
  ASSERT_TRUE(icon);
  EXPECT_EQ(MaskOf(icon.Get(), 3, 1), (std::vector<int>{1, 0, 1}));
  TzkBitmap rgba(3, 1, TPixelFormat::pf32bit);
  Set(rgba, 0, 0, clLime, 0);
  Set(rgba, 1, 0, clRed, 255);
  Set(rgba, 2, 0, clLime, 10);
  const TPNGGraphic png = Png(rgba);
  EXPECT_EQ(MaskOf(CreatePNGGraphicIcon(png, false).Get(), 3, 1), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(MaskOf(CreatePNGGraphicIcon(png, true).Get(), 3, 1), (std::vector<int>{1, 0, 1}));
}

TEST(PNGGraphicWin, RegisteredForPngWithItsDescription) {
  RegisterPNGPictureFormat();
  const TzkPictureFormat* f = FindPictureFormat(L".PNG");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Description, L"Portable network graphics (OrvexControls)");
  TzkBitmap image(2, 2);
  const std::vector<uint8_t> bytes = EncodePng(image);
  TzkBitmap out;
  std::string error;
  EXPECT_TRUE(f->Load(bytes.data(), bytes.size(), out, error)) << error;
  EXPECT_FALSE(f->Load(bytes.data(), 10, out, error));
  EXPECT_EQ(FindPictureFormat(L"gif"), nullptr);
}

}  // namespace
