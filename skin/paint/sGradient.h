// Multi-stop gradients painted into a rectangle of a 24-bit or 32-bit bitmap.
//
// A gradient is a list of steps (Color1, Color2, Percent, Mode). The first step's Mode picks
// the kind of the whole gradient:
//   0  vertical bands, top to bottom, each Percent of the height (the last to the end)
//   1  horizontal bands, left to right, each Percent of the width (the last to the end)
//   2  four triangles meeting in the centre; only each step's Color1 is used:
//
//        v0 ------------- v2        v0 (Left, Top)      step 0
//        |  \   top     / |         v1 centre           step 1
//        |    \       /   |         v2 (Right, Top)     step 2
//        | left  v1  right|         v3 (Right, Bottom)  step 3
//        |    /       \   |         v4 (Left, Bottom)   step 4
//        |  /  bottom   \ |         a missing step repeats the colour of the vertex before
//        v4 ------------- v3
//
// 32-bit pixels are written with alpha 255.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/data/sSkinRecords.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// Paints the steps into the rectangle (cut to the bitmap). Colour channels are taken from
// the values directly (red in the low byte); system colours are not resolved here.
// extraHeight is added to the rectangle's height when vertical bands are measured, and to
// the first band's start.
void PaintGradient(TzkBitmap& bitmap, const TRect& rect, const TsGradArray& steps,
                   int extraHeight = 0);

// The triangle kind's fill: linear interpolation of the three vertex colours inside the
// triangle. A pixel (x, y) is covered when the point (x, y) lies inside, with the top-left
// rule on edges, so triangles sharing an edge cover each of its pixels exactly once and a
// rectangle split into triangles is filled from Left to Right - 1 and Top to Bottom - 1.
struct TzkGradVertex {
  int X = 0;
  int Y = 0;
  TColor Color = 0;
};
void FillGradientTriangle(TzkBitmap& bitmap, const TzkGradVertex& a, const TzkGradVertex& b,
                          const TzkGradVertex& c);
