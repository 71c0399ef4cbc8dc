// The shadow images of extended window borders: the two 32-bit images (active and inactive
// window) a skin's "EXBORDER" image gives, or the built-in ones, with the margins of the
// window's content inside them. Also the drawing of the built-in images, which the build
// turns into the program's "zkSHDA" and "zkSHDI" resources. Portable.
#pragma once

#include "skin/data/sSkinTables.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

struct TsShadowImages {
  TzkBitmap Active;    // 32-bit, straight alpha
  TzkBitmap Inactive;  // 32-bit, straight alpha
  TRect Margins;       // content margins: Left, Top, Right, Bottom
};

// The images a loaded skin gives its extended borders. Nothing (empty images, margins 0) when
// no skin is loaded or extended borders are off. With the skin's EXBORDER mask: margins of
// FormOffset on every side when BorderMode is set, else the mask's border widths less
// FormOffset; the active image is its first frame, the inactive one its second (a copy of the
// first when it has one frame). Without it, copies of the built-in images (when given) with
// margins (11, 7, 11, 11), each one more when desktop composition is on. White pixels with
// alpha 0 become 0 in both.
// The tables are those of the display scale; the built-in images, made for 100 %, are scaled
// to it with their margins (an area filter: a shadow has no hard edge to keep).
void PrepareShadowImages(const TsSkinTables& tables, bool extendedBorders,
                         const TzkBitmap* builtinActive, const TzkBitmap* builtinInactive,
                         bool compositionEnabled, TsShadowImages& out, int scalePercent = 100);

// The built-in shadows: black, alpha 0 on the outer edge rising linearly to maxAlpha at the
// border of the centre square of `centre` pixels, maxAlpha inside it.
TzkBitmap DrawBuiltinShadow(int size, int centre, int maxAlpha);
// "zkSHDA" (active windows) and "zkSHDI" (inactive windows).
inline TzkBitmap DrawActiveShadow() { return DrawBuiltinShadow(32, 11, 102); }
inline TzkBitmap DrawInactiveShadow() { return DrawBuiltinShadow(31, 11, 77); }
