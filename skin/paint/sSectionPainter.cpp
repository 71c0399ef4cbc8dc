#include "skin/paint/sSectionPainter.h"

#include <algorithm>

#include "skin/paint/sGradient.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"

// [SECTION] State properties

namespace {

// The fill modes of a key-colour texture (its StretchMode): how the tile covers the section,
// and which strip of it a partial fill leaves to the section's colour. Any other value puts a
// column of tiles along the right edge.
constexpr int kFillTile = 0;           // tiled over everything
constexpr int kFillStretch = 1;        // stretched over everything
constexpr int kFillTileTop = 2;        // a tiled row along the top
constexpr int kFillTileLeft = 3;       // a tiled column along the left edge
constexpr int kFillStretchTop = 4;     // a row along the top, stretched to the width
constexpr int kFillStretchLeft = 5;    // a column along the left edge, stretched to the height
constexpr int kFillTileBottom = 6;     // a tiled row along the bottom
constexpr int kWholeTilesOnly = 10;    // whole tiles only (also an overlay's StretchMode)

// What a section looks like in one state.
struct TSectionState {
  TColor Color = clWhite;
  int Transparency = 0;
  int ImagePercent = 0;
  int GradientPercent = 0;
  const TsGradArray* Gradient = nullptr;
  const TsMaskData* Texture = nullptr;  // a texture image, or
  const TzkBitmap* Pattern = nullptr;   // a large pattern picture
};

int Percent(int32_t value) { return std::clamp(value, 0, 100); }

TSectionState ChooseState(const TsSkinTables& m, int index, const std::string& name,
                          TColor customColor, int hotTextureIndex, int textureIndex, int state) {
  const TsGeneralData& s = m.Sections[size_t(index)];
  const bool hot = state != 0;
  TSectionState st;
  st.Color = hot ? s.HotColor : s.Color;
  // A skin may give any 32-bit value; held to 0..100, its shares sum without overflow.
  st.Transparency = Percent(hot ? s.HotTransparency : s.Transparency);
  st.ImagePercent = Percent(hot ? s.HotImagePercent : s.ImagePercent);
  st.GradientPercent = Percent(hot ? s.HotGradientPercent : s.GradientPercent);
  st.Gradient = hot ? &s.HotGradientArray : &s.GradientArray;
  if (customColor != clFuchsia) {
    st.Color = customColor;
    st.Transparency = st.ImagePercent = st.GradientPercent = 0;
  }
  st.Color = ColorToRGB(st.Color);
  if (st.Transparency >= 100) {
    st.ImagePercent = st.GradientPercent = 0;
    return st;
  }
  if (st.ImagePercent <= 0) return st;
  const char* key = hot ? "HOTPATTERN" : "PATTERN";
  const int given = hot ? hotTextureIndex : textureIndex;
  int found = -1;
  if (given != -1) {
    if (m.IsValidMask(given) && m.Masks[size_t(given)].MaskType == 0) found = given;
  } else {
    found = m.IndexOfTexture(index, name, key);
  }
  if (m.IsValidMask(found)) {
    st.Texture = &m.Masks[size_t(found)];
    return st;
  }
  const int pattern = m.IndexOfPattern(index, name, key);
  if (m.IsValidPattern(pattern) && m.Patterns[size_t(pattern)].Image)
    st.Pattern = m.Patterns[size_t(pattern)].Image.get();
  return st;
}

// [SECTION] Background fills

// Gives the target what lies behind it. `bg` is aligned with dst: the pixel behind (x, y) is
// (bg.X + x, bg.Y + y).
void FillWithBackground(TzkBitmap& dst, const TRect& target, const TsBackgroundInfo& bg) {
  if (bg.IsBitmap) {
    if (bg.HasBitmap() && bg.Bitmap != &dst)
      CopyRect(dst, target.Left, target.Top, *bg.Bitmap,
               Bounds(bg.X + target.Left, bg.Y + target.Top, target.Width(), target.Height()));
    return;
  }
  if (bg.Color != clFuchsia) FillSolid(dst, target, bg.Color);
}

// [SECTION] Textures

// A masked (MaskType 1) texture: frame-0 tiles drawn through the alpha rule, key pixels
// showing the background. Fill mode 10 draws whole tiles only and gives the strips left at
// the right and bottom the background.
void PaintMaskedTexture(TzkBitmap& dst, const TRect& target, const TsMaskData& mask,
                        const TsBackgroundInfo& bg) {
  const TzkBitmap* image = MaskSourceImage(mask);
  const int tw = FrameWidth(mask), th = mask.Rect.Height() / 2;
  if (!image || tw <= 0 || th <= 0) return;
  const TRect tile = Bounds(mask.Rect.Left, mask.Rect.Top, tw, th);
  TRect area = target;
  if (mask.StretchMode == kWholeTilesOnly) {
    area.Right = target.Left + target.Width() / tw * tw;
    area.Bottom = target.Top + target.Height() / th * th;
    FillWithBackground(dst, TRect(area.Right, target.Top, target.Right, target.Bottom), bg);
    FillWithBackground(dst, TRect(target.Left, area.Bottom, area.Right, target.Bottom), bg);
  }
  const bool fill = bg.IsKnown();
  for (int y = area.Top; y < area.Bottom; y += th)
    for (int x = area.Left; x < area.Right; x += tw)
      PaintMaskPartAlpha(TRect(x, y, std::min(x + tw, area.Right), std::min(y + th, area.Bottom)),
                         tile, dst, mask, fill, bg, *image);
}

// A MaskType 0 texture in its fill mode; the part of the target it leaves (the remainder)
// gets the colour.
void PaintFilledTexture(TzkBitmap& dst, const TRect& t, const TsMaskData& mask, TColor colour) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image) return;
  const TRect tile = Bounds(mask.Rect.Left, mask.Rect.Top, FrameWidth(mask), FrameHeight(mask));
  if (mask.Image) {  // an image file of its own: tiled whatever the mode
    TileRect(dst, t, *image, mask.Rect);
    return;
  }
  const int tw = tile.Width(), th = tile.Height();
  if (tw <= 0 || th <= 0) return;
  TRect remainder;
  switch (mask.StretchMode) {
    case kFillTile: TileRect(dst, t, *image, tile); break;
    case kFillStretch: StretchCopy(dst, t, *image, tile); break;
    case kFillTileTop:
      TileRect(dst, TRect(t.Left, t.Top, t.Right, t.Top + th), *image, tile, t);
      remainder = TRect(t.Left, t.Top + th, t.Right, t.Bottom);
      break;
    case kFillTileLeft:
      TileRect(dst, TRect(t.Left, t.Top, t.Left + tw, t.Bottom), *image, tile, t);
      remainder = TRect(t.Left + tw, t.Top, t.Right, t.Bottom);
      break;
    case kFillStretchTop:
      StretchCopy(dst, TRect(t.Left, t.Top, t.Right, t.Top + th), *image, tile, t);
      remainder = TRect(t.Left, t.Top + th, t.Right, t.Bottom);
      break;
    case kFillStretchLeft:
      StretchCopy(dst, TRect(t.Left, t.Top, t.Left + tw, t.Bottom), *image, tile, t);
      remainder = TRect(t.Left + tw, t.Top, t.Right, t.Bottom);
      break;
    case kFillTileBottom:
      TileRect(dst, TRect(t.Left, t.Bottom - th, t.Right, t.Bottom), *image, tile, t);
      remainder = TRect(t.Left, t.Top, t.Right, t.Bottom - th);
      break;
    case kWholeTilesOnly:
      TileRect(dst, TRect(t.Left, t.Top, t.Left + t.Width() / tw * tw, t.Top + t.Height() / th * th),
               *image, tile);
      break;
    default:  // 7 and any other value: a column along the right edge
      TileRect(dst, TRect(t.Right - tw, t.Top, t.Right, t.Bottom), *image, tile, t);
      remainder = TRect(t.Left, t.Top, t.Right - tw, t.Bottom);
      break;
  }
  if (!remainder.IsEmpty()) FillSolid(dst, IntersectRect(remainder, t), colour);
}

// [SECTION] Content

// The section's own picture in one state: texture, gradient and colour in their shares.
// `bg` is aligned with dst.
void PaintContent(TzkBitmap& dst, const TRect& t, const TSectionState& st,
                  const TsBackgroundInfo& bg) {
  bool textured = false;
  if (st.ImagePercent > 0 && (st.Texture || st.Pattern)) {
    if (st.Pattern)
      TileRect(dst, t, *st.Pattern, TRect(0, 0, st.Pattern->Width(), st.Pattern->Height()));
    else if (st.Texture->MaskType == 0)
      PaintFilledTexture(dst, t, *st.Texture, st.Color);
    else
      PaintMaskedTexture(dst, t, *st.Texture, bg);
    textured = true;
  }
  const bool hasGradient = st.Gradient && !st.Gradient->empty();
  if (st.GradientPercent > 0) {
    if (textured) {
      TzkBitmap layer(t.Width(), t.Height(), dst.PixelFormat());
      const TRect all(0, 0, t.Width(), t.Height());
      if (hasGradient)
        PaintGradient(layer, all, *st.Gradient);
      else
        FillSolid(layer, all, st.Color);
      BlendRectAt(dst, layer, PercentToWeight(st.ImagePercent), all, t.TopLeft());
    } else if (hasGradient) {
      PaintGradient(dst, t, *st.Gradient);
    } else {
      FillSolid(dst, t, st.Color);
    }
  }
  const int shares = st.GradientPercent + st.ImagePercent;
  if (shares <= 0) {
    const bool colourBehind = !bg.IsBitmap && bg.Color != clFuchsia;
    FillSolid(dst, t, colourBehind && st.Transparency != 0 ? bg.Color : st.Color);
  } else if (shares <= 99) {
    // TintRect walks its rectangle inclusively.
    TintRect(dst, TRect(t.Left, t.Top, t.Right - 1, t.Bottom - 1), uint8_t(shares), st.Color);
  }
}

// The state-0 overlay: a masked texture in whole tiles over everything else.
const TsMaskData* OverlayTexture(const TsSkinTables& m, int textureIndex, int hotTextureIndex) {
  auto qualifies = [&](int i) {
    return m.IsValidMask(i) && m.Masks[size_t(i)].MaskType >= 1 &&
           m.Masks[size_t(i)].StretchMode == kWholeTilesOnly;
  };
  if (qualifies(textureIndex)) return &m.Masks[size_t(textureIndex)];
  const bool textureUnused = textureIndex == -1 ||
                             (m.IsValidMask(textureIndex) && m.Masks[size_t(textureIndex)].MaskType < 1);
  if (textureUnused && qualifies(hotTextureIndex)) return &m.Masks[size_t(hotTextureIndex)];
  return nullptr;
}

bool InsideBitmap(const TzkBitmap& b, const TRect& r) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= b.Width() && r.Bottom <= b.Height();
}

// The destination bitmap as its own background: transparent pixels stay as they are.
TsBackgroundInfo SelfBackground(const TzkBitmap& dst) {
  TsBackgroundInfo b;
  b.Bitmap = &dst;
  b.IsBitmap = true;
  return b;
}

struct TCorner {
  int index;
  bool right, bottom;
};

void PaintCorners(const TsSkinTables& m, const TsItemLook& look, TzkBitmap& dst, const TRect& t,
                  int state) {
  const TCorner corners[4] = {{look.ImgTopLeft, false, false},
                              {look.ImgTopRight, true, false},
                              {look.ImgBottomLeft, false, true},
                              {look.ImgBottomRight, true, true}};
  const TsBackgroundInfo self = SelfBackground(dst);
  for (const TCorner& c : corners) {
    if (!m.IsValidMask(c.index)) continue;
    const TsMaskData& mask = m.Masks[size_t(c.index)];
    const TPoint at(c.right ? t.Right - FrameWidth(mask) : t.Left,
                    c.bottom ? t.Bottom - FrameHeight(mask) : t.Top);
    PaintGlyphMask(dst, at, state, self, mask, true);
  }
}

}  // namespace

// [SECTION] Entry points

void PaintSection(int sectionIndex, const std::string& sectionName, const TsBackgroundInfo& bg,
                  TColor customColor, int hotTextureIndex, int textureIndex,
                  const TsSkinTables* manager, TzkBitmap& dst, TPoint point, const TRect& target,
                  int state) {
  if (!manager || !manager->IsValidSection(sectionIndex) || target.IsEmpty()) return;
  const TSectionState st = ChooseState(*manager, sectionIndex, sectionName, customColor,
                                       hotTextureIndex, textureIndex, state);
  // The background aligned with the destination.
  const TsBackgroundInfo behind = bg.Moved(point.X - target.Left, point.Y - target.Top);
  if (!bg.IsKnown() || st.Transparency <= 0) {
    PaintContent(dst, target, st, behind);
  } else if (st.Transparency >= 100) {
    FillWithBackground(dst, target, behind);
  } else {
    const TRect all(0, 0, target.Width(), target.Height());
    TzkBitmap layer(target.Width(), target.Height(), dst.PixelFormat());
    PaintContent(layer, all, st, bg.Moved(point.X, point.Y));
    FillWithBackground(dst, target, behind);
    BlendRectAt(dst, layer, PercentToWeight(st.Transparency), all, target.TopLeft());
  }
  if (state != 0) return;
  if (const TsMaskData* overlay = OverlayTexture(*manager, textureIndex, hotTextureIndex))
    PaintMaskedTexture(dst, target, *overlay, behind);
}

TsItemLook SectionLook(const TsSkinTables& manager, int sectionIndex, int textureIndex,
                       int hotTextureIndex) {
  TsItemLook look;
  look.SectionIndex = sectionIndex;
  look.TextureIndex = textureIndex;
  look.HotTextureIndex = hotTextureIndex;
  if (!manager.IsValidSection(sectionIndex)) return look;
  const TsGeneralData& s = manager.Sections[size_t(sectionIndex)];
  look.SectionName = s.SectionName;
  look.BorderIndex = s.BorderIndex;
  look.ImgTopLeft = s.ImgTopLeft;
  look.ImgTopRight = s.ImgTopRight;
  look.ImgBottomLeft = s.ImgBottomLeft;
  look.ImgBottomRight = s.ImgBottomRight;
  return look;
}

void PaintSkinnedItem(const TsSkinTables* manager, const TsItemLook& look,
                      const TsBackgroundInfo& bg, TColor customColor, bool paintCentre,
                      bool fillCorners, TzkBitmap* dst, TPoint point, const TRect& target,
                      int state) {
  if (!dst || !manager || !manager->IsValidSection(look.SectionIndex)) return;
  if (target.IsEmpty() || !InsideBitmap(*dst, target)) return;
  PaintSection(look.SectionIndex, look.SectionName, bg, customColor, look.HotTextureIndex,
               look.TextureIndex, manager, *dst, point, target, state);
  const TsBackgroundInfo behind = bg.Moved(point.X - target.Left, point.Y - target.Top);
  if (manager->IsValidMask(look.BorderIndex)) {
    const TsMaskData& border = manager->Masks[size_t(look.BorderIndex)];
    if (state != 0 || !(border.StretchMode & kHiddenInNormal))
      PaintBorderMask(*dst, target, paintCentre, fillCorners, state, border, behind);
  }
  PaintCorners(*manager, look, *dst, target, state);
}

void PaintSectionByIndex(int sectionIndex, const std::string& sectionName,
                         const TsBackgroundInfo& bg, int hotTextureIndex, int textureIndex,
                         const TsSkinTables* manager, TzkBitmap* dst, TPoint point,
                         const TRect& target, int state, bool paintCentre) {
  if (!dst || !manager || !manager->IsValidSection(sectionIndex)) return;
  if (target.IsEmpty() || !InsideBitmap(*dst, target)) return;
  PaintSection(sectionIndex, sectionName, bg, clFuchsia, hotTextureIndex, textureIndex, manager,
               *dst, point, target, state);
  TsItemLook look = SectionLook(*manager, sectionIndex);
  PaintCorners(*manager, look, *dst, target, state);
  if (manager->IsValidMask(look.BorderIndex))
    PaintBorderMask(*dst, target, paintCentre, true, state, manager->Masks[size_t(look.BorderIndex)],
                    bg.Moved(point.X - target.Left, point.Y - target.Top));
}

int PaintSectionByName(TzkBitmap& bitmap, const std::string& name, const std::string& fallback,
                       const TzkBitmap* behind, TColor color, const TRect& rect,
                       const TsSkinTables* manager, int state) {
  if (!manager) return -1;
  int index = manager->IndexOfSection(name);
  const std::string* used = &name;
  if (index < 0) {
    index = manager->IndexOfSection(fallback);
    used = &fallback;
  }
  if (index < 0) return -1;
  TsBackgroundInfo bg;
  if (behind) {
    CopyRect(bitmap, 0, 0, *behind, Bounds(rect.Left, rect.Top, bitmap.Width(), bitmap.Height()));
    bg = SelfBackground(bitmap);
  } else {
    bg.Color = color;
  }
  PaintSectionByIndex(index, *used, bg, -1, -1, manager, &bitmap, TPoint(),
                      TRect(0, 0, bitmap.Width(), bitmap.Height()), state, true);
  return index;
}

void PaintDisabledLook(TzkBitmap& image, TsDisabledKind kind, TColor parentColor, TPoint point,
                       const TsBackgroundInfo& bg) {
  if (image.Empty()) return;
  if (kind & dkGrayed) Grayscale(image);
  if (!(kind & dkBlended)) return;
  if (bg.IsBitmap) {
    if (!bg.HasBitmap()) return;
    const int x = bg.X + point.X, y = bg.Y + point.Y;
    BlendBitmapAt(image, 0, 0, -1, 0.4, TRect(x, y, x + image.Width() - 1, y + image.Height() - 1),
                  *bg.Bitmap);
    return;
  }
  const TColor towards = bg.Color == clFuchsia ? parentColor : bg.Color;
  TintRect(image, TRect(0, 0, image.Width() - 1, image.Height() - 1), 50, towards);
}
