// The tray hint: which rows count as in progress and over their limit, and the text.
#include <gtest/gtest.h>

#include "app/TrayHint.h"
#include "support/TaskFakes.h"

namespace {

TEST(TrayHint, CountsRunningRowsAndThoseWhoseAlarmFired) {
  FakeRows rows;
  rows.Add({"running, no limit", "s", "notend", "false", "notime", "0"});
  rows.Add({"running, limit ahead", "s", "notend", "false", "1:30:00", "0"});
  rows.Add({"running, alarm fired", "s", "notend", "false", "0:5:00#", "2"});
  rows.Add({"finished after its alarm", "s", "00:06:00", "true", "0:5:00#", "0"});
  rows.Add({"hand-edited limit", "s", "notend", "false", "x:y#", "0"});
  const TTrayCounts counts = CountForTray(rows);
  EXPECT_EQ(counts.Running, 4);
  EXPECT_EQ(counts.TimeUp, 1);
}

TEST(TrayHint, TextNamesTheProgramAndOnlyTheCountsThatMean) {
  EXPECT_EQ(TrayHintText({}), "Vornik Desktop\nЗадач в работе нет");
  EXPECT_EQ(TrayHintText({3, 0}), "Vornik Desktop\nВ работе: 3");
  EXPECT_EQ(TrayHintText({12, 2}), "Vornik Desktop\nВ работе: 12, из них время вышло: 2");
  // The longest the counts can make it still fits the tray's 127 units (every character of
  // it is one UTF-16 unit: one leading byte in UTF-8).
  const std::string longest = TrayHintText({2147483647, 2147483647});
  size_t units = 0;
  for (char c : longest) units += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_LE(units, 127u);
}

}  // namespace
