// Fuzzes the options file and every image notation: the input is an options text, loaded as
// the "Options.dat" of an archive that also holds small images under the names a skin uses
// (a master bitmap, PNG, BMP and JPEG files), then looked up, dumped and recoloured.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/SkinFuzzArchive.h"
#include "skin/data/sSkinDump.h"
#include "skin/data/sSkinLoader.h"
#include "tests/native/support/SkinTestData.h"

using namespace skinfuzz;

namespace {

// The archive's image entries, made once.
const TzkSkinPacker& Images() {
  static const TzkSkinPacker packer = [] {
    TzkSkinPacker p;
    p.Add("Master.bmp", SmallBmp(64, 48, TPixelFormat::pf24bit));
    for (const auto& f : skintest::kPngFiles) p.Add(f.Name, SmallPng(6, 4));
    p.Add(skintest::kButtonBmp.Name, SmallBmp(9, 6, TPixelFormat::pf32bit));
    p.Add(skintest::kBackJpeg.Name, SmallJpeg(16, 8));
    p.Add(skintest::kTileJpeg.Name, SmallJpeg(8, 8));
    return p;
  }();
  return packer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes = ArchiveWithOptions(Images(), data, size);
  TsSkinLoadOptions options;
  options.HueOffset = size > 0 ? int(data[0]) - 128 : 0;
  options.Saturation = size > 1 ? int(data[1]) - 128 : 0;
  options.MaxImageBytes = size_t(16) << 20;
  TsSkinTables tables;
  try {
    LoadSkinFromArchive(bytes.data(), bytes.size(), tables, options);
  } catch (const EzkSkinError&) {
    return 0;
  }
  (void)DumpSkinTables(tables);
  for (int i = 0; i < int(tables.Masks.size()); ++i) {
    (void)tables.LeftBorder(i);
    (void)tables.ImageFrameSize(i);
  }
  for (int i = 0; i < int(tables.Sections.size()); ++i)
    (void)tables.IndexOfPattern(i, tables.Sections[size_t(i)].SectionName, "PATTERN");
  (void)tables.MenuHighlightFontColor();
  return 0;
}
