// A tiny anti-aliased painter for the program's icons: shapes given as signed distance
// functions in unit coordinates (0..1 across the image), composited in order, 4 x 4
// samples per pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "IconWriter.h"

struct TRgba {
  double R = 0, G = 0, B = 0, A = 0;  // 0..1, straight
};

// Negative inside, positive outside; units of the image's width.
using TShape = std::function<double(double x, double y)>;

struct TLayer {
  TShape Shape;
  TRgba Color;
};

TShape Circle(double cx, double cy, double r);
TShape Ring(double cx, double cy, double r, double width);
TShape Segment(double x1, double y1, double x2, double y2, double halfWidth);
TShape RoundedRect(double left, double top, double right, double bottom, double radius);

TIconImage Paint(int size, const std::vector<TLayer>& layers);
TRgba Rgb(int r, int g, int b, double a = 1.0);
