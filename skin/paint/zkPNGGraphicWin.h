// The platform face of the engine's PNG reader (TPNGGraphic, skin/data/zkPNG.h): drawing
// onto a device context with the image's alpha, the reflected variant, icons, and the "png"
// entry of the picture formats.
#pragma once

#include <windows.h>

#include "skin/data/zkPNG.h"
#include "toolkit/Handles.h"
#include "skin/paint/zkTypes.h"

extern const wchar_t* const kPNGFormatDescription;  // "Portable network graphics (OrvexControls)"

// Registers the PNG reader for the extension "png" (done once at program start).
void RegisterPNGPictureFormat();

// Draws the image into rect. A 24-bit image is copied (stretched when sizes differ). A 32-bit
// image is blended over what the context holds there, d = (s * a + d * (255 - a) + 127) / 255
// per channel: stretched nearest-neighbour first (colour and alpha alike) when rect's size
// differs from the image's; otherwise, with Reflected, its mirror image fades out below it in
// an extra strip of half the rect's height.
void DrawPNGGraphic(HDC dc, const TRect& rect, const TPNGGraphic& png);

// An icon of the image. The mask marks as transparent every pixel equal to the pixel at
// (0, 0) for images that are not 32-bit, or always when forceKeyMask is set; otherwise the
// mask is all opaque and the 32-bit colour bitmap's alpha shapes the icon.
TIconHandle CreatePNGGraphicIcon(const TPNGGraphic& png, bool forceKeyMask);
