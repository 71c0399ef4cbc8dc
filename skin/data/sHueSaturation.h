// Colour adjustment of a loaded skin: a hue offset in degrees and a saturation change, applied
// to the master bitmap, every image with its own bitmap, the section colours and the global
// colours. Magenta (0xFF00FF, the transparent key) is never changed; greys never change.
#pragma once

#include "skin/data/sSkinTables.h"

// Rotates the colour's hue by `offset` degrees (system colours are converted first). The
// result is a plain RGB colour.
TColor ChangeHue(int offset, TColor color);
// Moves the colour towards grey (amount > 0) or away from it (amount < 0) by amount percent
// of its distance to the average of its channels; amount 0 returns the colour as it is.
TColor ChangeSaturation(TColor color, int amount);
// The amount a saturation setting gives: (-saturation) remainder 101, so -100..100.
int SaturationAmount(int saturation);

// Whole-skin adjustments; 0 leaves everything untouched. ApplyHue keeps the title-bar icons
// that the skin's KeepTitleHue protects.
void ApplyHue(TsSkinTables& skin, int offset);
void ApplySaturation(TsSkinTables& skin, int saturation);
