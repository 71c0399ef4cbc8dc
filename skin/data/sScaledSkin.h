// A loaded skin at a display scale: a copy of its tables in which every size the engine reads
// is multiplied by the scale and every picture is scaled to match, so the painters and every
// geometry computation run unchanged on the copy. Made once per skin and scale; the caller
// keeps it (it owns its pictures and does not refer to the source afterwards).
//
// The scale is held to 100..400 %; 100 % gives an exact copy. Every length goes through
// ScaleLength: floor(value x scale / 100), negative offsets by their magnitude, 16-bit fields
// held to their range. What scales:
// - the global data: TitleHeight, MaxTitleHeight, ExBorderWidth ("BORDERWIDTH"), FormOffset,
//   CenterOffset, BISPACE, BIVALIGN, BIRIGHT, BILEFT, the three title-button glow margins,
//   the text shadow's offset and blur (a blur below 0, none, stays);
// - every section's GlowMargin;
// - every image's BorderWidth and WL, WT, WR, WB, and its picture and Rect (sMaskScaling.h
//   says how a picture is cut and filtered);
// - every pattern picture (Area filter; whole multiples replicate).
// Percentages, colours, flags, counts, names and every index stay as they are.
//
// Images in the master bitmap keep pointing into a master bitmap, since the painters treat
// them differently from images with their own bitmap:
// - at whole multiples the master is replicated n x n and every Rect starts at n times its
//   corner (pictures past the master stay past it);
// - at other scales every distinct picture (same Rect and cuts: shared) is scaled into a new
//   master, placed on shelves, tallest first; the gaps hold the key colour.
//
// Hostile sizes: a Rect or picture over 65,536 pixels on a side, or a scaled bitmap over the
// engine's limit, is refused with std::length_error before anything large is allocated.
#pragma once

#include <cstddef>
#include <memory>

#include "skin/data/sSkinTables.h"

// Scaled copy of the tables; Manager of every image points at the copy.
std::unique_ptr<TsSkinTables> ScaleSkinTables(const TsSkinTables& source, int scalePercent);

// The global skin data at the scale (see above for the fields).
TsSkinData ScaleSkinData(const TsSkinData& data, int scalePercent);

// A 16-bit skin length at the scale, held to the 16-bit range.
int16_t ScaleSkinSize(int16_t value, int scalePercent);

// Bytes of pixel data of the master bitmap, the images' own bitmaps and the patterns.
size_t SkinImageBytes(const TsSkinTables& tables);
