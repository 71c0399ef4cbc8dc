// skintool convert IMAGE OUT.bmp
//
// Decodes an image with the skin engine's own readers (picked by the file's signature, else
// its extension) and writes the pixels the engine works with as a 32-bit top-down BMP; a PNG
// gets the same clean-up as when a skin loads it (white with alpha 0 becomes 0).
#include <cstdio>
#include <cstring>

#include "SkinTool.h"
#include "skin/data/zkBmpWriter.h"
#include "skin/data/zkImageReaders.h"
#include "skin/data/zkPNG.h"
#include "skin/data/zkSkinPack.h"
#include "skin/data/zkSkinText.h"

namespace {

enum class TKind { Png, Bmp, Jpeg, Unknown };

TKind KindOf(const std::string& name, const std::vector<uint8_t>& b) {
  static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (b.size() >= 8 && std::memcmp(b.data(), png, 8) == 0) return TKind::Png;
  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return TKind::Bmp;
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return TKind::Jpeg;
  const std::string upper = UpperCase(name);
  auto endsWith = [&](const char* ext) {
    const size_t n = std::strlen(ext);
    return upper.size() >= n && upper.compare(upper.size() - n, n, ext) == 0;
  };
  if (endsWith(".PNG")) return TKind::Png;
  if (endsWith(".BMP")) return TKind::Bmp;
  if (endsWith(".JPG") || endsWith(".JPEG")) return TKind::Jpeg;
  return TKind::Unknown;
}

}  // namespace

int RunConvert(const TArgs& args) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(args[0], kMaxEntryBytes);
  } catch (const EzkSkinError& e) {
    PrintError(e.what());
    return kExitFailed;
  }
  TzkBitmap image;
  std::string error;
  bool ok = false;
  const TKind kind = KindOf(args[0], bytes);
  switch (kind) {
    case TKind::Png: ok = ReadPngImage(bytes.data(), bytes.size(), image, error); break;
    case TKind::Bmp: ok = ReadBmpImage(bytes.data(), bytes.size(), image, error); break;
    case TKind::Jpeg: ok = ReadJpegImage(bytes.data(), bytes.size(), image, error); break;
    case TKind::Unknown: error = "not a PNG, BMP or JPEG image"; break;
  }
  if (!ok) {
    PrintError(args[0] + ": " + error);
    return kExitFailed;
  }
  if (kind == TKind::Png) ClearTransparentWhite(image);
  if (image.Empty()) {
    PrintError(args[0] + ": the image is empty");
    return kExitFailed;
  }
  if (!WriteFileReplacing(args[1], EncodeBmp(image, TzkBmpLayout::TopDown32))) return kExitFailed;
  std::printf("%s: %dx%d, %d-bit -> \"%s\"\n", args[0].c_str(), image.Width(), image.Height(),
              image.BytesPerPixel() * 8, args[1].c_str());
  return kExitOk;
}
