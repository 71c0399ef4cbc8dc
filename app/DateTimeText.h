// Calendar arithmetic of TDateTime and date-time texts in a locale's format pictures (the
// platform's short-date and long-time pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy
// yyyyy, g gg, h hh H HH, m mm, s ss, t tt and quoted literals), written and read in the
// Gregorian calendar whatever calendar the locale shows dates in, so a text always reads
// back as the moment it was written for.
// Portable: the Win32 side supplies the pictures and names of the user's locale.
#pragma once

#include <string>
#include <vector>

#include "app/TaskPlatform.h"

struct TCalendarTime {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

// False when a field is out of range (month 1..12, day within the month, hour 0..23 ...).
bool IsValidCalendarTime(const TCalendarTime& t);
TDateTime EncodeDateTime(const TCalendarTime& t);
TCalendarTime DecodeDateTime(TDateTime value);

// Names are those of the Gregorian calendar in the locale's language. Reading accepts a name
// of any set; writing takes the set the picture asks for and falls back to the first set
// when that one is missing or empty.
struct TDateTimePictures {
  std::string ShortDate;  // UTF-8 pictures
  std::string LongTime;
  std::string AM;  // designators; may be empty
  std::string PM;
  // 12-name sets, January first: full, genitive (full names as they follow a day number),
  // abbreviated.
  std::vector<std::string> MonthNames;
  std::vector<std::string> DayNames;  // 7-name sets, Monday first: full, abbreviated
  std::string Era;                    // the era's name for "g" and "gg"; may be empty
  int TwoDigitYearMax = 2049;         // "yy" reads as the year in (max - 100, max]
};

// "short date, one space, long time" of a valid calendar time under the pictures.
std::string FormatDateTimeText(const TDateTimePictures& pictures, const TCalendarTime& t);

// Reads "short date, spaces, long time" under the pictures; false when the text does not
// fit them or names an impossible date or time.
bool ParseDateTimeText(const TDateTimePictures& pictures, const std::string& text,
                       TDateTime& value);
