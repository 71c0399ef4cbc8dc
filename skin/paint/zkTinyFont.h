// A 5 x 7 pixel font for labelling pictures made without a platform (the skin preview).
// Letters are drawn upper-case; characters it lacks are drawn as a small box.
#pragma once

#include <string>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"

constexpr int kTinyFontAdvance = 6;  // pixels from one character to the next
constexpr int kTinyFontHeight = 7;

// Draws the text with its top-left at (x, y), clipped to the bitmap; returns the x after it.
int DrawTinyText(TzkBitmap& dst, int x, int y, const std::string& text, TColor color);
