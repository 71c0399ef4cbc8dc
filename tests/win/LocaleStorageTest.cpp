// The Win32 locale's date-time text in both directions and the task file storage.
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "app/DateTimeText.h"
#include "app/TaskCsv.h"
#include "app/TaskFile.h"
#include "app/WinTaskLocale.h"
#include "app/WinTaskStorage.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
  TCalendarTime t;
  t.Year = y, t.Month = mo, t.Day = d, t.Hour = h, t.Minute = mi, t.Second = s;
  return EncodeDateTime(t);
}

TEST(WinTaskLocale, RoundTripsThroughTheLocaleFormatsIncludingAmPm) {
  const TDateTime moments[] = {At(2026, 1, 2, 0, 0, 0),    At(2026, 1, 2, 0, 30, 5),
                               At(2026, 12, 31, 12, 0, 0), At(2026, 12, 31, 12, 59, 59),
                               At(2024, 2, 29, 13, 7, 9),  At(1999, 7, 4, 23, 59, 59)};
  for (const wchar_t* name : {L"en-US", L"ru-RU", L"de-DE", L"ja-JP", L"ko-KR", L"en-GB", L""}) {
    TWinTaskLocale locale(name);
    for (TDateTime m : moments) {
      const std::string text = locale.DateTimeToText(m);
      TDateTime back = -1;
      ASSERT_TRUE(locale.TextToDateTime(text, back)) << WideToUtf8(name) << ": " << text;
      EXPECT_NEAR(back, m, 0.1 / 86400) << WideToUtf8(name) << ": " << text;
    }
  }
}

// Where the locale's calendar is the Gregorian one, the text is the platform's own, so files
// written before keep reading and the list shows what the user expects.
TEST(WinTaskLocale, WritesWhatThePlatformWritesForTheGregorianCalendar) {
  const TDateTime moments[] = {At(2026, 1, 2, 0, 0, 0), At(2026, 12, 31, 12, 59, 59),
                               At(2009, 7, 4, 23, 5, 9)};
  for (const wchar_t* name : {L"en-US", L"ru-RU", L"de-DE", L"ja-JP", L"ko-KR", L"en-GB", L"th-TH",
                              L"ar-SA", L"fa-IR", L""}) {
    TWinTaskLocale locale(name);
    for (TDateTime m : moments) {
      const TCalendarTime t = DecodeDateTime(m);
      SYSTEMTIME st = {};
      st.wYear = WORD(t.Year), st.wMonth = WORD(t.Month), st.wDay = WORD(t.Day);
      st.wHour = WORD(t.Hour), st.wMinute = WORD(t.Minute), st.wSecond = WORD(t.Second);
      wchar_t date[128] = {}, time[128] = {}, year[16] = {};
      const wchar_t* localeName = *name ? name : nullptr;
      // Only where the platform shows the Gregorian calendar (Wine always does).
      GetDateFormatEx(localeName, 0, &st, L"yyyy", year, 16, nullptr);
      if (year != std::to_wstring(t.Year)) continue;
      GetDateFormatEx(localeName, DATE_SHORTDATE, &st, nullptr, date, 128, nullptr);
      GetTimeFormatEx(localeName, 0, &st, nullptr, time, 128);
      const std::wstring platform = std::wstring(date) + L" " + time;
      EXPECT_EQ(locale.DateTimeToText(m), WideToUtf8(platform)) << WideToUtf8(name);
    }
    const std::string text = locale.DateTimeToText(At(2026, 12, 10, 15, 4, 5));
    EXPECT_NE(text.find("26"), std::string::npos) << WideToUtf8(name) << ": " << text;
  }
}

TEST(WinTaskLocale, UsesTheDesignatorsOfTwelveHourLocales) {
  TWinTaskLocale locale(L"en-US");
  const std::string pm = locale.DateTimeToText(At(2026, 3, 4, 15, 6, 7));
  EXPECT_NE(pm.find("PM"), std::string::npos) << pm;
  TDateTime v = 0;
  ASSERT_TRUE(locale.TextToDateTime(pm, v));
  EXPECT_EQ(DecodeDateTime(v).Hour, 15);
  const std::string midnight = locale.DateTimeToText(At(2026, 3, 4, 0, 6, 7));
  ASSERT_TRUE(locale.TextToDateTime(midnight, v)) << midnight;
  EXPECT_EQ(DecodeDateTime(v).Hour, 0);
}

TEST(WinTaskLocale, RejectsTextsThatDoNotFitTheFormat) {
  TWinTaskLocale locale(L"en-US");
  TDateTime v = 0;
  for (const char* bad : {"", "no", "notend", "13/45/2026 1:00:00 PM", "2/30/2026 1:00:00 PM",
                          "3/4/2026 13:00:00 PM", "3/4/2026 1:61:00 PM", "3/4/2026 1:00:00 PM x",
                          "3/4/2026"})
    EXPECT_FALSE(locale.TextToDateTime(bad, v)) << bad;
}

TEST(WinTaskLocale, GivesTheExportItsSeparatorsAndTheOffsetInForce) {
  for (const auto& [name, separator] : {std::pair{L"ru-RU", ";"}, {L"de-DE", ";"}, {L"en-US", ","}}) {
    TWinTaskLocale locale(name);
    EXPECT_EQ(CsvSeparator(locale.ListSeparator(), locale.DecimalSeparator()), separator)
        << WideToUtf8(name);
  }
  // Now, the offset is the one the platform applies to the current moment.
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  const auto ticks = [](FILETIME f) { return (long long)f.dwHighDateTime << 32 | f.dwLowDateTime; };
  SYSTEMTIME st;
  FileTimeToSystemTime(&local, &st);
  TWinTaskLocale locale;
  int minutes = 9999;
  ASSERT_TRUE(locale.UtcOffsetAt(At(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond), minutes));
  EXPECT_EQ(minutes, int((ticks(local) - ticks(utc)) / 600000000));
  EXPECT_FALSE(locale.UtcOffsetAt(At(1500, 1, 1, 0, 0, 0), minutes));
}

class WinTaskStorageTest : public ::testing::Test {
 protected:
  std::string Path() const { return WideToUtf8(folder.Path() + L"save.txt"); }
  TScratchFolder folder;
};

TEST_F(WinTaskStorageTest, ReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  TWinTaskStorage storage;
  EXPECT_FALSE(storage.FileExists(Path()));
  storage.ReplaceFile(Path(), std::string("first\r\n", 7));
  EXPECT_TRUE(storage.FileExists(Path()));
  storage.ReplaceFile(Path(), "2");
  EXPECT_EQ(storage.ReadFile(Path()), "2");
  std::string big(300000, 'x');
  storage.ReplaceFile(Path(), big);
  EXPECT_EQ(storage.ReadFile(Path()), big);
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.bak"), "2");  // the previous version
  std::vector<std::wstring> files = FilesIn(folder.Path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L"save.bak", L"save.txt"}));
}

TEST_F(WinTaskStorageTest, NamesItsTemporaryAndBackupFilesAfterTheFile) {
  EXPECT_EQ(TWinTaskStorage::Sibling(L"C:\\a.b\\save.txt", L".bak"), L"C:\\a.b\\save.bak");
  EXPECT_EQ(TWinTaskStorage::Sibling(L"C:\\a.b\\save", L".tmp"), L"C:\\a.b\\save.tmp");
  // "save.tmp" fits too: the temporary of a save killed before its move, stale at start.
  for (const wchar_t* old : {L"sav1A2B.tmp", L"sav0.tmp", L"savffff.TMP", L"save.tmp"})
    EXPECT_TRUE(TWinTaskStorage::IsOldTemporaryName(old)) << WideToUtf8(old);
  for (const wchar_t* other : {L"sav.tmp", L"sav12345.tmp", L"savG.tmp", L"saves.tmp", L"sav1A2B.txt"})
    EXPECT_FALSE(TWinTaskStorage::IsOldTemporaryName(other)) << WideToUtf8(other);
}

TEST_F(WinTaskStorageTest, AFailedReplacementKeepsTheOldFileAndNamesIt) {
  TWinTaskStorage storage;
  storage.ReplaceFile(Path(), "old");
  TFileHandle lock(CreateFileW(Utf8ToWide(Path()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  try {
    storage.ReplaceFile(Path(), "new");
    FAIL() << "no error";
  } catch (const TTaskFileError& e) {
    EXPECT_NE(std::string(e.what()).find(Path()), std::string::npos) << e.what();
  }
  lock.Reset();
  EXPECT_EQ(storage.ReadFile(Path()), "old");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"save.txt"});
  // A folder that does not exist is reported too.
  EXPECT_THROW(storage.ReplaceFile(WideToUtf8(folder.Path()) + "missing\\save.txt", "x"), TTaskFileError);
}

TEST_F(WinTaskStorageTest, WritesAnExportWholeWithoutBackupAndNamesATargetInUse) {
  TWinTaskStorage storage;
  const std::wstring name = L"Vornik Desktop 2026-12-11.csv";
  const std::string path = WideToUtf8(folder.Path() + name);
  storage.WriteWholeFile(path, "first");
  storage.WriteWholeFile(path, "second");
  EXPECT_EQ(ReadBytes(folder.Path() + name), "second");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{name});
  // Open in another program that shares nothing: the old file stays, the message names it.
  TFileHandle lock(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  try {
    storage.WriteWholeFile(path, "third");
    FAIL() << "no error";
  } catch (const TTaskFileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  lock.Reset();
  EXPECT_EQ(ReadBytes(folder.Path() + name), "second");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{name});
  EXPECT_THROW(storage.WriteWholeFile(WideToUtf8(folder.Path()) + "missing\\x.csv", "x"), TTaskFileError);
}

TEST_F(WinTaskStorageTest, EncodesAnsiOnlyWhenNothingIsLost) {
  TWinTaskStorage cyrillic(1251), western(1252);
  std::string ansi;
  ASSERT_TRUE(cyrillic.EncodeAnsi("Привет", ansi));
  EXPECT_EQ(ansi, "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(cyrillic.DecodeAnsi(ansi), "Привет");
  EXPECT_FALSE(western.EncodeAnsi("Привет", ansi));
  EXPECT_FALSE(cyrillic.EncodeAnsi("naïve", ansi));  // no best-fit "i"
  EXPECT_FALSE(cyrillic.EncodeAnsi("\xFF\xFE", ansi));  // not UTF-8 at all
  EXPECT_TRUE(western.EncodeAnsi("naïve", ansi));
  EXPECT_EQ(ansi, "na\xEFve");
  // Plain ASCII stays as it is, but only in a code page that keeps it.
  EXPECT_TRUE(western.EncodeAnsi("Task<#>1\r\n", ansi));
  EXPECT_EQ(ansi, "Task<#>1\r\n");
  TWinTaskStorage ebcdic(37);
  ASSERT_TRUE(ebcdic.EncodeAnsi("AB", ansi));
  EXPECT_EQ(ansi, "\xC1\xC2");
  EXPECT_TRUE(western.EncodeAnsi("A", ansi));
  EXPECT_EQ(ansi, "A");
}

TEST_F(WinTaskStorageTest, TaskFileWritesAnsiOrUtf8WithMarkAndReadsBoth) {
  struct Rows : TTaskRows {
    std::vector<std::vector<std::string>> r;
    int Count() const override { return int(r.size()); }
    std::string Text(int row, TTaskField f) const override { return r[size_t(row)][size_t(f)]; }
    void SetText(int row, TTaskField f, const std::string& t) override { r[size_t(row)][size_t(f)] = t; }
    int AddRow() override { r.push_back(std::vector<std::string>(6)); return Count() - 1; }
    void DeleteRow(int row) override { r.erase(r.begin() + row); }
    void Clear() override { r.clear(); }
    int ImageIndex(int) const override { return 0; }
    void SetImageIndex(int, int) override {}
  };
  TWinTaskStorage storage(1251);
  TTaskFile file(storage, Path());
  Rows rows;
  rows.r = {{"Задача", "s", "", "false", "notime", "0"}};
  file.SaveTasks(rows, "no");
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.txt"), "no\r\n\xC7\xE0\xE4\xE0\xF7\xE0<#>s<#>notend<#>false<#>notime<#>0\r\n");
  Rows back;
  EXPECT_EQ(file.LoadTasks(back, nullptr), "no");
  EXPECT_EQ(back.r.at(0).at(0), "Задача");
  rows.r[0][0] = "任务";
  file.SaveTasks(rows, "no");
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.txt").substr(0, 9), "\xEF\xBB\xBFno\r\n\xE4\xBB");
  Rows again;
  file.LoadTasks(again, nullptr);
  EXPECT_EQ(again.r.at(0).at(0), "任务");
}

}  // namespace
