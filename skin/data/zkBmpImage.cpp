#include "skin/data/zkBmpImage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kLargestHeaderBytes = 124;  // the longest header with colour profile fields

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

[[noreturn]] void Fail(const std::string& reason) { throw EzkBmpError("Cannot load BMP image: " + reason); }

bool Fits(size_t offset, size_t length, size_t size) { return offset <= size && length <= size - offset; }

void ReadMasks(const uint8_t* data, size_t size, uint32_t headerSize, TzkBmpInfo& info,
               size_t& paletteOffset) {
  const size_t maskOffset = kFileHeaderBytes + kInfoHeaderBytes;
  const bool withAlpha = info.Compression == TzkBmpInfo::kBiAlphaBitfields || headerSize >= 56;
  const size_t count = withAlpha ? 4 : 3;
  if (!Fits(maskOffset, count * 4, size)) Fail("the colour masks are missing.");
  for (size_t i = 0; i < count; ++i) info.Masks[i] = Le32(data + maskOffset + 4 * i);
  // A 40-byte header is followed by the masks; longer headers hold them inside.
  if (headerSize == kInfoHeaderBytes) paletteOffset += count * 4;
}

void SetDefaultMasks(TzkBmpInfo& info) {
  if (info.BitCount == 16) {  // 5-5-5
    info.Masks[0] = 0x7C00;
    info.Masks[1] = 0x03E0;
    info.Masks[2] = 0x001F;
  }
}

void CheckCompression(const TzkBmpInfo& info) {
  switch (info.Compression) {
    case TzkBmpInfo::kBiRgb:
      return;
    case TzkBmpInfo::kBiBitfields:
    case TzkBmpInfo::kBiAlphaBitfields:
      if (info.BitCount == 16 || info.BitCount == 32) return;
      Fail("colour masks need 16 or 32 bits per pixel.");
    case 1:
    case 2:
      Fail("run-length compressed files are not supported.");
    default:
      Fail("compression " + std::to_string(info.Compression) + " is not supported.");
  }
}

// One channel taken out of a packed pixel with its mask and widened to 8 bits.
struct TzkMaskChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;  // the largest value after shifting

  explicit TzkMaskChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1)) ++Shift;
    Max = mask >> Shift;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (!Max) return 0;
    const uint64_t v = (pixel & Mask) >> Shift;
    return uint8_t((v * 255 + Max / 2) / Max);
  }
};

void DecodeIndexedRow(const TzkBmpInfo& info, const uint8_t* src, const uint8_t (*palette)[3],
                      uint8_t* dst) {
  const int bits = info.BitCount;
  const int perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (int x = 0; x < info.Width; ++x, dst += 3) {
    const int shift = 8 - bits * (x % perByte + 1);
    const uint8_t* c = palette[(src[x / perByte] >> shift) & mask];
    dst[0] = c[0];
    dst[1] = c[1];
    dst[2] = c[2];
  }
}

void DecodeMaskedRow(const TzkBmpInfo& info, const uint8_t* src, uint8_t* dst) {
  const TzkMaskChannel r(info.Masks[0]), g(info.Masks[1]), b(info.Masks[2]), a(info.Masks[3]);
  const bool wide = info.BitCount == 32;
  for (int x = 0; x < info.Width; ++x) {
    const uint32_t px = wide ? Le32(src + 4 * x) : Le16(src + 2 * x);
    *dst++ = b(px);
    *dst++ = g(px);
    *dst++ = r(px);
    if (wide) *dst++ = a(px);
  }
}

void DecodeRow(const TzkBmpInfo& info, const uint8_t* src, const uint8_t (*palette)[3],
               uint8_t* dst) {
  if (info.BitCount <= 8) return DecodeIndexedRow(info, src, palette, dst);
  if (info.BitCount == 16 || info.Compression != TzkBmpInfo::kBiRgb)
    return DecodeMaskedRow(info, src, dst);
  // 24 bits, and 32 bits without masks: the stored bytes are B, G, R (, A) already.
  std::memcpy(dst, src, size_t(info.Width) * size_t(info.BitCount / 8));
}

}  // namespace

TzkBmpInfo ReadBmpInfo(const uint8_t* data, size_t size, const TzkImageLimits& limits) {
  if (size < kFileHeaderBytes + 4 || data[0] != 'B' || data[1] != 'M') Fail("not a BMP file.");
  const uint32_t headerSize = Le32(data + kFileHeaderBytes);
  if (headerSize != kCoreHeaderBytes &&
      (headerSize < kInfoHeaderBytes || headerSize > kLargestHeaderBytes))
    Fail("unknown header of " + std::to_string(headerSize) + " bytes.");
  if (!Fits(kFileHeaderBytes, headerSize, size)) Fail("the header is truncated.");

  TzkBmpInfo info;
  const uint8_t* h = data + kFileHeaderBytes;
  int64_t width, height;
  uint32_t colorsUsed = 0;
  if (headerSize == kCoreHeaderBytes) {
    width = Le16(h + 4);
    height = Le16(h + 6);
    info.BitCount = Le16(h + 10);
    info.PaletteEntryBytes = 3;
  } else {
    width = int32_t(Le32(h + 4));
    height = int32_t(Le32(h + 8));
    info.BitCount = Le16(h + 14);
    info.Compression = Le32(h + 16);
    colorsUsed = Le32(h + 32);
  }
  if (height < 0) {
    info.TopDown = true;
    height = -height;
  }
  switch (info.BitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Fail(std::to_string(info.BitCount) + " bits per pixel are not supported.");
  }
  CheckCompression(info);
  if (width <= 0 || height <= 0) Fail("the image is empty.");
  if (!limits.Allow(width, height, info.OutputFormat()))
    Fail("the image of " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels is too large.");
  info.Width = int(width);
  info.Height = int(height);

  size_t paletteOffset = kFileHeaderBytes + headerSize;
  if (info.Compression != TzkBmpInfo::kBiRgb) ReadMasks(data, size, headerSize, info, paletteOffset);
  else SetDefaultMasks(info);

  const uint32_t offBits = Le32(data + 10);
  if (info.BitCount <= 8) {
    uint32_t entries = 1u << info.BitCount;
    if (colorsUsed != 0 && colorsUsed < entries) entries = colorsUsed;
    // Old core-header files may store a shorter palette; the pixel offset tells.
    if (headerSize == kCoreHeaderBytes && offBits > paletteOffset)
      entries = std::min<uint32_t>(entries, uint32_t((offBits - paletteOffset) / 3));
    if (!Fits(paletteOffset, size_t(entries) * size_t(info.PaletteEntryBytes), size))
      Fail("the palette is truncated.");
    info.PaletteSize = entries;
    info.PaletteOffset = paletteOffset;
    paletteOffset += size_t(entries) * size_t(info.PaletteEntryBytes);
  }

  // Some writers leave the pixel offset 0; the pixels then follow the palette.
  info.PixelOffset = offBits ? offBits : paletteOffset;
  const uint64_t rowBits = uint64_t(info.Width) * uint64_t(info.BitCount);
  info.RowBytes = size_t((rowBits + 31) / 32 * 4);
  // The last row's padding may be missing from the file.
  const uint64_t needed = uint64_t(info.RowBytes) * uint64_t(info.Height - 1) + (rowBits + 7) / 8;
  if (info.PixelOffset > size || needed > size - info.PixelOffset)
    Fail("the pixel data is truncated.");
  return info;
}

TzkBitmap DecodeBmpImage(const uint8_t* data, size_t size, const TzkImageLimits& limits) {
  const TzkBmpInfo info = ReadBmpInfo(data, size, limits);
  uint8_t palette[256][3] = {};  // indexes beyond the file's palette give black
  for (uint32_t i = 0; i < info.PaletteSize; ++i) {
    const uint8_t* e = data + info.PaletteOffset + size_t(i) * size_t(info.PaletteEntryBytes);
    std::memcpy(palette[i], e, 3);  // B, G, R
  }
  TzkBitmap out(info.Width, info.Height, info.OutputFormat());
  for (int y = 0; y < info.Height; ++y) {
    const int stored = info.TopDown ? y : info.Height - 1 - y;
    DecodeRow(info, data + info.PixelOffset + size_t(stored) * info.RowBytes, palette,
              out.ScanLine(y));
  }
  return out;
}

bool ReadBmpImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error) {
  try {
    out = DecodeBmpImage(data, size);
    return true;
  } catch (const EzkBmpError& e) {
    error = e.what();
  } catch (const std::bad_alloc&) {
    error = "Cannot load BMP image: out of memory.";
  }
  return false;
}
