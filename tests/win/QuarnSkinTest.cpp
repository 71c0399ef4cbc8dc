// The internal skin read the way the program reads it: from the executable's RCDATA resource
// through the stored-skin path, not from a file.
#include <windows.h>

#include <cstring>

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

TEST(StoredSkin, TheProgramCarriesTheSameSkin) {
  HMODULE program = LoadLibraryExW((ExeFolder() + L"VornikDesktop.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const TsStoredSkin inProgram = InternalStoredSkin(program);
  const TsStoredSkin inTests = InternalStoredSkin();
  ASSERT_NE(inProgram.Data, nullptr);
  ASSERT_EQ(inProgram.Size, inTests.Size);
  EXPECT_EQ(std::memcmp(inProgram.Data, inTests.Data, inTests.Size), 0);
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
