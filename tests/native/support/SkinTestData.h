// A realistic skin made by code, for tests and benchmarks: an options file with a
// GLOBALINFO section and many control sections (PARENTCLASS chains, gradients, borders,
// glyphs and textures in the master bitmap, PNG and BMP image files, JPEG textures), and a
// 24-bit master bitmap with magenta transparent areas. Header-only so that benchmark and
// fuzz seed programs can use it too; each caller encodes the PNG files itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/native/support/BmpTestWriter.h"

namespace skintest {

// The image files the options name, besides the master bitmap "Master.bmp".
struct TImageFile {
  const char* Name;  // as stored on disk / in the archive (mixed case)
  int Width;
  int Height;
};
constexpr TImageFile kPngFiles[] = {
    {"Glow.png", 40, 40}, {"GlowBtn.PNG", 60, 30}, {"Close.png", 48, 32}, {"Max.png", 48, 32},
    {"Min.png", 48, 32},
};
constexpr TImageFile kBackJpeg = {"Back.jpg", 320, 300};  // 96,000 pixels: a pattern
constexpr TImageFile kTileJpeg = {"Tile.jpg", 64, 64};    // small: a texture record
constexpr TImageFile kButtonBmp = {"ButtonHuge.bmp", 90, 60};

inline std::string Pad4(int v) {
  std::string s = std::to_string(v);
  return std::string(s.size() < 4 ? 4 - s.size() : 0, '0') + s;
}

// "^x1^y1^x2^y2^WL^WT^WR^WB^n^m^s^b"
inline std::string Border(int x, int y, int w, int h, int border, int frames, int maskType) {
  return "^" + Pad4(x) + "^" + Pad4(y) + "^" + Pad4(x + w) + "^" + Pad4(y + h) + "^" + Pad4(border) +
         "^" + Pad4(border) + "^" + Pad4(border) + "^" + Pad4(border) + "^" + std::to_string(frames) +
         "^" + std::to_string(maskType) + "^1^0";
}

inline std::string RealisticOptions(int sectionCount = 60) {
  std::string o =
      "; generated test skin\r\n"
      "[GLOBALINFO]\r\n"
      "VERSION=6.6\r\n"
      "AUTHOR=Vornik tests #1\r\n"
      "DESCRIPTION=Made by code\r\n"
      "MASTERBITMAP=MASTER.BMP\r\n"
      "TITLEHEIGHT=28\r\n"
      "BORDERWIDTH=5\r\n"
      "SHADOW1COLOR=3484708\r\n"
      "BIKEEPHUE=2\r\n"
      "BICONCLOSEGLOW=1\r\n"
      "COLOR=15790320\r\n"
      "FONTCOLOR=0\r\n"
      "BOXCHECKED=@0000@0200@0048@0216@3@0\r\n"
      "BOXUNCHECKED=@0048@0200@0096@0216@3@0\r\n"
      "RADIOCHECKED=@0096@0200@0144@0216@3@0\r\n"
      "BICONCLOSE=!CLOSE.PNG!3!0!4\r\n"
      "BICONCLOSEGLOW0=!GLOW.PNG!1!0!3!0012!0012!0012!0012\r\n"
      "BICONMAX=!MAX.PNG!3!0!4\r\n"
      "BICONMIN=!MIN.PNG!3!0!4\r\n"
      "EXBORDER=^0150^0200^0210^0260^0000^0000^0000^0000^1^0^0^0\r\n"
      "\r\n"
      "[EDIT]\r\n"
      "COLOR=16777215\r\n"
      "HOTFONTCOLOR=255\r\n"
      "TRANSPARENCY=0\r\n"
      "GRADIENTDATA=16777215;15790320;50;0;0;15790320;14737632;0;0;0\r\n"
      "BORDERSMASK=" + Border(0, 0, 60, 40, 4, 3, 1) + "\r\n"
      "PATTERN=~0200~0000~0232~0032~00~0\r\n"
      "[BUTTON]\r\n"
      "PARENTCLASS=EDIT\r\n"
      "GLOW=1\r\n"
      "GLOWMARGIN=6\r\n"
      "FADINGENABLED=TRUE\r\n"
      "BORDERSMASK=!GLOWBTN.PNG!3!0!0!0005!0005!0005!0005\r\n"
      "GLOWMASK=!GLOW.PNG!1!0!3\r\n"
      "[BUTTON_HUGE]\r\n"
      "PARENTCLASS=BUTTON\r\n"
      "BORDERSMASK=BUTTONHUGE.BMP\r\n"
      "[FORM]\r\n"
      "PATTERN=BACK.JPG\r\n"
      "HOTPATTERN=TILE.JPG\r\n"
      "IMAGEPERCENT=40\r\n"
      "[MENUITEM]\r\n"
      "HOTCOLOR=12937777\r\n"
      "HOTFONTCOLOR=16777215\r\n"
      "[SCROLLBTNTOP]\r\n"
      "PARENTCLASS=BUTTON\r\n"
      "GLYPHMASK=@0000@0100@0030@0110@3@0\r\n"
      "[COMBOBTN]\r\n"
      "PARENTCLASS=SCROLLBTNTOP\r\n"
      "BORDERSMASK=" + Border(60, 0, 45, 30, 3, 3, 0) + "\r\n";
  for (int i = 0; i < sectionCount - 8; ++i) {
    const std::string n = std::to_string(i);
    o += "[CONTROL" + n + "]\r\n";
    o += "PARENTCLASS=" + std::string(i % 3 == 0 ? "EDIT" : i % 3 == 1 ? "BUTTON" : "") + "\r\n";
    o += "COLOR=" + std::to_string(0x102030 * (i + 1) % 0xFFFFFF) + "\r\n";
    o += "FONTCOLOR=" + std::to_string(i * 4111) + "\r\n";
    o += "TCLEFT=-1\r\nTCTOP=" + std::to_string(i) + "\r\n";
    o += "HOTCOLOR=?\r\n";
    o += "GRADIENTPERCENT=" + std::to_string(i % 101) + "\r\n";
    if (i % 2) o += "HOTGRADIENTDATA=255;16711680;100;" + std::to_string(i % 3) + ";0\r\n";
    o += "BORDERSMASK=" + Border((i * 17) % 240, 40 + (i * 7) % 60, 30, 20, i % 5, 1 + i % 3, i % 2) + "\r\n";
    if (i % 4 == 0) o += "IMGTOPLEFT=@0000@0120@0008@0128@1@0\r\n";
    if (i % 5 == 0) o += "PATTERN=~0200~0040~0264~0072~0" + std::to_string(i % 8) + "\r\n";
    o += "SHOWFOCUS=" + std::string(i % 2 ? "TRUE" : "FALSE") + "\r\n";
  }
  return o;
}

// A 24-bit master bitmap: colour bands, grey lines and magenta transparent corners.
inline std::vector<uint8_t> MasterBmp(int width = 320, int height = 300) {
  bmptest::TBmpSpec spec;
  spec.Width = width;
  spec.Height = height;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t bgr = uint32_t(((x * 255 / width) << 16) | ((y * 255 / height) << 8) | ((x ^ y) & 0xFF));
      if (y % 20 == 0) bgr = 0x808080;
      if ((x % 30 < 3) && (y % 20 < 3)) bgr = 0xFF00FF;
      pixels[size_t(y) * size_t(width) + size_t(x)] = bgr;
    }
  return bmptest::WriteBmp(spec, pixels);
}

// A 24-bit BMP of the given size filled with a gradient.
inline std::vector<uint8_t> PlainBmp(int width, int height, int bitCount = 24) {
  bmptest::TBmpSpec spec;
  spec.Width = width;
  spec.Height = height;
  spec.BitCount = bitCount;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(0x80000000u | (i * 2654435761u & 0xFFFFFF));
  return bmptest::WriteBmp(spec, pixels);
}

}  // namespace skintest
