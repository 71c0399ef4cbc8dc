// The geometry of skinned popup menus: what kind an item is, how large it is, how large the
// whole menu is, and where the bands of the menu background lie. Pure arithmetic, shared by
// the menu engine and its tests.
#pragma once

#include <string>
#include <vector>

#include "skin/paint/zkTypes.h"

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// "-" is a divider, "-word-" a caption item, a top-level item of a menu bar a top-line item,
// anything else a normal item.
TsMenuItemType MenuItemTypeOf(const std::wstring& caption, bool topLevelOfMenuBar);
// The text a caption item shows: its caption without the dashes around it.
std::wstring CaptionItemText(const std::wstring& caption);
// The caption without any "&".
std::wstring WithoutAmpersands(std::wstring text);

// The text unit of menu items: 1.25 x the height of "W", rounded to the nearest integer
// (ties to the even one).
int MenuTextUnit(int textHeight);

struct TzkMenuSpacing {
  int Margin = 2;   // inner margin of an item
  int Spacing = 6;  // gap between the image column and the text
};

int MenuItemHeight(TsMenuItemType type, int textUnit, int imageHeight, const TzkMenuSpacing& s);
// extraLine: the extra line's width for items of the first column, else 0.
int MenuItemWidth(int imageWidth, int textWidth, const TzkMenuSpacing& s, int extraLine);
// Where an item's caption starts, from the item's left edge (after the extra line).
int MenuCaptionLeft(int imageWidth, const TzkMenuSpacing& s);

// One measured item as the menu lays it out.
struct TzkMeasuredItem {
  int Width = 0;
  int Height = 0;
  bool Break = false;  // starts a new column
};
// The size of a menu whose window cannot be asked: per column (a column ends at an item with
// Break) the widest item + 12, columns 4 pixels apart, the tallest column's height, both plus
// the frame on both sides.
TSize MenuSizeOf(const std::vector<TzkMeasuredItem>& items, int borderWidth);

// The skin border inside the menu: the border mask's width (3 when it gives none), 0 without
// a mask.
int AutomaticMenuBorder(bool hasMask, int maskBorderWidth);

// The bands of a menu background of the given size.
struct TzkMenuBands {
  TRect IconBand;   // the image column's band
  TRect ExtraLine;  // empty when the extra line is not shown
};
TzkMenuBands MenuBandsOf(TSize menu, int skinBorder, int extraLineWidth, int firstImageWidth,
                         const TzkMenuSpacing& s);

// The horizontal span of a divider inside an item [left, right) of the menu, given where the
// icon band ends (menu coordinates): it never starts inside the icon band.
struct TzkSpan {
  int From = 0;
  int To = 0;
};
TzkSpan DividerSpan(int itemLeft, int itemRight, int extraLine, int iconBandRight,
                    const TzkMenuSpacing& s);

// A caption that starts with a backspace is shown right-aligned, without it and with six
// spaces after it.
struct TzkMenuCaption {
  std::wstring Text;
  bool RightAligned = false;
};
TzkMenuCaption MenuCaptionOf(const std::wstring& caption);
