#include "skin/paint/zkFastBitmap.h"

#include <algorithm>
#include <cstring>

// GCC and Clang on x86 also build the blend loop for AVX2 and AVX-512 and choose at run time;
// every other compiler gets the baseline loop only.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define VORNIK_X86_DISPATCH 1
#define VORNIK_ALWAYS_INLINE inline __attribute__((always_inline))
#if defined(__clang__)
#define VORNIK_TARGET_AVX512 __attribute__((target("avx512bw")))
#else
#define VORNIK_TARGET_AVX512 __attribute__((target("avx512bw,prefer-vector-width=512")))
#endif
#else
#define VORNIK_X86_DISPATCH 0
#define VORNIK_ALWAYS_INLINE inline
#endif

namespace {

template <typename TFast>
bool BindAccessor(TFast& fast, TzkBitmap* bitmap) {
  if (!bitmap || bitmap->Width() < 2 || bitmap->Height() < 2) {
    fast.Width = 0;
    return false;
  }
  fast.Bitmap = bitmap;
  fast.Width = bitmap->Width();
  fast.Height = bitmap->Height();
  fast.Row0 = bitmap->Row0();
  fast.Stride = bitmap->Stride();
  return true;
}

inline uint8_t BlendByte(unsigned d, unsigned s, unsigned a) {
  return uint8_t((d * a + s * (255 - a) + 127) >> 8);
}

bool RangesOverlap(const uint8_t* a, const uint8_t* b, size_t n) {
  const auto x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
  return x < y + n && y < x + n;
}

// The blend loop proper. Inlined into each instruction-set variant below, so the compiler
// vectorises it once for the baseline and once for wider vectors.
VORNIK_ALWAYS_INLINE void BlendBlocks(uint8_t* __restrict d, const uint8_t* __restrict s,
                                      size_t n, uint8_t weight) {
  // 16-bit lanes are enough: 255 * 255 + 127 < 65536.
  const uint16_t a = weight, b = uint16_t(255 - weight);
  constexpr size_t kBlock = 64;
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
    for (size_t k = 0; k < kBlock; ++k)
      d[i + k] = uint8_t(uint16_t(d[i + k] * a + s[i + k] * b + 127) >> 8);
  for (; i < n; ++i) d[i] = uint8_t(uint16_t(d[i] * a + s[i] * b + 127) >> 8);
}

#if VORNIK_X86_DISPATCH
__attribute__((target("avx2"))) void BlendBlocksAvx2(uint8_t* __restrict d,
                                                     const uint8_t* __restrict s, size_t n,
                                                     uint8_t weight) {
  BlendBlocks(d, s, n, weight);
}
VORNIK_TARGET_AVX512 void BlendBlocksAvx512(
    uint8_t* __restrict d, const uint8_t* __restrict s, size_t n, uint8_t weight) {
  BlendBlocks(d, s, n, weight);
}
#endif

}  // namespace

void BlendByteRow(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n, uint8_t weight) {
#if VORNIK_X86_DISPATCH
  static const int level = __builtin_cpu_supports("avx512bw") ? 2
                           : __builtin_cpu_supports("avx2")   ? 1
                                                              : 0;
  if (level == 2) return BlendBlocksAvx512(d, s, n, weight);
  if (level == 1) return BlendBlocksAvx2(d, s, n, weight);
#endif
  BlendBlocks(d, s, n, weight);
}

bool TzkFast24::Bind(TzkBitmap* bitmap) { return BindAccessor(*this, bitmap); }

TColor TzkFast24::PixelAt(int x, int y) const {
  const uint8_t* p = Row(y) + x * 3;
  return TColor(uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16);
}

bool TzkFast32::Bind(TzkBitmap* bitmap) { return BindAccessor(*this, bitmap); }

TColor TzkFast32::PixelAt(int x, int y) const {
  const uint8_t* p = Row(y) + x * 4;
  return TColor(uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 |
                uint32_t(p[3]) << 24);
}

void TzkFast32::SetPixelAt(int x, int y, TColor value) {
  const uint32_t v = uint32_t(value);
  uint8_t* p = Row(y) + x * 4;
  p[0] = uint8_t(v >> 16);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v);
  p[3] = uint8_t(v >> 24);
}

void TzkFast32::FillRect32(const TRect& rect, uint32_t word) {
  const int left = std::max(rect.Left, 0);
  const int right = std::min(rect.Left + std::max(rect.Width(), 0), Width);
  const int top = std::max(rect.Top, 0);
  const int bottom = std::min(rect.Bottom, Height);
  if (right <= left || bottom <= top) return;
  uint8_t px[4];
  std::memcpy(px, &word, 4);
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = Row(y) + left * 4;
    for (int x = left; x < right; ++x, row += 4) std::memcpy(row, px, 4);
  }
}

template <int N>
bool TzkFastSum<N>::BindPair(const TzkBitmap* source, TzkBitmap* destination) {
  if (!source || !destination || source->Width() < 2 || source->Height() < 2 ||
      destination->Width() < 2 || destination->Height() < 2)
    return false;
  Source = source;
  Destination = destination;
  Width = std::min(source->Width(), destination->Width());
  Height = std::min(source->Height(), destination->Height());
  SrcRow0 = source->Row0();
  DstRow0 = destination->Row0();
  SrcStride = source->Stride();
  DstStride = destination->Stride();
  return true;
}

template <int N>
void TzkFastSum<N>::BlendBytes() {
  const int dx = DstRect.Left - SrcRect.Left;
  const size_t n = size_t(DstRect.Width()) * N;
  for (int y = DstRect.Bottom - 1; y >= DstRect.Top; --y) {
    uint8_t* d = DstRow0 + DstStride * y + ptrdiff_t(DstRect.Left) * N;
    const uint8_t* s =
        SrcRow0 + SrcStride * (y - DstRect.Bottom + SrcRect.Bottom) + ptrdiff_t(DstRect.Left - dx) * N;
    if (!RangesOverlap(d, s, n)) {
      BlendByteRow(d, s, n, Weight);
      continue;
    }
    // Source and destination share bytes: keep the last-to-first order exactly.
    for (size_t b = n; b-- > 0;) d[b] = BlendByte(d[b], s[b], Weight);
  }
}

template class TzkFastSum<3>;
template class TzkFastSum<4>;
