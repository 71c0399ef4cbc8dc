#include "skin/paint/zkBlend.h"

#include <algorithm>
#include <cmath>

#include "skin/paint/zkFastBitmap.h"

namespace {

// <v> as a byte: nearest integer, halves to even (the default rounding mode).
inline uint8_t RoundByte(double v) {
  return uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// Colour channels in stored byte order (B, G, R).
struct TChannels {
  uint8_t c[3];
};
TChannels RawChannels(TColor color) {
  return {{GetBValue(color), GetGValue(color), GetRValue(color)}};
}
TChannels ChannelsOf(TColor color) { return RawChannels(ColorToRGB(color)); }

inline bool MatchesKey(const uint8_t* p, const TChannels& key) {
  return p[0] == key.c[0] && p[1] == key.c[1] && p[2] == key.c[2];
}

// One 256-entry table per channel: the rounding is done once per value, not per pixel.
struct TChannelTables {
  uint8_t t[3][256];
  void Apply(uint8_t* p) const {
    p[0] = t[0][p[0]];
    p[1] = t[1][p[1]];
    p[2] = t[2][p[2]];
  }
};

}  // namespace

uint32_t ToPixel32(TColor color) {
  return 0xFF000000u | uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 |
         uint32_t(GetBValue(color));
}

void FillOpaque32(TzkBitmap& bitmap, const TRect& rect, TColor color) {
  TzkFast32 fast;
  if (fast.Bind(&bitmap)) fast.FillRect32(rect, ToPixel32(color));
}

void TintRect(TzkBitmap& bitmap, const TRect& inclusiveRect, uint8_t percent, TColor color) {
  if (bitmap.Empty()) return;
  const int left = std::max(inclusiveRect.Left, 0), top = std::max(inclusiveRect.Top, 0);
  const int right = std::min(inclusiveRect.Right, bitmap.Width() - 1);
  const int bottom = std::min(inclusiveRect.Bottom, bitmap.Height() - 1);
  if (right < left || bottom < top) return;
  const double f = percent / 100.0;
  const TChannels k = ChannelsOf(color);
  TChannelTables tables;
  for (int c = 0; c < 3; ++c)
    for (int p = 0; p < 256; ++p) tables.t[c][p] = RoundByte(p * f + k.c[c] * (1 - f));
  const int n = bitmap.BytesPerPixel();
  for (int y = top; y <= bottom; ++y) {
    uint8_t* p = bitmap.ScanLine(y) + left * n;
    for (int x = left; x <= right; ++x, p += n) tables.Apply(p);
  }
}

namespace {

void GrayscaleRows(TzkBitmap& bitmap, const TChannels* key) {
  const int n = bitmap.BytesPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += n) {
      if (key && MatchesKey(p, *key)) continue;
      const uint8_t g = uint8_t((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = g;
    }
  }
}

}  // namespace

void Grayscale(TzkBitmap& bitmap) { GrayscaleRows(bitmap, nullptr); }

void GrayscaleExceptKey(TzkBitmap& bitmap, TColor key) {
  const TChannels k = RawChannels(key);
  GrayscaleRows(bitmap, KeyInForce(key) ? &k : nullptr);
}

void BlendBitmapAt(TzkBitmap& dst, int x, int y, TColor key, double factor,
                   const TRect& srcRect, const TzkBitmap& src) {
  if (dst.Empty() || src.Empty()) return;
  TRect r = srcRect;
  if (r.Left < 0) {
    x -= r.Left;
    r.Left = 0;
  }
  if (r.Top < 0) {
    y -= r.Top;
    r.Top = 0;
  }
  r.Right = std::min(r.Right, src.Width() - 1);
  r.Bottom = std::min(r.Bottom, src.Height() - 1);
  const int sn = src.BytesPerPixel(), dn = dst.BytesPerPixel();
  const bool keyed = KeyInForce(key);
  const uint32_t key32 = uint32_t(key);
  const TChannels key24 = RawChannels(key);
  // Only the destination pixels inside the destination bitmap are visited.
  const int sx0 = std::max(r.Left, r.Left - x), sx1 = std::min(r.Right, r.Left + dst.Width() - 1 - x);
  const int sy0 = std::max(r.Top, r.Top - y), sy1 = std::min(r.Bottom, r.Top + dst.Height() - 1 - y);
  for (int sy = sy0; sy <= sy1; ++sy) {
    const uint8_t* s = src.ScanLine(sy) + sx0 * sn;
    uint8_t* d = dst.ScanLine(y + sy - r.Top) + (x + sx0 - r.Left) * dn;
    for (int sx = sx0; sx <= sx1; ++sx, s += sn, d += dn) {
      if (keyed) {
        const bool isKey =
            sn == 4 ? (uint32_t(s[2]) | uint32_t(s[1]) << 8 | uint32_t(s[0]) << 16 |
                       uint32_t(s[3]) << 24) == key32
                    : MatchesKey(s, key24);
        if (isKey) continue;
      }
      for (int c = 0; c < 3; ++c) d[c] = RoundByte(s[c] - factor * (s[c] - d[c]));
    }
  }
}

void TintExceptKey(TzkBitmap& bitmap, TColor color, TColor key, double factor) {
  const TChannels k = ChannelsOf(color);
  const TChannels keyBytes = RawChannels(key);
  const bool keyed = KeyInForce(key);
  TChannelTables tables;
  for (int c = 0; c < 3; ++c)
    for (int p = 0; p < 256; ++p) tables.t[c][p] = RoundByte(k.c[c] + factor * (p - k.c[c]));
  const int n = bitmap.BytesPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += n)
      if (!keyed || !MatchesKey(p, keyBytes)) tables.Apply(p);
  }
}

void ColouriseByMask(TzkBitmap& dst, const TzkBitmap& mask, TColor color) {
  if (dst.Width() != mask.Width() || dst.Height() != mask.Height() || dst.Empty()) return;
  if (dst.PixelFormat() != TPixelFormat::pf24bit || mask.PixelFormat() != TPixelFormat::pf24bit)
    return;
  const TChannels k = ChannelsOf(color);
  for (int y = 0; y < dst.Height(); ++y) {
    uint8_t* __restrict d = dst.ScanLine(y);
    const uint8_t* __restrict m = mask.ScanLine(y);
    for (int x = 0; x < dst.Width(); ++x, d += 3, m += 3)
      for (int c = 0; c < 3; ++c) d[c] = uint8_t(((d[c] - k.c[c]) * m[c] + (k.c[c] << 8)) >> 8);
  }
}

void FadeWhole(TzkBitmap& dst, const TzkBitmap& src, uint8_t weight) {
  if (dst.PixelFormat() != TPixelFormat::pf24bit || src.PixelFormat() != TPixelFormat::pf24bit)
    return;
  if (dst.Width() != src.Width() || dst.Height() != src.Height()) return;
  TzkFastSum24 sum;
  if (!sum.BindPair(&src, &dst)) return;
  sum.Weight = weight;
  sum.DstRect = sum.SrcRect = TRect(0, 0, dst.Width(), dst.Height());
  sum.BlendBytes();
}

namespace {

template <typename TSum>
void BlendWith(TzkBitmap& dst, const TzkBitmap& src, uint8_t weight, const TRect& srcRect,
               TPoint at) {
  TSum sum;
  if (!sum.BindPair(&src, &dst)) return;
  sum.Weight = weight;
  sum.DstRect = Bounds(at.X, at.Y, srcRect.Width(), srcRect.Height());
  sum.SrcRect = srcRect;
  sum.BlendBytes();
}

}  // namespace

void BlendRectAt(TzkBitmap& dst, const TzkBitmap& src, uint8_t weight, TRect srcRect, TPoint dstPoint) {
  auto clipNegativePoint = [&] {
    if (dstPoint.X < 0) {
      srcRect.Left -= dstPoint.X;
      dstPoint.X = 0;
    }
    if (dstPoint.Y < 0) {
      srcRect.Top -= dstPoint.Y;
      dstPoint.Y = 0;
    }
  };
  clipNegativePoint();
  if (srcRect.Left < 0) {
    dstPoint.X -= srcRect.Left;
    srcRect.Left = 0;
    clipNegativePoint();
  }
  if (srcRect.Top < 0) {
    dstPoint.Y -= srcRect.Top;
    srcRect.Top = 0;
    clipNegativePoint();
  }
  if (srcRect.IsEmpty() || dstPoint.X >= dst.Width() || dstPoint.Y >= dst.Height() ||
      srcRect.Left >= src.Width() || srcRect.Top >= src.Height())
    return;
  srcRect.Right = std::min(srcRect.Right, src.Width());
  srcRect.Bottom = std::min(srcRect.Bottom, src.Height());
  if (dstPoint.X + srcRect.Width() > dst.Width())
    srcRect.Right = dst.Width() - dstPoint.X + srcRect.Left;
  if (dstPoint.Y + srcRect.Height() > dst.Height())
    srcRect.Bottom = dst.Height() - dstPoint.Y + srcRect.Top;
  if (srcRect.IsEmpty()) return;
  const TPixelFormat df = dst.PixelFormat(), sf = src.PixelFormat();
  if (df != sf) return;
  if (df == TPixelFormat::pf32bit)
    BlendWith<TzkFastSum32>(dst, src, weight, srcRect, dstPoint);
  else
    BlendWith<TzkFastSum24>(dst, src, weight, srcRect, dstPoint);
}

TColor MixByTransparency(TColor parent, TColor own, int t) {
  const auto channel = [t](int pc, int kc) {
    return uint8_t(std::clamp((t * (pc - kc) + 256 * kc) >> 8, 0, 255));
  };
  return RGBColor(channel(GetRValue(parent), GetRValue(own)), channel(GetGValue(parent), GetGValue(own)),
                  channel(GetBValue(parent), GetBValue(own)));
}

TColor LerpColor(TColor a, TColor b, double f) {
  auto mix = [f](unsigned ca, unsigned cb) { return uint32_t(RoundByte(f * ca + (1 - f) * cb)); };
  const uint32_t ua = uint32_t(a), ub = uint32_t(b);
  uint32_t r = ua & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8)
    r |= mix((ua >> shift) & 0xFF, (ub >> shift) & 0xFF) << shift;
  return TColor(r);
}

// Clamped before the product, which overflows for percentages above 8,421,504; every
// weight comes out as clamp(percent * 255 div 100, 0, 255) would without overflow.
uint8_t PercentToWeight(int percent) { return uint8_t(std::clamp(percent, 0, 100) * 255 / 100); }

void CopyPremultiplied(TzkBitmap& dst, const TzkBitmap& straight, const TRect& part) {
  if (dst.BytesPerPixel() != 4 || straight.BytesPerPixel() != 4) return;
  const TRect src = IntersectRect(part, TRect(0, 0, straight.Width(), straight.Height()));
  const int w = std::min(src.Width(), dst.Width() - (src.Left - part.Left));
  const int h = std::min(src.Height(), dst.Height() - (src.Top - part.Top));
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = straight.ScanLine(src.Top + y) + src.Left * 4;
    uint8_t* d = dst.ScanLine(src.Top - part.Top + y) + (src.Left - part.Left) * 4;
    for (int x = 0; x < w; ++x, s += 4, d += 4) {
      for (int c = 0; c < 3; ++c) d[c] = uint8_t((s[c] * s[3] + 127) / 255);
      d[3] = s[3];
    }
  }
}
