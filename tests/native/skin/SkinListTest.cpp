// The skins of a folder: packed files and skin folders, their names, kinds and paths, the
// order, and entries that are no skin or cannot be read.
#include <filesystem>

#include <gtest/gtest.h>

#include "skin/data/sSkinDirectory.h"
#include "skin/data/sSkinList.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string Describe(const std::vector<TsSkinListItem>& items, const std::string& root) {
  std::string text;
  for (const TsSkinListItem& i : items) {
    const std::string path = i.Path.compare(0, root.size(), root) == 0 ? i.Path.substr(root.size()) : i.Path;
    text += i.Name + (i.Kind == TsSkinKind::skkFolder ? " folder " : " packed ") + path + "\n";
  }
  return text;
}

class SkinList : public ::testing::Test {
 protected:
  SkinList() : dir_("skin-list") {
    for (const char* folder : {"Dark", "amber", "Empty", ".cache", "Nested/Inner"}) fs::create_directories(dir_ / folder);
    dir_.Write("Dark/Options.dat", "[GLOBALINFO]\n");
    dir_.Write("amber/Options.dat", "[GLOBALINFO]\n");
    dir_.Write("Empty/readme.txt", "x");          // a folder without options: no skin
    dir_.Write("Nested/Inner/Options.dat", "x");  // options one level too deep: no skin
    dir_.Write(".cache/Options.dat", "x");        // hidden
    dir_.Write("Dark.qvz", "x");
    dir_.Write("Blue.v2.qvz", "x");               // named by all but the extension
    dir_.Write("Red.QVZ", "x");                   // the extension is compared exactly
    dir_.Write(".old.qvz", "x");
    dir_.Write("notes.txt", "x");
    dir_.Write("qvz", "x");
    fs::create_directories(dir_ / "Folder.qvz");  // a folder, not a packed file, without options
  }
  TTempDir dir_;
};

TEST_F(SkinList, FindsPackedFilesAndSkinFoldersWithTheirNamesKindsAndPaths) {
  const std::string root = dir_.Path() + "/";
  EXPECT_EQ(Describe(ListSkinsInFolder(dir_.Path()), root),
            "amber folder amber\n"
            "Blue.v2 packed Blue.v2.qvz\n"
            "Dark folder Dark\n"
            "Dark packed Dark.qvz\n");
}

TEST_F(SkinList, SortsIgnoringCaseAndKeepsSkinsOfOneNameInEntryOrder) {
  dir_.Write("AMBER.qvz", "x");
  dir_.Write("dark.qvz", "x");
  fs::create_directories(dir_ / "blue");
  dir_.Write("blue/Options.dat", "x");
  std::vector<std::string> names;
  for (const TsSkinListItem& i : ListSkinsInFolder(dir_.Path())) names.push_back(i.Path.substr(dir_.Path().size() + 1));
  // Equal names in the order of their entries' exact names: upper case before lower case,
  // a folder before its name with the extension.
  EXPECT_EQ(names, (std::vector<std::string>{"AMBER.qvz", "amber", "blue", "Blue.v2.qvz", "Dark", "Dark.qvz",
                                             "dark.qvz"}));
}

TEST_F(SkinList, AnEntryThatCannotBeReadIsSkippedAndTheRestListed) {
  // Links that lead nowhere or round in a circle: the system answers every question about them
  // with an error.
  fs::create_symlink("Loop.qvz", dir_ / "Loop.qvz");
  fs::create_symlink(dir_ / "gone.qvz", dir_ / "Gone.qvz");
  fs::create_directories(dir_ / "Tangled");
  fs::create_symlink("Options.dat", dir_ / "Tangled/Options.dat");
  fs::create_symlink("Circle", dir_ / "Circle");
  // A link to a real skin elsewhere is a skin.
  TTempDir other("skin-list-other");
  other.Write("Elsewhere.qvz", "x");
  fs::create_symlink(other / "Elsewhere.qvz", dir_ / "Linked.qvz");
  std::vector<std::string> names;
  for (const TsSkinListItem& i : ListSkinsInFolder(dir_.Path())) names.push_back(i.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"amber", "Blue.v2", "Dark", "Dark", "Linked"}));
}

TEST_F(SkinList, AFolderThatIsMissingOrAFileListsNothing) {
  EXPECT_TRUE(ListSkinsInFolder(dir_ / "nowhere").empty());
  EXPECT_TRUE(ListSkinsInFolder(dir_ / "Dark.qvz").empty());
  EXPECT_TRUE(ListSkinsInFolder("").empty());
}

// The manager's list of names takes its folder skins from the same walk.
TEST_F(SkinList, SkinNamesOfTheManagerComeFromTheFolderList) {
  std::string first;
  EXPECT_EQ(ListSkinNames({"Quarn (internal)", "Quarn Night (internal)"}, dir_.Path(), skBoth, first),
            (std::vector<std::string>{"amber", "Blue.v2", "Dark", "Dark", "Quarn (internal)",
                                      "Quarn Night (internal)"}));
  EXPECT_EQ(first, "Quarn (internal)");
  first.clear();
  EXPECT_EQ(ListSkinNames({}, dir_.Path(), skPacked, first), (std::vector<std::string>{"Blue.v2", "Dark"}));
  EXPECT_EQ(first, "Blue.v2");
}

}  // namespace
