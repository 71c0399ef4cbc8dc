#include "skin/paint/zkBlit.h"

#include <algorithm>
#include <cstring>

namespace {

inline void CopyPixel(uint8_t* d, int dn, const uint8_t* s, int sn) {
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
  if (dn == 4) d[3] = sn == 4 ? s[3] : 255;
}

void CopyRun(uint8_t* d, int dn, const uint8_t* s, int sn, int count) {
  if (dn == sn) {
    std::memmove(d, s, size_t(count) * size_t(dn));
    return;
  }
  for (int i = 0; i < count; ++i, d += dn, s += sn) CopyPixel(d, dn, s, sn);
}

}  // namespace

void CopyRect(TzkBitmap& dst, int x, int y, const TzkBitmap& src, const TRect& srcRect) {
  TRect s = IntersectRect(srcRect, TRect(0, 0, src.Width(), src.Height()));
  x += s.Left - srcRect.Left;
  y += s.Top - srcRect.Top;
  if (x < 0) s.Left -= x, x = 0;
  if (y < 0) s.Top -= y, y = 0;
  const int w = std::min(s.Width(), dst.Width() - x), h = std::min(s.Height(), dst.Height() - y);
  if (w <= 0 || h <= 0) return;
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  // Rows are walked away from the overlap when a bitmap is copied onto itself.
  const bool upwards = &dst == &src && y > s.Top;
  for (int i = 0; i < h; ++i) {
    const int r = upwards ? h - 1 - i : i;
    CopyRun(dst.ScanLine(y + r) + x * dn, dn, src.ScanLine(s.Top + r) + s.Left * sn, sn, w);
  }
}

void StretchCopy(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect) {
  StretchCopy(dst, dstRect, src, srcRect, dstRect);
}

void StretchCopy(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect,
                 const TRect& clipRect) {
  const int dw = dstRect.Width(), dh = dstRect.Height();
  const int sw = srcRect.Width(), sh = srcRect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  const TRect clip =
      IntersectRect(IntersectRect(dstRect, clipRect), TRect(0, 0, dst.Width(), dst.Height()));
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy = srcRect.Top + int(int64_t(y - dstRect.Top) * sh / dh);
    if (sy < 0 || sy >= src.Height()) continue;
    const uint8_t* srow = src.ScanLine(sy);
    uint8_t* d = dst.ScanLine(y) + clip.Left * dn;
    for (int x = clip.Left; x < clip.Right; ++x, d += dn) {
      const int sx = srcRect.Left + int(int64_t(x - dstRect.Left) * sw / dw);
      if (sx >= 0 && sx < src.Width()) CopyPixel(d, dn, srow + sx * sn, sn);
    }
  }
}

void TileRect(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect) {
  TileRect(dst, dstRect, src, srcRect, dstRect);
}

void TileRect(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src, const TRect& srcRect,
              const TRect& clipRect) {
  const int tw = srcRect.Width(), th = srcRect.Height();
  if (tw <= 0 || th <= 0) return;
  const TRect area =
      IntersectRect(IntersectRect(dstRect, clipRect), TRect(0, 0, dst.Width(), dst.Height()));
  if (area.IsEmpty()) return;
  for (int y = dstRect.Top; y < area.Bottom; y += th) {
    if (y + th <= area.Top) continue;
    for (int x = dstRect.Left; x < area.Right; x += tw) {
      if (x + tw <= area.Left) continue;
      // The part of this tile inside the area, and where it comes from in the source.
      const TRect piece = IntersectRect(TRect(x, y, x + tw, y + th), area);
      CopyRect(dst, piece.Left, piece.Top, src,
               Bounds(srcRect.Left + piece.Left - x, srcRect.Top + piece.Top - y, piece.Width(),
                      piece.Height()));
    }
  }
}

void FillSolid(TzkBitmap& dst, const TRect& rect, TColor color) {
  const TRect r = IntersectRect(rect, TRect(0, 0, dst.Width(), dst.Height()));
  if (r.IsEmpty()) return;
  const TColor rgb = ColorToRGB(color);
  const uint8_t px[4] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), 255};
  const int n = dst.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* d = dst.ScanLine(y) + r.Left * n;
    std::memcpy(d, px, size_t(n));
    // Double the written run until the row is full.
    size_t done = size_t(n);
    const size_t total = size_t(r.Width()) * size_t(n);
    while (done < total) {
      const size_t chunk = std::min(done, total - done);
      std::memcpy(d + done, d, chunk);
      done += chunk;
    }
  }
}
