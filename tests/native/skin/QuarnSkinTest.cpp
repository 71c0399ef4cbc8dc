// The internal skins "Quarn (internal)" and "Quarn Night (internal)" as the build makes them:
// drawn by quarngen, packed by the skin packer, loaded by the skin loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/data/sSkinLoader.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/sMaskPainter.h"
#include "support/CommandRunner.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kBin = std::string(VORNIK_BINARY_DIR) + "/bin/";
const std::string kSkinSource = std::string(VORNIK_SOURCE_DIR) + "/skins/Quarn";
const std::string kBuiltArchive = std::string(VORNIK_BINARY_DIR) + "/quarn/Quarn.qvz";
const std::string kNightArchive = std::string(VORNIK_BINARY_DIR) + "/quarn/QuarnNight.qvz";

class QuarnSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::filesystem::exists(kBuiltArchive)) return;
    archive_ = ReadWholeFile(kBuiltArchive, kMaxArchiveBytes);
    tables_ = new TsSkinTables;
    LoadSkinFromArchive(archive_.data(), archive_.size(), *tables_, {}, &report_);
    if (!std::filesystem::exists(kNightArchive)) return;
    const Bytes night = ReadWholeFile(kNightArchive, kMaxArchiveBytes);
    night_ = new TsSkinTables;
    LoadSkinFromArchive(night.data(), night.size(), *night_, {}, &nightReport_);
  }
  static void TearDownTestSuite() {
    delete tables_;
    delete night_;
    tables_ = night_ = nullptr;
  }
  void SetUp() override {
    // The test program depends on the skins' build step, so a missing archive is a fault.
    if (!tables_) GTEST_FAIL() << "the internal skin was not built: " << kBuiltArchive;
    if (!night_) GTEST_FAIL() << "the internal skin was not built: " << kNightArchive;
  }
  static const TsSkinTables& T() { return *tables_; }
  static const TsSkinTables& N() { return *night_; }
  static int Section(const std::string& name) { return T().IndexOfSection(name); }
  static const TsGeneralData& S(const std::string& name) { return T().Sections.at(size_t(Section(name))); }
  static int Mask(const std::string& section, const std::string& key) {
    return T().IndexOfMask(Section(section), section, key);
  }

  static Bytes archive_;
  static TsSkinTables* tables_;
  static TsSkinTables* night_;
  static TsSkinLoadReport report_;
  static TsSkinLoadReport nightReport_;
};
Bytes QuarnSkinTest::archive_;
TsSkinTables* QuarnSkinTest::tables_ = nullptr;
TsSkinTables* QuarnSkinTest::night_ = nullptr;
TsSkinLoadReport QuarnSkinTest::report_;
TsSkinLoadReport QuarnSkinTest::nightReport_;

// Section name -> its image keys with their values' rectangles, in file order.
std::vector<std::string> ImageKeys(const TsSkinTables& t) {
  std::vector<std::string> keys;
  for (const TsMaskData& m : t.Masks)
    keys.push_back(m.SectionName + "." + m.PropertyName + (m.Image ? " own" : " master") + " " +
                   std::to_string(m.Rect.Left) + "," + std::to_string(m.Rect.Top) + "," +
                   std::to_string(m.Rect.Right) + "," + std::to_string(m.Rect.Bottom));
  return keys;
}

TEST_F(QuarnSkinTest, EveryBuildMakesTheSameArchiveWithItsTwelveEntriesInOrder) {
  TTempDir dir("quarn");
  for (const char* name : {"a", "b"}) {
    std::filesystem::create_directories(dir / name);
    const TRun run = RunCommand(kBin + "quarngen " + kSkinSource + " " + dir / name);
    ASSERT_EQ(run.Code, 0) << run.Output;
  }
  const Bytes a = PackSkinFolder(dir / "a"), b = PackSkinFolder(dir / "b");
  EXPECT_TRUE(a == b) << "two runs drew different images";
  EXPECT_TRUE(a == archive_) << "the build's archive differs from a fresh one";

  TzkSkinConvertor reader;
  reader.SetSource(archive_.data(), archive_.size());
  reader.Parse();
  std::vector<std::string> names;
  for (const TzkEntryInfo& e : reader.Entries()) names.push_back(e.Name);
  const std::vector<std::string> expected = {
      "Options.dat", "ButtonHuge.bmp", "Corner.bmp",    "Master.bmp",  "Glow.png",    "GlowBtn.PNG",
      "GlowCAlone.png", "GlowClose.PNG", "GlowH.png", "GlowMax.PNG", "GlowMin.png", "GlowNorm.png"};
  EXPECT_EQ(names, expected);
}

TEST_F(QuarnSkinTest, FolderAndArchiveCheckCleanWithIdenticalTables) {
  TTempDir dir("quarn-check");
  ASSERT_EQ(RunCommand(kBin + "quarngen " + kSkinSource + " " + dir.Path()).Code, 0);
  const TRun folder = RunCommand(kBin + "skintool check " + dir.Path());
  const TRun packed = RunCommand(kBin + "skintool check " + kBuiltArchive);
  EXPECT_EQ(folder.Code, 0) << folder.Output;
  EXPECT_EQ(packed.Code, 0) << packed.Output;
  EXPECT_NE(folder.Output.find("no problems found"), std::string::npos);
  const TRun folderDump = RunCommand(kBin + "skintool check --dump " + dir.Path());
  const TRun packedDump = RunCommand(kBin + "skintool check --dump " + kBuiltArchive);
  EXPECT_EQ(folderDump.Code, 0);
  EXPECT_FALSE(folderDump.Output.empty());
  EXPECT_EQ(folderDump.Output, packedDump.Output);
  EXPECT_TRUE(report_.ImageProblems.empty());
  EXPECT_TRUE(report_.ParentProblems.empty());
}

TEST_F(QuarnSkinTest, QuarngenRefusesOptionsThatNameNoDrawnPiece) {
  TTempDir dir("quarn-bad");
  std::filesystem::create_directories(dir / "src");
  dir.Write("src/Options.dat", std::string("[EDIT]\nBORDERSMASK=^0048^0000^0072^0008^0003^0003^0003^0003^3^0^0^0\n"
                                           "[BUTTON]\nGLYPHMASK=@0001@0001@0010@0010@1@1\n"));
  const TRun run = RunCommand(kBin + "quarngen " + dir / "src" + " " + dir.Path());
  EXPECT_EQ(run.Code, 1);
  EXPECT_NE(run.Output.find("[EDIT] BORDERSMASK: differs from the piece EDIT"), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("[BUTTON] GLYPHMASK: names no piece"), std::string::npos) << run.Output;
  EXPECT_FALSE(std::filesystem::exists(dir / "Master.bmp"));
}

TEST_F(QuarnSkinTest, HasEverySectionInFileOrderAndEveryLookupTheReadersMake) {
  const std::vector<std::string> order = {
      "GLOBALINFO", "BARPANEL", "DIVIDER", "DIVIDERV", "EXTRALINE", "GRIPV", "ICOLINE", "HINT",
      "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBTNTOP", "TABCONTROL", "MENULINE",
      "GROUPBOX", "PANEL", "PANEL_LOW", "STATUSBAR", "SCROLLSLIDERH", "WEBBUTTON", "TRACKBAR",
      "SPLITTER", "SCROLLSLIDERV", "GRIPH", "GAUGE", "PROGRESSH", "FORMTITLE", "TOOLBAR", "PROGRESSV",
      "FORM", "DIALOG", "DRAGBAR", "MENUITEM", "CHECKBOX", "RADIOBUTTON", "BAR", "MAINMENU",
      "ORVEXCOMBOBOX", "ORVEXEDIT", "COLHEADER", "COMBOBTN", "UPDOWNBTN", "TABTOP", "TABBOTTOM",
      "TABLEFT", "TABRIGHT", "PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT",
      "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V", "MDIAREA", "BUTTON_HUGE", "BUTTON_BIG",
      "BARTITLE", "SPEEDBUTTON", "TOOLBUTTON", "SPEEDBUTTON_SMALL", "COMBOBOX", "EDIT", "BUTTON"};
  std::vector<std::string> names;
  for (const TsGeneralData& s : T().Sections) names.push_back(s.SectionName);
  EXPECT_EQ(names, order);

  // Title bar, check box, radio and menu glyphs of GLOBALINFO; big title glyphs have a glow.
  for (const char* key : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONCLOSE",
                          "SICONMAX", "SICONMIN", "SICONNORM", "SICONHELP", "TITLEBUTTON", "GRIPIMAGE",
                          "CHECK", "BICONCLOSEGLOW0", "BICONMAXGLOW0", "BICONMINGLOW0", "BICONNORMGLOW0",
                          "BICONHELPGLOW0"})
    EXPECT_GE(Mask("GLOBALINFO", key), 0) << key;
  for (const char* key : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP"})
    EXPECT_EQ(T().Masks[size_t(Mask("GLOBALINFO", key))].ImageCount, 3) << key;
  const TsCachedIndexes& c = T().CachedIndexes;
  for (int i : {c.CheckBoxChecked, c.CheckBoxUnchecked, c.CheckBoxGrayed, c.RadioChecked, c.RadioUnchecked,
                c.RadioGrayed, c.SmallChecked, c.SmallUnchecked, c.SmallGrayed, c.ComboGlyph})
    EXPECT_GE(i, 0);
  for (const TsCachedSection* s : {&c.ScrollTop, &c.ScrollBottom, &c.ScrollLeft, &c.ScrollRight})
    EXPECT_TRUE(s->SkinIndex >= 0 && s->BorderIndex >= 0 && s->GlyphIndex >= 0);
  for (const TsCachedSection* s : {&c.SliderHorz, &c.SliderVert, &c.Bar1H, &c.Bar1V, &c.Bar2H, &c.Bar2V})
    EXPECT_GE(s->SkinIndex, 0);
  EXPECT_GE(c.SliderHorz.BorderIndex, 0);
  // Sections the controls, frames and menus draw with carry their frame.
  for (const char* name : {"BUTTON", "EDIT", "GROUPBOX", "COLHEADER", "FORM", "DIALOG", "FORMTITLE",
                           "MAINMENU", "MENUITEM", "DIVIDERV", "SPEEDBUTTON_SMALL", "COMBOBOX", "TABTOP"})
    EXPECT_GE(S(name).BorderIndex, 0) << name;
}

// Night is Quarn in other colours: the same sections in the same order, the same image keys
// on the same pieces (so every mask and glyph Quarn's GLOBALINFO names is there too), drawn
// by the same generator in its own palette.
TEST_F(QuarnSkinTest, NightHasQuarnsSectionsAndImagesInItsOwnColours) {
  std::vector<std::string> quarnSections, nightSections;
  for (const TsGeneralData& s : T().Sections) quarnSections.push_back(s.SectionName);
  for (const TsGeneralData& s : N().Sections) nightSections.push_back(s.SectionName);
  EXPECT_EQ(nightSections, quarnSections);
  for (size_t i = 0; i < std::min(T().Sections.size(), N().Sections.size()); ++i)
    EXPECT_EQ(N().Sections[i].ParentClass, T().Sections[i].ParentClass) << quarnSections[i];
  EXPECT_EQ(ImageKeys(N()), ImageKeys(T()));
  EXPECT_TRUE(nightReport_.ImageProblems.empty()) << ::testing::PrintToString(nightReport_.ImageProblems);
  EXPECT_TRUE(nightReport_.ParentProblems.empty()) << ::testing::PrintToString(nightReport_.ParentProblems);
  EXPECT_FALSE(nightReport_.MasterBitmapMissing);

  // Dark window, light text, Quarn's blue for the hot state; the pictures differ too.
  const auto channels = [](TColor c) {
    const uint32_t v = uint32_t(c);
    return std::vector<int>{int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF)};
  };
  const TsGeneralData& form = N().Sections.at(size_t(N().IndexOfSection("FORM")));
  for (int c : channels(form.Color)) EXPECT_LT(c, 64);
  for (int c : channels(form.FontColor.Color)) EXPECT_GT(c, 192);
  EXPECT_EQ(N().Sections[0].HotColor, T().Sections[0].HotColor);
  ASSERT_EQ(N().MasterBitmap.Width(), T().MasterBitmap.Width());
  ASSERT_EQ(N().MasterBitmap.Height(), T().MasterBitmap.Height());
  EXPECT_NE(std::memcmp(N().MasterBitmap.ScanLine(4), T().MasterBitmap.ScanLine(4), size_t(T().MasterBitmap.Width()) * 3), 0);

  // The build's archive is what the generator makes from the night palette now.
  TTempDir dir("quarn-night");
  const TRun run = RunCommand(kBin + "quarngen --palette night " + std::string(VORNIK_SOURCE_DIR) +
                              "/skins/QuarnNight " + dir.Path());
  ASSERT_EQ(run.Code, 0) << run.Output;
  EXPECT_TRUE(PackSkinFolder(dir.Path()) == ReadWholeFile(kNightArchive, kMaxArchiveBytes));
  EXPECT_EQ(RunCommand(kBin + "quarngen --palette dusk " + kSkinSource + " " + dir.Path()).Code, 2);
}

TEST_F(QuarnSkinTest, EveryImageFitsItsPictureFrameByFrame) {
  for (const TsSkinTables* skin : {tables_, night_}) {
    for (size_t i = 0; i < skin->Masks.size(); ++i) {
      const TsMaskData& m = skin->Masks[i];
      const std::string what = (skin == night_ ? "Night " : "") + m.SectionName + "." + m.PropertyName;
      const TzkBitmap* image = MaskSourceImage(m);
      ASSERT_NE(image, nullptr) << what;
      ASSERT_GE(m.ImageCount, 1) << what;
      EXPECT_TRUE(m.Rect.Left >= 0 && m.Rect.Top >= 0 && m.Rect.Right <= image->Width() &&
                  m.Rect.Bottom <= image->Height())
          << what;
      EXPECT_EQ(m.Rect.Width() % m.ImageCount, 0) << what;
      EXPECT_EQ(m.Rect.Height() % (m.MaskType + 1), 0) << what;
      const int fw = FrameWidth(m), fh = FrameHeight(m);
      if (m.ImgType == itisaBorder || m.ImgType == itisaGlow) {
        EXPECT_LT(m.WL + m.WR, fw) << what;
        EXPECT_LE(m.WT + m.WB, fh) << what;
        EXPECT_GT(m.WL, 0) << what;
      }
      if (m.ImgType == itisaGlow) {
        // A soft halo: 32-bit, clear at the outer corner and edge, clearly visible in between.
        ASSERT_EQ(image->BytesPerPixel(), 4) << what;
        EXPECT_LT(image->ScanLine(0)[3], 8) << what;
        const uint8_t* row = image->ScanLine(fh / 2);
        EXPECT_LT(row[3], 32) << what;
        int strongest = 0;
        for (int x = 0; x < m.WL; ++x) strongest = std::max<int>(strongest, row[x * 4 + 3]);
        EXPECT_GT(strongest, 96) << what;
        continue;
      }
      // Every frame shows something: not all of it is the transparent key.
      for (int f = 0; f < m.ImageCount; ++f) {
        const TRect r = FrameRect(m, f);
        bool drawn = false;
        for (int y = r.Top; y < r.Top + fh && !drawn; ++y) {
          const uint8_t* p = image->ScanLine(y) + r.Left * image->BytesPerPixel();
          for (int x = 0; x < fw && !drawn; ++x, p += image->BytesPerPixel())
            drawn = !(p[0] == 255 && p[1] == 0 && p[2] == 255);
        }
        EXPECT_TRUE(drawn) << what << " frame " << f;
      }
    }
  }
}

TEST_F(QuarnSkinTest, LooksTheProgramReliesOn) {
  const TsSkinData& d = T().SkinData;
  EXPECT_DOUBLE_EQ(d.Version, 6.6);
  EXPECT_EQ(d.BorderColor, 13680037);
  EXPECT_EQ(d.TitleButtonVAlign, 1);

  // The title bar looks different when its window is active.
  const TsGeneralData& title = S("FORMTITLE");
  ASSERT_FALSE(title.GradientArray.empty());
  ASSERT_FALSE(title.HotGradientArray.empty());
  EXPECT_NE(title.GradientArray[0].Color1, title.HotGradientArray[0].Color1);
  EXPECT_NE(title.FontColor.Color, title.HotFontColor.Color);

  // Edit boxes: a focused look of their own, a two-pixel frame.
  const TsGeneralData& edit = S("EDIT");
  EXPECT_NE(edit.HotColor, edit.Color);
  const TsMaskData& editFrame = T().Masks[size_t(edit.BorderIndex)];
  EXPECT_TRUE(editFrame.WL == 2 && editFrame.WT == 2 && editFrame.WR == 2 && editFrame.WB == 2);

  // Buttons fade and glow; the glow service finds the halo under the section's GLOW key + "0".
  const TsGeneralData& button = S("BUTTON");
  EXPECT_TRUE(button.FadingEnabled);
  EXPECT_EQ(button.FadingIterations, 20);
  EXPECT_GE(button.GlowCount, 1);
  const int glow = Mask("BUTTON", "GLOW0");
  ASSERT_GE(glow, 0);
  EXPECT_EQ(T().Masks[size_t(glow)].ImgType, itisaGlow);
  EXPECT_EQ(T().Masks[size_t(glow)].WL, 18);

  // Menu items are invisible until the pointer is over them.
  EXPECT_EQ(S("MENUITEM").Transparency, 100);
  EXPECT_EQ(S("MENUITEM").HotTransparency, 0);
  EXPECT_EQ(T().Masks[size_t(S("MAINMENU").BorderIndex)].BorderWidth, 3);

  // The window's top corners are cut by its region, its bottom corners are not.
  for (const char* name : {"FORM", "FORMTITLE"}) {
    const TsMaskData& frame = T().Masks[size_t(S(name).BorderIndex)];
    std::vector<TRect> top, bottom;
    CollectKeyRuns(top, 400, frame, false, 0);
    EXPECT_GE(top.size(), 4u) << name;  // a few rows at each top corner
    if (std::string(name) == "FORM") {
      CollectKeyRuns(bottom, 400, frame, true, 300);
      EXPECT_TRUE(bottom.empty()) << name;
    }
  }

  const TsGeneralData& extra = S("EXTRALINE");
  ASSERT_EQ(extra.GradientArray.size(), 4u);
  EXPECT_EQ(extra.GradientArray[0].Percent + extra.GradientArray[1].Percent + extra.GradientArray[2].Percent, 98);
}

// Expects the reading of GLOBALINFO integers in which -1 is a value of its own: the title
// buttons overlap by one pixel.
TEST_F(QuarnSkinTest, TitleButtonsOverlapByOnePixel) {
  EXPECT_EQ(T().SkinData.TitleButtonSpacing, -1);
}

}  // namespace
