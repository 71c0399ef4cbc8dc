// Writes BMP files for tests and fuzz seeds: any bit count, both row orders, the 12-, 40-
// and 108-byte headers, plain or colour-mask pixels. Header-only so that the fuzz seed maker,
// a program of its own, can use it too.
#pragma once

#include <cstdint>
#include <vector>

namespace bmptest {

struct TBmpSpec {
  int Width = 1;
  int Height = 1;
  bool TopDown = false;
  int BitCount = 24;
  uint32_t HeaderSize = 40;       // 12, 40, 108 ...
  uint32_t Compression = 0;       // 0 plain, 3 colour masks, 6 masks with alpha
  uint32_t Masks[4] = {};         // red, green, blue, alpha
  std::vector<uint32_t> Palette;  // 0x00RRGGBB entries (bit counts up to 8)
  uint32_t ColorsUsed = 0;        // the header field; 0 writes the palette's size
  bool ZeroPixelOffset = false;   // writers that leave the pixel offset 0
};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// `pixels` holds Width × Height values, top row first: palette indexes for up to 8 bits,
// else the packed pixel value as stored (B, G, R in the low bytes for 24 and 32 bits).
inline std::vector<uint8_t> WriteBmp(const TBmpSpec& s, const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> out;
  const bool core = s.HeaderSize == 12;
  const bool masksAfterHeader = s.HeaderSize == 40 && (s.Compression == 3 || s.Compression == 6);
  const size_t maskBytes = masksAfterHeader ? (s.Compression == 6 ? 16 : 12) : 0;
  const size_t paletteBytes = s.Palette.size() * (core ? 3 : 4);
  const size_t rowBytes = (size_t(s.Width) * size_t(s.BitCount) + 31) / 32 * 4;
  const size_t offBits = 14 + s.HeaderSize + maskBytes + paletteBytes;
  const size_t fileSize = offBits + rowBytes * size_t(s.Height);

  out.push_back('B');
  out.push_back('M');
  Put32(out, uint32_t(fileSize));
  Put32(out, 0);
  Put32(out, s.ZeroPixelOffset ? 0 : uint32_t(offBits));
  Put32(out, s.HeaderSize);
  if (core) {
    Put16(out, uint32_t(s.Width));
    Put16(out, uint32_t(s.Height));
    Put16(out, 1);
    Put16(out, uint32_t(s.BitCount));
  } else {
    Put32(out, uint32_t(s.Width));
    Put32(out, uint32_t(s.TopDown ? -s.Height : s.Height));
    Put16(out, 1);
    Put16(out, uint32_t(s.BitCount));
    Put32(out, s.Compression);
    Put32(out, uint32_t(rowBytes * size_t(s.Height)));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, s.ColorsUsed ? s.ColorsUsed : uint32_t(s.Palette.size()));
    Put32(out, 0);
    if (s.HeaderSize > 40) {
      for (uint32_t m : s.Masks) Put32(out, m);
      while (out.size() < 14 + s.HeaderSize) out.push_back(0);
    }
  }
  if (masksAfterHeader)
    for (size_t i = 0; i < maskBytes / 4; ++i) Put32(out, s.Masks[i]);
  for (uint32_t c : s.Palette) {
    out.push_back(uint8_t(c));
    out.push_back(uint8_t(c >> 8));
    out.push_back(uint8_t(c >> 16));
    if (!core) out.push_back(0);
  }
  for (int row = 0; row < s.Height; ++row) {
    const int y = s.TopDown ? row : s.Height - 1 - row;
    std::vector<uint8_t> line(rowBytes, 0);
    for (int x = 0; x < s.Width; ++x) {
      const uint32_t v = pixels[size_t(y) * size_t(s.Width) + size_t(x)];
      if (s.BitCount < 8) {
        const int perByte = 8 / s.BitCount;
        const int shift = 8 - s.BitCount * (x % perByte + 1);
        line[size_t(x / perByte)] |= uint8_t(v << shift);
      } else {
        const size_t bytes = size_t(s.BitCount / 8);
        for (size_t b = 0; b < bytes; ++b) line[size_t(x) * bytes + b] = uint8_t(v >> (8 * b));
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

}  // namespace bmptest
