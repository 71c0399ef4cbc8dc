// The internal skins read the way the program reads them: from the executable's RCDATA
// resources through the stored-skin path, not from a file.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include "skin/data/sSkinDump.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/data/zkSkinPack.h"
#include "toolkit/WideText.h"

namespace {

TEST(StoredSkin, InternalSkinLoadsFromTheProgramsResource) {
  const TsStoredSkin stored = InternalStoredSkin();
  ASSERT_NE(stored.Data, nullptr) << "the test program carries no QUARNSKIN resource";
  EXPECT_EQ(stored.Name, "Quarn (internal)");
  ASSERT_GT(stored.Size, 8u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored.Data), 4), "QRvk");

  TsSkinManager skin(nullptr);
  skin.InternalSkins().push_back(stored);
  ASSERT_NO_THROW(skin.SetSkinName(stored.Name));
  ASSERT_TRUE(skin.SkinData().Active);
  EXPECT_EQ(skin.SkinName(), "Quarn (internal)");
  const TsSkinTables& t = skin.Tables();
  EXPECT_EQ(t.Sections.size(), 64u);
  EXPECT_EQ(t.Sections.front().SectionName, "GLOBALINFO");
  EXPECT_EQ(t.Sections.back().SectionName, "BUTTON");
  EXPECT_DOUBLE_EQ(t.SkinData.Version, 6.6);
  EXPECT_EQ(t.SkinData.BorderColor, 13680037);
  EXPECT_EQ(t.SkinData.TitleButtonVAlign, 1);
  EXPECT_FALSE(t.MasterBitmap.Empty());
  EXPECT_TRUE(skin.LoadReport().ImageProblems.empty());
  // The painters read the check boxes and glows through these.
  EXPECT_GE(t.CachedIndexes.CheckBoxChecked, 0);
  EXPECT_GE(t.IndexOfMask(t.IndexOfSection("BUTTON"), "BUTTON", "GLOW0"), 0);

  // The same bytes parsed again give the same tables: nothing depends on load order or on
  // memory left from an earlier load.
  TsSkinTables again;
  LoadSkinFromArchive(stored.Data, stored.Size, again);
  EXPECT_EQ(DumpSkinTables(again), DumpSkinTables(t));
}

// The dark skin is stored beside Quarn: the manager switches to it by name and back.
TEST(StoredSkin, NightSkinLoadsFromItsResourceBesideQuarn) {
  const TsStoredSkin night = NightStoredSkin();
  ASSERT_NE(night.Data, nullptr) << "the test program carries no QUARNNIGHTSKIN resource";
  EXPECT_EQ(night.Name, "Quarn Night (internal)");

  TsSkinManager skin(nullptr);
  skin.InternalSkins() = {InternalStoredSkin(), night};
  ASSERT_NO_THROW(skin.SetSkinName(kInternalSkinName));
  const TColor quarnClient = skin.Tables().Sections.at(size_t(skin.Tables().IndexOfSection("FORM"))).Color;
  ASSERT_NO_THROW(skin.SetSkinName(kNightSkinName));
  ASSERT_TRUE(skin.SkinData().Active);
  EXPECT_EQ(skin.SkinName(), "Quarn Night (internal)");
  const TsSkinTables& t = skin.Tables();
  EXPECT_EQ(t.Sections.size(), 64u);
  EXPECT_TRUE(skin.LoadReport().ImageProblems.empty());
  EXPECT_GE(t.CachedIndexes.CheckBoxChecked, 0);
  EXPECT_NE(t.Sections.at(size_t(t.IndexOfSection("FORM"))).Color, quarnClient);
  std::string first;
  const std::vector<std::string> names = skin.ListSkinNames(2, first);
  EXPECT_NE(std::find(names.begin(), names.end(), "Quarn Night (internal)"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Quarn (internal)"), names.end());
  ASSERT_NO_THROW(skin.SetSkinName(kInternalSkinName));
  EXPECT_EQ(skin.Tables().Sections.at(size_t(skin.Tables().IndexOfSection("FORM"))).Color, quarnClient);
}

TEST(StoredSkin, TheProgramCarriesTheSameSkins) {
  HMODULE program = LoadLibraryExW((ExeFolder() + L"VornikDesktop.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const std::pair<TsStoredSkin, TsStoredSkin> pairs[] = {{InternalStoredSkin(program), InternalStoredSkin()},
                                                         {NightStoredSkin(program), NightStoredSkin()}};
  for (const auto& [inProgram, inTests] : pairs) {
    ASSERT_NE(inProgram.Data, nullptr) << inTests.Name;
    ASSERT_EQ(inProgram.Size, inTests.Size) << inTests.Name;
    EXPECT_EQ(std::memcmp(inProgram.Data, inTests.Data, inTests.Size), 0) << inTests.Name;
  }
  FreeLibrary(program);
}

TEST(StoredSkin, MissingOrDamagedDataIsAnErrorAndKeepsTheTablesHeld) {
  const TsStoredSkin missing = FindStoredSkin(nullptr, L"NO_SUCH_SKIN", "Nothing");
  EXPECT_EQ(missing.Data, nullptr);

  TsSkinManager skin(nullptr);
  const TsStoredSkin good = InternalStoredSkin();
  const uint8_t foreign[] = {'P', 'K', 3, 4, 0, 0, 0, 0};
  skin.InternalSkins() = {good, TsStoredSkin{"Broken", foreign, sizeof foreign, {}},
                          TsStoredSkin{"Cut", good.Data, good.Size - 40, {}}};
  ASSERT_NO_THROW(skin.SetSkinName(good.Name));
  const size_t sections = skin.Tables().Sections.size();
  try {
    skin.SetSkinName("Broken");
    ADD_FAILURE() << "a foreign archive loaded";
  } catch (const EzkSkinError& e) {
    EXPECT_STREQ(e.what(), kNotPackedSkinMessage);
  }
  // A truncated archive (its last entry cut) fails too.
  EXPECT_THROW(skin.SetSkinName("Cut"), EzkSkinError);
  EXPECT_EQ(skin.Tables().Sections.size(), sections);
  EXPECT_FALSE(zkSkinChanging);
}

// Expects the lead's reading of GLOBALINFO integers in which -1 is a value of its own.
TEST(StoredSkin, TitleButtonsOverlapByOnePixel) {
  TsSkinManager skin(nullptr);
  skin.InternalSkins().push_back(InternalStoredSkin());
  skin.SetSkinName(kInternalSkinName);
  EXPECT_EQ(skin.Tables().SkinData.TitleButtonSpacing, -1);
}

}  // namespace
