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

}  // namespace
