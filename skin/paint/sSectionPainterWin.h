// The section painter's Win32 entry points: painting a section onto a device context and
// drawing text in a section's colours.
#pragma once

#include <windows.h>

#include <string>

#include "skin/data/sSkinTables.h"
#include "skin/paint/sBackgroundInfo.h"
#include "skin/paint/zkTypes.h"

// Paints the section through a temporary 24-bit bitmap of the target's size
// (PaintSectionByIndex, textures looked up by name) and copies it to the context at the
// target's top-left. Nothing is done for an empty target or a negative Left or Top.
void PaintSectionToDC(int sectionIndex, const std::string& sectionName, const TsBackgroundInfo& bg,
                      const TsSkinTables* manager, HDC dc, TPoint point, const TRect& target,
                      int state, bool paintCentre);

// PaintSectionByName with a device context: the bitmap first receives the context's pixels
// at rect's top-left and serves as its own background. A null context: the background is
// `color`.
int PaintSectionByName(TzkBitmap& bitmap, const std::string& name, const std::string& fallback,
                       HDC dc, TColor color, const TRect& rect, const TsSkinTables* manager,
                       int state);

// Draws text clipped to rect in the colours of a section, with the context's font. Enabled
// and with a valid section: first once per contour colour of the state's font colour set
// (left, top, right, bottom, each shifted one pixel that way; -1 skipped), then in the set's
// colour, all without clipping to the format rectangle. Enabled without a section: once in
// the context's text colour. Disabled: once in LerpColor(font colour, section colour, 0.4)
// (the system's grey-text colour without a section). The context's state is restored.
void PaintSectionText(HDC dc, const std::wstring& text, bool enabled, const TsSkinTables* manager,
                      bool hot, int sectionIndex, UINT format, const TRect& rect);
