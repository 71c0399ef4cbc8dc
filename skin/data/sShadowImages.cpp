#include "skin/data/sShadowImages.h"

#include <algorithm>

#include "skin/data/zkPNG.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkImageScale.h"

namespace {

TzkBitmap FrameOf(const TsSkinTables& tables, const TsMaskData& mask, int frame) {
  const TzkBitmap& source = mask.Image ? *mask.Image : tables.MasterBitmap;
  const TRect r = FrameRect(mask, frame);
  TzkBitmap image = NewBitmap32(std::max(1, r.Width()), std::max(1, r.Height()));
  if (!source.Empty()) CopyRect(image, 0, 0, source, r);
  return image;
}

TzkBitmap CopyOf(const TzkBitmap& source) {
  TzkBitmap image = NewBitmap32(std::max(1, source.Width()), std::max(1, source.Height()));
  CopyRect(image, 0, 0, source, TRect(0, 0, source.Width(), source.Height()));
  return image;
}

TzkBitmap ScaledCopyOf(const TzkBitmap& source, int scalePercent) {
  if (ClampScalePercent(scalePercent) == 100) return CopyOf(source);
  const int w = std::max(1, ScaleLength(source.Width(), scalePercent));
  const int h = std::max(1, ScaleLength(source.Height(), scalePercent));
  TzkBitmap image = NewBitmap32(w, h);
  ScaleImagePart(image, TRect(0, 0, w, h), source, TRect(0, 0, source.Width(), source.Height()),
                 TScaleFilter::Area);
  return image;
}

// Distance in pixels from the square's outer edge, along the nearer axis.
int EdgeDistance(int x, int y, int size) {
  return std::min(std::min(x, size - 1 - x), std::min(y, size - 1 - y));
}

}  // namespace

void PrepareShadowImages(const TsSkinTables& tables, bool extendedBorders,
                         const TzkBitmap* builtinActive, const TzkBitmap* builtinInactive,
                         bool compositionEnabled, TsShadowImages& out, int scalePercent) {
  out = TsShadowImages();
  if (tables.Sections.empty() || !extendedBorders) return;
  out.Active = NewBitmap32(1, 1);
  out.Inactive = NewBitmap32(1, 1);
  const int exBorder = tables.CachedIndexes.ExBorder;
  const TsSkinData& d = tables.SkinData;
  if (tables.IsValidMask(exBorder)) {
    const TsMaskData& mask = tables.Masks[size_t(exBorder)];
    const int f = d.FormOffset;
    out.Margins = d.BorderMode != 0 ? TRect(f, f, f, f)
                                    : TRect(mask.WL - f, mask.WT - f, mask.WR - f, mask.WB - f);
    out.Active = FrameOf(tables, mask, 0);
    out.Inactive = mask.ImageCount == 1 ? CopyOf(out.Active) : FrameOf(tables, mask, 1);
  } else if (builtinActive && builtinInactive && !builtinActive->Empty() &&
             !builtinInactive->Empty()) {
    const int extra = compositionEnabled ? 1 : 0;
    auto margin = [&](int value) { return ScaleLength(value + extra, scalePercent); };
    out.Margins = TRect(margin(11), margin(7), margin(11), margin(11));
    out.Active = ScaledCopyOf(*builtinActive, scalePercent);
    out.Inactive = ScaledCopyOf(*builtinInactive, scalePercent);
  }
  ClearTransparentWhite(out.Active);
  ClearTransparentWhite(out.Inactive);
}

TzkBitmap DrawBuiltinShadow(int size, int centre, int maxAlpha) {
  TzkBitmap image = NewBitmap32(size, size);
  const int ramp = std::max(1, (size - centre) / 2);
  for (int y = 0; y < size; ++y) {
    uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < size; ++x, p += 4) {
      const int distance = std::min(EdgeDistance(x, y, size), ramp);
      p[0] = p[1] = p[2] = 0;
      p[3] = uint8_t(maxAlpha * distance / ramp);
    }
  }
  return image;
}
