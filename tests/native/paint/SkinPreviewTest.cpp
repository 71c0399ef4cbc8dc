#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "paint/PaintTestUtil.h"
#include "paint/SampleSkin.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkImageReaders.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkPngWriter.h"
#include "skin/paint/zkSkinPreview.h"

using namespace painttest;
namespace fs = std::filesystem;

namespace {

// The sample skin stays in the build tree after the tests, so that it can be previewed with
// `skintool preview build/native/test-skins/PaintSample OUT.png`.
const std::string& SampleFolder() {
  static const std::string folder = [] {
    const fs::path p = fs::path(VORNIK_BINARY_DIR) / "test-skins" / "PaintSample";
    fs::create_directories(p);
    WriteSampleSkin(p.string());
    return p.string();
  }();
  return folder;
}

TzkBitmap Paint(const TsSkinTables& t, const std::string& section, int state, int w = 40, int h = 20) {
  TzkBitmap b = Solid(w, h, clBlack);
  PaintSkinnedItem(&t, SectionLook(t, t.IndexOfSection(section)), TsBackgroundInfo(), clFuchsia, true,
                   true, &b, TPoint(), TRect(0, 0, w, h), state);
  return b;
}

TEST(SampleSkin, LoadsAndPaintsWithInheritedAndHiddenBorders) {
  TsSkinTables t;
  TsSkinLoadReport report;
  ASSERT_TRUE(LoadSkinFromFolder(SampleFolder(), t, {}, &report));
  EXPECT_TRUE(report.ImageProblems.empty()) << report.ImageProblems.front();
  ASSERT_EQ(t.Sections.size(), 10u);
  // WEBBUTTON has no border of its own: it inherits BUTTON's.
  EXPECT_EQ(t.Sections[t.IndexOfSection("WEBBUTTON")].BorderIndex, t.Sections[t.IndexOfSection("BUTTON")].BorderIndex);
  const TzkBitmap button = Paint(t, "BUTTON", 0), web = Paint(t, "WEBBUTTON", 0);
  EXPECT_EQ(Px(web, 1, 1), RGBColor(150, 180, 230));  // the highlight of frame 0
  EXPECT_EQ(Px(button, 1, 1), Px(web, 1, 1));
  // Rounded corner: the key pixel shows the section's own background, the gradient's white
  // first row (with nothing known behind, it is not filled).
  EXPECT_EQ(Px(button, 0, 0), clWhite);
  // The slider's border is hidden in the normal state only.
  EXPECT_EQ(Px(Paint(t, "SCROLLSLIDERH", 0), 1, 1), RGBColor(230, 230, 230));
  EXPECT_EQ(Px(Paint(t, "SCROLLSLIDERH", 1), 1, 1), RGBColor(255, 210, 150));
  // Pressed state: frame 2 of the button border.
  EXPECT_EQ(Px(Paint(t, "BUTTON", 2), 1, 1), RGBColor(60, 80, 120));
}

TEST(SampleSkin, PreviewSheetShowsEverySectionInThreeStates) {
  TsSkinTables t;
  ASSERT_TRUE(LoadSkinFromFolder(SampleFolder(), t));
  TzkPreviewOptions options;
  options.CellWidth = 100;
  options.CellHeight = 30;
  const TzkBitmap sheet = RenderSkinPreview(t, options);
  ASSERT_GE(sheet.Width(), 3 * 100);
  ASSERT_GE(sheet.Height(), 10 * 30);
  const std::string out = (fs::path(VORNIK_BINARY_DIR) / "test-skins" / "PaintSample-preview.png").string();
  SavePng(sheet, out);
  TzkBitmap back;
  std::string error;
  std::vector<uint8_t> bytes(fs::file_size(out));
  std::ifstream(out, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(ReadPngImage(bytes.data(), bytes.size(), back, error)) << error;
  EXPECT_TRUE(SamePixels(back, sheet));
}

}  // namespace
