// Older stored skins: tables built from the published collections instead of an archive.
#include <gtest/gtest.h>

#include "skin/data/sSkinLoader.h"

namespace {

std::shared_ptr<const TzkBitmap> Picture(int w, int h, uint32_t fill) {
  auto b = std::make_shared<TzkBitmap>(NewBitmap24(w, h));
  b->Fill(fill);
  return b;
}

TsStoredSkinData OlderSkin() {
  TsStoredSkinData s;
  s.Version = 4.5;
  s.Author = "Someone";
  s.Shadow1Blur = 3;
  s.BorderColor = 0x112233;
  s.MasterBitmap = Picture(60, 40, 0x00FF00);
  TsSkinGeneral edit;
  edit.SectionName = "EDIT";
  edit.Color = 0x00FFFF;
  edit.Transparency = 30;
  edit.GradientData = "255;0;100;0;0";
  edit.FontColor = "255 1 2 3 4";
  edit.HotFontColor = "255 1 2 3";  // four numbers: not used
  TsSkinGeneral panel;
  panel.SectionName = "PANEL";
  panel.ParentClass = "EDIT";
  s.GeneralData = {edit, panel};
  TsSkinImage border;
  border.SectionName = "EDIT";
  border.PropertyName = "BORDERSMASK";
  border.Right = 30;
  border.Bottom = 20;
  border.WL = border.WT = border.WR = border.WB = 2;
  TsSkinImage glyph;
  glyph.SectionName = "PANEL";
  glyph.PropertyName = "GLYPHMASK";
  glyph.ImageCount = 0;  // three frames over their masks
  glyph.Image = Picture(9, 6, 0xFF0000);
  s.Images = {border, glyph};
  TsSkinPattern withPicture{"wood", "panel", "pattern", Picture(400, 300, 0x804020)};
  TsSkinPattern borrowing{"wood", "edit", "pattern", nullptr};
  TsSkinPattern empty{"none", "edit", "hotpattern", nullptr};
  s.Patterns = {borrowing, withPicture, empty};
  return s;
}

TEST(StoredSkinData, CollectionsBecomeTheTables) {
  TsSkinTables t;
  TsSkinLoadReport report;
  LoadSkinFromStoredData(OlderSkin(), t, {}, &report);
  EXPECT_FALSE(report.HasOptions);
  EXPECT_FALSE(report.VersionTooNew);
  EXPECT_DOUBLE_EQ(t.SkinData.Version, 4.5);
  EXPECT_EQ(t.SkinData.Author, "Someone");
  EXPECT_EQ(t.SkinData.Shadow1Blur, 3);
  EXPECT_EQ(t.SkinData.BorderColor, 0x112233);
  ASSERT_EQ(t.MasterBitmap.Width(), 60);

  ASSERT_EQ(t.Sections.size(), 2u);
  const TsGeneralData& edit = t.Sections[0];
  EXPECT_EQ(edit.Color, 0x00FFFF);
  EXPECT_EQ(edit.Transparency, 30);
  EXPECT_EQ(edit.GradientArray.size(), 1u);
  EXPECT_EQ(edit.FontColor.Color, 255);
  EXPECT_EQ(edit.FontColor.Bottom, 4);
  EXPECT_EQ(edit.HotFontColor.Color, 0);
  EXPECT_EQ(edit.HotFontColor.Left, -1);
  // Sections find their masks, with inheritance through PARENTCLASS.
  EXPECT_EQ(edit.BorderIndex, 0);
  EXPECT_EQ(t.Sections[1].BorderIndex, 0);

  ASSERT_EQ(t.Masks.size(), 2u);
  EXPECT_EQ(t.Masks[0].WL, 2);
  EXPECT_EQ(t.Masks[0].Image, nullptr);
  const TsMaskData& glyph = t.Masks[1];
  EXPECT_EQ(glyph.ImageCount, 3);
  EXPECT_EQ(glyph.MaskType, 1);
  ASSERT_NE(glyph.Image, nullptr);
  EXPECT_EQ(glyph.Image->Width(), 9);
  EXPECT_GT(glyph.WL, 0);  // default border widths for a record without any

  // Patterns: upper-cased names; an item without a picture borrows one of the same Name;
  // an item nothing can lend to is left out.
  ASSERT_EQ(t.Patterns.size(), 2u);
  EXPECT_EQ(t.Patterns[0].SectionName, "EDIT");
  EXPECT_EQ(t.Patterns[0].PropertyName, "PATTERN");
  EXPECT_EQ(t.Patterns[0].Image->Width(), 400);
  EXPECT_EQ(t.IndexOfPattern(1, "PANEL", "PATTERN"), 1);
}

TEST(StoredSkinData, CommonSectionsAndVersionChecksApplyAsForArchives) {
  TsStoredSkinData s = OlderSkin();
  s.Version = 300;
  TsSkinLoadOptions options;
  options.CommonSections = "[MEMO]\nPARENTCLASS=edit\nCOLOR=-1\n[EDIT]\nCOLOR=0\n";
  TsSkinTables t;
  TsSkinLoadReport report;
  LoadSkinFromStoredData(s, t, options, &report);
  EXPECT_TRUE(report.VersionTooNew);
  ASSERT_EQ(t.Sections.size(), 3u);
  EXPECT_EQ(t.Sections[0].Color, 0x00FFFF);  // the skin's own section stays
  EXPECT_EQ(t.Sections[2].SectionName, "MEMO");
  EXPECT_EQ(t.Sections[2].Color, 0x00FFFF);  // -1: the parent's value
  EXPECT_EQ(t.Sections[2].Transparency, 30);
}

TEST(StoredSkinData, AnEmptyStoredSkinGivesEmptyTables) {
  TsSkinTables t;
  LoadSkinFromStoredData(TsStoredSkinData(), t);
  EXPECT_TRUE(t.Sections.empty());
  EXPECT_TRUE(t.Masks.empty());
  EXPECT_TRUE(t.MasterBitmap.Empty());
  EXPECT_EQ(t.CachedIndexes.GlobalInfo, -1);
}

}  // namespace
