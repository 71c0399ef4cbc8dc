#include "skin/paint/sGradient.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Channels in stored byte order (B, G, R), straight from the colour value.
inline uint8_t Channel(TColor c, int storedIndex) {
  return uint8_t(uint32_t(c) >> (8 * (2 - storedIndex)));
}

inline uint8_t RoundByte(float v) {
  return uint8_t(std::clamp(std::nearbyint(double(v)), 0.0, 255.0));
}

// The running colour of one band: single-precision accumulators, double increments.
class TColorStepper {
 public:
  TColorStepper(TColor c1, TColor c2, int steps) {
    for (int i = 0; i < 3; ++i) {
      acc_[i] = float(Channel(c1, i));
      inc_[i] = (double(Channel(c2, i)) - double(Channel(c1, i))) / double(steps);
    }
  }
  void Pixel(uint8_t* px) const {
    for (int i = 0; i < 3; ++i) px[i] = RoundByte(acc_[i]);
    px[3] = 255;
  }
  void Step() {
    for (int i = 0; i < 3; ++i) acc_[i] += inc_[i];
  }

 private:
  float acc_[3];
  double inc_[3];
};

// Writes `count` copies of one pixel of n bytes, doubling the written run with memcpy.
void FillRow(uint8_t* row, int count, const uint8_t* px, int n) {
  if (count <= 0) return;
  std::memcpy(row, px, size_t(n));
  size_t done = size_t(n);
  const size_t total = size_t(count) * size_t(n);
  while (done < total) {
    const size_t chunk = std::min(done, total - done);
    std::memcpy(row + done, row, chunk);
    done += chunk;
  }
}

TRect ClipToBitmap(const TRect& rect, const TzkBitmap& bitmap) {
  return TRect(std::max(rect.Left, 0), std::max(rect.Top, 0),
               std::min(rect.Right, bitmap.Width()), std::min(rect.Bottom, bitmap.Height()));
}

void PaintVertical(TzkBitmap& bitmap, const TRect& r, const TsGradStep* steps, size_t count,
                   int extra) {
  const int n = bitmap.BytesPerPixel();
  const int bmpH = bitmap.Height(), bmpW = bitmap.Width();
  const int bottom = std::min(r.Bottom, bmpH);
  const int xr = std::min(r.Left + r.Width(), bmpW) - 1;
  int y = r.Top + extra;
  for (size_t i = 0; i < count; ++i) {
    const bool last = i + 1 == count;
    const int s = y;
    int e = s + (r.Height() + extra) * steps[i].Percent / 100;
    e = last ? bottom - 1 : std::min(e, bottom - 1);
    if (e <= s) {
      y = e;
      continue;
    }
    if (last || e > bmpH - 1) {
      e = std::min(r.Bottom - 1, bmpH - 1);
      if (e == s) return;
    }
    TColorStepper colour(steps[i].Color1, steps[i].Color2, e - s);
    uint8_t px[4];
    for (int row = s; row <= e; ++row, colour.Step()) {
      if (row < 0) continue;
      colour.Pixel(px);
      FillRow(bitmap.ScanLine(row) + r.Left * n, xr - r.Left + 1, px, n);
    }
    y = e;
  }
}

// Every row of the horizontal kind is the same: paint the first, copy it to the others.
void PaintHorizontal(TzkBitmap& bitmap, const TRect& r, const TsGradStep* steps, size_t count) {
  const int n = bitmap.BytesPerPixel();
  const int bottom = std::min(r.Bottom, bitmap.Height());
  const int right = std::min(r.Right, bitmap.Width());
  if (r.Top >= bottom) return;
  uint8_t* first = bitmap.ScanLine(r.Top);
  const double w = r.Width() / 100.0;
  int x = r.Left;
  for (size_t i = 0; i < count; ++i) {
    const int s = x;
    int e = int(std::nearbyint(steps[i].Percent * w + s));
    e = i + 1 == count ? right - 1 : std::min(e, right - 1);
    if (e > s) {
      TColorStepper colour(steps[i].Color1, steps[i].Color2, e - s);
      uint8_t px[4];
      for (int col = s; col <= e; ++col, colour.Step()) {
        colour.Pixel(px);
        std::memcpy(first + col * n, px, size_t(n));
      }
    }
    x = e;
  }
  const size_t bytes = size_t(right - r.Left) * size_t(n);
  for (int y = r.Top + 1; y < bottom; ++y)
    std::memcpy(bitmap.ScanLine(y) + r.Left * n, first + r.Left * n, bytes);
}

void PaintTriangles(TzkBitmap& bitmap, const TRect& r, const TsGradStep* steps, size_t count) {
  TColor colours[5];
  for (size_t i = 0; i < 5; ++i) colours[i] = i < count ? steps[i].Color1 : colours[i - 1];
  const TzkGradVertex v[5] = {
      {r.Left, r.Top, colours[0]},
      {r.Left + r.Width() / 2, r.Top + r.Height() / 2, colours[1]},
      {r.Right, r.Top, colours[2]},
      {r.Right, r.Bottom, colours[3]},
      {r.Left, r.Bottom, colours[4]},
  };
  FillGradientTriangle(bitmap, v[0], v[1], v[2]);
  FillGradientTriangle(bitmap, v[1], v[2], v[3]);
  FillGradientTriangle(bitmap, v[0], v[1], v[4]);
  FillGradientTriangle(bitmap, v[4], v[1], v[3]);
}

// Edge function of u -> v at p; with the vertices ordered so that the triangle's area is
// positive, it is >= 0 inside.
inline int64_t Edge(const TzkGradVertex& u, const TzkGradVertex& v, int64_t px, int64_t py) {
  return int64_t(v.X - u.X) * (py - u.Y) - int64_t(v.Y - u.Y) * (px - u.X);
}

// Top edges (horizontal, interior below) and left edges (interior to the right) own the
// pixels lying exactly on them.
inline bool IsTopLeft(const TzkGradVertex& u, const TzkGradVertex& v) {
  const int dx = v.X - u.X, dy = v.Y - u.Y;
  return (dy == 0 && dx > 0) || dy < 0;
}

}  // namespace

void FillGradientTriangle(TzkBitmap& bitmap, const TzkGradVertex& a, const TzkGradVertex& b0,
                          const TzkGradVertex& c0) {
  if (bitmap.Empty()) return;
  TzkGradVertex b = b0, c = c0;
  int64_t area = Edge(a, b, c.X, c.Y);
  if (area == 0) return;
  if (area < 0) {
    std::swap(b, c);
    area = -area;
  }
  // Pixels on a non-owning edge have edge value 0 and are excluded by the bias.
  const int64_t biasA = IsTopLeft(b, c) ? 0 : -1;
  const int64_t biasB = IsTopLeft(c, a) ? 0 : -1;
  const int64_t biasC = IsTopLeft(a, b) ? 0 : -1;
  const int x0 = std::max({std::min({a.X, b.X, c.X}), 0});
  const int x1 = std::min({std::max({a.X, b.X, c.X}), bitmap.Width() - 1});
  const int y0 = std::max({std::min({a.Y, b.Y, c.Y}), 0});
  const int y1 = std::min({std::max({a.Y, b.Y, c.Y}), bitmap.Height() - 1});
  // Vertex colours as 16-bit components (byte << 8), per stored channel.
  int64_t ca[3], cb[3], cc[3];
  for (int i = 0; i < 3; ++i) {
    ca[i] = int64_t(Channel(a.Color, i)) << 8;
    cb[i] = int64_t(Channel(b.Color, i)) << 8;
    cc[i] = int64_t(Channel(c.Color, i)) << 8;
  }
  const int n = bitmap.BytesPerPixel();
  for (int y = y0; y <= y1; ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = x0; x <= x1; ++x) {
      const int64_t wa = Edge(b, c, x, y), wb = Edge(c, a, x, y), wc = Edge(a, b, x, y);
      if (wa + biasA < 0 || wb + biasB < 0 || wc + biasC < 0) continue;
      uint8_t* p = row + x * n;
      for (int i = 0; i < 3; ++i)
        p[i] = uint8_t(((wa * ca[i] + wb * cb[i] + wc * cc[i]) / area) >> 8);
      if (n == 4) p[3] = 255;
    }
  }
}

void PaintGradient(TzkBitmap& bitmap, const TRect& rect, const TsGradArray& array,
                   int extraHeight) {
  const TRect r = ClipToBitmap(rect, bitmap);
  const TsGradStep* steps = array.data();
  const size_t count = array.size();
  if (count == 0 || r.IsEmpty()) return;
  switch (steps[0].Mode) {
    case 0: PaintVertical(bitmap, r, steps, count, extraHeight); break;
    case 1: PaintHorizontal(bitmap, r, steps, count); break;
    case 2: PaintTriangles(bitmap, r, steps, count); break;
    default: break;
  }
}
