#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/TaskCsv.h"
#include "support/TaskFakes.h"

namespace {

using Record = std::vector<std::string>;

// A strict RFC 4180 reader: records end at CR LF outside quotes, a quoted field must end at a
// separator or a record's end, and a bare CR, LF or quote in an unquoted field is an error.
// So what it reads back is what the file says, not what the writer meant.
std::vector<Record> ReadCsv(const std::string& bytes, const std::string& sep) {
  EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "no byte-order mark";
  std::vector<Record> records;
  Record record;
  size_t i = 3;
  while (i < bytes.size()) {
    std::string field;
    if (bytes[i] == '"') {
      for (++i;; ++i) {
        if (i >= bytes.size()) {
          ADD_FAILURE() << "unclosed quote";
          return records;
        }
        if (bytes[i] == '"' && (i + 1 >= bytes.size() || bytes[i + 1] != '"')) break;
        if (bytes[i] == '"') ++i;
        field += bytes[i];
      }
      ++i;
    } else {
      while (i < bytes.size() && bytes.compare(i, sep.size(), sep) != 0 && bytes[i] != '\r') {
        if (bytes[i] == '\n' || bytes[i] == '"') {
          ADD_FAILURE() << "bare LF or quote at byte " << i;
          return records;
        }
        field += bytes[i++];
      }
    }
    record.push_back(field);
    if (bytes.compare(i, sep.size(), sep) == 0) {
      i += sep.size();
    } else if (bytes.compare(i, 2, "\r\n") == 0) {
      i += 2;
      records.push_back(record);
      record.clear();
    } else {
      ADD_FAILURE() << "junk after a field at byte " << i;
      return records;
    }
  }
  EXPECT_TRUE(record.empty()) << "last record without CR LF";
  return records;
}

class CsvLocale : public ITaskCsvLocale {
 public:
  FakeLocale texts;  // "dd.mm.yyyy hh:mm:ss"
  std::string list = ";", decimal = ",";
  std::function<bool(TDateTime, int&)> offset = [](TDateTime, int& m) {
    m = 180;
    return true;
  };

  TDateTime Now() const override { return texts.now; }
  std::string DateTimeToText(TDateTime v) const override { return texts.DateTimeToText(v); }
  bool TextToDateTime(const std::string& t, TDateTime& v) const override {
    return texts.TextToDateTime(t, v);
  }
  std::string ListSeparator() const override { return list; }
  std::string DecimalSeparator() const override { return decimal; }
  bool UtcOffsetAt(TDateTime local, int& minutes) const override { return offset(local, minutes); }
};

class TaskCsvTest : public ::testing::Test {
 protected:
  TaskCsvTest() { locale.texts.now = MakeDateTime(2026, 12, 11, 14, 3, 5); }
  CsvLocale locale;
  FakeRows rows;

  std::vector<Record> Export(const std::string& sep = ";") {
    return ReadCsv(TaskCsvBytes(rows, locale, sep, locale.Now()), sep);
  }
  std::string Ago(double seconds) { return locale.DateTimeToText(locale.Now() - seconds * kSecond); }
};

TEST_F(TaskCsvTest, EveryStatusWithItsElapsedLimitAndPriority) {
  const double hour = 3600;
  rows.Add({"long", Ago(125 * hour + 7), "", "false", "notime", "0"});
  rows.Add({"ahead", Ago(89 * 60 + 59), "", "false", "1:30:00", "1"});
  rows.Add({"reached", Ago(90 * 60), "", "false", "1:30:00", "2"});
  rows.Add({"fired", Ago(60), "", "false", "0:45:00#", "0"});
  rows.Add({"done", Ago(5 * hour), "102:00:09", "true", "1:30:00#", "2"});
  rows.Add({"done at once", Ago(hour), "", "true", "0:0:00", "1"});
  rows.Add({"unreadable", "yesterday", "", "false", "0:0:00", "0"});
  rows.Add({"future", locale.DateTimeToText(locale.Now() + 30 * kSecond), "", "false", "x", "1"});
  const std::vector<Record> csv = Export();
  const std::vector<Record> expected = {
      {"Событие", "Старт", "Прошло, с", "Прошло", "Статус", "Ограничение, мин", "Приоритет"},
      {"long", "2026-12-06T09:02:58+03:00", "450007", "125:00:07", "в работе", "", "0"},
      {"ahead", "2026-12-11T12:33:06+03:00", "5399", "01:29:59", "в работе", "90", "1"},
      {"reached", "2026-12-11T12:33:05+03:00", "5400", "01:30:00", "время вышло", "90", "2"},
      {"fired", "2026-12-11T14:02:05+03:00", "60", "00:01:00", "время вышло", "45", "0"},
      {"done", "2026-12-11T09:03:05+03:00", "367209", "102:00:09", "завершено", "90", "2"},
      {"done at once", "2026-12-11T13:03:05+03:00", "", "", "завершено", "0", "1"},
      {"unreadable", "", "", "", "в работе", "0", "0"},
      {"future", "2026-12-11T14:03:35+03:00", "30", "00:00:30", "в работе", "", "1"},
  };
  EXPECT_EQ(csv, expected);
}

TEST_F(TaskCsvTest, HostileCaptionsComeBackExactly) {
  const std::vector<std::string> captions = {
      "a;b", "a,b", "tab\there", "say \"hi\"", "\"", "cr\rx", "lf\nx", "crlf\r\nx", "\r\n",
      "a<#>b", "  padded  ", " ", "", "Ёлка 🎄 — задача", "=1+2"};
  for (const std::string sep : {";", ",", "\t"}) {
    rows.Clear();
    for (const std::string& c : captions) rows.Add({c, Ago(1), "", "false", "notime", "0"});
    const std::vector<Record> csv = Export(sep);
    ASSERT_EQ(csv.size(), captions.size() + 1) << "separator " << sep;
    for (size_t i = 0; i < captions.size(); ++i) {
      ASSERT_EQ(csv[i + 1].size(), 7u) << captions[i];
      EXPECT_EQ(csv[i + 1][0], captions[i]) << "separator " << sep;
    }
  }
  std::string out;
  AppendCsvField(out, "say \"hi\"", ";");
  AppendCsvField(out, "plain, text", ";");
  AppendCsvField(out, "trailing ", ";");  // readers that trim would lose the space
  EXPECT_EQ(out, "\"say \"\"hi\"\"\"plain, text\"trailing \"");
}

TEST_F(TaskCsvTest, FileIsMarkedUtf8WithCrLfLinesAndHeaderQuotedWhereNeeded) {
  EXPECT_EQ(TaskCsvBytes(rows, locale, ",", locale.Now()),
            "\xEF\xBB\xBF"
            "Событие,Старт,\"Прошло, с\",Прошло,Статус,\"Ограничение, мин\",Приоритет\r\n");
  rows.Add({"x", Ago(1), "", "false", "notime", "0"});
  EXPECT_EQ(TaskCsvBytes(rows, locale, ";", locale.Now()),
            "\xEF\xBB\xBF"
            "Событие;Старт;Прошло, с;Прошло;Статус;Ограничение, мин;Приоритет\r\n"
            "x;2026-12-11T14:03:04+03:00;1;00:00:01;в работе;;0\r\n");
}

// As those locales report their list and decimal separators, then the unusable ones.
TEST(TaskCsvSeparator, FollowsTheLocaleAndNeverSplitsANumber) {
  EXPECT_EQ(CsvSeparator(";", ","), ";");  // ru-RU
  EXPECT_EQ(CsvSeparator(";", ","), ";");  // de-DE
  EXPECT_EQ(CsvSeparator(",", "."), ",");  // en-US
  EXPECT_EQ(CsvSeparator("\t", "."), "\t");
  EXPECT_EQ(CsvSeparator("؛", "٫"), "؛");
  EXPECT_EQ(CsvSeparator(",", ","), ";");
  EXPECT_EQ(CsvSeparator(".", "."), ",");
  for (const char* unusable : {"", ";;", "\"", "\n", "1", "x"}) {
    EXPECT_EQ(CsvSeparator(unusable, ","), ";") << unusable;
    EXPECT_EQ(CsvSeparator(unusable, "."), ",") << unusable;
  }
}

TEST_F(TaskCsvTest, StartCarriesTheOffsetInForceAtThatMoment) {
  const TDateTime t = MakeDateTime(2026, 3, 1, 0, 0, 9);
  EXPECT_EQ(IsoLocalTime(t, 180), "2026-03-01T00:00:09+03:00");
  EXPECT_EQ(IsoLocalTime(t, -300), "2026-03-01T00:00:09-05:00");
  EXPECT_EQ(IsoLocalTime(t, 330), "2026-03-01T00:00:09+05:30");
  EXPECT_EQ(IsoLocalTime(t, -210), "2026-03-01T00:00:09-03:30");
  EXPECT_EQ(IsoLocalTime(t, 0), "2026-03-01T00:00:09+00:00");
  EXPECT_EQ(IsoLocalTime(t, 345), "2026-03-01T00:00:09+05:45");

  // Summer time from March 29 on: the offset is that of each start, not of now.
  const TDateTime summer = MakeDateTime(2026, 3, 29);
  locale.offset = [&](TDateTime local, int& m) {
    m = local >= summer ? 120 : 60;
    return true;
  };
  rows.Add({"winter", "28.03.2026 23:59:59", "", "false", "notime", "0"});
  rows.Add({"summer", "29.03.2026 00:00:00", "", "false", "notime", "0"});
  std::vector<Record> csv = Export();
  EXPECT_EQ(csv.at(1).at(1), "2026-03-28T23:59:59+01:00");
  EXPECT_EQ(csv.at(2).at(1), "2026-03-29T00:00:00+02:00");

  // A start the platform cannot place keeps its elapsed time.
  locale.offset = [](TDateTime, int&) { return false; };
  csv = Export();
  EXPECT_EQ(csv.at(1), (Record{"winter", "", "22255386", "6182:03:06", "в работе", "", "0"}));
}

TEST(TaskCsvFileName, NamesTheDayOfTheExport) {
  EXPECT_EQ(TaskCsvFileName(MakeDateTime(2026, 1, 2, 23, 59, 59)), "Vornik Desktop 2026-01-02.csv");
  EXPECT_EQ(TaskCsvFileName(MakeDateTime(2026, 12, 31)), "Vornik Desktop 2026-12-31.csv");
}

}  // namespace
