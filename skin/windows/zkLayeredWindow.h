// Output to layered windows: the border window's shadow, glows and title-button overlays all
// show a 32-bit image with per-pixel alpha this way.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

// Shows a 32-bit image with premultiplied alpha on a layered window, the window's top-left
// corner at `at` on the screen (null: where it is), the whole faded by `alpha`. An image
// without a DIB section of its own is copied into one first. False when nothing could be
// shown (no layered windows, no image, no section).
bool ShowPremultipliedOnLayeredWindow(HWND wnd, const TzkBitmap& premultiplied, const POINT* at,
                                      uint8_t alpha);
// The same for the part of an image with straight alpha (the engine's own), premultiplied
// first.
bool ShowOnLayeredWindow(HWND wnd, const TzkBitmap& straight, const TRect& part, const POINT* at,
                         uint8_t alpha);
