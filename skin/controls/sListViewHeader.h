// The skinned list view's column header. Its window is subclassed while the list view is
// skinned (TsCustomListView attaches and detaches it); each section is painted from the skin's
// "COLHEADER" section, with its text, its image from the list's small images and a sort arrow
// placed by LayoutHeaderSection.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "skin/paint/zkTypes.h"

// What a header section shows, as the header window keeps it.
struct THeaderItem {
  std::wstring Text;
  int Format = HDF_LEFT;  // HDF_* flags: justification, image, sort arrow
  int Image = -1;
};

// Spacing inside a section: the text's inset from the edges, the padding around text and
// sort arrow, and the gap after the image.
constexpr int kHeaderTextInsetX = 4;
constexpr int kHeaderTextInsetY = 1;
constexpr int kHeaderPadding = 6;
constexpr int kHeaderImageGap = 4;

// The measured content of one section.
struct THeaderSectionContent {
  int Width = 0;
  int Height = 0;
  int Justify = HDF_LEFT;  // the item's format; only its justification counts
  int TextWidth = 0;       // the text's extent in the list's font
  int ImageWidth = -1;     // the image's width, -1 without an image
  int GlyphWidth = -1;     // the sort arrow's width, -1 without one
  int GlyphHeight = 0;
};

// Where the content goes in a section of the given size (in the unpressed state; a pressed
// section shows text and image one pixel down and right).
struct THeaderSectionLayout {
  TRect Text;          // the text; the image ends ImageSpace left of its left edge
  int ImageSpace = 0;  // the room taken by the image and its gap, 0 without an image
  TPoint Glyph;        // the sort arrow's top-left
};

// Left-justified content follows the left edge and is cut where the section ends; right- and
// centre-justified content moves to the left edge when the section is too narrow for it.
THeaderSectionLayout LayoutHeaderSection(const THeaderSectionContent& c);
