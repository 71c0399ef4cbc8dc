// Reading date-time texts under a locale's format pictures, and the calendar arithmetic of
// the task file's date-time values.
#include <gtest/gtest.h>

#include "app/DateTimeText.h"

namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
  TCalendarTime t;
  t.Year = y, t.Month = mo, t.Day = d, t.Hour = h, t.Minute = mi, t.Second = s;
  return EncodeDateTime(t);
}

TDateTimePictures UsPictures() {
  TDateTimePictures p;
  p.ShortDate = "M/d/yyyy";
  p.LongTime = "h:mm:ss tt";
  p.AM = "AM";
  p.PM = "PM";
  return p;
}

TEST(DateTimeText, ReadsQuotedLiteralsMonthNamesAndTwoDigitYears) {
  TDateTimePictures p;
  p.ShortDate = "d MMMM 'de' yy";
  p.LongTime = "HH'h'mm:ss";
  p.MonthNames = {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto",
                  "septiembre", "octubre", "noviembre", "diciembre"};
  TDateTime v = 0;
  ASSERT_TRUE(ParseDateTimeText(p, "7 marzo de 49 08h05:09", v));
  const TCalendarTime t = DecodeDateTime(v);
  EXPECT_EQ(t.Year, 2049);
  EXPECT_EQ(t.Month, 3);
  EXPECT_EQ(t.Day, 7);
  EXPECT_EQ(t.Hour, 8);
  EXPECT_EQ(t.Minute, 5);
  EXPECT_EQ(t.Second, 9);
  ASSERT_TRUE(ParseDateTimeText(p, "7 marzo de 50 08h05:09", v));
  EXPECT_EQ(DecodeDateTime(v).Year, 1950);
  EXPECT_FALSE(ParseDateTimeText(p, "7 marz de 50 08h05:09", v));
}

TEST(DateTimeText, EncodesDaysFromTheEpochOfTheTaskFile) {
  EXPECT_EQ(EncodeDateTime(TCalendarTime{}), 0.0);
  EXPECT_EQ(At(1900, 1, 1, 0, 0, 0), 2.0);
  EXPECT_DOUBLE_EQ(At(2000, 1, 1, 12, 0, 0), 36526.5);
  const TCalendarTime t = DecodeDateTime(At(2026, 12, 9, 23, 59, 59));
  EXPECT_EQ(t.Year, 2026);
  EXPECT_EQ(t.Day, 9);
  EXPECT_EQ(t.Second, 59);
}

TEST(DateTimeText, TwelveHourClockMapsMidnightAndNoon) {
  const TDateTimePictures p = UsPictures();
  TDateTime v = 0;
  ASSERT_TRUE(ParseDateTimeText(p, "3/4/2026 12:06:07 AM", v));
  EXPECT_EQ(DecodeDateTime(v).Hour, 0);
  ASSERT_TRUE(ParseDateTimeText(p, "3/4/2026 12:06:07 PM", v));
  EXPECT_EQ(DecodeDateTime(v).Hour, 12);
  ASSERT_TRUE(ParseDateTimeText(p, "3/4/2026 1:06:07 pm", v)) << "designators ignore case";
  EXPECT_EQ(DecodeDateTime(v).Hour, 13);
  EXPECT_FALSE(ParseDateTimeText(p, "3/4/2026 0:06:07 AM", v));
  EXPECT_FALSE(ParseDateTimeText(p, "3/4/2026 13:06:07 PM", v));
}

TEST(DateTimeText, DesignatorMayLeadTheTime) {
  TDateTimePictures p;
  p.ShortDate = "yyyy-MM-dd";
  p.LongTime = "tt h:mm:ss";
  p.AM = "\xEC\x98\xA4\xEC\xA0\x84";  // the morning designator of a Korean locale
  p.PM = "\xEC\x98\xA4\xED\x9B\x84";
  TDateTime v = 0;
  ASSERT_TRUE(ParseDateTimeText(p, "2026-12-09 \xEC\x98\xA4\xED\x9B\x84 3:04:05", v));
  EXPECT_EQ(DecodeDateTime(v).Hour, 15);
}

TEST(DateTimeText, RejectsImpossibleDatesAndTrailingText) {
  const TDateTimePictures p = UsPictures();
  TDateTime v = 0;
  EXPECT_TRUE(ParseDateTimeText(p, "2/29/2024 1:00:00 PM", v));
  EXPECT_FALSE(ParseDateTimeText(p, "2/29/2026 1:00:00 PM", v));
  EXPECT_FALSE(ParseDateTimeText(p, "2/29/2100 1:00:00 PM", v));
  EXPECT_FALSE(ParseDateTimeText(p, "12/9/2026 1:00:00 PM extra", v));
  EXPECT_FALSE(ParseDateTimeText(p, "12/9/2026", v));
  EXPECT_FALSE(ParseDateTimeText(p, "", v));
  EXPECT_FALSE(ParseDateTimeText(p, "12/9/2026 1:60:00 PM", v));
  EXPECT_TRUE(ParseDateTimeText(p, "  12/9/2026\xC2\xA0" "1:00:00 PM ", v)) << "blanks and no-break spaces";
}

TEST(DateTimeText, DecodeIsTheInverseOfEncodeToTheMillisecond) {
  for (TDateTime m : {At(1900, 3, 1, 0, 0, 0), At(2026, 12, 31, 23, 59, 59), At(2024, 2, 29, 12, 0, 1),
                      At(9999, 12, 31, 23, 59, 59)}) {
    const TCalendarTime t = DecodeDateTime(m);
    EXPECT_EQ(EncodeDateTime(t), m);
  }
  // A value a hair below a whole second still reads as that second.
  EXPECT_EQ(DecodeDateTime(At(2026, 1, 1, 10, 0, 1) - 1e-12).Second, 1);
}

// The pictures of locales whose own calendar is not the Gregorian one (Thai Buddhist, Hijri,
// Persian, Japanese era): the text keeps the Gregorian year and reads back to the moment.
TEST(DateTimeText, WritesTheGregorianCalendarInThePicturesOfEveryLocale) {
  struct Case {
    const char* locale;
    TDateTimePictures pictures;
    const char* text;
  };
  const auto pictures = [](const char* date, const char* time, const char* am, const char* pm,
                           const char* era) {
    TDateTimePictures p;
    p.ShortDate = date;
    p.LongTime = time;
    p.AM = am;
    p.PM = pm;
    p.Era = era;
    return p;
  };
  const Case cases[] = {
      {"th-TH", pictures("d/M/yyyy", "H:mm:ss", "AM", "PM", "A.D."), "10/12/2026 15:04:05"},
      {"ar-SA", pictures("dd/MM/yy", "hh:mm:ss tt", "\xD8\xB5", "\xD9\x85", ""),
       "10/12/26 03:04:05 \xD9\x85"},
      {"fa-IR",
       pictures("\xE2\x80\x8Fyyyy/MM/dd", "hh:mm:ss tt", "\xD9\x82.\xD8\xB8",
                "\xD8\xA8.\xD8\xB8", ""),
       "\xE2\x80\x8F" "2026/12/10 03:04:05 \xD8\xA8.\xD8\xB8"},
      {"ja-JP", pictures("gg y/M/d", "H:mm:ss", "\xE5\x8D\x88\xE5\x89\x8D", "\xE5\x8D\x88\xE5\xBE\x8C",
                         "\xE8\xA5\xBF\xE6\x9A\xA6"),
       "\xE8\xA5\xBF\xE6\x9A\xA6 26/12/10 15:04:05"},
  };
  const TDateTime moment = At(2026, 12, 10, 15, 4, 5);
  for (const Case& c : cases) {
    const std::string text = FormatDateTimeText(c.pictures, DecodeDateTime(moment));
    EXPECT_EQ(text, c.text) << c.locale;
    TDateTime back = 0;
    ASSERT_TRUE(ParseDateTimeText(c.pictures, text, back)) << c.locale << ": " << text;
    EXPECT_EQ(back, moment) << c.locale;
  }
}

TEST(DateTimeText, WritesNamesPaddingAndTheTwelveHourClock) {
  TDateTimePictures p;
  p.ShortDate = "dddd, d MMMM yyyy '('ddd, MMM, MMMM')' y";
  p.LongTime = "h:m:s t";
  p.AM = "AM";
  p.PM = "PM";
  const char* full[] = {"January", "February", "March", "April", "May", "June", "July",
                        "August", "September", "October", "November", "December"};
  for (const char* name : full) p.MonthNames.push_back(name);
  for (const char* name : full) p.MonthNames.push_back(std::string(name) + "-of");
  for (const char* name : full) p.MonthNames.push_back(std::string(name).substr(0, 3));
  for (const char* name : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"})
    p.DayNames.push_back(name);
  for (const char* name : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}) p.DayNames.push_back(name);
  TCalendarTime t = DecodeDateTime(At(2006, 1, 8, 0, 7, 9));
  // Full month names after a day number take the genitive set; quoted text stays as it is.
  EXPECT_EQ(FormatDateTimeText(p, t),
            "Sunday, 8 January-of 2006 (Sun, Jan, January-of) 6 12:7:9 A");
  p.ShortDate = "ddd d MMM MMMM yy";
  p.LongTime = "hh:mm:ss tt";
  t = DecodeDateTime(At(2026, 12, 10, 12, 0, 0));
  EXPECT_EQ(FormatDateTimeText(p, t), "Thu 10 Dec December-of 26 12:00:00 PM");
  TDateTime back = 0;
  ASSERT_TRUE(ParseDateTimeText(p, FormatDateTimeText(p, t), back));
  EXPECT_EQ(back, At(2026, 12, 10, 12, 0, 0));
  // Without names the numbers stand in, so the text still carries the date.
  p.MonthNames.clear();
  p.DayNames.clear();
  EXPECT_EQ(FormatDateTimeText(p, t), "4 10 12 12 26 12:00:00 PM");
}

}  // namespace
