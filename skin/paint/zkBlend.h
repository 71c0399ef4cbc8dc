// Whole-bitmap and rectangle operations on composing bitmaps: tints, grey-scale, blends,
// fills and colour mixing. Rectangles have exclusive Right and Bottom unless a comment says
// otherwise. <x> below is x rounded to the nearest integer, halves to even.
//
// Every operation binds its accessors right before use and keeps no binding afterwards, so
// any of them may be called from inside another.
#pragma once

#include <cstdint>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// A key whose top byte is 0xFF (e.g. -1) means "no key in force".
constexpr bool KeyInForce(TColor key) { return (uint32_t(key) >> 24) != 0xFF; }

// The opaque stored 32-bit word 0xFFRRGGBB of colour 0x00BBGGRR.
uint32_t ToPixel32(TColor color);

// Fills the rectangle of a 32-bit bitmap with the opaque colour (nothing when the bitmap is
// narrower or lower than 2 pixels).
void FillOpaque32(TzkBitmap& bitmap, const TRect& rect, TColor color);

// Each colour channel becomes <p * f + k * (1 - f)>, f = percent / 100, k the colour's channel.
// Right and Bottom are INCLUSIVE here; the rectangle is cut to the bitmap. Alpha is kept.
void TintRect(TzkBitmap& bitmap, const TRect& inclusiveRect, uint8_t percent, TColor color);

// Copies the part of a 32-bit image with straight alpha to the top-left corner of a 32-bit
// destination with premultiplied alpha, as layered windows take it: each colour channel
// becomes (c * a + 127) div 255, alpha is kept. Pixels of the part outside the source, or
// beyond the destination, are left alone.
void CopyPremultiplied(TzkBitmap& dst, const TzkBitmap& straight, const TRect& part);

// Each pixel's colour bytes become (B + G + R) div 3.
void Grayscale(TzkBitmap& bitmap);
// As Grayscale; pixels exactly equal to the key are left alone.
void GrayscaleExceptKey(TzkBitmap& bitmap, TColor key);

// Copies the source rectangle (walked inclusively: Right and Bottom are its last column and
// row) to (x, y) in the destination, each colour channel becoming <s - factor * (s - d)>;
// factor is the share of the old destination. Source pixels equal to the key are skipped
// (a 32-bit source compares its whole 0xAABBGGRR value). Destination alpha is never written.
void BlendBitmapAt(TzkBitmap& dst, int x, int y, TColor key, double factor,
                   const TRect& srcRect, const TzkBitmap& src);

// Every pixel not equal to the key becomes <k + factor * (p - k)> per channel.
void TintExceptKey(TzkBitmap& bitmap, TColor color, TColor key, double factor);

// Two 24-bit bitmaps of equal size: each destination channel becomes
// ((p - k) * m + (k << 8)) >> 8, m the mask's byte of that channel, k the colour's.
void ColouriseByMask(TzkBitmap& dst, const TzkBitmap& mask, TColor color);

// Two 24-bit bitmaps of equal size: every destination byte becomes
// (d * weight + s * (255 - weight) + 127) >> 8. Nothing happens when the sizes differ.
void FadeWhole(TzkBitmap& dst, const TzkBitmap& src, uint8_t weight);

// Clips, then blends the source rectangle into the destination at the point with the byte
// formula of FadeWhole (weight = share of the destination). Both bitmaps 24-bit or both
// 32-bit; nothing happens for mixed formats.
void BlendRectAt(TzkBitmap& dst, const TzkBitmap& src, uint8_t weight, TRect srcRect, TPoint dstPoint);

// Per channel <f * a + (1 - f) * b>; the result keeps a's top byte.
TColor LerpColor(TColor a, TColor b, double f);

// Per channel clamp((t * (p - k) + 256 * k) >> 8, 0, 255), k the own colour's channel and p
// the parent's: the colour of a see-through section over its parent (t its transparency).
TColor MixByTransparency(TColor parent, TColor own, int t);

// clamp(percent * 255 div 100, 0, 255): a skin percentage as a byte weight.
uint8_t PercentToWeight(int percent);
