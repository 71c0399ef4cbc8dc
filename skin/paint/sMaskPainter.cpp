#include "skin/paint/sMaskPainter.h"

#include <algorithm>
#include <functional>

#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"

// [SECTION] Pixels and the background

namespace {

constexpr uint8_t kKeyB = 0xFF, kKeyG = 0x00, kKeyR = 0xFF;

inline bool IsMagenta(const uint8_t* p) { return p[0] == kKeyB && p[1] == kKeyG && p[2] == kKeyR; }

inline bool Matches(const uint8_t* p, TColor key) {
  return p[0] == GetBValue(key) && p[1] == GetGValue(key) && p[2] == GetRValue(key);
}

inline void PutPixel(uint8_t* d, int dn, const uint8_t* s, int sn) {
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
  if (dn == 4) d[3] = sn == 4 ? s[3] : 255;
}

// The pixel behind destination pixel (x, y): null when the background is a bitmap and the
// point lies outside it, or when nothing is known about the background (colour 0xFF00FF).
class TBackgroundSampler {
 public:
  explicit TBackgroundSampler(const TsBackgroundInfo& bg) : bg_(bg) {
    const TColor c = ColorToRGB(bg.Color);
    colour_[0] = GetBValue(c);
    colour_[1] = GetGValue(c);
    colour_[2] = GetRValue(c);
    colour_[3] = 255;
  }
  bool IsBitmap() const { return bg_.IsBitmap; }
  int BytesPerPixel() const { return bg_.HasBitmap() ? bg_.Bitmap->BytesPerPixel() : 4; }
  const uint8_t* At(int x, int y) const {
    if (!bg_.IsBitmap) return bg_.Color == clFuchsia ? nullptr : colour_;
    if (!bg_.HasBitmap()) return nullptr;
    const int bx = bg_.X + x, by = bg_.Y + y;
    if (bx < 0 || by < 0 || bx >= bg_.Bitmap->Width() || by >= bg_.Bitmap->Height()) return nullptr;
    return bg_.Bitmap->ScanLine(by) + bx * bg_.Bitmap->BytesPerPixel();
  }

 private:
  const TsBackgroundInfo& bg_;
  uint8_t colour_[4];
};

// Covers `area` with tiles of tw x th from its top-left corner, the last ones cut short, and
// calls part(destination tile, tile width, tile height) for each.
void ForEachTile(const TRect& area, int tw, int th, const std::function<void(const TRect&)>& part) {
  if (tw <= 0 || th <= 0 || area.IsEmpty()) return;
  for (int y = area.Top; y < area.Bottom; y += th)
    for (int x = area.Left; x < area.Right; x += tw)
      part(TRect(x, y, std::min(x + tw, area.Right), std::min(y + th, area.Bottom)));
}

}  // namespace

const TzkBitmap* MaskSourceImage(const TsMaskData& mask) {
  if (mask.Image) return mask.Image.get();
  return mask.Manager ? &mask.Manager->MasterBitmap : nullptr;
}

int ClampState(const TsMaskData& mask, int state) {
  return std::max(0, state < mask.ImageCount ? state : mask.ImageCount - 1);
}

// [SECTION] Part painters

void PaintMaskPartAlpha(const TRect& dstRect, const TRect& srcRect, TzkBitmap& dst,
                        const TsMaskData& mask, bool fillFromBackground,
                        const TsBackgroundInfo& bg, const TzkBitmap& image) {
  const int maskOffset = mask.Rect.Height() / 2;
  int w = std::min(dstRect.Width(), srcRect.Width());
  int h = std::min(dstRect.Height(), srcRect.Height());
  int dx = dstRect.Left, dy = dstRect.Top, sx = srcRect.Left, sy = srcRect.Top;
  // Cut to the destination, the picture and the mask rows below it.
  const int skipX = std::max({0, -dx, -sx}), skipY = std::max({0, -dy, -sy});
  dx += skipX, sx += skipX, w -= skipX;
  dy += skipY, sy += skipY, h -= skipY;
  w = std::min({w, dst.Width() - dx, image.Width() - sx});
  h = std::min({h, dst.Height() - dy, image.Height() - maskOffset - sy});
  if (w <= 0 || h <= 0) return;
  const TBackgroundSampler back(bg);
  const int dn = dst.BytesPerPixel(), sn = image.BytesPerPixel();
  const bool opaqueAlpha = dn == 4 && fillFromBackground && back.IsBitmap() && back.BytesPerPixel() == 4;
  for (int row = 0; row < h; ++row) {
    uint8_t* d = dst.ScanLine(dy + row) + dx * dn;
    const uint8_t* s = image.ScanLine(sy + row) + sx * sn;
    const uint8_t* m = image.ScanLine(sy + row + maskOffset) + sx * sn;
    for (int col = 0; col < w; ++col, d += dn, s += sn, m += sn) {
      if (IsMagenta(s)) {
        if (!fillFromBackground) continue;
        const uint8_t* b = back.At(dx + col, dy + row);
        if (!b) continue;
        d[0] = b[0], d[1] = b[1], d[2] = b[2];
      } else {
        for (int c = 0; c < 3; ++c) d[c] = uint8_t(((d[c] - s[c]) * m[c] + (s[c] << 8)) >> 8);
      }
      if (opaqueAlpha) d[3] = 255;
    }
  }
}

void PaintMaskPartKeyed(TzkBitmap& dst, const TzkBitmap& image, int dx, bool fillFromBackground,
                        const TsBackgroundInfo& bg, TColor key, const TRect& srcRectInclusive,
                        int dy) {
  TRect s(srcRectInclusive.Left, srcRectInclusive.Top, srcRectInclusive.Right + 1,
          srcRectInclusive.Bottom + 1);
  const int skipX = std::max({0, -dx, -s.Left}), skipY = std::max({0, -dy, -s.Top});
  dx += skipX, s.Left += skipX;
  dy += skipY, s.Top += skipY;
  const int w = std::min({s.Width(), dst.Width() - dx, image.Width() - s.Left});
  const int h = std::min({s.Height(), dst.Height() - dy, image.Height() - s.Top});
  if (w <= 0 || h <= 0) return;
  const bool keyed = KeyInForce(key);
  const TBackgroundSampler back(bg);
  const int dn = dst.BytesPerPixel(), sn = image.BytesPerPixel(), bn = back.BytesPerPixel();
  for (int row = 0; row < h; ++row) {
    uint8_t* d = dst.ScanLine(dy + row) + dx * dn;
    const uint8_t* p = image.ScanLine(s.Top + row) + s.Left * sn;
    for (int col = 0; col < w; ++col, d += dn, p += sn) {
      if (!keyed || !Matches(p, key)) {
        PutPixel(d, dn, p, sn);
      } else if (fillFromBackground) {
        if (const uint8_t* b = back.At(dx + col, dy + row)) PutPixel(d, dn, b, bn);
      }
    }
  }
}

// [SECTION] Nine-part painter

namespace {

// The geometry of one nine-part paint, in source and target coordinates.
struct TNinePart {
  int wl, wt, wr, wb;  // border widths after shrinking to the target
  int fw, fh;          // frame size
  int cw, ch;          // size of a side or centre tile in the source
  int sx, sy;          // the frame's top-left in the source
  TRect t;             // the target
};

// Borders wider than the target lose the excess evenly; an odd target takes the extra pixel
// from the right (bottom) border.
void ShrinkBorders(int size, int& first, int& second) {
  if (size < first + second) {
    const int d = (first + second - size) / 2;
    first -= d;
    second -= d;
    if (size % 2 != 0) second -= 1;
  }
  first = std::max(first, 0);
  second = std::max(second, 0);
}

// The nine parts as (destination area, source tile) pairs, in painting order:
// top-left, left, top, bottom-left, bottom, bottom-right, top-right, right, centre.
struct TPart {
  TRect area;      // in the target
  TRect tile;      // in the source
  bool corner;
};

std::vector<TPart> NineParts(const TNinePart& g) {
  const TRect& t = g.t;
  const int sRight = g.sx + g.wl + g.cw, sBottom = g.sy + g.fh - g.wb;
  return {
      {TRect(t.Left, t.Top, t.Left + g.wl, t.Top + g.wt), Bounds(g.sx, g.sy, g.wl, g.wt), true},
      {TRect(t.Left, t.Top + g.wt, t.Left + g.wl, t.Bottom - g.wb), Bounds(g.sx, g.sy + g.wt, g.wl, g.ch), false},
      {TRect(t.Left + g.wl, t.Top, t.Right - g.wr, t.Top + g.wt), Bounds(g.sx + g.wl, g.sy, g.cw, g.wt), false},
      {TRect(t.Left, t.Bottom - g.wb, t.Left + g.wl, t.Bottom), Bounds(g.sx, sBottom, g.wl, g.wb), true},
      {TRect(t.Left + g.wl, t.Bottom - g.wb, t.Right - g.wr, t.Bottom), Bounds(g.sx + g.wl, sBottom, g.cw, g.wb), false},
      {TRect(t.Right - g.wr, t.Bottom - g.wb, t.Right, t.Bottom), Bounds(sRight, sBottom, g.wr, g.wb), true},
      {TRect(t.Right - g.wr, t.Top, t.Right, t.Top + g.wt), Bounds(sRight, g.sy, g.wr, g.wt), true},
      {TRect(t.Right - g.wr, t.Top + g.wt, t.Right, t.Bottom - g.wb), Bounds(sRight, g.sy + g.wt, g.wr, g.ch), false},
      {TRect(t.Left + g.wl, t.Top + g.wt, t.Right - g.wr, t.Bottom - g.wb), Bounds(g.sx + g.wl, g.sy + g.wt, g.cw, g.ch), false},
  };
}

}  // namespace

void PaintBorderMask(TzkBitmap& dst, const TRect& target, bool paintCentre, bool fillCorners,
                     int state, const TsMaskData& mask, const TsBackgroundInfo& bg) {
  if (state == 0 && (mask.StretchMode & kHiddenInNormal)) return;
  if (target.Width() < 2 || target.Height() < 2 || !mask.Manager) return;
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image || mask.ImageCount <= 0) return;
  TNinePart g;
  g.t = target;
  g.wl = mask.WL, g.wt = mask.WT, g.wr = mask.WR, g.wb = mask.WB;
  ShrinkBorders(target.Width(), g.wl, g.wr);
  ShrinkBorders(target.Height(), g.wt, g.wb);
  g.fw = FrameWidth(mask);
  g.fh = FrameHeight(mask);
  g.cw = std::max(0, g.fw - g.wl - g.wr);
  g.ch = std::max(0, g.fh - g.wt - g.wb);
  g.sx = mask.Rect.Left + g.fw * ClampState(mask, state);
  g.sy = mask.Rect.Top;
  const bool centre = paintCentre && (mask.StretchMode & kCentreInMask);
  const std::vector<TPart> parts = NineParts(g);
  const size_t count = centre ? 9 : 8;

  if (mask.MaskType != 0) {
    // Alpha masks: every part through the alpha rule, sides and centre always tiled.
    for (size_t i = 0; i < count; ++i) {
      const TPart& p = parts[i];
      if (p.corner) {
        PaintMaskPartAlpha(p.area, p.tile, dst, mask, fillCorners, bg, *image);
        continue;
      }
      ForEachTile(p.area, p.tile.Width(), p.tile.Height(), [&](const TRect& a) {
        PaintMaskPartAlpha(a, p.tile, dst, mask, false, bg, *image);
      });
    }
    return;
  }
  // Key-colour masks: transparent corners; sides and centre copied opaque, key included.
  const bool stretch = mask.StretchMode & kStretchSides;
  for (size_t i = 0; i < count; ++i) {
    const TPart& p = parts[i];
    if (p.corner) {
      if (p.tile.IsEmpty()) continue;
      PaintMaskPartKeyed(dst, *image, p.area.Left, fillCorners, bg, clFuchsia,
                         TRect(p.tile.Left, p.tile.Top, p.tile.Right - 1, p.tile.Bottom - 1),
                         p.area.Top);
    } else if (stretch) {
      StretchCopy(dst, p.area, *image, p.tile);
    } else {
      TileRect(dst, p.area, *image, p.tile);
    }
  }
}

// [SECTION] Glyphs and whole images

void PaintGlyphMask(TzkBitmap& dst, TPoint at, int state, const TsBackgroundInfo& bg,
                    const TsMaskData& mask, bool opaque) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image || mask.ImageCount <= 0) return;
  TRect frame = FrameRect(mask, ClampState(mask, state));
  if (at.X < 0) frame.Left -= at.X, at.X = 0;
  if (at.Y < 0) frame.Top -= at.Y, at.Y = 0;
  if (frame.IsEmpty()) return;
  const bool fill = bg.IsKnown();
  const bool ownFits = mask.Image && mask.Image->Width() >= mask.Rect.Right &&
                       mask.Image->Height() >= mask.Rect.Bottom;
  if (ownFits || mask.MaskType > 0) {
    PaintMaskPartAlpha(Bounds(at.X, at.Y, frame.Width(), frame.Height()), frame, dst, mask, fill,
                       bg, *image);
  } else if (opaque) {
    PaintMaskPartKeyed(dst, *image, at.X, fill, bg, clFuchsia,
                       TRect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1), at.Y);
  } else {
    BlendBitmapAt(dst, at.X, at.Y, clFuchsia, 0.5,
                  TRect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1), *image);
  }
}

void CopyImageExceptKey(TzkBitmap& dst, const TzkBitmap& src, int x, int y, TColor key) {
  if (src.Empty()) return;
  PaintMaskPartKeyed(dst, src, x, false, TsBackgroundInfo(), key,
                     TRect(0, 0, src.Width() - 1, src.Height() - 1), y);
  if (dst.BytesPerPixel() != 4) return;
  // Key pixels were skipped; every copied pixel is opaque.
  const TRect r = IntersectRect(Bounds(x, y, src.Width(), src.Height()), TRect(0, 0, dst.Width(), dst.Height()));
  const int sn = src.BytesPerPixel();
  for (int row = r.Top; row < r.Bottom; ++row) {
    const uint8_t* s = src.ScanLine(row - y) + (r.Left - x) * sn;
    uint8_t* d = dst.ScanLine(row) + r.Left * 4;
    for (int col = r.Left; col < r.Right; ++col, s += sn, d += 4)
      if (!KeyInForce(key) || !Matches(s, key)) d[3] = 255;
  }
}

void RestoreKeyPixels(TzkBitmap& dst, const TzkBitmap& src, const TRect& dstRect, int kind,
                      const TsSkinTables* manager, int maskIndex, const TRect& srcRect) {
  const TsMaskData* mask =
      manager && manager->IsValidMask(maskIndex) ? &manager->Masks[size_t(maskIndex)] : nullptr;
  const TzkBitmap* image = mask ? MaskSourceImage(*mask) : nullptr;
  TPoint origin;
  if (mask) {
    origin = mask->Rect.TopLeft();
    if (kind == 14 || kind == 17) origin.X += FrameWidth(*mask) - mask->WR;
    if (kind == 16 || kind == 17) origin.Y += FrameHeight(*mask) - mask->WB;
  }
  const TRect area = IntersectRect(dstRect, TRect(0, 0, dst.Width(), dst.Height()));
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x) {
      const int ox = x - dstRect.Left, oy = y - dstRect.Top;
      const uint8_t* probe;
      if (image) {
        const int mx = origin.X + ox, my = origin.Y + oy;
        if (mx < 0 || my < 0 || mx >= image->Width() || my >= image->Height()) continue;
        probe = image->ScanLine(my) + mx * image->BytesPerPixel();
      } else {
        probe = dst.ScanLine(y) + x * dn;
      }
      if (!IsMagenta(probe)) continue;
      const int sx = srcRect.Left + ox, sy = srcRect.Top + oy;
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      PutPixel(dst.ScanLine(y) + x * dn, dn, src.ScanLine(sy) + sx * sn, sn);
    }
  }
}

// [SECTION] Window regions

namespace {

// Appends the key runs of columns [from, to) of one source row, shifted by dx, on row y.
void AppendRuns(std::vector<TRect>& runs, const uint8_t* row, int bpp, int from, int to, int dx,
                int y) {
  int start = -1;
  for (int c = from; c <= to; ++c) {
    const bool key = c < to && IsMagenta(row + c * bpp);
    if (key && start < 0) start = c;
    if (!key && start >= 0) {
      runs.push_back(TRect(start + dx, y, c + dx, y + 1));
      start = -1;
    }
  }
}

}  // namespace

namespace {

void FillKeyPixels(TzkBitmap& dst, const TRect& corner, TPoint from, const TzkBitmap& image,
                   const TsBackgroundInfo& bg) {
  const int n = image.BytesPerPixel(), dn = dst.BytesPerPixel();
  for (int y = corner.Top; y < corner.Bottom; ++y) {
    const int sy = from.Y + y - corner.Top;
    if (sy < 0 || sy >= image.Height()) continue;
    const uint8_t* srow = image.ScanLine(sy);
    uint8_t* row = dst.ScanLine(y);
    for (int x = corner.Left; x < corner.Right; ++x) {
      const int sx = from.X + x - corner.Left;
      if (sx < 0 || sx >= image.Width() || !IsMagenta(srow + sx * n)) continue;
      TColor color = bg.Color;
      if (bg.HasBitmap()) {
        const int bx = bg.X + x, by = bg.Y + y;
        if (bx < 0 || by < 0 || bx >= bg.Bitmap->Width() || by >= bg.Bitmap->Height()) continue;
        const uint8_t* p = bg.Bitmap->ScanLine(by) + bx * bg.Bitmap->BytesPerPixel();
        color = RGBColor(p[2], p[1], p[0]);
      }
      row[x * dn] = GetBValue(color);
      row[x * dn + 1] = GetGValue(color);
      row[x * dn + 2] = GetRValue(color);
    }
  }
}

}  // namespace

void FillKeyCornersFromBackground(TzkBitmap& dst, const TsMaskData& mask, int state,
                                  const TsBackgroundInfo& bg) {
  const int w = dst.Width(), h = dst.Height();
  const TzkBitmap* image = MaskSourceImage(mask);
  if (w < 2 || h < 2 || !image || mask.ImageCount <= 0) return;
  const int fw = mask.Rect.Width() / mask.ImageCount;
  const int fh = mask.Rect.Height() / (mask.MaskType + 1);
  const int fx = mask.Rect.Left + fw * ClampState(mask, state);
  const int fy = mask.Rect.Top;
  const int wl = std::min<int>(mask.WL, w / 2), wr = std::min<int>(mask.WR, w / 2);
  const int wt = std::min<int>(mask.WT, h / 2), wb = std::min<int>(mask.WB, h / 2);
  FillKeyPixels(dst, TRect(0, 0, wl, wt), TPoint(fx, fy), *image, bg);
  FillKeyPixels(dst, TRect(0, h - wb, wl, h), TPoint(fx, fy + fh - wb), *image, bg);
  FillKeyPixels(dst, TRect(w - wr, h - wb, w, h), TPoint(fx + fw - wr, fy + fh - wb), *image, bg);
  FillKeyPixels(dst, TRect(w - wr, 0, w, wt), TPoint(fx + fw - wr, fy), *image, bg);
}

void CollectKeyRuns(std::vector<TRect>& runs, int windowWidth, const TsMaskData& mask,
                    bool bottom, int yOffset) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image || mask.ImageCount <= 0) return;
  const int fw = FrameWidth(mask), fh = FrameHeight(mask);
  const int rows = bottom ? mask.WB : mask.WT;
  const int firstRow = mask.Rect.Top + (bottom ? fh - mask.WB : 0);
  const int left = mask.Rect.Left;
  if (left < 0 || left + fw > image->Width()) return;
  const int bpp = image->BytesPerPixel();
  for (int r = 0; r < rows; ++r) {
    const int y = firstRow + r;
    if (y < 0 || y >= image->Height()) return;
    const uint8_t* row = image->ScanLine(y) + left * bpp;
    AppendRuns(runs, row, bpp, 0, std::min<int>(mask.WL, fw), 0, yOffset + r);
    AppendRuns(runs, row, bpp, std::max(0, fw - mask.WR), fw, windowWidth - fw, yOffset + r);
  }
}

void CopyMaskCutRegion(TzkBitmap& dst, std::vector<TRect>* cutRuns, const TsMaskData& mask,
                       const TRect& srcRect, TPoint at) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image) return;
  const TRect dstRect = Bounds(at.X, at.Y, srcRect.Width(), srcRect.Height());
  if (mask.MaskType == 1)
    PaintMaskPartAlpha(dstRect, srcRect, dst, mask, false, TsBackgroundInfo(), *image);
  else
    CopyRect(dst, at.X, at.Y, *image, srcRect);
  if (!cutRuns) return;
  const TRect s = IntersectRect(srcRect, TRect(0, 0, image->Width(), image->Height()));
  const int bpp = image->BytesPerPixel();
  for (int y = s.Top; y < s.Bottom; ++y)
    AppendRuns(*cutRuns, image->ScanLine(y) + s.Left * bpp, bpp, 0, s.Width(),
               at.X + s.Left - srcRect.Left, at.Y + y - srcRect.Top);
}
