// The pixels and geometry of a glow: the halo image drawn from a glow mask of the skin, sized
// for a control, and the parts of it cut away where the control is hidden by its parent.
//
//        glow image (nine parts)             image around the control
//      +----+------------+----+           x = left + margin - WL
//      | TL |    top     | TR |           +----+-----------------+----+
//      +----+------------+----+           |    |    control      |    |
//      |left|  (centre)  |right|    ->    |    |  (margin pixels |    |
//      +----+------------+----+           |    |   into borders) |    |
//      | BL |   bottom   | BR |           +----+-----------------+----+
//      +----+------------+----+           W = width + WL + WR - 2 margin
#pragma once

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

struct TsMaskData;

// Frame 0 of a glow mask as 32-bit pixels with straight alpha (empty without a picture): a
// 32-bit picture keeps its alpha, a picture over its mask (MaskType 1) takes 255 - mask, and
// a plain one is opaque except where it is the key colour. Frame pixels outside the picture
// stay transparent black.
TzkBitmap GlowImageFrame(const TsMaskData& mask);

// Renders the glow image for a control of the given size into a 32-bit bitmap with straight
// alpha: transparent, then the mask's frame 0 as a nine-part image. Returns the border widths
// used (WL, WT, WR, WB; a zero one falls back to the mask's BorderWidth, then to the frame's
// width or height).
TRect RenderGlowImage(TzkBitmap& out, const TsMaskData& mask, int controlWidth, int controlHeight,
                      int margin);

// The cuts (left, top, right, bottom) that leave of an image w x h rendered with `borders` only
// the glow around the visible part of a control cw x ch (in the control's coordinates); no
// cuts when the whole control is visible.
TRect GlowCuts(const TRect& borders, int cw, int ch, const TRect& visible, int w, int h, int margin);

// The part of a control that lies inside its parent's client area, in the control's own
// coordinates; both rectangles are given in one coordinate space.
TRect GlowVisiblePart(const TRect& control, const TRect& parentClient);
