// One skin image (mask) at a display scale: how its picture is cut, how large every cut
// becomes, which filter scales it, and the drawing of the scaled picture.
//
//   Rect, 2 frames over their mask (MaskType 1)     one frame, cut by WL, WT, WR, WB
//   +-----------+-----------+                       +----+--------+-----+
//   |  frame 0  |  frame 1  |  picture band         | TL |  top   | TR  |  WT
//   +-----------+-----------+                       +----+--------+-----+
//   |  mask 0   |  mask 1   |  mask band            |left| middle |right|
//   +-----------+-----------+                       +----+--------+-----+
//                                                   | BL | bottom | BR  |  WB
//                                                   +----+--------+-----+
//                                                    WL             WR
//
// Each of the nine pieces of every frame and band is scaled on its own, so a corner never
// takes colour from the side beside it and no frame or band from its neighbour.
//
// Every cut length is scaled with ScaleLength (floor of value x scale / 100) and the scaled
// frame is the sum of its scaled cuts; the picture is Frames x that wide and Bands x the
// scaled frame height high. This keeps, at every scale:
// - FrameWidth and FrameHeight of the scaled record are exactly the sums of the scaled cuts,
//   and its Rect is exactly ImageCount frames wide;
// - the borders never overlap: WL' + WR' <= frame width' when WL + WR <= frame width, and
//   equal borders stay equal (each at most half the frame);
// - a middle of 0 stays 0: the painters draw no sides at any scale where they drew none;
// - at whole multiples every length is exactly n times itself.
// Glyphs and textures have no borders: each frame is one piece.
//
// Filters: whole multiples replicate pixels (Nearest). At other scales a picture whose
// picture band holds the key colour 0xFF00FF is scaled with Nearest, so the key stays exact
// and no key pixel is blended into a visible one; any other picture (alpha images, masked
// images, photographs) with Area, premultiplied by its alpha or mask.
#pragma once

#include <cstdint>

#include "skin/data/sSkinRecords.h"
#include "skin/paint/zkImageScale.h"

// The cuts of one axis of a frame.
struct TsNinePartCuts {
  int First = 0;   // left or top border
  int Middle = 0;  // tiled or stretched part between the borders
  int Last = 0;    // right or bottom border
  int Size() const { return First + Middle + Last; }
};

struct TsMaskScaleLayout {
  int Frames = 1;                   // state frames side by side: ImageCount, at least 1
  int Bands = 1;                    // row bands: MaskType + 1, at least 1
  TsNinePartCuts SourceX, SourceY;  // one frame of the source picture
  TsNinePartCuts ScaledX, ScaledY;  // the same cuts at the scale
  int64_t ScaledWidth() const { return int64_t(Frames) * ScaledX.Size(); }
  int64_t ScaledHeight() const { return int64_t(Bands) * ScaledY.Size(); }
};

// The border widths a picture is cut by: WL, WT, WR, WB, or BorderWidth for all four when
// those are all 0.
TRect MaskCutWidths(const TsMaskData& mask);

// The cuts of the mask's picture at the scale. The source frame is Rect width / Frames by
// Rect height / Bands (columns and rows left over are not part of any frame); borders wider
// than the frame are cut at its edge, the second after the first.
TsMaskScaleLayout MaskScaleLayout(const TsMaskData& mask, int scalePercent);

// The filter for the mask's picture in `image` at the scale (see above).
TScaleFilter MaskScaleFilter(const TsMaskData& mask, const TzkBitmap& image, int scalePercent);

// Draws the mask's picture from `image` (its own bitmap or the master bitmap), scaled piece
// by piece as the layout says, with its top-left at `at` in dst.
void DrawScaledMask(TzkBitmap& dst, TPoint at, const TsMaskData& mask, const TzkBitmap& image,
                    const TsMaskScaleLayout& layout, TScaleFilter filter);
