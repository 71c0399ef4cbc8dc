#include "skin/paint/zkImageScale.h"

#include <algorithm>
#include <climits>
#include <cstring>
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
  // An output row made from the same source row as the one above it is a copy of that one.
  int previousSy = -1;
  const uint8_t* previous = nullptr;
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy = ys[size_t(y - dstRect.Top)];
    if (sy < 0) continue;
    uint8_t* first = dst.ScanLine(y) + clip.Left * dn;
    if (sy == previousSy) {
      std::memcpy(first, previous, size_t(clip.Width()) * size_t(dn));
      continue;
    }
    const uint8_t* row = src.ScanLine(sy);
    uint8_t* d = first;
    for (int x = clip.Left; x < clip.Right; ++x, d += dn) {
      const int sx = xs[size_t(x - dstRect.Left)];
      if (sx < 0) continue;
      const uint8_t* s = row + sx * sn;
      PutColour(d, dn, s, sn == 4 ? s[3] : 255);
    }
    previousSy = sy;
    previous = first;
  }
}

inline bool IsKey(const uint8_t* p) { return p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF; }

// How the colour of a source pixel is weighed: not at all (opaque 24-bit pictures), by the
// per-channel mask below the picture (255 - mask), or by the pixel's alpha.
enum class TWeighing : uint8_t { None, Mask, Alpha };

// Weighted sums over the source pixels of one output pixel. Key pixels only count their area.
template <TWeighing kWeighing>
struct TAreaSums {
  uint64_t Area = 0;        // covered area
  uint64_t KeyArea = 0;     // of it, covered by key pixels
  uint64_t KeyAlpha = 0;    // area * alpha of the key pixels (Alpha)
  uint64_t Plain[3] = {};   // area * value
  uint64_t Opaque[3] = {};  // area * opacity (Mask, Alpha)
  uint64_t Colour[3] = {};  // area * opacity * value (Mask, Alpha)
  uint64_t Alpha = 0;       // area * alpha (Alpha)

  void Add(uint64_t w, const uint8_t* p, const uint8_t* mask) {
    Area += w;
    if (IsKey(p)) {
      KeyArea += w;
      if (kWeighing == TWeighing::Alpha) KeyAlpha += w * p[3];
      return;
    }
    for (int c = 0; c < 3; ++c) Plain[c] += w * p[c];
    if (kWeighing == TWeighing::None) return;
    if (kWeighing == TWeighing::Alpha) Alpha += w * p[3];
    for (int c = 0; c < 3; ++c) {
      const uint64_t opacity = kWeighing == TWeighing::Alpha ? p[3] : mask ? 255u - mask[c] : 255u;
      Opaque[c] += w * opacity;
      Colour[c] += w * opacity * p[c];
    }
  }

  // The key where key pixels cover more than half the span; else the mean of the visible
  // pixels, premultiplied where any is opaque, moved off the key colour.
  void Mean(uint8_t* bgr, uint8_t& alpha) const {
    if (2 * KeyArea > Area) {
      bgr[0] = 0xFF, bgr[1] = 0x00, bgr[2] = 0xFF;
      alpha = uint8_t((KeyAlpha + KeyArea / 2) / KeyArea);
      return;
    }
    const uint64_t visible = Area - KeyArea;
    for (int c = 0; c < 3; ++c)
      bgr[c] = Opaque[c] > 0 ? uint8_t((Colour[c] + Opaque[c] / 2) / Opaque[c])
                             : uint8_t((Plain[c] + visible / 2) / visible);
    if (IsKey(bgr)) bgr[1] = 1;
    alpha = uint8_t((Alpha + visible / 2) / visible);
  }
};

template <TWeighing kWeighing>
void ScaleArea(TzkBitmap& dst, const TRect& clip, const TRect& dstRect, const TzkBitmap& src,
               const TRect& srcRect, int maskRowOffset) {
  const TAxisTaps xs = AreaTaps(srcRect.Left, srcRect.Width(), dstRect.Width(), src.Width());
  const TAxisTaps ys = AreaTaps(srcRect.Top, srcRect.Height(), dstRect.Height(), src.Height());
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const size_t oy = size_t(y - dstRect.Top);
    const int ty0 = ys.Start[oy], ty1 = ys.Start[oy + 1];
    if (ty0 == ty1) continue;
    uint8_t* d = dst.ScanLine(y) + clip.Left * dn;
    for (int x = clip.Left; x < clip.Right; ++x, d += dn) {
      const size_t ox = size_t(x - dstRect.Left);
      const int tx0 = xs.Start[ox], tx1 = xs.Start[ox + 1];
      if (tx0 == tx1) continue;
      if (ty1 - ty0 == 1 && tx1 - tx0 == 1) {  // inside one source pixel: its copy
        const uint8_t* s = src.ScanLine(ys.Source[size_t(ty0)]) + xs.Source[size_t(tx0)] * sn;
        PutColour(d, dn, s, sn == 4 ? s[3] : 255);
        continue;
      }
      TAreaSums<kWeighing> sums;
      for (int ty = ty0; ty < ty1; ++ty) {
        const int sy = ys.Source[size_t(ty)];
        const uint8_t* row = src.ScanLine(sy);
        const int my = sy + maskRowOffset;
        const uint8_t* maskRow =
            kWeighing == TWeighing::Mask && my < src.Height() ? src.ScanLine(my) : nullptr;
        const uint64_t wy = ys.Weight[size_t(ty)];
        for (int tx = tx0; tx < tx1; ++tx) {
          const int sx = xs.Source[size_t(tx)];
          sums.Add(wy * xs.Weight[size_t(tx)], row + sx * sn,
                   maskRow ? maskRow + sx * sn : nullptr);
        }
      }
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
  else if (src.BytesPerPixel() == 4)
    ScaleArea<TWeighing::Alpha>(dst, clip, dstRect, src, srcRect, 0);
  else if (maskRowOffset > 0)
    ScaleArea<TWeighing::Mask>(dst, clip, dstRect, src, srcRect, maskRowOffset);
  else
    ScaleArea<TWeighing::None>(dst, clip, dstRect, src, srcRect, 0);
}

bool HasKeyColour(const TzkBitmap& image, const TRect& rect) {
  const TRect r = IntersectRect(rect, TRect(0, 0, image.Width(), image.Height()));
  if (r.IsEmpty()) return false;
  const int n = image.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const uint8_t* p = image.ScanLine(y) + r.Left * n;
    for (int x = r.Left; x < r.Right; ++x, p += n)
      if (IsKey(p)) return true;
  }
  return false;
}
