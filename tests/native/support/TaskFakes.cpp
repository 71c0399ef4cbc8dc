#include "support/TaskFakes.h"

#include <cstdio>

#include "app/DateTimeText.h"

namespace {

// Windows-1251 for the letters the tests use: ASCII, А..я, Ё, ё.
bool EncodeChar(unsigned cp, char& out) {
  if (cp < 0x80) out = char(cp);
  else if (cp >= 0x410 && cp <= 0x44F) out = char(0xC0 + (cp - 0x410));
  else if (cp == 0x401) out = char(0xA8);
  else if (cp == 0x451) out = char(0xB8);
  else return false;
  return true;
}

void AppendUtf8(std::string& s, unsigned cp) {
  if (cp < 0x80) {
    s += char(cp);
  } else if (cp < 0x800) {
    s += char(0xC0 | (cp >> 6));
    s += char(0x80 | (cp & 0x3F));
  } else {
    s += char(0xE0 | (cp >> 12));
    s += char(0x80 | ((cp >> 6) & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

TDateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
  TCalendarTime t;
  t.Year = year, t.Month = month, t.Day = day, t.Hour = hour, t.Minute = minute, t.Second = second;
  return EncodeDateTime(t);
}

std::string FakeLocale::DateTimeToText(TDateTime value) const {
  const TCalendarTime t = DecodeDateTime(value);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.Day, t.Month, t.Year, t.Hour,
                t.Minute, t.Second);
  return buf;
}

bool FakeLocale::TextToDateTime(const std::string& text, TDateTime& value) const {
  int d, m, y, hh, mm, ss;
  char tail;
  if (std::sscanf(text.c_str(), "%2d.%2d.%4d %2d:%2d:%2d%c", &d, &m, &y, &hh, &mm, &ss, &tail) != 6)
    return false;
  if (m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59) return false;
  value = MakeDateTime(y, m, d, hh, mm, ss);
  return true;
}

void FakeStorage::ReplaceFile(const std::string& path, const std::string& bytes) {
  if (failWrites) throw TTaskFileError("Cannot create file \"" + path + "\". Access is denied");
  files[path] = bytes;
  ++writes;
}

bool FakeStorage::EncodeAnsi(const std::string& utf8, std::string& ansi) const {
  ansi.clear();
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = utf8[i];
    unsigned cp;
    size_t len;
    if (c < 0x80) cp = c, len = 1;
    else if ((c & 0xE0) == 0xC0) cp = c & 0x1F, len = 2;
    else if ((c & 0xF0) == 0xE0) cp = c & 0x0F, len = 3;
    else cp = c & 0x07, len = 4;
    for (size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    char out;
    if (!EncodeChar(cp, out)) return false;
    ansi += out;
    i += len;
  }
  return true;
}

std::string FakeStorage::DecodeAnsi(const std::string& ansi) const {
  std::string s;
  for (unsigned char c : ansi) {
    if (c < 0x80) AppendUtf8(s, c);
    else if (c >= 0xC0) AppendUtf8(s, 0x410 + (c - 0xC0));
    else if (c == 0xA8) AppendUtf8(s, 0x401);
    else if (c == 0xB8) AppendUtf8(s, 0x451);
    else AppendUtf8(s, 0xFFFD);
  }
  return s;
}
