#include "app/DateTimeText.h"

#include <cmath>
#include <cstdint>

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

// Constant-initialised, so date-times made during other static initialisation are right.
constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);
constexpr int64_t kMsPerDay = 86400000;

// --- pictures ------------------------------------------------------------------------------

bool IsFieldLetter(char ch) {
  return ch == 'd' || ch == 'M' || ch == 'y' || ch == 'h' || ch == 'H' || ch == 'm' ||
         ch == 's' || ch == 't' || ch == 'g';
}

// The quoted literal starting at the quote picture[k] ("''" inside stands for one quote) is
// appended to literal; returns the index after the closing quote.
size_t ReadQuoted(const std::string& picture, size_t k, std::string& literal) {
  ++k;
  while (k < picture.size()) {
    if (picture[k] == '\'') {
      if (k + 1 < picture.size() && picture[k + 1] == '\'') {
        literal += '\'';
        k += 2;
        continue;
      }
      return k + 1;
    }
    literal += picture[k++];
  }
  return k;
}

// The number of equal letters starting at k; k moves past them.
int RunLength(const std::string& picture, size_t& k) {
  const char ch = picture[k];
  int count = 0;
  while (k < picture.size() && picture[k] == ch) ++k, ++count;
  return count;
}

// The first UTF-8 character of a text (a one-letter designator).
std::string FirstCharacter(const std::string& s) {
  size_t n = s.empty() ? 0 : 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return s.substr(0, n);
}

// --- reading -------------------------------------------------------------------------------

struct Cursor {
  const std::string& s;
  size_t i = 0;
  bool AtEnd() const { return i >= s.size(); }
  unsigned char Peek() const { return AtEnd() ? 0 : static_cast<unsigned char>(s[i]); }
};

// Length of a space-like sequence at i: ASCII blanks, no-break spaces, narrow no-break
// spaces and direction marks, which some locales put around their fields.
size_t SpaceLength(const std::string& s, size_t i) {
  if (i >= s.size()) return 0;
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c == ' ' || c == '\t') return 1;
  if (s.compare(i, 2, "\xC2\xA0") == 0) return 2;
  if (s.compare(i, 3, "\xE2\x80\xAF") == 0 || s.compare(i, 3, "\xE2\x80\x8E") == 0 ||
      s.compare(i, 3, "\xE2\x80\x8F") == 0)
    return 3;
  return 0;
}

void SkipSpaces(Cursor& c) {
  while (size_t n = SpaceLength(c.s, c.i)) c.i += n;
}

bool ReadNumber(Cursor& c, int maxDigits, int& value) {
  int digits = 0;
  value = 0;
  while (digits < maxDigits && c.Peek() >= '0' && c.Peek() <= '9') {
    value = value * 10 + (c.Peek() - '0');
    ++c.i;
    ++digits;
  }
  return digits > 0;
}

char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch; }

bool MatchesAt(const std::string& s, size_t i, const std::string& word) {
  if (word.empty() || i + word.size() > s.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (AsciiLower(s[i + k]) != AsciiLower(word[k])) return false;
  return true;
}

// Matches the longest name of the list; returns its index or -1.
int MatchName(Cursor& c, const std::vector<std::string>& names) {
  int best = -1;
  size_t bestLength = 0;
  for (size_t k = 0; k < names.size(); ++k) {
    if (names[k].size() > bestLength && MatchesAt(c.s, c.i, names[k])) {
      best = int(k);
      bestLength = names[k].size();
    }
  }
  c.i += bestLength;
  return best;
}

struct Fields {
  int year = -1, month = -1, day = -1, hour = 0, minute = 0, second = 0;
  bool twelveHour = false;
  int designator = -1;  // 0 AM, 1 PM
};

int ExpandYear(int value, int digits, int twoDigitMax) {
  if (digits > 2) return value;
  int year = twoDigitMax - twoDigitMax % 100 + value;
  if (year > twoDigitMax) year -= 100;
  return year;
}

bool ReadField(Cursor& c, char letter, int count, const TDateTimePictures& p, Fields& f) {
  int v = 0;
  switch (letter) {
    case 'd':
      if (count >= 3) {
        if (MatchName(c, p.DayNames) < 0) return false;
        return true;
      }
      if (!ReadNumber(c, 2, v)) return false;
      f.day = v;
      return true;
    case 'M':
      if (count >= 3) {
        const int k = MatchName(c, p.MonthNames);
        if (k < 0) return false;
        f.month = k % 12 + 1;
        return true;
      }
      if (!ReadNumber(c, 2, v)) return false;
      f.month = v;
      return true;
    case 'y': {
      const size_t start = c.i;
      if (!ReadNumber(c, count >= 3 ? 5 : 2, v)) return false;
      f.year = ExpandYear(v, int(c.i - start), p.TwoDigitYearMax);
      return true;
    }
    case 'h':
    case 'H':
      if (!ReadNumber(c, 2, v)) return false;
      f.hour = v;
      if (letter == 'h') f.twelveHour = true;
      return true;
    case 'm':
      if (!ReadNumber(c, 2, v)) return false;
      f.minute = v;
      return true;
    case 's':
      if (!ReadNumber(c, 2, v)) return false;
      f.second = v;
      return true;
    case 't': {
      if (p.AM.empty() && p.PM.empty()) return true;
      std::vector<std::string> designators = {p.AM, p.PM};
      if (count == 1)
        for (auto& d : designators) d = FirstCharacter(d);
      const int k = MatchName(c, designators);
      if (k < 0) return false;
      f.designator = k;
      return true;
    }
    case 'g':
      if (MatchesAt(c.s, c.i, p.Era)) {
        c.i += p.Era.size();
        return true;
      }
      while (!c.AtEnd() && !SpaceLength(c.s, c.i) && !(c.Peek() >= '0' && c.Peek() <= '9')) ++c.i;
      return true;
  }
  return false;
}

bool MatchLiteral(Cursor& c, const std::string& literal) {
  size_t k = 0;
  while (k < literal.size()) {
    if (size_t n = SpaceLength(literal, k)) {
      k += n;
      SkipSpaces(c);
      continue;
    }
    // Direction marks in the text may stand anywhere between fields.
    while (c.s.compare(c.i, 3, "\xE2\x80\x8E") == 0 || c.s.compare(c.i, 3, "\xE2\x80\x8F") == 0)
      c.i += 3;
    if (c.AtEnd() || c.s[c.i] != literal[k]) return false;
    ++c.i;
    ++k;
  }
  return true;
}

bool ReadPicture(Cursor& c, const std::string& picture, const TDateTimePictures& p, Fields& f) {
  size_t k = 0;
  std::string literal;
  const auto flush = [&] {
    const bool ok = MatchLiteral(c, literal);
    literal.clear();
    return ok;
  };
  while (k < picture.size()) {
    const char ch = picture[k];
    if (ch == '\'') {
      k = ReadQuoted(picture, k, literal);
      continue;
    }
    if (IsFieldLetter(ch)) {
      const int count = RunLength(picture, k);
      if (!flush()) return false;
      SkipSpaces(c);
      if (!ReadField(c, ch, count, p, f)) return false;
      continue;
    }
    literal += ch;
    ++k;
  }
  return flush();
}

// --- writing -------------------------------------------------------------------------------

std::string Padded(int value, int digits) {
  std::string s = std::to_string(value);
  if (int(s.size()) < digits) s.insert(0, size_t(digits) - s.size(), '0');
  return s;
}

// Name `index` of the set `set` of `size`-name sets; the first set when that one is missing
// or the name is empty there, the number index + 1 when there are no names.
std::string NameOf(const std::vector<std::string>& names, size_t set, size_t size, int index) {
  const size_t at = set * size + size_t(index);
  if (at < names.size() && !names[at].empty()) return names[at];
  if (size_t(index) < names.size()) return names[size_t(index)];
  return std::to_string(index + 1);
}

// Monday 0 ... Sunday 6.
int Weekday(const TCalendarTime& t) {
  const int64_t days = DaysFromCivil(t.Year, t.Month, t.Day);  // 1970-01-01 was a Thursday
  return int(((days + 3) % 7 + 7) % 7);
}

// Month names after a day number take their genitive form where the language has one.
bool HasDayNumber(const std::string& picture) {
  for (size_t k = 0; k < picture.size();) {
    if (picture[k] == '\'') {
      std::string ignored;
      k = ReadQuoted(picture, k, ignored);
    } else if (picture[k] == 'd') {
      if (RunLength(picture, k) <= 2) return true;
    } else {
      ++k;
    }
  }
  return false;
}

std::string FieldText(char letter, int count, const TDateTimePictures& p, const TCalendarTime& t,
                      bool genitive) {
  const auto number = [count](int value) { return Padded(value, count >= 2 ? 2 : 1); };
  switch (letter) {
    case 'd':
      if (count >= 3) return NameOf(p.DayNames, count == 3 ? 1 : 0, 7, Weekday(t));
      return number(t.Day);
    case 'M':
      if (count >= 3) return NameOf(p.MonthNames, count == 3 ? 2 : genitive ? 1 : 0, 12, t.Month - 1);
      return number(t.Month);
    case 'y':
      return count >= 3 ? Padded(t.Year, 4) : number(t.Year % 100);
    case 'g':
      return p.Era;
    case 'h':
      return number(t.Hour % 12 == 0 ? 12 : t.Hour % 12);
    case 'H':
      return number(t.Hour);
    case 'm':
      return number(t.Minute);
    case 's':
      return number(t.Second);
    case 't': {
      const std::string& designator = t.Hour < 12 ? p.AM : p.PM;
      return count == 1 ? FirstCharacter(designator) : designator;
    }
  }
  return {};
}

void WritePicture(std::string& out, const std::string& picture, const TDateTimePictures& p,
                  const TCalendarTime& t) {
  const bool genitive = HasDayNumber(picture);
  size_t k = 0;
  while (k < picture.size()) {
    const char ch = picture[k];
    if (ch == '\'') {
      k = ReadQuoted(picture, k, out);
    } else if (IsFieldLetter(ch)) {
      const int count = RunLength(picture, k);
      out += FieldText(ch, count, p, t, genitive);
    } else {
      out += ch;
      ++k;
    }
  }
}

}  // namespace

bool IsValidCalendarTime(const TCalendarTime& t) {
  return t.Year >= 1 && t.Year <= 9999 && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
         t.Day <= DaysInMonth(t.Year, t.Month) && t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 &&
         t.Minute <= 59 && t.Second >= 0 && t.Second <= 59 && t.Millisecond >= 0 &&
         t.Millisecond <= 999;
}

TDateTime EncodeDateTime(const TCalendarTime& t) {
  const int64_t days = DaysFromCivil(t.Year, t.Month, t.Day) - kEpochOffset;
  const int64_t ms = ((int64_t(t.Hour) * 60 + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond;
  return double(days) + double(ms) / double(kMsPerDay);
}

TCalendarTime DecodeDateTime(TDateTime value) {
  const int64_t total = std::llround(value * double(kMsPerDay));
  int64_t days = total / kMsPerDay;
  int64_t ms = total % kMsPerDay;
  if (ms < 0) {
    ms += kMsPerDay;
    --days;
  }
  TCalendarTime t;
  CivilFromDays(days + kEpochOffset, t.Year, t.Month, t.Day);
  t.Millisecond = int(ms % 1000);
  t.Second = int(ms / 1000 % 60);
  t.Minute = int(ms / 60000 % 60);
  t.Hour = int(ms / 3600000);
  return t;
}

bool ParseDateTimeText(const TDateTimePictures& pictures, const std::string& text,
                       TDateTime& value) {
  Cursor c{text};
  Fields f;
  SkipSpaces(c);
  if (!ReadPicture(c, pictures.ShortDate, pictures, f)) return false;
  SkipSpaces(c);
  if (!ReadPicture(c, pictures.LongTime, pictures, f)) return false;
  SkipSpaces(c);
  if (!c.AtEnd()) return false;
  if (f.twelveHour) {
    if (f.hour < 1 || f.hour > 12) return false;
    if (f.designator == 1) f.hour = f.hour % 12 + 12;
    else if (f.designator == 0) f.hour %= 12;
  }
  TCalendarTime t;
  t.Year = f.year;
  t.Month = f.month;
  t.Day = f.day;
  t.Hour = f.hour;
  t.Minute = f.minute;
  t.Second = f.second;
  if (!IsValidCalendarTime(t)) return false;
  value = EncodeDateTime(t);
  return true;
}

std::string FormatDateTimeText(const TDateTimePictures& pictures, const TCalendarTime& t) {
  std::string text;
  WritePicture(text, pictures.ShortDate, pictures, t);
  text += ' ';
  WritePicture(text, pictures.LongTime, pictures, t);
  return text;
}
