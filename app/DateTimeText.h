// Calendar arithmetic of TDateTime and the reading of date-time texts written in a locale's
// format pictures (the platform's short-date and long-time pictures: d dd ddd dddd, M MM
// MMM MMMM, y yy yyyy yyyyy, g gg, h hh H HH, m mm, s ss, t tt and quoted literals).
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

struct TDateTimePictures {
  std::string ShortDate;  // UTF-8 pictures
  std::string LongTime;
  std::string AM;  // designators; may be empty
  std::string PM;
  std::vector<std::string> MonthNames;  // any number of 12-name sets (full, genitive, short)
  std::vector<std::string> DayNames;    // any number of 7-name sets
  int TwoDigitYearMax = 2049;           // "yy" reads as the year in (max - 100, max]
};

// Reads "short date, spaces, long time" under the pictures; false when the text does not
// fit them or names an impossible date or time.
bool ParseDateTimeText(const TDateTimePictures& pictures, const std::string& text,
                       TDateTime& value);
