// Block copies, nearest-neighbour stretch copies, tiling and solid fills between composing
// bitmaps: the portable stand-ins for the platform's block copy, colour-on-colour stretch
// copy and brush fill. Every operation clips to both bitmaps. Between formats the three colour
// bytes are copied; a 24-bit source gives 32-bit destination pixels alpha 255.
#pragma once

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// Copies srcRect of src to (x, y) in dst.
void CopyRect(TzkBitmap& dst, int x, int y, const TzkBitmap& src, const TRect& srcRect);

// Stretches srcRect over dstRect by picking, for every destination pixel, the source pixel
// at floor(offset * source size / destination size): rows and columns are dropped or
// repeated, never averaged.
// Only the pixels inside `clip` (and the destination) are written.
void StretchCopy(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect);
void StretchCopy(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect,
                 const TRect& clip);

// Covers dstRect with copies of srcRect from its top-left corner; the tiles at the right and
// bottom edges are cut short.
void TileRect(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect);
// As TileRect, writing only the pixels inside `clip`.
void TileRect(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect,
              const TRect& clip);

// Fills the rectangle with the colour (system colours resolved): opaque on 32-bit bitmaps.
void FillSolid(TzkBitmap& dst, const TRect& rect, TColor color);
