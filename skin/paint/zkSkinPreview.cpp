#include "skin/paint/zkSkinPreview.h"

#include <algorithm>
#include <string>
#include <vector>

#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkTinyFont.h"

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 8;
constexpr int kMaxFramesShown = 8;
constexpr int kMaxImageSide = 512;  // larger frames are cut in the sheet
constexpr TColor kSheetColour = 0x302824;
constexpr TColor kLabelColour = 0xF0F0F0;
constexpr TColor kHeadingColour = 0x80D0FF;
const char* const kStateNames[3] = {"NORMAL (0)", "HOT (1)", "PRESSED (2)"};

bool IsPictureImage(const TsMaskData& m) {
  return m.ImgType == itisaGlyph || m.ImgType == itisaPngGlyph || m.ImgType == itisaGlow;
}

TSize FrameSize(const TsMaskData& m) {
  return {std::min(FrameWidth(m), kMaxImageSide), std::min(FrameHeight(m), kMaxImageSide)};
}

int FramesShown(const TsMaskData& m) { return std::clamp<int>(m.ImageCount, 1, kMaxFramesShown); }

std::string ImageLabel(const TsMaskData& m) {
  static const char* const kinds[] = {"BORDER", "TEXTURE", "GLYPH", "GLOW", "PNG GLYPH"};
  return m.SectionName + "." + m.PropertyName + " (" + kinds[m.ImgType <= 4 ? m.ImgType : 0] + ")";
}

// A glow image: its own 32-bit picture composed over the sheet by its alpha; anything else
// goes through the glyph painter.
void DrawImageFrame(TzkBitmap& sheet, const TzkBitmap& checker, const TsMaskData& m, int frame,
                    TPoint at) {
  const TSize size = FrameSize(m);
  DrawCheckerboard(sheet, Bounds(at.X, at.Y, size.cx, size.cy));
  if (m.ImgType == itisaGlow && m.Image && m.Image->BytesPerPixel() == 4) {
    const TRect src = FrameRect(m, frame);
    for (int y = 0; y < size.cy && src.Top + y < m.Image->Height(); ++y) {
      const uint8_t* s = m.Image->ScanLine(src.Top + y) + src.Left * 4;
      uint8_t* d = sheet.ScanLine(at.Y + y) + at.X * 3;
      for (int x = 0; x < size.cx && src.Left + x < m.Image->Width(); ++x, s += 4, d += 3)
        for (int c = 0; c < 3; ++c) d[c] = uint8_t((s[c] * s[3] + d[c] * (255 - s[3]) + 127) / 255);
    }
    return;
  }
  TsBackgroundInfo bg;
  bg.Bitmap = &checker;
  bg.IsBitmap = true;
  TzkBitmap cell(size.cx, size.cy);
  CopyRect(cell, 0, 0, checker, Bounds(at.X, at.Y, size.cx, size.cy));
  bg.X = at.X;
  bg.Y = at.Y;
  PaintGlyphMask(cell, TPoint(), frame, bg, m, true);
  CopyRect(sheet, at.X, at.Y, cell, TRect(0, 0, size.cx, size.cy));
}

}  // namespace

void DrawCheckerboard(TzkBitmap& dst, const TRect& rect) {
  const TRect r = IntersectRect(rect, TRect(0, 0, dst.Width(), dst.Height()));
  const int n = dst.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* d = dst.ScanLine(y) + r.Left * n;
    for (int x = r.Left; x < r.Right; ++x, d += n) {
      const uint8_t v = (((x - rect.Left) / 8 + (y - rect.Top) / 8) % 2) ? 0xC8 : 0xF0;
      d[0] = d[1] = d[2] = v;
      if (n == 4) d[3] = 255;
    }
  }
}

TzkBitmap RenderSkinPreview(const TsSkinTables& tables, const TzkPreviewOptions& options) {
  const int cw = std::clamp(options.CellWidth, 8, 2000), ch = std::clamp(options.CellHeight, 8, 2000);
  // Layout: the label column, then three cells per section; then one row per picture image.
  size_t longest = 12;
  for (const TsGeneralData& s : tables.Sections) longest = std::max(longest, s.SectionName.size());
  std::vector<int> images;
  for (size_t i = 0; i < tables.Masks.size(); ++i)
    if (IsPictureImage(tables.Masks[i])) {
      images.push_back(int(i));
      longest = std::max(longest, ImageLabel(tables.Masks[i]).size());
    }
  const int labelWidth = int(std::min<size_t>(longest, 48)) * kTinyFontAdvance + kGap;
  const int cellsLeft = kMargin + labelWidth;
  int width = cellsLeft + 3 * (cw + kGap) + kMargin;
  const int rowHeight = std::max(ch, kTinyFontHeight) + kGap;
  int height = kMargin + 2 * rowHeight + int(tables.Sections.size()) * rowHeight;
  for (int i : images) {
    const TsMaskData& m = tables.Masks[size_t(i)];
    const TSize size = FrameSize(m);
    width = std::max(width, cellsLeft + FramesShown(m) * (size.cx + kGap) + kMargin);
    height += std::max(size.cy, kTinyFontHeight) + kGap;
  }
  height += kMargin;

  TzkBitmap sheet(width, height);
  FillSolid(sheet, TRect(0, 0, width, height), kSheetColour);
  TzkBitmap checker(width, height);
  DrawCheckerboard(checker, TRect(0, 0, width, height));

  int y = kMargin;
  DrawTinyText(sheet, kMargin, y, "SECTIONS", kHeadingColour);
  for (int s = 0; s < 3; ++s) DrawTinyText(sheet, cellsLeft + s * (cw + kGap), y, kStateNames[s], kHeadingColour);
  y += rowHeight;
  for (size_t i = 0; i < tables.Sections.size(); ++i, y += rowHeight) {
    DrawTinyText(sheet, kMargin, y + (ch - kTinyFontHeight) / 2, tables.Sections[i].SectionName, kLabelColour);
    const TsItemLook look = SectionLook(tables, int(i));
    for (int state = 0; state < 3; ++state) {
      const TRect cell = Bounds(cellsLeft + state * (cw + kGap), y, cw, ch);
      CopyRect(sheet, cell.Left, cell.Top, checker, cell);
      TsBackgroundInfo bg;
      bg.Bitmap = &checker;
      bg.IsBitmap = true;
      bg.X = cell.Left;
      bg.Y = cell.Top;
      TzkBitmap image(cw, ch);
      CopyRect(image, 0, 0, checker, cell);
      PaintSkinnedItem(&tables, look, bg, clFuchsia, true, true, &image, TPoint(), TRect(0, 0, cw, ch), state);
      CopyRect(sheet, cell.Left, cell.Top, image, TRect(0, 0, cw, ch));
    }
  }
  y += rowHeight;
  DrawTinyText(sheet, kMargin, y - rowHeight / 2 - kTinyFontHeight / 2, "GLYPHS AND GLOW IMAGES (FRAME BY FRAME)", kHeadingColour);
  for (int i : images) {
    const TsMaskData& m = tables.Masks[size_t(i)];
    const TSize size = FrameSize(m);
    DrawTinyText(sheet, kMargin, y, ImageLabel(m), kLabelColour);
    for (int f = 0; f < FramesShown(m); ++f)
      DrawImageFrame(sheet, checker, m, f, TPoint(cellsLeft + f * (size.cx + kGap), y));
    y += std::max(size.cy, kTinyFontHeight) + kGap;
  }
  return sheet;
}
