#include <gtest/gtest.h>

#include <algorithm>

#include "skin/data/sSkinDump.h"
#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"
#include "support/BmpTestWriter.h"
#include "support/JpegTestEncoder.h"
#include "support/PngTestEncoder.h"
#include "support/SkinTestData.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An RGBA PNG whose first pixel is white with alpha 0 and the rest opaque blue.
Bytes Png(int w, int h) {
  std::vector<uint32_t> argb(size_t(w) * size_t(h), 0xFF0000FF);
  argb[0] = 0x00FFFFFF;
  return pngtest::EncodePng(pngtest::TPngImage::Rgba8(w, h, argb));
}

Bytes Jpeg(int w, int h) {
  jpegtest::TJpegSpec spec;
  spec.Width = w;
  spec.Height = h;
  return jpegtest::EncodeJpeg(spec, jpegtest::SmoothSamples(w, h, 3));
}

// The realistic skin of SkinTestData.h, written with mixed-case file names.
void WriteRealisticSkin(const TTempDir& dir) {
  dir.Write("Options.dat", skintest::RealisticOptions());
  dir.Write("Master.bmp", skintest::MasterBmp());
  for (const auto& f : skintest::kPngFiles) dir.Write(f.Name, Png(f.Width, f.Height));
  dir.Write(skintest::kBackJpeg.Name, Jpeg(skintest::kBackJpeg.Width, skintest::kBackJpeg.Height));
  dir.Write(skintest::kTileJpeg.Name, Jpeg(skintest::kTileJpeg.Width, skintest::kTileJpeg.Height));
  dir.Write(skintest::kButtonBmp.Name, skintest::PlainBmp(skintest::kButtonBmp.Width, skintest::kButtonBmp.Height, 32));
}

const TsMaskData& MaskNamed(const TsSkinTables& t, const std::string& section, const std::string& key) {
  const int i = t.IndexOfMaskExact(section, key);
  EXPECT_GE(i, 0) << section << "/" << key;
  return t.Masks.at(size_t(std::max(i, 0)));
}

TEST(SkinLoader, FolderAndPackedTwinGiveIdenticalTables) {
  TTempDir dir("loader-twin");
  WriteRealisticSkin(dir);
  TsSkinTables folder, packed;
  TsSkinLoadReport report;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), folder, {}, &report));
  EXPECT_TRUE(report.ImageProblems.empty()) << report.ImageProblems[0];
  EXPECT_TRUE(report.ParentProblems.empty());
  const Bytes archive = PackSkinFolder(dir.Path());
  LoadSkinFromArchive(archive.data(), archive.size(), packed);
  EXPECT_EQ(DumpSkinTables(folder), DumpSkinTables(packed));
  EXPECT_EQ(folder.Sections.size(), 60u);
  EXPECT_EQ(folder.SkinData.SkinPath, WithTrailingSeparator(dir.Path()));
  EXPECT_EQ(packed.SkinData.SkinPath, "");
  for (const TsMaskData& m : packed.Masks) EXPECT_EQ(m.Manager, &packed);

  // The same through a .qvz file: its folder becomes the skin path.
  dir.Write("twin.qvz", archive);
  TsSkinTables file;
  LoadSkinFromPackedFile(dir / "twin.qvz", file);
  EXPECT_EQ(DumpSkinTables(file), DumpSkinTables(packed));
  EXPECT_EQ(file.SkinData.SkinPath, WithTrailingSeparator(dir.Path()));
}

TEST(SkinLoader, ImageFilesFollowTheirFormatRules) {
  TTempDir dir("loader-images");
  WriteRealisticSkin(dir);
  dir.Write("Tex32.bmp", skintest::PlainBmp(6, 6, 32));
  dir.Write("Glyph32.bmp", skintest::PlainBmp(6, 6, 32));
  dir.Write("Options.dat", skintest::RealisticOptions() +
                               "[EXTRA]\r\nTEX=!TEX32.BMP!1!0!1\r\nGLYPH=!GLYPH32.BMP!3!0!2\r\n");
  TsSkinTables t;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t));
  EXPECT_EQ(t.MasterBitmap.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(t.MasterBitmap.Width(), 320);
  // "!" BMPs become 24-bit unless they are textures.
  EXPECT_EQ(MaskNamed(t, "EXTRA", "TEX").Image->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(MaskNamed(t, "EXTRA", "GLYPH").Image->PixelFormat(), TPixelFormat::pf24bit);
  // A PNG keeps its alpha; white with alpha 0 becomes transparent black.
  const TsMaskData& glow = MaskNamed(t, "BUTTON", "GLOWMASK");
  ASSERT_EQ(glow.Image->PixelFormat(), TPixelFormat::pf32bit);
  const uint8_t* p = glow.Image->ScanLine(0);
  EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0);
  EXPECT_EQ(p[4 + 3], 0xFF);
  EXPECT_EQ(glow.Rect, TRect(0, 0, 40, 40));
  EXPECT_EQ(glow.StretchMode, 4);
  EXPECT_EQ(glow.WL, 40 / 3);  // no widths given: a third of the frame, BorderWidth ignored
  // The older ".BMP" form: 24-bit border of 3 frames over a mask half, names upper-cased.
  const TsMaskData& huge = MaskNamed(t, "BUTTON_HUGE", "BORDERSMASK");
  EXPECT_EQ(huge.Image->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(huge.ImageCount, 3);
  EXPECT_EQ(huge.MaskType, 1);
  EXPECT_EQ(huge.WL, 90 / 9);
  EXPECT_EQ(huge.WT, 60 / 6);
}

TEST(SkinLoader, JpegsBecomePatternsOrTexturesBySize) {
  TTempDir dir("loader-jpeg");
  WriteRealisticSkin(dir);
  dir.Write("Big.jpg", Jpeg(300, 300));
  dir.Write("Small.JPEG", Jpeg(200, 200));
  dir.Write("Options.dat", skintest::RealisticOptions() + "[Extra]\r\nBig=BIG.JPG\r\nsmall=SMALL.JPEG\r\n");
  TsSkinTables t;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t));
  const int form = t.IndexOfSection("FORM");
  ASSERT_EQ(t.Patterns.size(), 2u);
  EXPECT_EQ(t.IndexOfPattern(form, "FORM", "PATTERN"), 0);
  EXPECT_EQ(t.Patterns[1].SectionName, "EXTRA");
  EXPECT_EQ(t.Patterns[1].PropertyName, "BIG");
  EXPECT_EQ(t.Patterns[1].Image->Width(), 300);
  // Small JPEGs come after every other mask, as textures with upper-cased names.
  const int tile = t.IndexOfTexture(form, "FORM", "HOTPATTERN");
  const int small = t.IndexOfMaskExact("EXTRA", "SMALL");
  EXPECT_EQ(small, int(t.Masks.size()) - 1);
  EXPECT_EQ(tile, small - 1);
  EXPECT_EQ(t.Masks[size_t(small)].ImgType, itisaTexture);
  EXPECT_EQ(t.Masks[size_t(small)].ImageCount, 1);
  EXPECT_EQ(t.Masks[size_t(small)].Rect, TRect(0, 0, 200, 200));
}

TEST(SkinLoader, SectionsReadPropertiesWithInheritanceAndDefaults) {
  TTempDir dir("loader-sections");
  dir.Write("options.DAT",
            "[GLOBALINFO]\nVERSION=300.5\nMAXHEIGHT=$20\nSHADOW1BLUR=-1\nBORDERWIDTH=99999\nBISPACE=-1\n"
            "[EDIT]\nCOLOR=-16777201\nTRANSPARENCY=30\nBORDERSMASK=" +
                skintest::Border(0, 0, 30, 30, 2, 1, 0) +
                "\n[MYEDIT]\nPARENTCLASS=EDIT\nTRANSPARENCY=-1\nBORDERSMASK=N/A\n"
                "[PLAIN]\nHOTGRADIENTDATA=1;2;3;4;5;6;7\n");
  TsSkinTables t;
  TsSkinLoadReport report;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t, {}, &report));
  EXPECT_TRUE(report.VersionTooNew);
  EXPECT_TRUE(t.MasterBitmap.Empty());
  EXPECT_DOUBLE_EQ(t.SkinData.Version, 300.5);
  EXPECT_EQ(t.SkinData.MaxTitleHeight, 32);
  EXPECT_EQ(t.SkinData.Shadow1Blur, -1);
  EXPECT_EQ(t.SkinData.TitleHeight, 30);
  EXPECT_EQ(t.SkinData.ExBorderWidth, 32767);  // 16-bit fields are clamped
  EXPECT_EQ(t.SkinData.TitleButtonSpacing, -1);  // skin-wide -1 is a value, not "missing"
  const TsGeneralData& edit = t.Sections[1];
  const TsGeneralData& my = t.Sections[2];
  const TsGeneralData& plain = t.Sections[3];
  EXPECT_EQ(edit.Color, ColorToRGB(clBtnFace));  // system colour converted
  EXPECT_EQ(my.Color, edit.Color);
  EXPECT_EQ(my.Transparency, 30);
  EXPECT_EQ(my.BorderIndex, 0);  // "N/A" is no image: the parent's border
  EXPECT_EQ(t.Masks.size(), 1u);
  EXPECT_EQ(plain.Color, clWhite);
  EXPECT_EQ(plain.FadingIterations, 5);
  EXPECT_EQ(plain.GradientData, " ");
  EXPECT_TRUE(plain.GradientArray.empty());
  EXPECT_EQ(plain.HotGradientArray.size(), 1u);
  EXPECT_EQ(t.Sections[0].BorderIndex, -1);
  EXPECT_EQ(t.CachedIndexes.GlobalInfo, 0);
}

TEST(SkinLoader, MissingImagesAreSkippedAndReported) {
  TTempDir dir("loader-missing");
  dir.Write("Options.dat",
            "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"
            "[A]\nPARENTCLASS=a\nBORDERSMASK=" + skintest::Border(0, 0, 9, 9, 0, 1, 0) +
                "\nGLOW=!NOWHERE.PNG!1!0!3\nBAD=!BROKEN.PNG!1!0!3\n"
                "[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=B\n[D]\nPARENTCLASS=NOWHERE\n[E]\nPARENTCLASS=a\n");
  dir.Write("Broken.png", std::string("\x89PNG\r\n\x1a\nshort"));
  TsSkinTables t;
  TsSkinLoadReport report;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t, {}, &report));
  EXPECT_TRUE(report.MasterBitmapMissing);
  ASSERT_EQ(t.Masks.size(), 1u);  // master-bitmap records stay without a master
  ASSERT_EQ(report.ImageProblems.size(), 3u);
  EXPECT_NE(report.ImageProblems[1].find("NOWHERE.PNG\" not found"), std::string::npos);
  EXPECT_NE(report.ImageProblems[2].find("BROKEN.PNG"), std::string::npos);
  ASSERT_EQ(report.ParentProblems.size(), 5u);
  EXPECT_NE(report.ParentProblems[0].find("names the section itself"), std::string::npos);
  EXPECT_NE(report.ParentProblems[1].find("circle: B -> C -> B"), std::string::npos);
  EXPECT_NE(report.ParentProblems[2].find("circle"), std::string::npos);
  EXPECT_NE(report.ParentProblems[3].find("names no section"), std::string::npos);
  EXPECT_NE(report.ParentProblems[4].find("only ignoring letter case"), std::string::npos);
  EXPECT_FALSE(LoadSkinFromFolder(dir / "nothing-here", t));
}

TEST(SkinLoader, FailedLoadsLeaveThePreviousSkinInPlace) {
  TTempDir dir("loader-fail");
  WriteRealisticSkin(dir);
  TsSkinTables t;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t));
  const std::string before = DumpSkinTables(t);

  dir.Write("Options.dat", skintest::RealisticOptions() + "[LAST]\r\nBORDERSMASK=^0001^0002^00x3\r\n");
  try {
    LoadSkinFromFolder(dir.Path(), t);
    ADD_FAILURE() << "no error";
  } catch (const EzkSkinError& e) {
    EXPECT_NE(std::string(e.what()).find("[LAST] BORDERSMASK=^0001^0002^00x3: \"00x3\" is not a valid number"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(DumpSkinTables(t), before);

  const std::string notSkin = "GIF89a";
  EXPECT_THROW(LoadSkinFromArchive(reinterpret_cast<const uint8_t*>(notSkin.data()), notSkin.size(), t),
               EzkNotPackedSkin);
  EXPECT_THROW(LoadSkinFromPackedFile(dir / "none.qvz", t), EzkSkinError);
  EXPECT_EQ(DumpSkinTables(t), before);
}

TEST(SkinLoader, HostileOptionsHitTheRecordAndImageCaps) {
  TTempDir dir("loader-caps");
  dir.Write("Big.bmp", skintest::PlainBmp(100, 100));
  std::string options = "[A]\n";
  for (int i = 0; i < 20; ++i) options += "K" + std::to_string(i) + "=!BIG.BMP!1!0!2\n";
  dir.Write("Options.dat", options);
  TsSkinTables t;
  TsSkinLoadOptions caps;
  caps.MaxRecords = 10;
  EXPECT_THROW(LoadSkinFromFolder(dir.Path(), t, caps), EzkSkinError);
  caps = TsSkinLoadOptions();
  caps.MaxImageBytes = 100 * 300 * 5;  // five copies of the decoded picture
  try {
    LoadSkinFromFolder(dir.Path(), t, caps);
    ADD_FAILURE() << "no error";
  } catch (const EzkSkinError& e) {
    EXPECT_NE(std::string(e.what()).find("at [A] K5="), std::string::npos) << e.what();
  }
  EXPECT_TRUE(t.Masks.empty());
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t));
  EXPECT_EQ(t.Masks.size(), 20u);
}

TEST(SkinLoader, HueAndSaturationApplyAtTheEndOfTheLoad) {
  TTempDir dir("loader-hue");
  WriteRealisticSkin(dir);
  TsSkinTables plain, turned;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), plain));
  TsSkinLoadOptions options;
  options.HueOffset = 120;
  options.Saturation = 101;  // no effect
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), turned, options));
  const int edit = plain.IndexOfSection("EDIT");
  EXPECT_EQ(turned.Sections[size_t(edit)].HotFontColor.Color, 0x00FF00);  // red turned green
  EXPECT_NE(BitmapDigest(turned.MasterBitmap), BitmapDigest(plain.MasterBitmap));
  // BIKEEPHUE=2 keeps the close icon and its glow.
  const int close = plain.IndexOfMaskExact("GLOBALINFO", "BICONCLOSE");
  const int max = plain.IndexOfMaskExact("GLOBALINFO", "BICONMAX");
  EXPECT_EQ(BitmapDigest(*turned.Masks[size_t(close)].Image), BitmapDigest(*plain.Masks[size_t(close)].Image));
  EXPECT_NE(BitmapDigest(*turned.Masks[size_t(max)].Image), BitmapDigest(*plain.Masks[size_t(max)].Image));
}

TEST(SkinLoader, CommonSectionsAddMissingSectionsFromTheirParents) {
  TTempDir dir("loader-common");
  dir.Write("Options.dat", "[EDIT]\nCOLOR=255\nTRANSPARENCY=20\nFADINGITERATIONS=9\n");
  dir.Write("Frame.bmp", skintest::PlainBmp(30, 20));
  TsSkinLoadOptions options;
  options.CommonSections =
      "[EDIT]\nCOLOR=1\n[MYPANEL]\nPARENTCLASS=edit\nTRANSPARENCY=-1\nCOLOR=65280\n"
      "SHOWFOCUS=?\nBORDERSMASK=FRAME.BMP\n[LONE]\nGLOW=x\n";
  TsSkinTables t;
  ASSERT_TRUE(LoadSkinFromFolder(dir.Path(), t, options));
  ASSERT_EQ(t.Sections.size(), 3u);
  EXPECT_EQ(t.Sections[0].Color, 255);  // sections the skin has stay as they are
  const TsGeneralData& panel = t.Sections[1];
  EXPECT_EQ(panel.ParentClass, "EDIT");
  EXPECT_EQ(panel.Color, 65280);
  EXPECT_EQ(panel.Transparency, 20);
  EXPECT_EQ(panel.FadingIterations, 9);
  EXPECT_EQ(panel.BorderIndex, 0);
  EXPECT_EQ(t.Masks[0].SectionName, "MYPANEL");
  EXPECT_EQ(t.Sections[2].GlowCount, 0);
  EXPECT_EQ(t.Sections[2].FadingIterations, 5);
}

TEST(SkinLoader, PackSkinFolderPutsOptionsFirstThenBitmaps) {
  TTempDir dir("loader-pack");
  for (const char* name : {"b.png", "Z.BMP", "a.bmp", "OPTIONS.DAT", "C.txt", ".hidden"}) dir.Write(name, std::string(name));
  const Bytes archive = PackSkinFolder(dir.Path());
  std::unique_ptr<TzkSkinConvertor> reader;
  TzkSkinConvertor::ParseBuffer(archive.data(), archive.size(), reader);
  std::vector<std::string> names;
  for (const TzkEntryInfo& e : reader->Entries()) names.push_back(e.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"OPTIONS.DAT", "a.bmp", "Z.BMP", "b.png", "C.txt"}));
  TTempDir empty("loader-pack-empty");
  EXPECT_THROW(PackSkinFolder(empty.Path()), EzkSkinError);
}

}  // namespace
