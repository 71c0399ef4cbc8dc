// What lies behind a painted element: a bitmap with the offset of the element's origin in it,
// or a solid colour. Painters fetch the background pixel behind destination pixel (x, y) at
// (X + x, Y + y) of Bitmap when IsBitmap is set, else use Color. Color 0xFF00FF (with
// IsBitmap clear) means nothing is known about the background.
#pragma once

#include <cstdint>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

struct TsBackgroundInfo {
  const TzkBitmap* Bitmap = nullptr;  // the pixels behind, when IsBitmap
  int32_t X = 0;                      // offset of the element's origin inside Bitmap
  int32_t Y = 0;
  TColor Color = clFuchsia;  // the colour behind, when not IsBitmap
  bool IsBitmap = false;

  bool HasBitmap() const { return IsBitmap && Bitmap && !Bitmap->Empty(); }
  // Something is known about the background: a bitmap, or a colour other than the key.
  bool IsKnown() const { return IsBitmap || Color != clFuchsia; }
  // The same background seen from an element drawn dx, dy further right and down.
  TsBackgroundInfo Moved(int dx, int dy) const {
    TsBackgroundInfo b = *this;
    b.X += dx;
    b.Y += dy;
    return b;
  }
};
