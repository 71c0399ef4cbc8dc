#include <gtest/gtest.h>

#include <cmath>

#include "app/TaskClock.h"
#include "app/TaskFile.h"
#include "support/TaskFakes.h"

namespace {

const TDateTime kStart = MakeDateTime(2026, 12, 9, 10, 0, 0);

TEST(ElapsedText, HoursAreNotReducedAndFieldsArePadded) {
  EXPECT_EQ(ElapsedText(kStart + 5 * kSecond, kStart), "00:00:05");
  EXPECT_EQ(ElapsedText(MakeDateTime(2026, 12, 10, 12, 5, 9), MakeDateTime(2026, 12, 9, 10, 0, 0)),
            "26:05:09");
  EXPECT_EQ(ElapsedText(MakeDateTime(2026, 12, 10, 11, 0, 0), kStart), "25:00:00");
  EXPECT_EQ(ElapsedText(MakeDateTime(2026, 12, 14, 15, 0, 0), kStart), "125:00:00");
}

TEST(ElapsedText, AStartInTheFutureCountsTheDistance) {
  EXPECT_EQ(ElapsedText(kStart, MakeDateTime(2026, 12, 9, 11, 2, 3)), "01:02:03");
}

TEST(ElapsedText, WholeSecondSpansAreExactAcrossADay) {
  // Date-times are fractions of days: a span of exactly n seconds must never read as n - 1.
  for (int s = 0; s < 86400; s += 7) {
    const TDateTime then = MakeDateTime(2026, 12, 9, 0, 0, 0) + s * kSecond;
    const TDateTime now = MakeDateTime(2026, 12, 9, 0, 0, 0) + (s + 60) * kSecond;
    ASSERT_EQ(WholeSecondsBetween(now, then), 60) << s;
    ASSERT_EQ(WholeMinutesBetween(now, then), 1) << s;
  }
}

TEST(LimitText, WholeNonNegativePartsThatReadBack) {
  EXPECT_EQ(LimitText(2, 5), "2:5:00");  // not padded
  EXPECT_EQ(LimitText(0, 0), "0:0:00");
  EXPECT_EQ(LimitText(-3, 1.9), "0:1:00");
  EXPECT_EQ(LimitText(std::nan(""), -0.5), "0:0:00");
  EXPECT_EQ(LimitText(1e30, 75), "999999999:75:00");
  const TTaskLimit read = ParseLimit(LimitText(1e30, 75));
  EXPECT_TRUE(read.Valid);
  EXPECT_EQ(read.TotalMinutes(), 999999999LL * 60 + 75);
  EXPECT_FALSE(read.Fired);
}

TEST(ParseLimit, ReadsHoursMinutesAndTheFiredMark) {
  TTaskLimit l = ParseLimit("1:30:00");
  EXPECT_TRUE(l.Valid);
  EXPECT_EQ(l.TotalMinutes(), 90);
  EXPECT_FALSE(l.Fired);
  EXPECT_TRUE(ParseLimit("1:30:00#").Fired);
  EXPECT_EQ(ParseLimit("2:5:00").TotalMinutes(), 125);
  EXPECT_FALSE(ParseLimit("notime").Valid);
  EXPECT_FALSE(ParseLimit("x:5:00").Valid);
  EXPECT_FALSE(ParseLimit("1.5:0:00").Valid);
  EXPECT_FALSE(ParseLimit(":5:00").Valid);
}

class TaskClockTest : public ::testing::Test {
 protected:
  FakeRows rows;
  FakeLocale locale;
  CountingAlarm alarm;
  TTaskClock clock{rows, locale, alarm};
  int saves = 0;
  std::string caption = "00:00:00";

  int AddRunning(const std::string& limit, TDateTime start = kStart) {
    return rows.Add({"t", locale.DateTimeToText(start), "", "false", limit, "0"});
  }
  void TickAt(TDateTime now, const std::string& listStart = "no") {
    locale.now = now;
    clock.Tick(listStart, caption, [&] { ++saves; });
  }
};

TEST_F(TaskClockTest, LimitFiresAtTheFirstTickWithTheWholeMinutesReached) {
  const int row = AddRunning("0:2:00");
  TickAt(kStart + 119 * kSecond);
  EXPECT_EQ(rows.rows[row].image, tiPending);
  EXPECT_EQ(alarm.plays, 0);
  TickAt(kStart + 120 * kSecond);
  EXPECT_EQ(rows.rows[row].image, tiFired);
  EXPECT_EQ(rows.rows[row].texts[tfLimit], "0:2:00#");
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_EQ(saves, 1);
  TickAt(kStart + 500 * kSecond);
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_EQ(rows.rows[row].texts[tfLimit], "0:2:00#");
}

TEST_F(TaskClockTest, ZeroLimitFiresAtTheNextTick) {
  AddRunning("0:0:00");
  TickAt(kStart);
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_EQ(rows.rows[0].image, tiFired);
}

TEST_F(TaskClockTest, TwoAlarmsInOneTickEachPlayAndSave) {
  AddRunning("0:1:00");
  AddRunning("0:0:00");
  AddRunning("5:0:00");
  std::vector<std::string> limitsAtSave;
  std::vector<int> firedRows;
  locale.now = kStart + 3600 * kSecond;
  clock.Tick("no", caption, [&] { limitsAtSave.push_back(rows.rows[1].texts[tfLimit]); },
             [&](int row) { firedRows.push_back(row); });
  EXPECT_EQ(alarm.plays, 2);
  // The first save happens before the second row is examined; each row is named once saved.
  EXPECT_EQ(limitsAtSave, (std::vector<std::string>{"0:0:00", "0:0:00#"}));
  EXPECT_EQ(firedRows, (std::vector<int>{0, 1}));
  EXPECT_EQ(rows.rows[2].image, tiPending);
}

TEST_F(TaskClockTest, FinishedRowsAreNeverExamined) {
  rows.Add({"done", locale.DateTimeToText(kStart), "00:10:00", "true", "0:0:00", "0"}, tiFinished);
  TickAt(kStart + 3600 * kSecond);
  EXPECT_EQ(rows.rows[0].texts[tfElapsed], "00:10:00");
  EXPECT_EQ(rows.rows[0].image, tiFinished);
  EXPECT_EQ(alarm.plays, 0);
}

TEST_F(TaskClockTest, ClockLabelFollowsListStartOnly) {
  AddRunning("notime");
  TickAt(kStart + 61 * kSecond);
  EXPECT_EQ(caption, "00:00:00");
  EXPECT_EQ(rows.rows[0].texts[tfElapsed], "00:01:01");
  TickAt(kStart + 25 * 3600 * kSecond, locale.DateTimeToText(kStart));
  EXPECT_EQ(caption, "25:00:00");
}

TEST_F(TaskClockTest, UnreadableTextsAreLeftAloneWithoutAlarms) {
  rows.Add({"t", "yesterday", "notend", "false", "0:0:00", "0"});
  rows.Add({"u", locale.DateTimeToText(kStart), "notend", "false", "a:b:00", "0"});
  rows.Add({"v", locale.DateTimeToText(kStart), "notend", "", "0:0:00", "0"});
  caption = "00:00:07";
  TickAt(kStart + 10 * kSecond, "garbage");
  EXPECT_EQ(caption, "00:00:07");
  EXPECT_EQ(rows.rows[0].texts[tfElapsed], "notend");
  EXPECT_EQ(rows.rows[1].texts[tfElapsed], "00:00:10");
  EXPECT_EQ(rows.rows[2].texts[tfElapsed], "notend");
  EXPECT_EQ(alarm.plays, 0);
  EXPECT_EQ(saves, 0);
}

TEST_F(TaskClockTest, StartupCheckDuringLoadFiresWithoutSavingAndSkipsFiredLimits) {
  FakeStorage storage;
  TTaskFile file(storage, "save.txt");
  const std::string start = locale.DateTimeToText(kStart);
  storage.files["save.txt"] = start + "\r\n" +
                              "due<#>" + start + "<#>notend<#>false<#>0:30:00<#>0\r\n" +
                              "fired<#>" + start + "<#>notend<#>false<#>0:30:00#<#>0\r\n" +
                              "ahead<#>" + start + "<#>notend<#>false<#>9:0:00<#>0\r\n" +
                              "done<#>" + start + "<#>00:01:00<#>true<#>0:1:00<#>0\r\n";
  locale.now = kStart + 3600 * kSecond;
  const std::string listStart =
      file.LoadTasks(rows, [&](int row) { clock.CheckLimit(row, locale.Now()); });
  EXPECT_EQ(listStart, start);
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_EQ(storage.writes, 0);
  EXPECT_EQ(rows.rows[0].image, tiFired);
  EXPECT_EQ(rows.rows[0].texts[tfLimit], "0:30:00#");
  EXPECT_EQ(rows.rows[1].image, tiRunning);
  EXPECT_EQ(rows.rows[2].image, tiPending);
  EXPECT_EQ(rows.rows[3].image, tiFinished);
}

}  // namespace
