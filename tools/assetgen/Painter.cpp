#include "Painter.h"

#include <algorithm>
#include <cmath>

TShape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

TShape Ring(double cx, double cy, double r, double width) {
  return [=](double x, double y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2; };
}

TShape Segment(double x1, double y1, double x2, double y2, double halfWidth) {
  return [=](double x, double y) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) - halfWidth;
  };
}

TShape RoundedRect(double left, double top, double right, double bottom, double radius) {
  return [=](double x, double y) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
           radius;
  };
}

TRgba Rgb(int r, int g, int b, double a) { return {r / 255.0, g / 255.0, b / 255.0, a}; }

TIconImage Paint(int size, const std::vector<TLayer>& layers) {
  constexpr int kSamples = 4;
  TIconImage img;
  img.Width = img.Height = size;
  img.Pixels.resize(size_t(size) * size_t(size));
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) / size;
          const double y = (py + (sy + 0.5) / kSamples) / size;
          double cr = 0, cg = 0, cb = 0, ca = 0;
          for (const TLayer& layer : layers) {
            if (layer.Shape(x, y) > 0) continue;
            const double la = layer.Color.A;
            cr = layer.Color.R * la + cr * (1 - la);
            cg = layer.Color.G * la + cg * (1 - la);
            cb = layer.Color.B * la + cb * (1 - la);
            ca = la + ca * (1 - la);
          }
          r += cr;
          g += cg;
          b += cb;
          a += ca;
        }
      }
      const double n = kSamples * kSamples;
      r /= n, g /= n, b /= n, a /= n;
      const auto channel = [&](double premultiplied) {
        return uint32_t(std::lround(std::clamp(a > 0 ? premultiplied / a : 0.0, 0.0, 1.0) * 255));
      };
      const uint32_t alpha = uint32_t(std::lround(std::clamp(a, 0.0, 1.0) * 255));
      img.Pixels[size_t(py) * size_t(size) + size_t(px)] =
          alpha == 0 ? 0 : (alpha << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
    }
  }
  return img;
}
