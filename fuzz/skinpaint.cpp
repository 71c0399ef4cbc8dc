// Fuzzes painting with whatever a skin's options say: the input is an options text, loaded
// with a master bitmap and small image files as in fuzz_skinoptions, and every section is
// then painted in every state, with and without its border and corner images, over no
// background, a colour and a bitmap, into 24- and 32-bit bitmaps. Percentages, frame counts,
// stretch modes and rectangles arrive unchecked, so the arithmetic of every painter is
// searched here.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/SkinFuzzArchive.h"
#include "skin/data/sSkinLoader.h"
#include "skin/paint/sSectionPainter.h"
#include "tests/native/support/SkinTestData.h"

using namespace skinfuzz;

namespace {

// The options of a realistic skin address a master bitmap of this size.
constexpr int kMasterWidth = 320, kMasterHeight = 300;
constexpr size_t kMaxPaintedSections = 400;

const TzkSkinPacker& Images() {
  static const TzkSkinPacker packer = [] {
    TzkSkinPacker p;
    p.Add("Master.bmp", skintest::MasterBmp(kMasterWidth, kMasterHeight));
    for (const auto& f : skintest::kPngFiles) p.Add(f.Name, SmallPng(12, 8));
    p.Add(skintest::kButtonBmp.Name, SmallBmp(9, 6, TPixelFormat::pf32bit));
    p.Add(skintest::kBackJpeg.Name, SmallJpeg(16, 8));
    p.Add(skintest::kTileJpeg.Name, SmallJpeg(8, 8));
    return p;
  }();
  return packer;
}

TsBackgroundInfo Behind(int kind, const TzkBitmap& bitmap) {
  TsBackgroundInfo bg;
  if (kind == 1) bg.Color = RGBColor(30, 60, 90);
  if (kind == 2) {
    bg.Bitmap = &bitmap;
    bg.IsBitmap = true;
    bg.X = 3;
    bg.Y = 2;
  }
  return bg;
}

void PaintEverySection(const TsSkinTables& tables, TPixelFormat format) {
  TzkBitmap behind(40, 30, format);
  behind.Fill(0x00405060);
  const size_t count = std::min(tables.Sections.size(), kMaxPaintedSections);
  for (size_t i = 0; i < count; ++i) {
    const int index = int(i);
    const TsItemLook look = SectionLook(tables, index);
    for (int state = 0; state < 3; ++state) {
      // A size per section, so small targets meet large borders and tiles.
      TzkBitmap dst(4 + index % 29, 3 + index % 23, format);
      dst.Fill(0x00FFFFFF);
      const TRect all(0, 0, dst.Width(), dst.Height());
      const TsBackgroundInfo bg = Behind((index + state) % 3, behind);
      PaintSkinnedItem(&tables, look, bg, clFuchsia, state != 1, state == 2, &dst, TPoint(1, 1),
                       all, state);
      PaintSectionByIndex(index, look.SectionName, bg, -1, -1, &tables, &dst, TPoint(), all, state,
                          true);
      PaintSection(index, look.SectionName, bg, state == 2 ? RGBColor(1, 2, 3) : clFuchsia, -1, -1,
                   &tables, dst, TPoint(2, 0), TRect(1, 1, dst.Width() - 1, dst.Height()), state);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes = ArchiveWithOptions(Images(), data, size);
  TsSkinLoadOptions options;
  options.MaxImageBytes = size_t(16) << 20;
  options.MaxRecords = 4096;
  TsSkinTables tables;
  try {
    LoadSkinFromArchive(bytes.data(), bytes.size(), tables, options);
  } catch (const EzkSkinError&) {
    return 0;
  }
  PaintEverySection(tables, TPixelFormat::pf24bit);
  PaintEverySection(tables, TPixelFormat::pf32bit);
  return 0;
}
