// The skins the tray menu offers: stored skins first, then the folders' skins sorted, each
// name once, and the entry a remembered name selects.
#include <filesystem>

#include <gtest/gtest.h>

#include "app/SkinChoices.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string Describe(const std::vector<TSkinChoice>& choices, const TTempDir& a, const TTempDir& b) {
  std::string text;
  for (const TSkinChoice& c : choices) {
    text += c.Name;
    if (!c.Stored()) {
      text += c.Folder == a.Path() ? " in A" : c.Folder == b.Path() ? " in B" : " in ?";
      text += c.Kind == TsSkinKind::skkPacked ? " packed" : " folder";
      const std::string leaf = fs::u8path(c.Path).filename().u8string();
      text += " " + leaf;
    }
    text += "\n";
  }
  return text;
}

class SkinChoicesTest : public ::testing::Test {
 protected:
  SkinChoicesTest() : a_("choices-a"), b_("choices-b") {
    for (const char* f : {"Dark", "Plain", "quarn (INTERNAL)"}) {
      fs::create_directories(a_ / f);
      a_.Write(std::string(f) + "/Options.dat", "[GLOBALINFO]\n");
    }
    a_.Write("dark.qvz", "x");      // the same name as the folder "Dark": the packed file wins
    a_.Write("Amber.qvz", "x");
    b_.Write("Plain.qvz", "x");     // hidden by the folder of A
    b_.Write("Zinc.qvz", "x");
    b_.Write("blue.qvz", "x");
  }
  TTempDir a_, b_;
};

TEST_F(SkinChoicesTest, StoredSkinsFirstThenEveryNameOnceSorted) {
  const std::vector<TSkinChoice> choices =
      SkinChoices({"Quarn (internal)", "Quarn Night (internal)"}, {a_.Path(), b_.Path(), a_.Path() + "/missing"});
  EXPECT_EQ(Describe(choices, a_, b_),
            "Quarn (internal)\n"
            "Quarn Night (internal)\n"
            "Amber in A packed Amber.qvz\n"
            "blue in B packed blue.qvz\n"
            "dark in A packed dark.qvz\n"
            "Plain in A folder Plain\n"
            "Zinc in B packed Zinc.qvz\n");
}

TEST_F(SkinChoicesTest, NoFoldersGiveTheStoredSkinsAlone) {
  EXPECT_EQ(Describe(SkinChoices({"Quarn (internal)", "", "Quarn (internal)"}, {}), a_, b_), "Quarn (internal)\n");
}

TEST_F(SkinChoicesTest, ARememberedNameFindsItsEntryExactlyFirst) {
  std::vector<TSkinChoice> choices = SkinChoices({"Quarn (internal)"}, {a_.Path()});
  choices.push_back(TSkinChoice{"DARK", a_.Path(), TsSkinKind::skkFolder, "x"});
  EXPECT_EQ(IndexOfSkinChoice(choices, "DARK"), int(choices.size()) - 1);
  EXPECT_EQ(choices[size_t(IndexOfSkinChoice(choices, "dark"))].Name, "dark");
  EXPECT_EQ(IndexOfSkinChoice(choices, "Amber"), 1);
  EXPECT_EQ(IndexOfSkinChoice(choices, "AMBER"), 1);
  EXPECT_EQ(IndexOfSkinChoice(choices, "Gone"), -1);
  EXPECT_EQ(IndexOfSkinChoice(choices, ""), -1);
}

}  // namespace
