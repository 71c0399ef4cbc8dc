#include <gtest/gtest.h>

#include "app/TaskFile.h"
#include "support/TaskFakes.h"

namespace {

const char kPath[] = "C:\\app\\save.txt";

class TaskFileTest : public ::testing::Test {
 protected:
  FakeStorage storage;
  TTaskFile file{storage, kPath};
  FakeRows rows;

  std::string Saved() { return storage.files.at(kPath); }
  std::string Load(FakeRows& into) { return file.LoadTasks(into, nullptr); }
};

TEST_F(TaskFileTest, EmptyListIsOneLine) {
  file.SaveTasks(rows, "no");
  EXPECT_EQ(Saved(), "no\r\n");
}

TEST_F(TaskFileTest, RowsAreWrittenFieldByFieldWithRunningElapsedAsNotend) {
  rows.Add({"Write report", "01.02.2026 10:00:00", "00:05:00", "false", "notime", "1"});
  rows.Add({"Call", "01.02.2026 09:00:00", "00:30:12", "true", "1:30:00#", "2"});
  file.SaveTasks(rows, "01.02.2026 09:00:00");
  EXPECT_EQ(Saved(),
            "01.02.2026 09:00:00\r\n"
            "Write report<#>01.02.2026 10:00:00<#>notend<#>false<#>notime<#>1\r\n"
            "Call<#>01.02.2026 09:00:00<#>00:30:12<#>true<#>1:30:00#<#>2\r\n");
}

TEST_F(TaskFileTest, RoundTripKeepsTextsAndMarksFinishedRows) {
  rows.Add({"A", "01.02.2026 10:00:00", "", "false", "2:5:00", "0"});
  rows.Add({"B", "01.02.2026 09:00:00", "01:00:00", "true", "notime", "1"});
  file.SaveTasks(rows, "01.02.2026 09:00:00");

  FakeRows loaded;
  std::vector<int> checked;
  EXPECT_EQ(file.LoadTasks(loaded, [&](int row) { checked.push_back(row); }),
            "01.02.2026 09:00:00");
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.rows[0].texts[tfElapsed], "notend");
  EXPECT_EQ(loaded.rows[0].texts[tfLimit], "2:5:00");
  EXPECT_EQ(loaded.rows[0].image, tiRunning);
  EXPECT_EQ(loaded.rows[1].texts[tfElapsed], "01:00:00");
  EXPECT_EQ(loaded.rows[1].image, tiFinished);
  EXPECT_EQ(checked, (std::vector<int>{0, 1}));
}

TEST_F(TaskFileTest, SeparatorInsideACaptionShiftsTheFieldsOnLoad) {
  rows.Add({"a<#>b", "01.02.2026 10:00:00", "", "false", "notime", "0"});
  file.SaveTasks(rows, "no");
  FakeRows loaded;
  Load(loaded);
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(loaded.rows[0].texts[tfCaption], "a");
  EXPECT_EQ(loaded.rows[0].texts[tfStart], "b");
  EXPECT_EQ(loaded.rows[0].texts[tfElapsed], "01.02.2026 10:00:00");
  EXPECT_EQ(loaded.rows[0].texts[tfLimit], "false");
  // The sixth field is the rest of the line, separators included.
  EXPECT_EQ(loaded.rows[0].texts[tfPriority], "notime<#>0");
}

TEST_F(TaskFileTest, ACaptionMadeForTheFileKeepsEveryFieldInPlace) {
  EXPECT_EQ(CaptionForTaskFile("pay rent <#> bank transfer"), "pay rent < #> bank transfer");
  EXPECT_EQ(CaptionForTaskFile("<#><<#>>#<#"), "< #><< #>>#<#");
  EXPECT_EQ(CaptionForTaskFile("one\r\ntwo\rthree\nfour\n\n"), "one two three four  ");
  EXPECT_EQ(CaptionForTaskFile("plain < # > text"), "plain < # > text");
  const std::string caption = CaptionForTaskFile("a<#>b\r\n<#>notend<#>");
  rows.Add({caption, "01.02.2026 10:00:00", "", "false", "1:0:00", "2"});
  file.SaveTasks(rows, "no");
  FakeRows loaded;
  Load(loaded);
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(loaded.rows[0].texts[tfCaption], caption);
  EXPECT_EQ(loaded.rows[0].texts[tfStart], "01.02.2026 10:00:00");
  EXPECT_EQ(loaded.rows[0].texts[tfLimit], "1:0:00");
  EXPECT_EQ(loaded.rows[0].texts[tfPriority], "2");
}

TEST_F(TaskFileTest, Utf16FilesWithTheirMarkLoadInBothByteOrders) {
  // "no", one row "Чай 🍵" (a character beyond the first plane), a lone surrogate and an odd
  // last byte, as an editor would save it.
  const std::u16string text = u"no\r\n\u0427\u0430\u0439 \U0001F375<#>s<#>notend<#>false<#>notime<#>1\r\n"
                              u"x\xD800y<#>s<#>notend<#>false<#>notime<#>0";
  for (bool bigEndian : {false, true}) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
      const char hi = char(u >> 8), lo = char(u & 0xFF);
      bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    storage.files[kPath] = bytes + "!";
    FakeRows loaded;
    EXPECT_EQ(Load(loaded), "no");
    ASSERT_EQ(loaded.Count(), 2) << bigEndian;
    EXPECT_EQ(loaded.rows[0].texts[tfCaption], "\xD0\xA7\xD0\xB0\xD0\xB9 \xF0\x9F\x8D\xB5");
    EXPECT_EQ(loaded.rows[0].texts[tfPriority], "1");
    EXPECT_EQ(loaded.rows[1].texts[tfCaption], "x\xEF\xBF\xBDy");
    EXPECT_EQ(loaded.rows[1].texts[tfPriority], "0\xEF\xBF\xBD");
  }
  // Saved back as usual: UTF-8 with its mark, as the characters do not fit the code page.
  FakeRows loaded;
  Load(loaded);
  file.SaveTasks(loaded, "no");
  EXPECT_EQ(Saved().substr(0, 7), "\xEF\xBB\xBFno\r\n");
}

TEST_F(TaskFileTest, LinesBreakAtCrLfLoneCrAndLoneLf) {
  storage.files[kPath] = "no\rA<#>s<#>notend<#>false<#>notime<#>0\nB<#>s<#>notend<#>false<#>notime<#>1";
  FakeRows loaded;
  EXPECT_EQ(Load(loaded), "no");
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.rows[1].texts[tfCaption], "B");
  EXPECT_EQ(loaded.rows[1].texts[tfPriority], "1");
  EXPECT_EQ(SplitTaskLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(TaskFileTest, MissingOrEmptyFileGivesAnEmptyListNotStarted) {
  FakeRows loaded;
  EXPECT_EQ(Load(loaded), "no");
  storage.files[kPath] = "";
  EXPECT_EQ(Load(loaded), "no");
  EXPECT_EQ(loaded.Count(), 0);
  EXPECT_EQ(storage.writes, 0);
}

TEST_F(TaskFileTest, ShortLinesLoadWithEmptyMissingFields) {
  storage.files[kPath] = "no\r\njust a caption\r\nx<#>y\r\n";
  FakeRows loaded;
  Load(loaded);
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.rows[0].texts[tfCaption], "just a caption");
  EXPECT_EQ(loaded.rows[0].texts[tfFinished], "");
  EXPECT_EQ(loaded.rows[1].texts[tfStart], "y");
  EXPECT_EQ(loaded.rows[1].texts[tfPriority], "");
}

TEST_F(TaskFileTest, CyrillicIsWrittenInTheAnsiCodePage) {
  rows.Add({"\xD0\x97\xD0\xB0\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0", "s", "", "false", "notime", "0"});  // Задача
  file.SaveTasks(rows, "no");
  EXPECT_EQ(Saved().substr(4, 6), "\xC7\xE0\xE4\xE0\xF7\xE0");
  FakeRows loaded;
  Load(loaded);
  EXPECT_EQ(loaded.rows[0].texts[tfCaption], rows.rows[0].texts[tfCaption]);
}

TEST_F(TaskFileTest, TextTheCodePageCannotHoldIsKeptAsUtf8WithBom) {
  const std::string caption = "Tea \xE2\x98\x95 \xD0\xB8 \xE6\xBC\xA2";  // cup, Cyrillic, Han
  rows.Add({caption, "s", "", "false", "notime", "0"});
  file.SaveTasks(rows, "no");
  EXPECT_EQ(Saved().substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Saved().substr(3, 4), "no\r\n");
  FakeRows loaded;
  Load(loaded);
  EXPECT_EQ(loaded.rows[0].texts[tfCaption], caption);
}

TEST_F(TaskFileTest, FailedSaveThrowsAndLeavesThePreviousFile) {
  file.SaveTasks(rows, "no");
  rows.Add({"A", "s", "", "false", "notime", "0"});
  storage.failWrites = true;
  EXPECT_THROW(file.SaveTasks(rows, "no"), TTaskFileError);
  EXPECT_EQ(Saved(), "no\r\n");
  EXPECT_EQ(rows.Count(), 1);
}

}  // namespace
