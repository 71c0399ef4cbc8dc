// The settings file: what is written reads back, and damaged files give the defaults value by
// value instead of failing.
#include <string>

#include <gtest/gtest.h>

#include "app/AppSettings.h"

namespace {

TEST(AppSettings, WhatIsWrittenReadsBack) {
  for (const TAppSettings& s : {TAppSettings{}, TAppSettings{"Quarn Night (internal)", false, 60},
                               TAppSettings{"Тёмная тема", true, 300}, TAppSettings{"a=b ;#[x]", false, 359}}) {
    SCOPED_TRACE(s.SkinName);
    EXPECT_EQ(ParseAppSettings(FormatAppSettings(s)), s);
  }
  EXPECT_EQ(FormatAppSettings(TAppSettings{"Dark", true, 120}),
            "; Vornik Desktop: the look chosen in the tray menu\r\nSkin=Dark\r\nFollowWindows=1\r\nHue=120\r\n");
}

TEST(AppSettings, ValuesTheFileCannotHoldAreNotWritten) {
  const TAppSettings written = ParseAppSettings(FormatAppSettings(TAppSettings{"line\r\nHue=60", false, 400}));
  EXPECT_EQ(written, TAppSettings{});
  EXPECT_EQ(ParseAppSettings(FormatAppSettings(TAppSettings{" padded ", false, -5})), TAppSettings{});
}

TEST(AppSettings, ReadsLinesAsPeopleWriteThem) {
  const TAppSettings s = ParseAppSettings(
      "\xEF\xBB\xBF; comment\n# another\n\n  skin  =  My Skin  \nFOLLOWWINDOWS=true\r\nhue=240\nColour=red\nno equals sign\n");
  EXPECT_EQ(s, (TAppSettings{"My Skin", true, 240}));
  // The last readable value wins; one that does not read keeps the earlier one.
  EXPECT_EQ(ParseAppSettings("Hue=60\nHue=120\nHue=abc\nSkin=A\nSkin=\nFollowWindows=yes\n"),
            (TAppSettings{"A", false, 120}));
}

TEST(AppSettings, DamagedValuesGiveTheDefaults) {
  const char* const hues[] = {"Hue=360", "Hue=-60", "Hue=+60", "Hue=6 0", "Hue=1e2", "Hue=0060", "Hue=99999999999999999999"};
  for (const char* line : hues) EXPECT_EQ(ParseAppSettings(line).HueOffset, 0) << line;
  const std::string names[] = {
      "Skin=..\\..\\Windows\\evil",  "Skin=C:\\Skins\\x", "Skin=a/b",
      "Skin=bad\x01" "char",         "Skin=\xC3",        "Skin=\xC0\xAF",
      "Skin=\xED\xA0\x80",           "Skin=\xF4\x90\x80\x80",
      "Skin=" + std::string(kMaxSkinNameBytes + 1, 'n')};
  for (const std::string& line : names) EXPECT_EQ(ParseAppSettings(line).SkinName, "") << line;
  EXPECT_EQ(ParseAppSettings("Skin=" + std::string(kMaxSkinNameBytes, 'n')).SkinName.size(), kMaxSkinNameBytes);
}

TEST(AppSettings, FilesThatAreNotSettingsGiveTheDefaults) {
  // UTF-16 text of the same lines, binary noise, and a file too large to be settings.
  const std::string utf16("\xFF\xFES\0k\0i\0n\0=\0D\0a\0r\0k\0\r\0\n\0H\0u\0e\0=\x00" "6\0" "0\0", 34);
  EXPECT_EQ(ParseAppSettings(utf16), TAppSettings{});
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += char((i * 7919) & 0xFF);
  EXPECT_EQ(ParseAppSettings(noise).HueOffset, 0);
  std::string huge = "Skin=Dark\nHue=60\n";
  huge.resize(kMaxAppSettingsBytes + 1, ' ');
  EXPECT_EQ(ParseAppSettings(huge), TAppSettings{});
  huge.resize(kMaxAppSettingsBytes);
  EXPECT_EQ(ParseAppSettings(huge), (TAppSettings{"Dark", false, 60}));
}

}  // namespace
