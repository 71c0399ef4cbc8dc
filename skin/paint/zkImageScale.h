// Resampling skin pictures to a display scale, one part at a time: a caller scales every state
// frame, mask row band and nine-part piece on its own, so no output pixel takes colour from
// outside its part (corners never borrow from the sides beside them, frames never bleed).
//
//   source part, N = 3 pixels     |    0    |    1    |    2    |
//   output part, D = 4 pixels     |   0   |   1   |   2   |   3   |
//   output pixel x covers the source span [x * N / D, (x + 1) * N / D)
//
// Filters:
// - Nearest: every output pixel copies the source pixel under its centre, floor((2x + 1) * N
//   / 2D). Pixels are copied, never mixed: the key colour 0xFF00FF stays exact and edges stay
//   hard. At whole multiples (D = n * N) this is exact n x n replication.
// - Area: every output pixel is the mean of the source pixels its span covers, weighted by the
//   covered area and by opacity (premultiplied), so a transparent neighbour never darkens a
//   visible pixel: 32-bit pictures weigh colour by their alpha (alpha itself is the plain
//   mean); a picture over a per-channel mask (MaskType 1: 0 opaque, 255 transparent) weighs
//   each channel by 255 - mask. Where nothing is opaque the plain mean is kept. Key pixels
//   never enter a mean: an output pixel whose span is more than half key is the key, any
//   other is the mean of its visible pixels, moved off the key colour (green 1) should it
//   land exactly on it.
#pragma once

#include <cstdint>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

enum class TScaleFilter : uint8_t { Nearest, Area };

// Display scales the engine paints at, in percent.
constexpr int kMinScalePercent = 100;
constexpr int kMaxScalePercent = 400;

// The scale held to kMinScalePercent..kMaxScalePercent.
int ClampScalePercent(int scalePercent);
// 200 %, 300 %, 400 %: every length becomes a whole multiple of itself.
bool IsWholeScale(int scalePercent);

// The one rounding rule for skin lengths: floor(value * scale / 100) with the scale clamped.
// Negative values (offsets) scale as their magnitude does; results past the int range are
// held to it. Floor keeps sums apart: ScaleLength(a) + ScaleLength(b) <= ScaleLength(a + b).
int ScaleLength(int value, int scalePercent);

// Scales srcRect of src onto dstRect of dst with the filter. Only pixels inside dst are
// written; source pixels outside src count as absent (an output pixel whose span holds none
// is left as it is). maskRowOffset > 0 names the rows of a 24-bit picture's per-channel mask:
// the mask of source pixel (x, y) is (x, y + maskRowOffset); it is used by Area alone. Between
// formats the colour bytes are copied; a 24-bit source gives 32-bit pixels alpha 255.
void ScaleImagePart(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src,
                    const TRect& srcRect, TScaleFilter filter, int maskRowOffset = 0);

// Whether any pixel of `rect` (cut to the image) has the colour bytes of the key 0xFF00FF.
bool HasKeyColour(const TzkBitmap& image, const TRect& rect);
