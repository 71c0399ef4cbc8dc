#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "skin/data/zkBmpWriter.h"
#include "skin/data/zkImageReaders.h"
#include "support/CommandRunner.h"
#include "support/SkinTestData.h"
#include "support/TempDir.h"

namespace {

// Runs the skintool the native build made beside the tests.
TRun SkinTool(const std::string& args) {
  return RunCommand(std::string(VORNIK_BINARY_DIR) + "/bin/skintool " + args);
}

class SkinToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test program depends on the skin's build step, which builds the tool: a missing
    // tool is a fault of the build, not a reason to pass.
    if (!std::filesystem::exists(std::string(VORNIK_BINARY_DIR) + "/bin/skintool"))
      GTEST_FAIL() << "skintool is not built: " << VORNIK_BINARY_DIR << "/bin/skintool";
  }
};

TEST_F(SkinToolTest, PackedTwinDumpsLikeItsFolderAndProblemsFailTheCheck) {
  TTempDir dir("skintool");
  std::filesystem::create_directories(dir / "skin");
  dir.Write("skin/Options.dat",
            "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[EDIT]\nBORDERSMASK=" +
                skintest::Border(0, 0, 30, 30, 3, 3, 0) + "\n[BUTTON]\nPARENTCLASS=EDIT\n");
  dir.Write("skin/Master.bmp", skintest::MasterBmp(60, 40));
  EXPECT_EQ(SkinTool("pack " + dir / "skin" + " " + dir / "s.qvz").Code, 0);
  const TRun folder = SkinTool("check --dump " + dir / "skin");
  const TRun packed = SkinTool("check --dump " + dir / "s.qvz");
  EXPECT_EQ(folder.Code, 0);
  EXPECT_EQ(folder.Output, packed.Output);
  EXPECT_NE(folder.Output.find("mask 0 \"EDIT\"/\"BORDERSMASK\""), std::string::npos);
  EXPECT_EQ(SkinTool("check " + dir / "skin").Code, 0);

  dir.Write("skin/Options.dat", "[EDIT]\nPARENTCLASS=edit\nGLYPH=!missing.png!1!0!2\n");
  const TRun broken = SkinTool("check " + dir / "skin");
  EXPECT_EQ(broken.Code, 1);
  EXPECT_NE(broken.Output.find("unresolved image keys (1)"), std::string::npos) << broken.Output;
  EXPECT_NE(broken.Output.find("names the section itself"), std::string::npos);

  dir.Write("junk.qvz", std::string("junk"));
  const TRun junk = SkinTool("list " + dir / "junk.qvz");
  EXPECT_EQ(junk.Code, 1);
  EXPECT_NE(junk.Output.find("Loaded data is not packed OrvexSkin file"), std::string::npos);
  EXPECT_EQ(SkinTool("convert " + dir / "junk.qvz " + dir / "x.bmp").Code, 1);
  EXPECT_EQ(SkinTool("pack").Code, 2);
}

TEST(BmpWriter, WrittenFilesReadBackPixelForPixel) {
  TzkBitmap source(3, 2, TPixelFormat::pf24bit);
  for (int y = 0; y < 2; ++y)
    for (int i = 0; i < 9; ++i) source.ScanLine(y)[i] = uint8_t(y * 40 + i * 3);
  std::string error;
  for (TzkBmpLayout layout : {TzkBmpLayout::AsIs, TzkBmpLayout::TopDown32}) {
    const std::vector<uint8_t> file = EncodeBmp(source, layout);
    TzkBitmap back;
    ASSERT_TRUE(ReadBmpImage(file.data(), file.size(), back, error)) << error;
    ASSERT_EQ(back.Width(), 3);
    const int bpp = back.BytesPerPixel();
    EXPECT_EQ(bpp, layout == TzkBmpLayout::AsIs ? 3 : 4);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(0, std::memcmp(back.ScanLine(y) + x * bpp, source.ScanLine(y) + x * 3, 3));
        if (bpp == 4) {
          EXPECT_EQ(back.ScanLine(y)[x * 4 + 3], 0xFF);  // 24-bit sources are opaque
        }
      }
  }
}

}  // namespace
