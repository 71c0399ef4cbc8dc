#include "app/TaskCsv.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/DateTimeText.h"
#include "app/TaskClock.h"

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr int kColumnCount = 7;
const char kRunning[] = "в работе";
const char kFinished[] = "завершено";
const char kTimeUp[] = "время вышло";

// The number of UTF-8 characters in a text (continuation bytes are not counted).
size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool NeedsQuotes(const std::string& field, const std::string& separator) {
  if (field.empty()) return false;
  if (IsBlank(field.front()) || IsBlank(field.back())) return true;
  return field.find_first_of("\"\r\n") != std::string::npos ||
         field.find(separator) != std::string::npos;
}

// Digits only, at least one and at most `maxDigits`.
bool ReadDigits(const std::string& text, size_t from, size_t to, size_t maxDigits, int64_t& value) {
  if (to <= from || to - from > maxDigits) return false;
  value = 0;
  for (size_t i = from; i < to; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// Whole seconds of an elapsed text "H:MM:SS" as the ticker writes it: any number of hour
// digits (up to twelve), minutes and seconds of two digits below 60.
bool ElapsedSeconds(const std::string& text, int64_t& seconds) {
  const size_t first = text.find(':');
  if (first == std::string::npos || text.size() != first + 6 || text[first + 3] != ':')
    return false;
  int64_t h, m, s;
  if (!ReadDigits(text, 0, first, 12, h) || !ReadDigits(text, first + 1, first + 3, 2, m) ||
      !ReadDigits(text, first + 4, first + 6, 2, s) || m >= 60 || s >= 60)
    return false;
  seconds = (h * 60 + m) * 60 + s;
  return true;
}

struct TCsvRow {
  std::string Start;  // ISO text; empty when unknown
  bool ElapsedKnown = false;
  int64_t Elapsed = 0;  // whole seconds
  const char* Status = kRunning;
  std::string Limit;  // whole minutes; empty without a limit
};

TCsvRow DescribeRow(const TTaskRows& rows, int row, const ITaskCsvLocale& locale, TDateTime now) {
  TCsvRow out;
  TDateTime start = 0;
  int offset = 0;
  const bool known = locale.TextToDateTime(rows.Text(row, tfStart), start);
  if (known && locale.UtcOffsetAt(start, offset)) out.Start = IsoLocalTime(start, offset);
  const TTaskLimit limit = ParseLimit(rows.Text(row, tfLimit));
  if (limit.Valid) out.Limit = std::to_string(limit.TotalMinutes());
  if (rows.Text(row, tfFinished) == "true") {
    out.ElapsedKnown = ElapsedSeconds(rows.Text(row, tfElapsed), out.Elapsed);
    out.Status = kFinished;
    return out;
  }
  if (known) {
    out.ElapsedKnown = true;
    out.Elapsed = WholeSecondsBetween(now, start);
  }
  if (limit.Valid &&
      (limit.Fired || (known && WholeMinutesBetween(start, now) >= limit.TotalMinutes())))
    out.Status = kTimeUp;
  return out;
}

void AppendLine(std::string& out, const std::string (&fields)[kColumnCount],
                const std::string& separator) {
  for (int i = 0; i < kColumnCount; ++i) {
    if (i > 0) out += separator;
    AppendCsvField(out, fields[i], separator);
  }
  out += "\r\n";
}

void AppendTaskLine(std::string& out, const TTaskRows& rows, int row,
                    const ITaskCsvLocale& locale, const std::string& separator, TDateTime now) {
  const TCsvRow r = DescribeRow(rows, row, locale, now);
  const std::string fields[kColumnCount] = {
      rows.Text(row, tfCaption),
      r.Start,
      r.ElapsedKnown ? std::to_string(r.Elapsed) : std::string(),
      r.ElapsedKnown ? ElapsedTextOfSeconds(r.Elapsed) : std::string(),
      r.Status,
      r.Limit,
      rows.Text(row, tfPriority),
  };
  AppendLine(out, fields, separator);
}

}  // namespace

std::string CsvSeparator(const std::string& listSeparator, const std::string& decimalSeparator) {
  const bool usable = CharacterCount(listSeparator) == 1 && listSeparator != decimalSeparator &&
                      listSeparator.find_first_of("\"\r\n") == std::string::npos &&
                      !IsAsciiAlnum(listSeparator[0]);
  if (usable) return listSeparator;
  return decimalSeparator == "," ? ";" : ",";
}

void AppendCsvField(std::string& out, const std::string& field, const std::string& separator) {
  if (!NeedsQuotes(field, separator)) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string IsoLocalTime(TDateTime local, int offsetMinutes) {
  const TCalendarTime t = DecodeDateTime(local);
  if (t.Year < 1 || t.Year > 9999) return {};
  const int offset = std::abs(offsetMinutes);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.Year, t.Month,
                t.Day, t.Hour, t.Minute, t.Second, offsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

std::string TaskCsvBytes(const TTaskRows& rows, const ITaskCsvLocale& locale,
                         const std::string& separator, TDateTime now) {
  std::string out = kUtf8Bom;
  const std::string header[kColumnCount] = {"Событие", "Старт",  "Прошло, с", "Прошло",
                                            "Статус",  "Ограничение, мин", "Приоритет"};
  AppendLine(out, header, separator);
  for (int row = 0; row < rows.Count(); ++row) AppendTaskLine(out, rows, row, locale, separator, now);
  return out;
}

std::string TaskCsvFileName(TDateTime day) {
  const TCalendarTime t = DecodeDateTime(day);
  char text[64];
  std::snprintf(text, sizeof text, "Vornik Desktop %04d-%02d-%02d.csv", t.Year, t.Month, t.Day);
  return text;
}

void ExportTasksCsv(const TTaskRows& rows, const ITaskCsvLocale& locale, ITaskCsvFile& file,
                    const std::string& path) {
  const std::string separator = CsvSeparator(locale.ListSeparator(), locale.DecimalSeparator());
  file.WriteWholeFile(path, TaskCsvBytes(rows, locale, separator, locale.Now()));
}
