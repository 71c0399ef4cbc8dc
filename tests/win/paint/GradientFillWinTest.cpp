#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "skin/paint/sGradient.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

struct TDibScope {
  TDibScope() { InstallDibBitmapStorage(); }
  ~TDibScope() { SetBitmapStorageFactory(nullptr); }
};

// The four triangles of the gradient's third kind through the platform's GradientFill.
void PlatformTriangles(HDC dc, const TRect& r, const TColor c[5]) {
  auto vertex = [](int x, int y, TColor col) {
    TRIVERTEX v = {};
    v.x = x, v.y = y;
    v.Red = COLOR16(GetRValue(col) << 8);
    v.Green = COLOR16(GetGValue(col) << 8);
    v.Blue = COLOR16(GetBValue(col) << 8);
    return v;
  };
  TRIVERTEX v[5] = {vertex(r.Left, r.Top, c[0]),
                    vertex(r.Left + r.Width() / 2, r.Top + r.Height() / 2, c[1]),
                    vertex(r.Right, r.Top, c[2]), vertex(r.Right, r.Bottom, c[3]),
                    vertex(r.Left, r.Bottom, c[4])};
  GRADIENT_TRIANGLE t[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  GradientFill(dc, v, 5, t, 4, GRADIENT_FILL_TRIANGLE);
}

// Our rasteriser against the platform's triangle fill: the same pixels covered, the same
// colours, exactly.
TEST(GradientFillWin, TrianglesMatchThePlatformFill) {
  TDibScope dib;
  const TColor c[5] = {RGBColor(255, 0, 0), RGBColor(255, 255, 255), RGBColor(0, 200, 0),
                       RGBColor(0, 0, 255), RGBColor(250, 250, 0)};
  // Even and odd sizes, a thin one, and one reaching the bitmap's edges.
  for (const TRect r : {TRect(0, 0, 40, 30), TRect(3, 2, 36, 27), TRect(1, 1, 10, 9), TRect(5, 4, 8, 29)}) {
    TzkBitmap platform = NewDeviceBitmap24(40, 30), ours(40, 30);
    platform.Fill(0xFF00FF);
    ours.Fill(0xFF00FF);
    {
      TBitmapDc dc(DibHandle(platform));
      PlatformTriangles(dc.Get(), r, c);
      GdiFlush();
    }
    PaintGradient(ours, r, {{c[0], 0, 0, 2}, {c[1], 0, 0, 2}, {c[2], 0, 0, 2}, {c[3], 0, 0, 2}, {c[4], 0, 0, 2}});
    int coverage = 0, worst = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const uint8_t* a = platform.ScanLine(y) + x * 3;
        const uint8_t* b = ours.ScanLine(y) + x * 3;
        const bool pa = !(a[0] == 0xFF && a[1] == 0 && a[2] == 0xFF), pb = !(b[0] == 0xFF && b[1] == 0 && b[2] == 0xFF);
        coverage += pa != pb;
        for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(a[k] - b[k]) * (pa && pb));
      }
    EXPECT_EQ(coverage, 0) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(worst, 0) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  }
}

}  // namespace
