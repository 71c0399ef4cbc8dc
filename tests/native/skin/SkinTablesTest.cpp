#include <gtest/gtest.h>

#include "skin/data/sSkinTables.h"

namespace {

TsGeneralData Section(const std::string& name, const std::string& parent = "") {
  TsGeneralData s;
  s.SectionName = name;
  s.ParentClass = parent;
  return s;
}

TsMaskData Mask(const std::string& section, const std::string& key, TzkImgType type = itisaBorder) {
  TsMaskData m;
  m.SectionName = section;
  m.PropertyName = key;
  m.ImgType = type;
  m.Rect = TRect(0, 0, 30, 20);
  m.ImageCount = 3;
  m.MaskType = 1;
  return m;
}

// EDIT with a border and a texture; MYEDIT inherits from it; LOOP1 and LOOP2 name each other.
class SkinTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Sections = {Section("GLOBALINFO"), Section("EDIT"), Section("MYEDIT", "EDIT"),
                  Section("LOWER", "edit"), Section("LOOP1", "LOOP2"), Section("LOOP2", "LOOP1"),
                  Section("SELF", "SELF")};
    t.Masks.push_back(Mask("EDIT", "GLYPHMASK", itisaGlyph));
    t.Masks.push_back(Mask("EDIT", "BORDERSMASK"));
    t.Masks.push_back(Mask("MYEDIT", "PATTERN", itisaGlyph));  // not a texture
    t.Masks.push_back(Mask("EDIT", "PATTERN", itisaTexture));
    t.Masks.push_back(Mask("EDIT", "BORDERSMASK"));  // a later duplicate never wins
    t.Patterns.push_back({nullptr, "EDIT", "HOTPATTERN"});
  }
  TsSkinTables t;
};

TEST_F(SkinTablesTest, SectionLookupIsExactAndFirstWins) {
  EXPECT_EQ(t.IndexOfSection("EDIT"), 1);
  EXPECT_EQ(t.IndexOfSection("edit"), -1);
  EXPECT_EQ(t.IndexOfSection(""), -1);
  EXPECT_TRUE(t.IsValidSection(6));
  EXPECT_FALSE(t.IsValidSection(7));
  EXPECT_FALSE(t.IsValidMask(-1));
}

TEST_F(SkinTablesTest, MasksInheritAlongParentClass) {
  EXPECT_EQ(t.IndexOfMask(1, "EDIT", "BORDERSMASK"), 1);
  EXPECT_EQ(t.IndexOfMask(2, "MYEDIT", "BORDERSMASK"), 1);
  EXPECT_EQ(t.IndexOfMask(3, "LOWER", "BORDERSMASK"), -1);  // "edit" is no section name
  EXPECT_EQ(t.IndexOfMask(-1, "EDIT", "BORDERSMASK"), -1);
  EXPECT_EQ(t.IndexOfMask(1, "", "BORDERSMASK"), -1);
  EXPECT_EQ(t.IndexOfMaskExact("MYEDIT", "BORDERSMASK"), -1);
  EXPECT_EQ(t.IndexOfMaskExact("EDIT", "bordersmask"), -1);
  // Circles and self references end the chain.
  EXPECT_EQ(t.IndexOfMask(4, "LOOP1", "BORDERSMASK"), -1);
  EXPECT_EQ(t.IndexOfMask(6, "SELF", "BORDERSMASK"), -1);
}

TEST_F(SkinTablesTest, TexturesAndPatternsHaveTheirOwnLookups) {
  EXPECT_EQ(t.IndexOfMask(2, "MYEDIT", "PATTERN"), 2);
  EXPECT_EQ(t.IndexOfTexture(2, "MYEDIT", "PATTERN"), 3);  // skips the glyph, inherits
  EXPECT_EQ(t.IndexOfTexture(1, "EDIT", "GLYPHMASK"), -1);
  EXPECT_EQ(t.IndexOfPattern(2, "MYEDIT", "HOTPATTERN"), 0);
  EXPECT_EQ(t.IndexOfPattern(4, "LOOP1", "HOTPATTERN"), -1);
}

TEST_F(SkinTablesTest, CachedIndexesComeFromTheLookups) {
  t.Sections.push_back(Section("SCROLLBTNTOP", "EDIT"));
  t.Sections.push_back(Section("COMBOBTN", "EDIT"));
  t.Masks.push_back(Mask("GLOBALINFO", "BOXCHECKED"));
  t.Masks.push_back(Mask("SCROLLBTNTOP", "GLYPHMASK"));
  t.CacheSectionMasks();
  t.InitCachedIndexes();
  const TsCachedIndexes& c = t.CachedIndexes;
  EXPECT_EQ(c.GlobalInfo, 0);
  EXPECT_EQ(c.CheckBoxChecked, 5);
  EXPECT_EQ(c.ExBorder, -1);
  EXPECT_EQ(c.ScrollTop.SkinIndex, 7);
  EXPECT_EQ(c.ScrollTop.BorderIndex, 1);
  EXPECT_EQ(c.ScrollTop.TextureIndex, 3);
  EXPECT_EQ(c.ScrollTop.GlyphIndex, 6);
  EXPECT_EQ(c.ScrollBottom.SkinIndex, -1);
  EXPECT_EQ(c.ComboButton.SkinIndex, 8);
  EXPECT_EQ(c.ComboButton.BorderIndex, -1);  // exact lookup, no inheritance
  EXPECT_EQ(c.ComboButton.TextureIndex, 3);
  EXPECT_EQ(t.Sections[2].BorderIndex, 1);
  EXPECT_EQ(t.Sections[0].BorderIndex, -1);  // GLOBALINFO is left alone
}

TEST(SkinTables, FrameGeometryAndBorderWidths) {
  TsMaskData m = Mask("S", "K");
  m.Rect = TRect(10, 5, 40, 25);
  EXPECT_EQ(FrameWidth(m), 10);
  EXPECT_EQ(FrameHeight(m), 10);
  EXPECT_EQ(FrameRect(m, 2), TRect(30, 5, 40, 15));
  EXPECT_EQ(RightBorder(m), 10);
  m.BorderWidth = 4;
  m.WT = 6;
  EXPECT_EQ(TopBorder(m), 6);
  EXPECT_EQ(BottomBorder(m), 4);
  m.BorderWidth = 0;
  m.ImageCount = 0;
  EXPECT_EQ(FrameWidth(m), 0);
  EXPECT_EQ(LeftBorder(m), 30);  // ImageCount 0 becomes 1 first
  EXPECT_EQ(m.ImageCount, 1);
  m.MaskType = -1;
  EXPECT_EQ(FrameHeight(m), 0);

  TsSkinTables t;
  t.Masks.push_back(Mask("S", "K"));
  t.Masks.push_back(Mask("S", "IMG"));
  t.Masks[1].Image = std::make_unique<TzkBitmap>(31, 9);
  EXPECT_EQ(t.ImageFrameSize(0), TSize(10, 10));
  EXPECT_EQ(t.ImageFrameSize(1), TSize(10, 4));  // own bitmap: width / 3, height / 2
  EXPECT_EQ(t.ImageFrameSize(2), TSize());
}

TEST(SkinTables, GlobalColorsFallBackToThePlatformColours) {
  TsSkinTables t;
  EXPECT_EQ(t.GlobalColor(), ColorToRGB(clBtnFace));
  EXPECT_EQ(t.GlobalFontColor(), clFuchsia);
  EXPECT_EQ(t.GlobalHotColor(), ColorToRGB(clWindow));
  EXPECT_EQ(t.EditHotFontColor(), clFuchsia);
  EXPECT_EQ(t.MenuHighlightColor(), ColorToRGB(clHighlight));
  EXPECT_EQ(t.MenuHighlightFontColor(), ColorToRGB(clHighlightText));

  TsGeneralData g = Section("GLOBALINFO");
  g.Color = 0x123456;
  g.FontColor.Color = clWindowText;
  g.HotColor = 0x111111;
  TsGeneralData menu = Section("MENUITEM");
  menu.HotColor = 0x654321;
  menu.HotFontColor.Color = 0x0000FF;
  t.Sections = {g, menu};
  EXPECT_EQ(t.GlobalColor(), 0x123456);
  EXPECT_EQ(t.GlobalFontColor(), ColorToRGB(clWindowText));
  EXPECT_EQ(t.GlobalHotColor(), 0x111111);
  EXPECT_EQ(t.MenuHighlightColor(), 0x654321);
  EXPECT_EQ(t.MenuHighlightFontColor(), 0x0000FF);
  for (TColor unusable : {-1, clFuchsia, clWhite}) {
    t.Sections[1].HotColor = unusable;
    EXPECT_EQ(t.MenuHighlightColor(), ColorToRGB(clHighlight));
    EXPECT_EQ(t.MenuHighlightFontColor(), ColorToRGB(clHighlightText));  // needs a usable HotColor
  }
  t.Sections[1].HotColor = 0x654321;
  t.Sections[1].HotFontColor.Color = 0;  // black text is not a highlight text
  EXPECT_EQ(t.MenuHighlightFontColor(), ColorToRGB(clHighlightText));
}

TEST(SkinTables, SwapMovesRecordsAndPointsThemAtTheirNewTables) {
  TsSkinTables a, b;
  a.Masks.push_back(Mask("S", "K"));
  a.Masks[0].Manager = &a;
  a.Sections.push_back(Section("S"));
  b.Swap(a);
  ASSERT_EQ(b.Masks.size(), 1u);
  EXPECT_EQ(b.Masks[0].Manager, &b);
  EXPECT_TRUE(a.Masks.empty());
  b.Clear();
  EXPECT_TRUE(b.Sections.empty());
  EXPECT_EQ(b.CachedIndexes.GlobalInfo, -1);
}

TEST(GradientData, FiveNumbersPerStepWithClampsAndSkippedEmptyFields) {
  const TsGradArray extra = ParseGradientData(
      "16444634;11641229;52;1;0;11641229;10456182;2;1;0;10456182;16773807;44;1;0;16773807;16773807;0;1;0");
  ASSERT_EQ(extra.size(), 4u);
  EXPECT_EQ(extra[0].Color1, 16444634);
  EXPECT_EQ(extra[0].Color2, 11641229);
  EXPECT_EQ(extra[2].Percent, 44);
  EXPECT_EQ(extra[3].Mode, 1);
  EXPECT_EQ(ParseGradientData("1;2;3;4;5;6;7").size(), 1u);
  EXPECT_TRUE(ParseGradientData(" ").empty());
  EXPECT_TRUE(ParseGradientData("").empty());
  const TsGradArray clamped = ParseGradientData(";;-5; 7 ;;250;2;x;9");
  ASSERT_EQ(clamped.size(), 1u);
  EXPECT_EQ(clamped[0].Color1, 0);
  EXPECT_EQ(clamped[0].Color2, 7);
  EXPECT_EQ(clamped[0].Percent, 100);
  EXPECT_EQ(clamped[0].Mode, 2);
}

}  // namespace
