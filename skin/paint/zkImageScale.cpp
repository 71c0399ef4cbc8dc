#include "skin/paint/zkImageScale.h"

#include <algorithm>
#include <climits>
#include <vector>

// [SECTION] Lengths

int ClampScalePercent(int scalePercent) {
  return std::clamp(scalePercent, kMinScalePercent, kMaxScalePercent);
}

bool IsWholeScale(int scalePercent) { return ClampScalePercent(scalePercent) % 100 == 0; }

int ScaleLength(int value, int scalePercent) {
  const int64_t magnitude = value < 0 ? -int64_t(value) : int64_t(value);
  const int64_t scaled = magnitude * ClampScalePercent(scalePercent) / 100;
  const int64_t held = std::min<int64_t>(scaled, INT_MAX);
  return int(value < 0 ? -held : held);
}

// [SECTION] Sampling along one axis

namespace {

// Output pixel i of a part of D pixels made from N source pixels starting at `first`: the
// source pixels its span covers, each with the covered length in units of 1/D of a source
// pixel. Source pixels outside 0..limit-1 are left out.
struct TAxisTaps {
  std::vector<int> Start;  // output pixel i has taps Start[i] .. Start[i + 1] - 1
  std::vector<int> Source;
  std::vector<uint32_t> Weight;
};

TAxisTaps AreaTaps(int first, int n, int d, int limit) {
  TAxisTaps taps;
  taps.Start.reserve(size_t(d) + 1);
  taps.Start.push_back(0);
  for (int64_t i = 0; i < d; ++i) {
    const int64_t from = i * n, to = from + n;
    for (int64_t s = from / d; s <= (to - 1) / d; ++s) {
      const int64_t covered = std::min(to, (s + 1) * d) - std::max(from, s * d);
      const int64_t x = first + s;
      if (covered <= 0 || x < 0 || x >= limit) continue;
      taps.Source.push_back(int(x));
      taps.Weight.push_back(uint32_t(covered));
    }
    taps.Start.push_back(int(taps.Source.size()));
  }
  return taps;
}

// The source pixel under the centre of every output pixel; -1 outside 0..limit-1.
std::vector<int> NearestMap(int first, int n, int d, int limit) {
  std::vector<int> map(static_cast<size_t>(d));
  for (int64_t i = 0; i < d; ++i) {
    const int64_t x = first + (2 * i + 1) * n / (2 * int64_t(d));
    map[size_t(i)] = x >= 0 && x < limit ? int(x) : -1;
  }
  return map;
}

inline void PutColour(uint8_t* d, int dn, const uint8_t* bgr, uint8_t alpha) {
  d[0] = bgr[0];
  d[1] = bgr[1];
  d[2] = bgr[2];
  if (dn == 4) d[3] = alpha;
}

// [SECTION] Filters

void ScaleNearest(TzkBitmap& dst, const TRect& clip, const TRect& dstRect, const TzkBitmap& src,
                  const TRect& srcRect) {
  const std::vector<int> xs =
      NearestMap(srcRect.Left, srcRect.Width(), dstRect.Width(), src.Width());
  const std::vector<int> ys =
      NearestMap(srcRect.Top, srcRect.Height(), dstRect.Height(), src.Height());
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy = ys[size_t(y - dstRect.Top)];
    if (sy < 0) continue;
    const uint8_t* row = src.ScanLine(sy);
    uint8_t* d = dst.ScanLine(y) + clip.Left * dn;
    for (int x = clip.Left; x < clip.Right; ++x, d += dn) {
      const int sx = xs[size_t(x - dstRect.Left)];
      if (sx < 0) continue;
      const uint8_t* s = row + sx * sn;
      PutColour(d, dn, s, sn == 4 ? s[3] : 255);
    }
  }
}

// Weighted sums over the source pixels of one output pixel.
struct TAreaSums {
  uint64_t Area = 0;        // covered area
  uint64_t Plain[3] = {};   // area * value
  uint64_t Opaque[3] = {};  // area * opacity
  uint64_t Colour[3] = {};  // area * opacity * value
  uint64_t Alpha = 0;       // area * alpha (32-bit sources)

  void Add(uint64_t w, const uint8_t* p, int sn, const uint8_t* mask) {
    Area += w;
    if (sn == 4) Alpha += w * p[3];
    for (int c = 0; c < 3; ++c) {
      const uint64_t opacity = sn == 4 ? p[3] : mask ? 255u - mask[c] : 255u;
      Plain[c] += w * p[c];
      Opaque[c] += w * opacity;
      Colour[c] += w * opacity * p[c];
    }
  }

  // The mean colour, premultiplied where anything is opaque, moved off the key colour.
  void Mean(uint8_t* bgr, uint8_t& alpha) const {
    for (int c = 0; c < 3; ++c)
      bgr[c] = Opaque[c] > 0 ? uint8_t((Colour[c] + Opaque[c] / 2) / Opaque[c])
                             : uint8_t((Plain[c] + Area / 2) / Area);
    if (bgr[0] == 0xFF && bgr[1] == 0x00 && bgr[2] == 0xFF) bgr[1] = 1;
    alpha = uint8_t((Alpha + Area / 2) / Area);
  }
};

void ScaleArea(TzkBitmap& dst, const TRect& clip, const TRect& dstRect, const TzkBitmap& src,
               const TRect& srcRect, int maskRowOffset) {
  const TAxisTaps xs = AreaTaps(srcRect.Left, srcRect.Width(), dstRect.Width(), src.Width());
  const TAxisTaps ys = AreaTaps(srcRect.Top, srcRect.Height(), dstRect.Height(), src.Height());
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  const bool masked = maskRowOffset > 0 && sn == 3;
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const size_t oy = size_t(y - dstRect.Top);
    uint8_t* d = dst.ScanLine(y) + clip.Left * dn;
    for (int x = clip.Left; x < clip.Right; ++x, d += dn) {
      const size_t ox = size_t(x - dstRect.Left);
      TAreaSums sums;
      for (int ty = ys.Start[oy]; ty < ys.Start[oy + 1]; ++ty) {
        const int sy = ys.Source[size_t(ty)];
        const uint8_t* row = src.ScanLine(sy);
        const int my = sy + maskRowOffset;
        const uint8_t* maskRow = masked && my < src.Height() ? src.ScanLine(my) : nullptr;
        for (int tx = xs.Start[ox]; tx < xs.Start[ox + 1]; ++tx) {
          const int sx = xs.Source[size_t(tx)];
          sums.Add(uint64_t(ys.Weight[size_t(ty)]) * xs.Weight[size_t(tx)], row + sx * sn, sn,
                   maskRow ? maskRow + sx * sn : nullptr);
        }
      }
      if (sums.Area == 0) continue;
      uint8_t bgr[3], alpha;
      sums.Mean(bgr, alpha);
      PutColour(d, dn, bgr, sn == 4 ? alpha : 255);
    }
  }
}

}  // namespace

// [SECTION] Entry points

void ScaleImagePart(TzkBitmap& dst, const TRect& dstRect, const TzkBitmap& src,
                    const TRect& srcRect, TScaleFilter filter, int maskRowOffset) {
  if (dstRect.IsEmpty() || srcRect.IsEmpty() || src.Empty()) return;
  const TRect clip = IntersectRect(dstRect, TRect(0, 0, dst.Width(), dst.Height()));
  if (clip.IsEmpty()) return;
  if (filter == TScaleFilter::Nearest)
    ScaleNearest(dst, clip, dstRect, src, srcRect);
  else
    ScaleArea(dst, clip, dstRect, src, srcRect, maskRowOffset);
}

bool HasKeyColour(const TzkBitmap& image, const TRect& rect) {
  const TRect r = IntersectRect(rect, TRect(0, 0, image.Width(), image.Height()));
  if (r.IsEmpty()) return false;
  const int n = image.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const uint8_t* p = image.ScanLine(y) + r.Left * n;
    for (int x = r.Left; x < r.Right; ++x, p += n)
      if (p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF) return true;
  }
  return false;
}
