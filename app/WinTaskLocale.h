// The clock and the date-time text of a Windows locale: the user's short-date and long-time
// pictures with the designators and the Gregorian calendar's month, day and era names,
// written and read in the Gregorian calendar whatever calendar the locale shows dates in.
// For the CSV export also the locale's list and decimal separators and the time zone's
// offset from UTC at a local moment.
#pragma once

#include <string>

#include "app/DateTimeText.h"
#include "app/TaskCsv.h"
#include "app/TaskPlatform.h"

class TWinTaskLocale : public ITaskCsvLocale {
 public:
  // An empty name means the user's locale with the user's own format settings. The
  // pictures are read once, so writing and reading use the same settings.
  explicit TWinTaskLocale(std::wstring localeName = L"");

  TDateTime Now() const override;
  std::string DateTimeToText(TDateTime value) const override;
  bool TextToDateTime(const std::string& text, TDateTime& value) const override;
  // Read when asked, so an export follows the user's current settings.
  std::string ListSeparator() const override;
  std::string DecimalSeparator() const override;
  // The user's time zone with the daylight-saving rules of the moment's year.
  bool UtcOffsetAt(TDateTime local, int& minutes) const override;

  const TDateTimePictures& Pictures() const { return pictures_; }

 private:
  const wchar_t* Name() const { return name_.empty() ? nullptr : name_.c_str(); }
  std::string Info(unsigned type) const;
  std::string CalendarInfo(unsigned type) const;  // of the Gregorian calendar
  // The calendar's name, or the locale's when the calendar gives none.
  std::string GregorianName(unsigned calendarType, unsigned localeType) const;

  std::wstring name_;
  TDateTimePictures pictures_;
};
