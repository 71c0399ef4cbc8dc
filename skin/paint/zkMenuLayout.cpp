#include "skin/paint/zkMenuLayout.h"

#include <algorithm>
#include <cmath>

TsMenuItemType MenuItemTypeOf(const std::wstring& caption, bool topLevelOfMenuBar) {
  if (caption == L"-") return smDivider;
  if (caption.size() >= 2 && caption.front() == L'-' && caption.back() == L'-') return smCaption;
  return topLevelOfMenuBar ? smTopLine : smNormal;
}

std::wstring CaptionItemText(const std::wstring& caption) {
  if (caption.size() < 2) return {};
  return caption.substr(1, caption.size() - 2);
}

std::wstring WithoutAmpersands(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
  return text;
}

int MenuTextUnit(int textHeight) {
  // nearbyint rounds ties to even in the default rounding mode.
  return int(std::nearbyint(textHeight * 1.25));
}

int MenuItemHeight(TsMenuItemType type, int textUnit, int imageHeight, const TzkMenuSpacing& s) {
  switch (type) {
    case smDivider:
      return 2;
    case smCaption:
      return textUnit + 2 * s.Margin;
    default:
      return std::max(textUnit, imageHeight) + 2 * s.Margin;
  }
}

int MenuItemWidth(int imageWidth, int textWidth, const TzkMenuSpacing& s, int extraLine) {
  return 2 * imageWidth + textWidth + 3 * s.Margin + s.Spacing + extraLine;
}

int MenuCaptionLeft(int imageWidth, const TzkMenuSpacing& s) {
  return imageWidth + 2 * s.Margin + s.Spacing;
}

TSize MenuSizeOf(const std::vector<TzkMeasuredItem>& items, int borderWidth) {
  int width = 0, height = 0, columnWidth = 0, columnHeight = 0, columns = 0;
  auto endColumn = [&] {
    width += columnWidth + 12 + (columns > 0 ? 4 : 0);
    height = std::max(height, columnHeight);
    ++columns;
    columnWidth = columnHeight = 0;
  };
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].Break && i > 0) endColumn();
    columnWidth = std::max(columnWidth, items[i].Width);
    columnHeight += items[i].Height;
  }
  if (!items.empty()) endColumn();
  return TSize(width + 2 * borderWidth, height + 2 * borderWidth);
}

int AutomaticMenuBorder(bool hasMask, int maskBorderWidth) {
  if (!hasMask) return 0;
  return maskBorderWidth > 0 ? maskBorderWidth : 3;
}

TzkMenuBands MenuBandsOf(TSize menu, int skinBorder, int extraLineWidth, int firstImageWidth,
                         const TzkMenuSpacing& s) {
  TzkMenuBands b;
  const int height = std::max(0, menu.cy - 2 * skinBorder);
  const int iconLeft = extraLineWidth + skinBorder;
  b.IconBand = TRect(iconLeft, skinBorder, iconLeft + s.Margin + firstImageWidth + s.Spacing,
                     skinBorder + height);
  if (extraLineWidth > 0)
    b.ExtraLine = TRect(skinBorder, skinBorder, skinBorder + extraLineWidth, skinBorder + height);
  return b;
}

TzkSpan DividerSpan(int itemLeft, int itemRight, int extraLine, int iconBandRight,
                    const TzkMenuSpacing& s) {
  TzkSpan span;
  span.From = itemLeft + extraLine + s.Margin + s.Spacing;
  if (span.From < iconBandRight) span.From = iconBandRight + 2;
  span.To = itemRight - (extraLine + 2 * s.Margin + s.Spacing);
  return span;
}

TzkMenuCaption MenuCaptionOf(const std::wstring& caption) {
  TzkMenuCaption c;
  if (!caption.empty() && caption.front() == L'\b') {
    c.Text = caption.substr(1) + L"      ";
    c.RightAligned = true;
  } else {
    c.Text = caption;
  }
  return c;
}
