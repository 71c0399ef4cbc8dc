#include "skin/paint/zkTypes.h"

#include <algorithm>

namespace {

// The platform's classic system colours, by index (0x00BBGGRR).
constexpr TColor kClassicColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xFF9933, 0xC8D0D4,
};

TColor ClassicColor(int index) {
  constexpr int count = int(sizeof(kClassicColors) / sizeof(kClassicColors[0]));
  return index >= 0 && index < count ? kClassicColors[index] : clBlack;
}

TSysColorResolver g_resolver = nullptr;

}  // namespace

void SetSysColorResolver(TSysColorResolver resolver) { g_resolver = resolver; }

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color;
  const int index = int(uint32_t(color) & 0xFF);
  return g_resolver ? g_resolver(index) : ClassicColor(index);
}

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom));
  return r.IsEmpty() ? TRect() : r;
}
