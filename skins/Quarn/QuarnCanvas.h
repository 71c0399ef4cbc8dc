// A small anti-aliased painter for the internal skin's images. Shapes are signed distance
// functions in pixel coordinates (negative inside); each pixel is sampled 4 x 4 times, so
// curved edges come out smooth and every run gives the same bytes. The canvas holds straight
// RGBA in floating point and is turned into the two forms the skin uses: a picture with a
// mask below it (master bitmap and 24-bit files) or a 32-bit bitmap with alpha (PNG files).
#pragma once

#include <functional>
#include <vector>

#include "skin/paint/zkBitmap.h"

struct TQuarnRgb {
  int R = 0, G = 0, B = 0;
};

// Distance in pixels to the shape's edge; negative inside.
using TQuarnShape = std::function<double(double x, double y)>;

// Rectangle from (left, top) to (right, bottom) in continuous coordinates (a pixel's square is
// x .. x + 1), corners rounded by radii in the order top-left, top-right, bottom-right,
// bottom-left.
TQuarnShape RoundRect(double left, double top, double right, double bottom, double rTL,
                      double rTR, double rBR, double rBL);
inline TQuarnShape RoundRect(double left, double top, double right, double bottom, double r) {
  return RoundRect(left, top, right, bottom, r, r, r, r);
}
TQuarnShape Circle(double cx, double cy, double r);
// A line with round caps, half its width on each side.
TQuarnShape Segment(double x1, double y1, double x2, double y2, double halfWidth);
// A convex polygon given clockwise in screen coordinates (y down).
TQuarnShape Polygon(std::vector<double> xy);
TQuarnShape Union(TQuarnShape a, TQuarnShape b);
// The band of `shape` that is no deeper than `width` inside it: an outline.
TQuarnShape Outline(TQuarnShape shape, double width);
TQuarnShape Subtract(TQuarnShape shape, TQuarnShape hole);

class TQuarnCanvas {
 public:
  TQuarnCanvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Source-over of a colour through the shape's coverage times `opacity`.
  void Fill(const TQuarnShape& shape, TQuarnRgb color, double opacity = 1.0);
  // The same with a vertical colour ramp from `top` (at y0) to `bottom` (at y1).
  void FillVertical(const TQuarnShape& shape, TQuarnRgb top, TQuarnRgb bottom, double y0,
                    double y1, double opacity = 1.0);
  // Source-over with a per-pixel alpha of the caller (0..1) in one colour.
  void FillAlpha(TQuarnRgb color, const std::function<double(double x, double y)>& alpha);
  // Pixels whose alpha is below `threshold` become fully transparent, the others opaque:
  // a hard outer edge for shapes a window region is cut along.
  void HardenEdge(const TQuarnShape& outer, double threshold);
  // Marks the element's body: its transparent pixels inside the body are written as "keep
  // what lies below" (mask fully transparent) instead of the key colour, which would let the
  // parent's background through. Outside the body transparent pixels stay the key colour.
  void MarkBody(const TQuarnShape& body);

  // Writes the picture at (x, y) of a 24-bit bitmap: transparent pixels as the key colour
  // magenta, the rest as their colour. With `withMask` the mask goes `maskOffset` rows below:
  // 0 where the pixel is opaque, 255 where it is transparent, per channel.
  void PutPicture(TzkBitmap& dst, int x, int y, bool withMask, int maskOffset) const;
  // A 32-bit bitmap with straight alpha; fully transparent pixels are 0.
  TzkBitmap ToBitmap32() const;

 private:
  struct TPixel {
    double R = 0, G = 0, B = 0, A = 0;
  };
  void Blend(int x, int y, double r, double g, double b, double a);
  double Coverage(const TQuarnShape& shape, int x, int y) const;

  int width_, height_;
  std::vector<TPixel> pixels_;
  std::vector<bool> body_;
};
