// The switch of one form from its old look to its new one behind a cover window: the screen
// under the form is kept, the new look is printed off screen, and the cover shows cross-faded
// frames 8 ms apart before the form is uncovered (plain variant, no extended border window).
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/paint/zkBitmap.h"

class TCustomForm;

// Prints a window and, recursively, its visible child windows at their places into dc, whose
// origin is the window's top-left corner.
void PrintWindowTree(HWND wnd, HDC dc);

// Covers the form, cross-fades from the screen under it to its new look in `time`
// milliseconds (none below 8), then uncovers it. `region`, when given, becomes the cover's
// window region (the cover owns it from then on).
void SwitchFormLook(TCustomForm* form, uint16_t time, HRGN region = nullptr);
