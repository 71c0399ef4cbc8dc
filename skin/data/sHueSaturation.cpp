#include "skin/data/sHueSaturation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Rounds to the nearest integer, halves to even.
double RoundEven(double v) { return std::nearbyint(v); }

int ClampByte(double v) { return int(std::clamp(v, 0.0, 255.0)); }

bool IsMagenta(uint8_t b, uint8_t g, uint8_t r) { return r == 255 && g == 0 && b == 255; }
bool IsGrey(uint8_t b, uint8_t g, uint8_t r) { return r == g && g == b; }

TColor FromBgr(const uint8_t* p) { return RGBColor(p[2], p[1], p[0]); }
void ToBgr(uint8_t* p, TColor c) {
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
}

// Replaces every pixel that is neither magenta nor (with skipGrey) grey.
template <typename Change>
void ChangePixels(TzkBitmap& bitmap, bool skipGrey, const Change& change) {
  const int bpp = bitmap.BytesPerPixel();
  // Skin images are made of long runs of one colour: remember the last answer.
  TColor lastIn = -1, lastOut = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += bpp) {
      if (IsMagenta(p[0], p[1], p[2]) || (skipGrey && IsGrey(p[0], p[1], p[2]))) continue;
      const TColor in = FromBgr(p);
      if (in != lastIn) {
        lastIn = in;
        lastOut = change(in);
      }
      ToBgr(p, lastOut);
    }
  }
}

void CopyRect(const TzkBitmap& from, TzkBitmap& to, const TRect& r) {
  const int bpp = from.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y)
    std::copy_n(from.ScanLine(y) + r.Left * bpp, size_t(r.Width() * bpp), to.ScanLine(y) + r.Left * bpp);
}

// Section colours and the global colours of the skin.
template <typename Change>
void ChangeTableColors(TsSkinTables& skin, const Change& change) {
  auto font = [&](TsFontColor& f) {
    for (int32_t* c : {&f.Color, &f.Left, &f.Top, &f.Right, &f.Bottom})
      if (*c != -1) *c = change(*c);
  };
  auto gradient = [&](TsGradArray& steps) {
    for (TsGradStep& s : steps) {
      s.Color1 = change(s.Color1);
      s.Color2 = change(s.Color2);
    }
  };
  for (TsGeneralData& s : skin.Sections) {
    s.Color = change(s.Color);
    s.HotColor = change(s.HotColor);
    font(s.FontColor);
    font(s.HotFontColor);
    gradient(s.GradientArray);
    gradient(s.HotGradientArray);
  }
  skin.SkinData.Shadow1Color = change(skin.SkinData.Shadow1Color);
  skin.SkinData.BorderColor = change(skin.SkinData.BorderColor);
}

// Own bitmaps: 32-bit ones in place (alpha kept, magenta and grey skipped); others become
// 24-bit first, and then skip magenta, and grey too when `skipGrey24`.
template <typename Change>
void ChangeOwnBitmaps(TsSkinTables& skin, const std::vector<bool>& excluded, bool skipGrey24,
                      const Change& change) {
  for (size_t i = 0; i < skin.Masks.size(); ++i) {
    TzkBitmap* image = skin.Masks[i].Image.get();
    if (!image || excluded[i]) continue;
    if (image->PixelFormat() == TPixelFormat::pf32bit) {
      ChangePixels(*image, true, change);
    } else {
      image->SetPixelFormat(TPixelFormat::pf24bit);
      ChangePixels(*image, skipGrey24, change);
    }
  }
}

// Title-bar icons whose hue the skin keeps: master-bitmap rectangles to restore after the
// master is changed, and own-bitmap records (and their glow images) to leave alone.
struct TKeptIcons {
  std::vector<TRect> masterRects;
  std::vector<bool> excluded;
};

TKeptIcons KeptIcons(const TsSkinTables& skin) {
  TKeptIcons kept;
  kept.excluded.assign(skin.Masks.size(), false);
  const int keep = skin.SkinData.KeepTitleHue;
  if (keep == 0) return kept;
  std::vector<std::string> icons = {"BICONCLOSE", "SICONCLOSE"};
  if (keep == 1)
    for (const char* name : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX",
                             "SICONMIN", "SICONNORM"})
      icons.push_back(name);
  const TRect master(0, 0, skin.MasterBitmap.Width(), skin.MasterBitmap.Height());
  for (const std::string& icon : icons) {
    const int i = skin.IndexOfMaskExact("GLOBALINFO", icon);
    if (i < 0) continue;
    if (skin.Masks[size_t(i)].Image) {
      kept.excluded[size_t(i)] = true;
    } else {
      const TRect r = IntersectRect(skin.Masks[size_t(i)].Rect, master);
      if (!r.IsEmpty()) kept.masterRects.push_back(r);
    }
    const int glow = skin.IndexOfMaskExact("GLOBALINFO", icon + "GLOW0");
    if (glow >= 0 && skin.Masks[size_t(glow)].Image) kept.excluded[size_t(glow)] = true;
  }
  return kept;
}

}  // namespace

TColor ChangeHue(int offset, TColor color) {
  const TColor rgb = ColorToRGB(color);
  const double r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  const double v = std::max({r, g, b});
  const double d = v - std::min({r, g, b});
  const double s = v > 0 ? d / v : 0;
  if (s == 0) return rgb & 0xFFFFFF;
  double h;
  if (v == r)
    h = 60 * (g - b) / d;
  else if (v == g)
    h = 120 + 60 * (b - r) / d;
  else
    h = 240 + 60 * (r - g) / d;
  if (h < 0) h += 360;
  const int64_t turned = int64_t(RoundEven(double(offset) + h)) % 360;
  const double hh = double(turned < 0 ? turned + 360 : turned) / 60;
  const int sector = std::min(int(hh), 5);
  const double f = hh - sector;
  const double p = std::clamp((1 - s) * v, 0.0, 255.0);
  const double q = std::clamp((1 - s * f) * v, 0.0, 255.0);
  const double t = std::clamp((1 - (1 - f) * s) * v, 0.0, 255.0);
  double nr, ng, nb;
  switch (sector) {
    case 0: nr = v, ng = t, nb = p; break;
    case 1: nr = q, ng = v, nb = p; break;
    case 2: nr = p, ng = v, nb = t; break;
    case 3: nr = p, ng = q, nb = v; break;
    case 4: nr = t, ng = p, nb = v; break;
    default: nr = v, ng = p, nb = q; break;
  }
  return RGBColor(uint8_t(ClampByte(RoundEven(nr))), uint8_t(ClampByte(RoundEven(ng))),
                  uint8_t(ClampByte(RoundEven(nb))));
}

TColor ChangeSaturation(TColor color, int amount) {
  if (amount == 0) return color;
  const double r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  const double avg = (r + g + b) / 3;
  auto channel = [&](double x) { return uint8_t(ClampByte(RoundEven(x + amount * ((avg - x) / 100)))); };
  return RGBColor(channel(r), channel(g), channel(b));
}

int SaturationAmount(int saturation) { return int(-int64_t(saturation) % 101); }

void ApplyHue(TsSkinTables& skin, int offset) {
  if (offset == 0) return;
  const auto change = [offset](TColor c) { return ChangeHue(offset, c); };
  const TKeptIcons kept = KeptIcons(skin);
  if (!skin.MasterBitmap.Empty()) {
    const TzkBitmap original = kept.masterRects.empty() ? TzkBitmap() : skin.MasterBitmap.Clone();
    ChangePixels(skin.MasterBitmap, true, change);
    for (const TRect& r : kept.masterRects) CopyRect(original, skin.MasterBitmap, r);
  }
  ChangeOwnBitmaps(skin, kept.excluded, false, change);
  ChangeTableColors(skin, change);
}

void ApplySaturation(TsSkinTables& skin, int saturation) {
  const int amount = SaturationAmount(saturation);
  if (saturation == 0 || amount == 0) return;
  const auto change = [amount](TColor c) { return ChangeSaturation(c, amount); };
  if (!skin.MasterBitmap.Empty()) ChangePixels(skin.MasterBitmap, true, change);
  ChangeOwnBitmaps(skin, std::vector<bool>(skin.Masks.size(), false), true, change);
  ChangeTableColors(skin, change);
}
