#include "app/WinTaskLocale.h"

#include <windows.h>

#include <cmath>

#include "toolkit/WideText.h"

namespace {

TCalendarTime CalendarTimeOf(const SYSTEMTIME& st) {
  TCalendarTime t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.Millisecond = st.wMilliseconds;
  return t;
}

SYSTEMTIME SystemTimeOf(const TCalendarTime& t) {
  SYSTEMTIME st = {};
  st.wYear = WORD(t.Year);
  st.wMonth = WORD(t.Month);
  st.wDay = WORD(t.Day);
  st.wHour = WORD(t.Hour);
  st.wMinute = WORD(t.Minute);
  st.wSecond = WORD(t.Second);
  st.wMilliseconds = WORD(t.Millisecond);
  return st;
}

}  // namespace

TWinTaskLocale::TWinTaskLocale(std::wstring localeName) : name_(std::move(localeName)) {
  pictures_.ShortDate = Info(LOCALE_SSHORTDATE);
  pictures_.LongTime = Info(LOCALE_STIMEFORMAT);
  pictures_.AM = Info(LOCALE_S1159);
  pictures_.PM = Info(LOCALE_S2359);
  std::vector<std::string>& months = pictures_.MonthNames;
  for (unsigned set : {0u, unsigned(CAL_RETURN_GENITIVE_NAMES)})
    for (unsigned m = 0; m < 12; ++m)
      months.push_back(GregorianName((CAL_SMONTHNAME1 + m) | set, (LOCALE_SMONTHNAME1 + m) | set));
  for (unsigned m = 0; m < 12; ++m)
    months.push_back(GregorianName(CAL_SABBREVMONTHNAME1 + m, LOCALE_SABBREVMONTHNAME1 + m));
  std::vector<std::string>& days = pictures_.DayNames;
  for (unsigned d = 0; d < 7; ++d) days.push_back(GregorianName(CAL_SDAYNAME1 + d, LOCALE_SDAYNAME1 + d));
  for (unsigned d = 0; d < 7; ++d)
    days.push_back(GregorianName(CAL_SABBREVDAYNAME1 + d, LOCALE_SABBREVDAYNAME1 + d));
  pictures_.Era = CalendarInfo(CAL_SERASTRING);
  DWORD max = 0;
  if (GetCalendarInfoEx(Name(), CAL_GREGORIAN, nullptr, CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                        nullptr, 0, &max) &&
      max >= 99 && max <= 9999)
    pictures_.TwoDigitYearMax = int(max);
}

std::string TWinTaskLocale::CalendarInfo(unsigned type) const {
  wchar_t buf[128] = {};
  const int n = GetCalendarInfoEx(Name(), CAL_GREGORIAN, nullptr, type, buf, 128, nullptr);
  return n > 0 ? WideToUtf8(std::wstring(buf)) : std::string();
}

std::string TWinTaskLocale::GregorianName(unsigned calendarType, unsigned localeType) const {
  std::string name = CalendarInfo(calendarType);
  return name.empty() ? Info(localeType) : name;
}

std::string TWinTaskLocale::Info(unsigned type) const {
  wchar_t buf[128] = {};
  const int n = GetLocaleInfoEx(Name() ? Name() : LOCALE_NAME_USER_DEFAULT, type, buf, 128);
  return n > 0 ? WideToUtf8(std::wstring(buf)) : std::string();
}

TDateTime TWinTaskLocale::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDateTime(CalendarTimeOf(st));
}

std::string TWinTaskLocale::ListSeparator() const { return Info(LOCALE_SLIST); }

std::string TWinTaskLocale::DecimalSeparator() const { return Info(LOCALE_SDECIMAL); }

// The local moment is taken back to UTC under the rules in force in its own year (a start
// from last winter keeps its winter offset); the difference is the offset.
bool TWinTaskLocale::UtcOffsetAt(TDateTime local, int& minutes) const {
  const TCalendarTime t = DecodeDateTime(local);
  if (t.Year < 1601 || t.Year > 30827) return false;  // what SYSTEMTIME can hold
  DYNAMIC_TIME_ZONE_INFORMATION zone = {};
  TIME_ZONE_INFORMATION rules = {};
  const SYSTEMTIME localTime = SystemTimeOf(t);
  SYSTEMTIME utc = {};
  if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ||
      !GetTimeZoneInformationForYear(WORD(t.Year), &zone, &rules) ||
      !TzSpecificLocalTimeToSystemTime(&rules, &localTime, &utc))
    return false;
  minutes = int(std::lround((EncodeDateTime(t) - EncodeDateTime(CalendarTimeOf(utc))) * 1440.0));
  return true;
}

// Written by our own formatter in the Gregorian calendar: the platform's conversion would
// use the locale's calendar (Buddhist, Hijri, Persian ...), which the text cannot be read
// back from.
std::string TWinTaskLocale::DateTimeToText(TDateTime value) const {
  return FormatDateTimeText(pictures_, DecodeDateTime(value));
}

bool TWinTaskLocale::TextToDateTime(const std::string& text, TDateTime& value) const {
  return ParseDateTimeText(pictures_, text, value);
}
