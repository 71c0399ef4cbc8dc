// Where skins are found: the resolved skin directory and the list of skin names.
#include <filesystem>

#include <gtest/gtest.h>

#include "skin/data/sSkinDirectory.h"
#include "support/TempDir.h"

namespace {

TEST(SkinDirectory, ResolvesEveryRuleWithBothSeparators) {
  const std::string exe = "C:\\Apps\\Vornik\\";
  EXPECT_EQ(ResolveSkinDirectory("..\\Skins", exe), "C:\\Apps\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("../Skins", exe), "C:\\Apps\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("..", exe), "C:\\Apps\\");
  EXPECT_EQ(ResolveSkinDirectory(".\\Skins", exe), "C:\\Apps\\Vornik\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("./Skins", exe), "C:\\Apps\\Vornik\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("Skins\\Dark", exe), "C:\\Apps\\Vornik\\Skins\\Dark");
  EXPECT_EQ(ResolveSkinDirectory("c:\\Skins", exe), "c:\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("\\\\server\\Skins", exe), "\\\\server\\Skins");
  // A dot not followed by a separator is an ordinary relative name.
  EXPECT_EQ(ResolveSkinDirectory(".Skins", exe), "C:\\Apps\\Vornik\\.Skins");
  EXPECT_EQ(ResolveSkinDirectory("../Skins", "/opt/vornik/bin/"), "/opt/vornik/Skins");
}

TEST(SkinDirectory, PackedFileAndFolderPathsAddAMissingSeparator) {
  EXPECT_EQ(PackedSkinPath("c:\\Skins", "Blue"), "c:\\Skins\\Blue.qvz");
  EXPECT_EQ(PackedSkinPath("c:\\Skins\\", "Blue"), "c:\\Skins\\Blue.qvz");
  EXPECT_EQ(PackedSkinPath("/tmp/skins", "Blue"), "/tmp/skins/Blue.qvz");
  EXPECT_EQ(SkinFolderPath("/tmp/skins", "Blue"), "/tmp/skins/Blue/");
  EXPECT_EQ(SkinFolderPath("c:\\Skins", "Blue"), "c:\\Skins\\Blue\\");
}

class SkinNames : public ::testing::Test {
 protected:
  SkinNames() : dir_("skin-names") {
    for (const char* folder : {"Beta", "Empty", ".hidden"})
      std::filesystem::create_directories(dir_ / folder);
    dir_.Write("Beta/Options.dat", "[GLOBALINFO]\n");
    dir_.Write("Beta.qvz", "x");
    dir_.Write("Red.QVZ", "x");            // the extension comparison is exact
    dir_.Write("alpha.v2.qvz", "x");       // named without the extension, as it is loaded
    dir_.Write("Empty/readme.txt", "x");   // a folder without options
    dir_.Write(".hidden/Options.dat", "x");
    dir_.Write(".dot.qvz", "x");
    dir_.Write("notes.txt", "x");
  }
  TTempDir dir_;
};

TEST_F(SkinNames, KindsSelectFoldersPackedFilesOrBoth) {
  std::string first;
  EXPECT_EQ(ListSkinNames({}, dir_.Path(), skFolders, first), (std::vector<std::string>{"Beta"}));
  EXPECT_EQ(first, "Beta");
  first.clear();
  EXPECT_EQ(ListSkinNames({}, dir_.Path(), skPacked, first),
            (std::vector<std::string>{"alpha.v2", "Beta"}));
  first.clear();
  EXPECT_EQ(ListSkinNames({}, dir_.Path(), skBoth, first),
            (std::vector<std::string>{"alpha.v2", "Beta", "Beta"}));
}

TEST_F(SkinNames, StoredSkinsComeFirstAndEverythingIsSortedIgnoringCase) {
  std::string first;
  const auto names = ListSkinNames({"Quarn (internal)", "Amber"}, dir_.Path(), skBoth, first);
  EXPECT_EQ(first, "Quarn (internal)");
  EXPECT_EQ(names, (std::vector<std::string>{"alpha.v2", "Amber", "Beta", "Beta", "Quarn (internal)"}));
  // A first name already given stays.
  first = "Given";
  ListSkinNames({"Amber"}, dir_.Path(), skBoth, first);
  EXPECT_EQ(first, "Given");
}

TEST_F(SkinNames, AMissingDirectoryListsOnlyTheStoredSkins) {
  std::string first;
  EXPECT_EQ(ListSkinNames({"Quarn (internal)"}, dir_ / "nowhere", skBoth, first),
            (std::vector<std::string>{"Quarn (internal)"}));
  EXPECT_TRUE(ListSkinNames({}, "", skBoth, first).size() == 0);
}

}  // namespace
