// The icon files the asset generator draws, read as the program reads them: every status icon
// holds an image for each usual display scale, and the program picks the one its list's DPI
// asks for.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/IconFileCheck.h"
#include "app/IconSizeChoice.h"
#include "support/CommandRunner.h"
#include "support/TempDir.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

uint32_t Little(const std::string& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + size_t(i)]);
  return value;
}

// The alpha of pixel (x, y) (from the top) of image `index`, a 32-bit bitmap.
int AlphaAt(const std::string& ico, int index, int x, int y) {
  const size_t entry = 6 + 16 * size_t(index);
  const size_t offset = Little(ico, entry + 12, 4);
  const int width = int(Little(ico, offset + 4, 4));
  const int height = int(Little(ico, offset + 8, 4)) / 2;  // colour rows, then the mask's
  const size_t row = size_t(height - 1 - y);                // rows are stored bottom-up
  return static_cast<unsigned char>(ico[offset + 40 + (row * size_t(width) + size_t(x)) * 4 + 3]);
}

class StatusIconAssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string tool = std::string(VORNIK_BINARY_DIR) + "/bin/assetgen";
    if (!std::filesystem::exists(tool)) GTEST_FAIL() << "assetgen is not built: " << tool;
    const TRun run = RunCommand(tool + " " + dir.Path());
    ASSERT_EQ(run.Code, 0) << run.Output;
  }
  TTempDir dir{"assetgen"};
};

TEST_F(StatusIconAssetsTest, EveryStatusIconHoldsFourSizesOf32BitImagesWithAlpha) {
  for (const char* name : {"notok.ico", "ok.ico", "yellow.ico", "red.ico"}) {
    SCOPED_TRACE(name);
    const std::string ico = ReadAll(dir / name);
    ASSERT_EQ(IconFileDamage(ico), "");
    const std::vector<int> sizes = IconFileSizes(ico);
    ASSERT_EQ(sizes, (std::vector<int>{16, 20, 24, 32}));
    for (int i = 0; i < int(sizes.size()); ++i) {
      const size_t entry = 6 + 16 * size_t(i);
      EXPECT_EQ(Little(ico, entry + 6, 2), 32u) << "bits per pixel of image " << i;
      const size_t offset = Little(ico, entry + 12, 4);
      EXPECT_EQ(int(Little(ico, offset + 4, 4)), sizes[size_t(i)]);
      EXPECT_EQ(Little(ico, offset + 14, 2), 32u);
      // Clear corners, an opaque middle and soft edges in between: drawn at that size.
      const int s = sizes[size_t(i)];
      EXPECT_EQ(AlphaAt(ico, i, 0, 0), 0);
      EXPECT_EQ(AlphaAt(ico, i, s - 1, s - 1), 0);
      EXPECT_EQ(AlphaAt(ico, i, s / 2, s / 2), 255);
      int soft = 0;
      for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) soft += AlphaAt(ico, i, x, y) > 0 && AlphaAt(ico, i, x, y) < 255;
      EXPECT_GT(soft, s / 2);
    }
  }
  const std::vector<int> app = IconFileSizes(ReadAll(dir / "VornikDesktop.ico"));
  EXPECT_EQ(app, (std::vector<int>{48, 16, 20, 24, 32})) << "the window's icon first, then the tray's";
}

TEST_F(StatusIconAssetsTest, TheListTakesTheImageDrawnForItsScale) {
  const std::vector<int> sizes = IconFileSizes(ReadAll(dir / "ok.ico"));
  // 100, 125, 150 and 200 %: the image drawn for that size.
  EXPECT_EQ(ChooseIconSize(sizes, StatusIconSizeForDpi(96)), 16);
  EXPECT_EQ(ChooseIconSize(sizes, StatusIconSizeForDpi(120)), 20);
  EXPECT_EQ(ChooseIconSize(sizes, StatusIconSizeForDpi(144)), 24);
  EXPECT_EQ(ChooseIconSize(sizes, StatusIconSizeForDpi(192)), 32);
  // Between and beyond them: the next larger one, scaled down; above all of them the largest.
  EXPECT_EQ(StatusIconSizeForDpi(168), 28);
  EXPECT_EQ(ChooseIconSize(sizes, 28), 32);
  EXPECT_EQ(ChooseIconSize(sizes, 12), 16);
  EXPECT_EQ(ChooseIconSize(sizes, StatusIconSizeForDpi(288)), 32);
  // A damaged file offers nothing: the caller loads the size it wants and the platform says why not.
  const std::string cut = ReadAll(dir / "ok.ico").substr(0, 40);
  EXPECT_TRUE(IconFileSizes(cut).empty());
  EXPECT_EQ(ChooseIconSize(IconFileSizes(cut), 16), 0);
}

}  // namespace
