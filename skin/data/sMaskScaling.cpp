#include "skin/data/sMaskScaling.h"

#include <algorithm>

namespace {

// Frames longer than this are held to it, so the scaled cuts and their sums stay in range
// whatever a damaged record says; pictures that large cannot be made anyway.
constexpr int64_t kMaxFrameLength = int64_t(1) << 24;

TsNinePartCuts CutAxis(int64_t frame, int first, int last) {
  TsNinePartCuts c;
  const int length = int(std::clamp<int64_t>(frame, 0, kMaxFrameLength));
  c.First = std::clamp(first, 0, length);
  c.Last = std::clamp(last, 0, length - c.First);
  c.Middle = length - c.First - c.Last;
  return c;
}

TsNinePartCuts ScaleCuts(const TsNinePartCuts& c, int scalePercent) {
  return {ScaleLength(c.First, scalePercent), ScaleLength(c.Middle, scalePercent),
          ScaleLength(c.Last, scalePercent)};
}

}  // namespace

TRect MaskCutWidths(const TsMaskData& mask) {
  if (mask.WL == 0 && mask.WT == 0 && mask.WR == 0 && mask.WB == 0)
    return TRect(mask.BorderWidth, mask.BorderWidth, mask.BorderWidth, mask.BorderWidth);
  return TRect(mask.WL, mask.WT, mask.WR, mask.WB);
}

TsMaskScaleLayout MaskScaleLayout(const TsMaskData& mask, int scalePercent) {
  TsMaskScaleLayout l;
  l.Frames = std::max<int>(1, mask.ImageCount);
  l.Bands = std::max<int>(1, mask.MaskType + 1);
  const TRect widths = MaskCutWidths(mask);
  const int64_t width = int64_t(mask.Rect.Right) - mask.Rect.Left;
  const int64_t height = int64_t(mask.Rect.Bottom) - mask.Rect.Top;
  l.SourceX = CutAxis(width / l.Frames, widths.Left, widths.Right);
  l.SourceY = CutAxis(height / l.Bands, widths.Top, widths.Bottom);
  l.ScaledX = ScaleCuts(l.SourceX, scalePercent);
  l.ScaledY = ScaleCuts(l.SourceY, scalePercent);
  return l;
}

TScaleFilter MaskScaleFilter(const TsMaskData& mask, const TzkBitmap& image, int scalePercent) {
  if (IsWholeScale(scalePercent)) return TScaleFilter::Nearest;
  const TsMaskScaleLayout l = MaskScaleLayout(mask, scalePercent);
  // Frames x frame width never passes Rect.Right.
  const TRect picture =
      Bounds(mask.Rect.Left, mask.Rect.Top, l.Frames * l.SourceX.Size(), l.SourceY.Size());
  return HasKeyColour(image, picture) ? TScaleFilter::Nearest : TScaleFilter::Area;
}

void DrawScaledMask(TzkBitmap& dst, TPoint at, const TsMaskData& mask, const TzkBitmap& image,
                    const TsMaskScaleLayout& l, TScaleFilter filter) {
  const TsNinePartCuts& sx = l.SourceX;
  const TsNinePartCuts& sy = l.SourceY;
  const TsNinePartCuts& dx = l.ScaledX;
  const TsNinePartCuts& dy = l.ScaledY;
  // Offsets and lengths of the three cuts of each axis, source and scaled.
  const int srcX[3][2] = {{0, sx.First}, {sx.First, sx.Middle}, {sx.First + sx.Middle, sx.Last}};
  const int srcY[3][2] = {{0, sy.First}, {sy.First, sy.Middle}, {sy.First + sy.Middle, sy.Last}};
  const int dstX[3][2] = {{0, dx.First}, {dx.First, dx.Middle}, {dx.First + dx.Middle, dx.Last}};
  const int dstY[3][2] = {{0, dy.First}, {dy.First, dy.Middle}, {dy.First + dy.Middle, dy.Last}};
  // The picture band of a MaskType 1 picture is weighed by the mask band below it.
  const bool weighed = mask.MaskType == 1 && image.BytesPerPixel() == 3;
  for (int band = 0; band < l.Bands; ++band) {
    const int srcTop = mask.Rect.Top + band * sy.Size(), dstTop = at.Y + band * dy.Size();
    const int maskRows = weighed && band == 0 ? sy.Size() : 0;
    for (int frame = 0; frame < l.Frames; ++frame) {
      const int srcLeft = mask.Rect.Left + frame * sx.Size(), dstLeft = at.X + frame * dx.Size();
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
          const TRect from =
              Bounds(srcLeft + srcX[col][0], srcTop + srcY[row][0], srcX[col][1], srcY[row][1]);
          const TRect to =
              Bounds(dstLeft + dstX[col][0], dstTop + dstY[row][0], dstX[col][1], dstY[row][1]);
          ScaleImagePart(dst, to, image, from, filter, maskRows);
        }
      }
    }
  }
}
