// A contact sheet of a loaded skin, for reviewing it at a glance without the platform: every
// section painted in states 0 (normal), 1 (hot) and 2 (pressed) with its border mask and
// corner images, then every glyph and glow image frame by frame, each on a checkerboard so
// transparency shows, each row labelled with its name.
#pragma once

#include "skin/data/sSkinTables.h"
#include "skin/paint/zkBitmap.h"

struct TzkPreviewOptions {
  int CellWidth = 120;  // size each section is painted at
  int CellHeight = 36;
};

// A 24-bit picture of the skin.
TzkBitmap RenderSkinPreview(const TsSkinTables& tables, const TzkPreviewOptions& options = {});

// The checkerboard drawn behind every cell (8-pixel squares of two light greys).
void DrawCheckerboard(TzkBitmap& dst, const TRect& rect);
