#include <gtest/gtest.h>

#include "skin/data/sOptionsFile.h"
#include "skin/data/zkSkinPack.h"
#include "skin/data/zkSkinText.h"

namespace {

TEST(OptionsFile, LinesSectionsAndEntriesFollowTheIniRules) {
  const TsOptionsFile f(
      "KEY=before any section\r\n"
      "  [ EDIT ]\t\r"
      "; COLOR=1\n"
      "\x01 COLOR = 255 \x7f\n"
      "\n"
      "JUSTTEXT\r\n"
      "URL=a=b\n"
      "[edit]\n"
      "COLOR=7\n"
      "[]");
  ASSERT_EQ(f.Sections().size(), 3u);
  EXPECT_EQ(f.Sections()[0].Name, "EDIT");
  EXPECT_EQ(f.FindSection("Edit"), 0);  // the first of two
  EXPECT_EQ(f.FindSection(""), 2);
  EXPECT_EQ(f.FindSection("BUTTON"), -1);
  const auto& entries = f.Sections()[0].Entries;
  ASSERT_EQ(entries.size(), 3u);
  // Control characters below 32 are trimmed; DEL (127) is kept.
  EXPECT_EQ(entries[0].Key, "COLOR");
  EXPECT_EQ(entries[0].Value, "255 \x7f");
  EXPECT_EQ(f.OwnValue(0, "justtext"), nullptr);  // kept, but never a key
  EXPECT_EQ(*f.OwnValue(0, "url"), "a=b");
  EXPECT_EQ(*f.OwnValue(1, "COLOR"), "7");  // the second [edit] keeps its own entries
}

TEST(OptionsFile, IntegersAreDecimalOrHexAndAnythingElseIsMissing) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("-16777201"), -16777201);
  EXPECT_EQ(ParseInteger("$1F"), 31);
  EXPECT_EQ(ParseInteger("0x1f"), 31);
  EXPECT_EQ(ParseInteger("0X00FF00FF"), 0xFF00FF);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  for (const char* bad : {"", "-", "$", "0x", "12abc", "1.5", "2147483648", "$100000000", "N/A", " 1"})
    EXPECT_FALSE(ParseInteger(bad)) << bad;
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseReal("6.6"), 6.6);
  EXPECT_FALSE(ParseReal("6,6"));
  EXPECT_FALSE(ParseReal("inf"));
  EXPECT_FALSE(ParseReal("0x10"));
}

const char* const kChain =
    "[EDIT]\n"
    "COLOR=100\n"
    "TRANSPARENCY=30\n"
    "SHOWFOCUS=true\n"
    "GRADIENTDATA=?\n"
    "[MYEDIT]\n"
    "PARENTCLASS=edit\n"
    "TRANSPARENCY=-1\n"
    "FADINGITERATIONS=$0A\n"
    "GLOW=lots\n"
    "[DEEP]\n"
    "PARENTCLASS=MyEdit\n"
    "COLOR=?\n"
    "[SELF]\n"
    "PARENTCLASS=self\n"
    "[A]\n"
    "PARENTCLASS=B\n"
    "[B]\n"
    "PARENTCLASS=A\n"
    "[Q]\n"
    "PARENTCLASS=?\n"
    "[ORPHAN]\n"
    "PARENTCLASS=NOWHERE\n";

TEST(OptionsFile, SectionReadsInheritAlongParentClass) {
  const TsOptionsFile f(kChain);
  const int my = f.FindSection("MYEDIT"), deep = f.FindSection("DEEP");
  EXPECT_EQ(f.ReadSectionInteger(my, "COLOR", 16777215), 100);
  EXPECT_EQ(f.ReadSectionInteger(my, "TRANSPARENCY", 0), 30);  // -1 counts as missing
  EXPECT_EQ(f.ReadSectionInteger(my, "GLOW", 0), 0);           // not a number: missing
  EXPECT_EQ(f.ReadSectionInteger(deep, "FADINGITERATIONS", 5), 10);
  EXPECT_EQ(f.ReadSectionInteger(deep, "COLOR", 16777215), 100);  // "?" is missing
  EXPECT_TRUE(f.ReadSectionFlag(deep, "SHOWFOCUS", false));
  EXPECT_EQ(f.ReadSectionText(deep, "GRADIENTDATA", " "), " ");
  // -1 is missing for integers only; texts keep it.
  EXPECT_EQ(f.ReadSectionText(my, "TRANSPARENCY", ""), "-1");
  EXPECT_EQ(f.ReadSectionInteger(-1, "COLOR", 5), 5);
}

TEST(OptionsFile, ChainsEndOnSelfQuestionMarkUnknownAndCircles) {
  const TsOptionsFile f(kChain);
  for (const char* name : {"SELF", "A", "B", "Q", "ORPHAN"}) {
    EXPECT_EQ(f.ReadSectionInteger(f.FindSection(name), "COLOR", 77), 77) << name;
    EXPECT_EQ(f.ReadSectionText(f.FindSection(name), "X", "d"), "d") << name;
  }
  EXPECT_EQ(f.ParentOf(f.FindSection("SELF")), -1);
  EXPECT_EQ(f.ParentOf(f.FindSection("A")), f.FindSection("B"));
}

TEST(OptionsFile, FlagsAreTrueOnlyForTrue) {
  const TsOptionsFile f("[S]\nA=True\nB=1\nC=YES\nD=\nE=tRuE  \n");
  EXPECT_TRUE(f.ReadSectionFlag(0, "A", false));
  EXPECT_FALSE(f.ReadSectionFlag(0, "B", true));
  EXPECT_FALSE(f.ReadSectionFlag(0, "C", true));
  EXPECT_FALSE(f.ReadSectionFlag(0, "D", true));  // present but empty
  EXPECT_TRUE(f.ReadSectionFlag(0, "E", false));
  EXPECT_TRUE(f.ReadSectionFlag(0, "MISSING", true));
}

TEST(OptionsFile, HostileSizesAreRefused) {
  std::string many;
  for (size_t i = 0; i <= kMaxOptionsSections; ++i) many += "[S]\n";
  EXPECT_THROW(TsOptionsFile{many}, EzkSkinError);
}

}  // namespace
