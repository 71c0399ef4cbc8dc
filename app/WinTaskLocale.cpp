#include "app/WinTaskLocale.h"

#include <windows.h>

#include "toolkit/WideText.h"

TWinTaskLocale::TWinTaskLocale(std::wstring localeName) : name_(std::move(localeName)) {
  pictures_.ShortDate = Info(LOCALE_SSHORTDATE);
  pictures_.LongTime = Info(LOCALE_STIMEFORMAT);
  pictures_.AM = Info(LOCALE_S1159);
  pictures_.PM = Info(LOCALE_S2359);
  for (unsigned set : {0u, unsigned(LOCALE_RETURN_GENITIVE_NAMES)})
    for (int m = 0; m < 12; ++m) pictures_.MonthNames.push_back(Info((LOCALE_SMONTHNAME1 + m) | set));
  for (int m = 0; m < 12; ++m)
    pictures_.MonthNames.push_back(Info(LOCALE_SABBREVMONTHNAME1 + m));
  for (int d = 0; d < 7; ++d) pictures_.DayNames.push_back(Info(LOCALE_SDAYNAME1 + d));
  for (int d = 0; d < 7; ++d) pictures_.DayNames.push_back(Info(LOCALE_SABBREVDAYNAME1 + d));
  DWORD max = 0;
  if (GetCalendarInfoEx(Name(), CAL_GREGORIAN, nullptr, CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                        nullptr, 0, &max) &&
      max >= 99 && max <= 9999)
    pictures_.TwoDigitYearMax = int(max);
}

std::string TWinTaskLocale::Info(unsigned type) const {
  wchar_t buf[128] = {};
  const int n = GetLocaleInfoEx(Name() ? Name() : LOCALE_NAME_USER_DEFAULT, type, buf, 128);
  return n > 0 ? WideToUtf8(std::wstring(buf)) : std::string();
}

TDateTime TWinTaskLocale::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  TCalendarTime t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.Millisecond = st.wMilliseconds;
  return EncodeDateTime(t);
}

std::string TWinTaskLocale::DateTimeToText(TDateTime value) const {
  const TCalendarTime t = DecodeDateTime(value);
  SYSTEMTIME st = {};
  st.wYear = WORD(t.Year);
  st.wMonth = WORD(t.Month);
  st.wDay = WORD(t.Day);
  st.wHour = WORD(t.Hour);
  st.wMinute = WORD(t.Minute);
  st.wSecond = WORD(t.Second);
  wchar_t date[128] = {};
  wchar_t time[128] = {};
  GetDateFormatEx(Name(), DATE_SHORTDATE, &st, nullptr, date, 128, nullptr);
  GetTimeFormatEx(Name(), 0, &st, nullptr, time, 128);
  return WideToUtf8(std::wstring(date) + L" " + time);
}

bool TWinTaskLocale::TextToDateTime(const std::string& text, TDateTime& value) const {
  return ParseDateTimeText(pictures_, text, value);
}
