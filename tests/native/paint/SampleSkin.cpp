#include "paint/SampleSkin.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include "paint/PaintTestUtil.h"
#include "skin/data/zkBmpWriter.h"
#include "skin/paint/zkPngWriter.h"

namespace painttest {

namespace {

void Fill(TzkBitmap& b, const TRect& r, TColor c) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) SetPx(b, x, y, c);
}

// A 24 x 24 border frame at (x0, y0): a 3-pixel ring of `ring` with a 1-pixel highlight,
// magenta outside rounded corners and in the centre.
void BorderFrame(TzkBitmap& b, int x0, int y0, TColor ring, TColor light) {
  Fill(b, Bounds(x0, y0, 24, 24), clFuchsia);
  Fill(b, Bounds(x0, y0, 24, 24), ring);
  Fill(b, Bounds(x0 + 1, y0 + 1, 22, 1), light);
  Fill(b, Bounds(x0 + 1, y0 + 1, 1, 22), light);
  Fill(b, Bounds(x0 + 4, y0 + 4, 16, 16), clFuchsia);
  const int corner[3][2] = {{0, 0}, {1, 0}, {0, 1}};
  for (const auto& c : corner) {
    SetPx(b, x0 + c[0], y0 + c[1], clFuchsia);
    SetPx(b, x0 + 23 - c[0], y0 + c[1], clFuchsia);
    SetPx(b, x0 + c[0], y0 + 23 - c[1], clFuchsia);
    SetPx(b, x0 + 23 - c[0], y0 + 23 - c[1], clFuchsia);
  }
}

TzkBitmap MasterBitmap() {
  TzkBitmap b(160, 96);
  Fill(b, TRect(0, 0, 160, 96), clFuchsia);
  // (0, 0): button border, three states.
  BorderFrame(b, 0, 0, RGBColor(40, 70, 120), RGBColor(150, 180, 230));
  BorderFrame(b, 24, 0, RGBColor(30, 110, 200), RGBColor(190, 220, 255));
  BorderFrame(b, 48, 0, RGBColor(20, 40, 80), RGBColor(60, 80, 120));
  // (0, 24): alpha border, three states over their masks (0 opaque .. 255 transparent).
  const TColor edges[3] = {RGBColor(120, 120, 120), RGBColor(40, 120, 220), RGBColor(20, 60, 140)};
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        const int ring = std::min({x, y, 23 - x, 23 - y});
        SetPx(b, f * 24 + x, 24 + y, edges[f]);
        const uint8_t m = ring == 0 ? 0 : ring == 1 ? 100 : 255;
        SetPx(b, f * 24 + x, 48 + y, RGBColor(m, m, m));
      }
  // (72, 0): a 16 x 16 texture of diagonal stripes.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      SetPx(b, 72 + x, y, (x + y) % 8 < 4 ? RGBColor(230, 220, 200) : RGBColor(210, 196, 170));
  // (88, 0): a 16 x 16 check-box glyph, three states: box, hot box, ticked box.
  for (int f = 0; f < 3; ++f) {
    const TColor frame = f == 1 ? RGBColor(30, 110, 200) : RGBColor(60, 60, 60);
    Fill(b, Bounds(88 + f * 16 + 2, 2, 12, 12), frame);
    Fill(b, Bounds(88 + f * 16 + 3, 3, 10, 10), clWhite);
    if (f == 2)
      for (int i = 0; i < 6; ++i) {
        SetPx(b, 88 + 32 + 4 + i, 10 - (i < 2 ? -i : i - 2), RGBColor(0, 140, 0));
        SetPx(b, 88 + 32 + 4 + i, 9 - (i < 2 ? -i : i - 2), RGBColor(0, 140, 0));
      }
  }
  // (136, 0): an 8 x 8 corner image, a quarter disc.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (x * x + y * y < 49) SetPx(b, 136 + x, y, RGBColor(255, 200, 60));
  // (0, 72): slider border (stretched, hidden in the normal state), three states 24 x 24.
  BorderFrame(b, 0, 72, RGBColor(90, 90, 90), RGBColor(200, 200, 200));
  BorderFrame(b, 24, 72, RGBColor(220, 120, 20), RGBColor(255, 210, 150));
  BorderFrame(b, 48, 72, RGBColor(160, 70, 0), RGBColor(200, 120, 40));
  return b;
}

TzkBitmap GlowPicture() {
  TzkBitmap b(48, 48, TPixelFormat::pf32bit);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      const double d = std::hypot(x - 23.5, y - 23.5) / 24.0;
      SetPx(b, x, y, RGBColor(80, 170, 255), uint8_t(std::max(0.0, 1.0 - d) * 220));
    }
  return b;
}

const char* const kOptions =
    "; sample skin made by the paint tests\r\n"
    "[GLOBALINFO]\r\n"
    "VERSION=6.6\r\n"
    "AUTHOR=paint tests\r\n"
    "MASTERBITMAP=MASTER.BMP\r\n"
    "COLOR=15790320\r\n"
    "FONTCOLOR=0\r\n"
    "[PANEL]\r\n"
    "COLOR=14737632\r\n"
    "TRANSPARENCY=50\r\n"
    "HOTTRANSPARENCY=20\r\n"
    "HOTCOLOR=16764057\r\n"
    "[BUTTON]\r\n"
    "COLOR=15263976\r\n"
    "HOTCOLOR=16772829\r\n"
    "GRADIENTPERCENT=100\r\n"
    "GRADIENTDATA=16777215;16313565;51;0;0;16313565;16114894;1;0;0;16114894;15456965;45;0;0;15456965;15456965;0;0;0\r\n"
    "HOTGRADIENTPERCENT=70\r\n"
    "HOTGRADIENTDATA=16777215;16772829;100;0;0\r\n"
    "BORDERSMASK=^0000^0000^0072^0024^0004^0004^0004^0004^3^0^0^0\r\n"
    "GLOW=1\r\n"
    "GLOWMARGIN=8\r\n"
    "BUTTONGLOW=!GLOW.PNG!1!0!3!0012!0012!0012!0012\r\n"
    "[WEBBUTTON]\r\n"
    "PARENTCLASS=BUTTON\r\n"
    "GRADIENTPERCENT=0\r\n"
    "HOTGRADIENTPERCENT=0\r\n"
    "COLOR=16777215\r\n"
    "HOTCOLOR=16777215\r\n"
    "[EDIT]\r\n"
    "COLOR=16777215\r\n"
    "HOTCOLOR=16777215\r\n"
    "BORDERSMASK=^0000^0024^0072^0072^0004^0004^0004^0004^3^1^0^0\r\n"
    "[GROUPBOX]\r\n"
    "COLOR=13421772\r\n"
    "HOTCOLOR=13421772\r\n"
    "IMAGEPERCENT=60\r\n"
    "HOTIMAGEPERCENT=60\r\n"
    "PATTERN=~0072~0000~0088~0016~00~0\r\n"
    "HOTPATTERN=~0072~0000~0088~0016~00~0\r\n"
    "[FORMTITLE]\r\n"
    "COLOR=8404992\r\n"
    "GRADIENTPERCENT=100\r\n"
    "GRADIENTDATA=6697728;10053171;60;1;0;10053171;16750899;0;1;0\r\n"
    "HOTGRADIENTPERCENT=100\r\n"
    "HOTGRADIENTDATA=10040064;16744448;100;1;0\r\n"
    "IMGTOPLEFT=@0136@0000@0144@0008@1@0\r\n"
    "[DIALOG]\r\n"
    "GRADIENTPERCENT=100\r\n"
    "GRADIENTDATA=255;0;0;2;0;16777215;0;0;2;0;65280;0;0;2;0;16711680;0;0;2;0;65535;0;0;2;0\r\n"
    "HOTGRADIENTPERCENT=100\r\n"
    "HOTGRADIENTDATA=255;0;0;2;0;16777215;0;0;2;0;65280;0;0;2;0\r\n"
    "[SCROLLSLIDERH]\r\n"
    "COLOR=15132390\r\n"
    "HOTCOLOR=15132390\r\n"
    "BORDERSMASK=^0000^0072^0072^0096^0004^0004^0004^0004^3^0^3^0\r\n"
    "[CHECKBOX]\r\n"
    "TRANSPARENCY=100\r\n"
    "HOTTRANSPARENCY=100\r\n"
    "GLYPHMASK=@0088@0000@0136@0016@3@0\r\n";

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              std::streamsize(bytes.size()));
}

}  // namespace

void WriteSampleSkin(const std::string& folder) {
  const std::string base = folder + "/";
  std::ofstream(base + "Options.dat", std::ios::binary) << kOptions;
  WriteFile(base + "MASTER.BMP", EncodeBmp(MasterBitmap()));
  WriteFile(base + "GLOW.PNG", EncodePng(GlowPicture()));
}

}  // namespace painttest
