#include "skin/paint/sSectionPainterWin.h"

#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

void PaintSectionToDC(int sectionIndex, const std::string& sectionName, const TsBackgroundInfo& bg,
                      const TsSkinTables* manager, HDC dc, TPoint point, const TRect& target,
                      int state, bool paintCentre) {
  if (!dc || target.IsEmpty() || target.Left < 0 || target.Top < 0) return;
  TzkBitmap temp = NewBitmap24(target.Width(), target.Height());
  PaintSectionByIndex(sectionIndex, sectionName, bg, -1, -1, manager, &temp, point,
                      TRect(0, 0, temp.Width(), temp.Height()), state, paintCentre);
  DrawBitmapToDC(dc, target.Left, target.Top, temp, TRect(0, 0, temp.Width(), temp.Height()));
}

int PaintSectionByName(TzkBitmap& bitmap, const std::string& name, const std::string& fallback,
                       HDC dc, TColor color, const TRect& rect, const TsSkinTables* manager,
                       int state) {
  if (!dc)
    return PaintSectionByName(bitmap, name, fallback, static_cast<const TzkBitmap*>(nullptr), color,
                              rect, manager, state);
  CopyDCToBitmap(bitmap, dc, rect.Left, rect.Top);
  // The bitmap now holds what lies behind: it is its own background.
  return PaintSectionByName(bitmap, name, fallback, &bitmap, color,
                            TRect(0, 0, bitmap.Width(), bitmap.Height()), manager, state);
}

namespace {

void DrawOnce(HDC dc, const std::wstring& text, RECT r, UINT format, TColor color, int dx, int dy) {
  SetTextColor(dc, COLORREF(ColorToRGB(color)));
  OffsetRect(&r, dx, dy);
  DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
}

}  // namespace

void PaintSectionText(HDC dc, const std::wstring& text, bool enabled, const TsSkinTables* manager,
                      bool hot, int sectionIndex, UINT format, const TRect& rect) {
  if (!dc || text.empty()) return;
  TSaveDc saved(dc);
  IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
  SetBkMode(dc, TRANSPARENT);
  const RECT r = {rect.Left, rect.Top, rect.Right, rect.Bottom};
  const bool valid = manager && manager->IsValidSection(sectionIndex);
  if (!enabled) {
    TColor color = TColor(GetSysColor(COLOR_GRAYTEXT));
    if (valid) {
      const TsGeneralData& s = manager->Sections[size_t(sectionIndex)];
      color = LerpColor(ColorToRGB(s.FontColor.Color), ColorToRGB(s.Color), 0.4);
    }
    DrawOnce(dc, text, r, format, color, 0, 0);
    return;
  }
  if (!valid) {
    DrawTextW(dc, text.c_str(), int(text.size()), const_cast<RECT*>(&r), format);
    return;
  }
  const TsGeneralData& s = manager->Sections[size_t(sectionIndex)];
  const TsFontColor& set = hot ? s.HotFontColor : s.FontColor;
  const UINT unclipped = format | DT_NOCLIP;
  const struct {
    TColor color;
    int dx, dy;
  } contour[4] = {{set.Left, -1, 0}, {set.Top, 0, -1}, {set.Right, 1, 0}, {set.Bottom, 0, 1}};
  for (const auto& c : contour)
    if (c.color != -1) DrawOnce(dc, text, r, unclipped, c.color, c.dx, c.dy);
  DrawOnce(dc, text, r, unclipped, set.Color, 0, 0);
}
