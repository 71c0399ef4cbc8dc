#include "QuarnCanvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kSamples = 4;  // per axis

uint8_t ToByte(double v) { return uint8_t(std::clamp(std::lround(v * 255.0), 0L, 255L)); }

}  // namespace

TQuarnShape RoundRect(double left, double top, double right, double bottom, double rTL,
                      double rTR, double rBR, double rBL) {
  return [=](double x, double y) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2, hy = (bottom - top) / 2;
    const double r = x < cx ? (y < cy ? rTL : rBL) : (y < cy ? rTR : rBR);
    const double qx = std::abs(x - cx) - hx + r, qy = std::abs(y - cy) - hy + r;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
  };
}

TQuarnShape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

TQuarnShape Segment(double x1, double y1, double x2, double y2, double halfWidth) {
  return [=](double x, double y) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) - halfWidth;
  };
}

TQuarnShape Polygon(std::vector<double> xy) {
  return [xy = std::move(xy)](double x, double y) {
    // Largest signed distance to the edge lines: exact inside, close enough just outside.
    double d = -1e9;
    const size_t n = xy.size() / 2;
    for (size_t i = 0; i < n; ++i) {
      const double ax = xy[2 * i], ay = xy[2 * i + 1];
      const double bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
      const double ex = bx - ax, ey = by - ay, len = std::hypot(ex, ey);
      if (len <= 0) continue;
      // Clockwise on screen: the outward normal is (ey, -ex) / len.
      d = std::max(d, ((x - ax) * -ey + (y - ay) * ex) / -len);
    }
    return d;
  };
}

TQuarnShape Union(TQuarnShape a, TQuarnShape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

TQuarnShape Outline(TQuarnShape shape, double width) {
  return [shape = std::move(shape), width](double x, double y) {
    const double d = shape(x, y);
    return std::max(d, -d - width);
  };
}

TQuarnShape Subtract(TQuarnShape shape, TQuarnShape hole) {
  return [shape = std::move(shape), hole = std::move(hole)](double x, double y) {
    return std::max(shape(x, y), -hole(x, y));
  };
}

TQuarnCanvas::TQuarnCanvas(int width, int height)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height)), body_(pixels_.size()) {}

double TQuarnCanvas::Coverage(const TQuarnShape& shape, int x, int y) const {
  int inside = 0;
  for (int sy = 0; sy < kSamples; ++sy)
    for (int sx = 0; sx < kSamples; ++sx)
      if (shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) < 0) ++inside;
  return double(inside) / (kSamples * kSamples);
}

void TQuarnCanvas::Blend(int x, int y, double r, double g, double b, double a) {
  if (a <= 0) return;
  TPixel& p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
  const double outA = a + p.A * (1 - a);
  p.R = (r * a + p.R * p.A * (1 - a)) / outA;
  p.G = (g * a + p.G * p.A * (1 - a)) / outA;
  p.B = (b * a + p.B * p.A * (1 - a)) / outA;
  p.A = outA;
}

void TQuarnCanvas::Fill(const TQuarnShape& shape, TQuarnRgb color, double opacity) {
  FillVertical(shape, color, color, 0, 1, opacity);
}

void TQuarnCanvas::FillVertical(const TQuarnShape& shape, TQuarnRgb top, TQuarnRgb bottom,
                                double y0, double y1, double opacity) {
  for (int y = 0; y < height_; ++y) {
    const double t = y1 > y0 ? std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
    const double r = (top.R + (bottom.R - top.R) * t) / 255.0;
    const double g = (top.G + (bottom.G - top.G) * t) / 255.0;
    const double b = (top.B + (bottom.B - top.B) * t) / 255.0;
    for (int x = 0; x < width_; ++x) Blend(x, y, r, g, b, Coverage(shape, x, y) * opacity);
  }
}

void TQuarnCanvas::FillAlpha(TQuarnRgb color, const std::function<double(double x, double y)>& alpha) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      Blend(x, y, color.R / 255.0, color.G / 255.0, color.B / 255.0,
            std::clamp(alpha(x + 0.5, y + 0.5), 0.0, 1.0));
}

void TQuarnCanvas::HardenEdge(const TQuarnShape& outer, double threshold) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      TPixel& p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
      const double c = Coverage(outer, x, y);
      if (c < 1.0) p.A = c < threshold ? 0.0 : 1.0;
    }
}

void TQuarnCanvas::MarkBody(const TQuarnShape& body) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Coverage(body, x, y) >= 0.5) body_[size_t(y) * size_t(width_) + size_t(x)] = true;
}

void TQuarnCanvas::PutPicture(TzkBitmap& dst, int x, int y, bool withMask, int maskOffset) const {
  const int n = dst.BytesPerPixel();
  for (int row = 0; row < height_; ++row) {
    uint8_t* d = dst.ScanLine(y + row) + x * n;
    uint8_t* m = withMask ? dst.ScanLine(y + row + maskOffset) + x * n : nullptr;
    for (int col = 0; col < width_; ++col, d += n) {
      const size_t at = size_t(row) * size_t(width_) + size_t(col);
      const TPixel& p = pixels_[at];
      const uint8_t alpha = ToByte(p.A);
      const bool transparent = withMask ? alpha == 0 : alpha < 128;
      if (transparent && withMask && body_[at]) {
        // White under a fully transparent mask leaves the pixel below as it is.
        d[0] = d[1] = d[2] = 255;
      } else if (transparent) {
        d[0] = 255, d[1] = 0, d[2] = 255;
      } else {
        d[0] = ToByte(p.B), d[1] = ToByte(p.G), d[2] = ToByte(p.R);
        // A colour that rounds to the key would vanish; nudge it.
        if (d[0] == 255 && d[1] == 0 && d[2] == 255) d[1] = 1;
      }
      if (m) {
        m[0] = m[1] = m[2] = uint8_t(transparent ? 255 : 255 - alpha);
        m += n;
      }
    }
  }
}

TzkBitmap TQuarnCanvas::ToBitmap32() const {
  TzkBitmap out = NewBitmap32(width_, height_);
  for (int row = 0; row < height_; ++row) {
    uint8_t* d = out.ScanLine(row);
    for (int col = 0; col < width_; ++col, d += 4) {
      const TPixel& p = pixels_[size_t(row) * size_t(width_) + size_t(col)];
      const uint8_t alpha = ToByte(p.A);
      if (alpha == 0) {
        d[0] = d[1] = d[2] = d[3] = 0;
      } else {
        d[0] = ToByte(p.B), d[1] = ToByte(p.G), d[2] = ToByte(p.R), d[3] = alpha;
      }
    }
  }
  return out;
}
