// Drawing skin images (masks) onto composing bitmaps.
//
// A border mask is painted over a target rectangle as nine parts cut from one state frame:
//
//        frame (fw x fh) in the source            target (W x H)
//      +----+---------+----+                 +----+-----------------+----+
//      | TL |   top   | TR |  wt             | TL | top, tiled ->   | TR |
//      +----+---------+----+                 +----+-----------------+----+
//      |left| centre  |right| ch = fh-wt-wb  |left|  centre         |right|
//      |    |  cw     |    |                 | |  |  (bit 2 only)   |  | |
//      +----+---------+----+                 | v  |                 |  v |
//      | BL | bottom  | BR |  wb             +----+-----------------+----+
//      +----+---------+----+                 | BL | bottom, tiled   | BR |
//       wl   cw=fw-wl-wr wr                  +----+-----------------+----+
//
// Corners are copied as they are; sides and the centre are tiled (or, for key-colour masks
// with StretchMode bit 0, stretched). Key-colour masks (MaskType 0) treat 0xFF00FF pixels of
// the corners as transparent; alpha masks (MaskType 1) carry a per-channel mask below the
// picture, height(Rect) div 2 rows lower: 0 opaque, 255 transparent.
//
// StretchMode bits of a border mask: 1 stretch sides and centre (key-colour masks only);
// 2 draw nothing in state 0; 4 the centre belongs to the mask.
#pragma once

#include <vector>

#include "skin/data/sSkinTables.h"
#include "skin/paint/sBackgroundInfo.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

constexpr int kStretchSides = 1;      // StretchMode bit 0
constexpr int kHiddenInNormal = 2;    // StretchMode bit 1
constexpr int kCentreInMask = 4;      // StretchMode bit 2

// The picture a mask's Rect refers to: its own bitmap, or its manager's master bitmap; null
// when it has neither.
const TzkBitmap* MaskSourceImage(const TsMaskData& mask);

// The state frame actually drawn: the last frame for states at or beyond ImageCount.
int ClampState(const TsMaskData& mask, int state);

// The nine-part painter (see the picture above). Nothing is drawn in state 0 when
// StretchMode bit 1 is set, for targets under 2 pixels wide or high, or without a manager.
// Borders wider than the target shrink evenly. Corners are filled from the background where
// they are transparent when fillCorners is set; the centre is drawn only when paintCentre is
// set and StretchMode bit 2 is set.
void PaintBorderMask(TzkBitmap& dst, const TRect& target, bool paintCentre, bool fillCorners,
                     int state, const TsMaskData& mask, const TsBackgroundInfo& bg);

// One part of an alpha mask: srcRect of the image to dstRect (the smaller of the two sizes,
// cut to both bitmaps; mask rows below the image are never read). Per channel
// d = ((d - s) * m + (s << 8)) >> 8. Key-coloured image pixels leave d alone, or, with
// fillFromBackground, take the background pixel behind (X + x, Y + y), skipped outside the
// background bitmap, or the background colour. With a 32-bit destination filled from a 32-bit
// background bitmap every written pixel gets alpha 255.
void PaintMaskPartAlpha(const TRect& dstRect, const TRect& srcRect, TzkBitmap& dst,
                        const TsMaskData& mask, bool fillFromBackground,
                        const TsBackgroundInfo& bg, const TzkBitmap& image);

// One part of a key-colour mask: the INCLUSIVE source rectangle copied to (dx, dy); pixels
// equal to the key are skipped, or replaced by the background with fillFromBackground.
void PaintMaskPartKeyed(TzkBitmap& dst, const TzkBitmap& image, int dx, bool fillFromBackground,
                        const TsBackgroundInfo& bg, TColor key, const TRect& srcRectInclusive,
                        int dy);

// Draws the state frame of a glyph or corner image with its top-left at `at` (negative
// coordinates cut the frame). Own bitmaps at least as large as Rect, and MaskType 1 images,
// go through the alpha rule; otherwise opaque draws use the key-colour rule and non-opaque
// ones blend the frame half-transparently, keyed pixels skipped. Transparent pixels show the
// background when one is known.
void PaintGlyphMask(TzkBitmap& dst, TPoint at, int state, const TsBackgroundInfo& bg,
                    const TsMaskData& mask, bool opaque);

// Copies the whole source to (x, y), key pixels excepted; 32-bit destination pixels get
// alpha 255.
void CopyImageExceptKey(TzkBitmap& dst, const TzkBitmap& src, int x, int y, TColor key);

// Where the mask's pixel is the key colour, copies the source pixel at the same offset in
// srcRect into dstRect. kind picks the mask corner the offsets start from: 13 top-left,
// 14 top-right (right by fw - WR), 16 bottom-left (down by fh - WB), 17 bottom-right; any
// other kind the frame origin. Without a valid mask the destination pixel itself is tested.
void RestoreKeyPixels(TzkBitmap& dst, const TzkBitmap& src, const TRect& dstRect, int kind,
                      const TsSkinTables* manager, int maskIndex, const TRect& srcRect);

// Where the corners of the mask's state frame are the key colour, the pixels of dst take the
// background behind them: the background bitmap's pixel (skipped outside that bitmap) or its
// colour as it is. Corners are WL, WT, WR, WB wide, each at most half of dst; only the colour
// bytes are written. Nothing happens for bitmaps under 2 pixels wide or high, or for masks
// without a picture or frames.
void FillKeyCornersFromBackground(TzkBitmap& dst, const TsMaskData& mask, int state,
                                  const TsBackgroundInfo& bg);

// Appends the transparent runs of a border mask's corners (frame 0) as one-row rectangles:
// rows 0 .. WT-1 of the frame, or the last WB rows with `bottom`; in each, the key runs of
// columns 0 .. WL-1 (at x = column) and fw-WR .. fw-1 (at x = column + windowWidth - fw),
// each becoming (x1, yOffset + row, x2, yOffset + row + 1) with row counted in the scanned
// band. A mask whose frame lies outside its picture ends the scan with what was collected.
void CollectKeyRuns(std::vector<TRect>& runs, int windowWidth, const TsMaskData& mask,
                    bool bottom, int yOffset);

// Copies srcRect of the mask's picture to `at` in dst (through the alpha rule for MaskType 1,
// plainly otherwise) and, when cutRuns is given, appends every run of key-coloured source
// pixels as a one-row rectangle in destination coordinates: the parts to cut out of a window
// region that starts as the full window.
void CopyMaskCutRegion(TzkBitmap& dst, std::vector<TRect>* cutRuns, const TsMaskData& mask,
                       const TRect& srcRect, TPoint at);
