#include "app/TaskClock.h"

#include <cmath>
#include <cstdlib>

namespace {

// The span is first rounded to whole milliseconds, the clock's resolution: a date-time is a
// binary fraction of a day, so a span of exactly 60 seconds may come out as 59.9999999 and
// plain truncation would report 59 seconds and fire a limit a second late.
int64_t WholeUnits(TDateTime a, TDateTime b, int64_t msPerUnit) {
  const int64_t ms = std::llround(std::fabs(a - b) * 86400000.0);
  return ms / msPerUnit;
}

// The value (not negative) in decimal with at least two digits, at `end` backwards; returns the new start.
char* TwoDigitsBefore(char* end, int64_t value) {
  int digits = 0;
  do {
    *--end = char('0' + value % 10);
    value /= 10;
    ++digits;
  } while (value > 0 || digits < 2);
  return end;
}

// A whole decimal number, optionally signed, and nothing else.
bool ParseWhole(const std::string& text, int64_t& value) {
  if (text.empty()) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() - i > 12) return false;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  value = std::strtoll(text.c_str(), nullptr, 10);
  return true;
}

}  // namespace

int64_t WholeHoursBetween(TDateTime a, TDateTime b) { return WholeUnits(a, b, 3600000); }
int64_t WholeMinutesBetween(TDateTime a, TDateTime b) { return WholeUnits(a, b, 60000); }
int64_t WholeSecondsBetween(TDateTime a, TDateTime b) { return WholeUnits(a, b, 1000); }

std::string ElapsedText(TDateTime now, TDateTime then) {
  return ElapsedTextOfSeconds(WholeSecondsBetween(now, then));
}

std::string ElapsedTextOfSeconds(int64_t seconds) {
  if (seconds < 0) return "-" + ElapsedTextOfSeconds(-seconds);
  // Built in place: a tick writes this for every running row.
  char text[32];
  char* const end = text + sizeof text;
  char* p = TwoDigitsBefore(end, seconds % 60);
  *--p = ':';
  p = TwoDigitsBefore(p, seconds / 60 % 60);
  *--p = ':';
  p = TwoDigitsBefore(p, seconds / 3600);
  return std::string(p, end);
}

TTaskLimit ParseLimit(const std::string& text) {
  TTaskLimit limit;
  const size_t first = text.find(':');
  if (first == std::string::npos) return limit;
  const size_t second = text.find(':', first + 1);
  limit.Fired = text.find('#', first + 1) != std::string::npos;
  const std::string minutes = second == std::string::npos
                                  ? text.substr(first + 1)
                                  : text.substr(first + 1, second - first - 1);
  limit.Valid = ParseWhole(text.substr(0, first), limit.Hours) &&
                ParseWhole(minutes, limit.Minutes) && limit.Hours >= 0 && limit.Minutes >= 0;
  return limit;
}

int64_t WholeLimitPart(double value) {
  if (!(value > 0)) return 0;
  if (value >= double(kMaxLimitPart)) return kMaxLimitPart;
  return int64_t(value);
}

std::string LimitText(double hours, double minutes) {
  return std::to_string(WholeLimitPart(hours)) + ":" + std::to_string(WholeLimitPart(minutes)) +
         ":00";
}

void TAlarmBatch::Play() {
  if (depth_ > 0)
    due_ = true;
  else
    alarm_.Play();
}

TAlarmBatch::TScope::TScope(TAlarmBatch& batch) : batch_(batch) { ++batch_.depth_; }

TAlarmBatch::TScope::~TScope() {
  if (--batch_.depth_ > 0 || !batch_.due_) return;
  batch_.due_ = false;
  try {
    batch_.alarm_.Play();
  } catch (...) {
    // A sound that cannot start must not hide what ended the batch; the rows are red anyway.
  }
}

TTaskClock::TTaskClock(TTaskRows& rows, const ITaskLocale& locale, ITaskAlarm& alarm)
    : rows_(rows), locale_(locale), alarm_(alarm) {}

TTaskClock::TStart TTaskClock::StartOf(const std::string& text) {
  const auto known = starts_.find(text);
  if (known != starts_.end()) return known->second;
  // Texts of deleted rows are dropped now and then; a long list's texts all fit.
  if (starts_.size() > 2 * size_t(rows_.Count()) + 1024) starts_.clear();
  TStart start;
  start.Known = locale_.TextToDateTime(text, start.Value);
  starts_.emplace(text, start);
  return start;
}

TLimitCheck TTaskClock::CheckLimit(int row, TDateTime now) {
  const std::string limitText = rows_.Text(row, tfLimit);
  if (limitText == "notime" || rows_.Text(row, tfFinished) != "false")
    return TLimitCheck::Skipped;
  return CheckLimit(row, limitText, StartOf(rows_.Text(row, tfStart)), now);
}

TLimitCheck TTaskClock::CheckLimit(int row, const std::string& limitText, const TStart& start,
                                   TDateTime now) {
  const TTaskLimit limit = ParseLimit(limitText);
  if (limit.Fired || !limit.Valid || !start.Known) return TLimitCheck::Skipped;
  if (WholeMinutesBetween(start.Value, now) < limit.TotalMinutes()) {
    rows_.SetImageIndex(row, tiPending);
    return TLimitCheck::Pending;
  }
  rows_.SetImageIndex(row, tiFired);
  alarm_.Play();
  rows_.SetText(row, tfLimit, limitText + "#");
  return TLimitCheck::Fired;
}

void TTaskClock::Tick(const std::string& listStart, std::string& clockCaption,
                      const std::function<void()>& save, const std::function<void(int row)>& fired) {
  const TDateTime now = locale_.Now();
  TDateTime begun = 0;
  if (listStart != "no" && locale_.TextToDateTime(listStart, begun))
    clockCaption = ElapsedText(now, begun);
  for (int row = 0; row < rows_.Count(); ++row) {
    // Finished rows keep their elapsed text and are never checked.
    if (!rows_.TextIs(row, tfFinished, "false")) continue;
    text_.clear();
    rows_.AppendText(row, tfStart, text_);
    const TStart start = StartOf(text_);
    if (start.Known) rows_.SetText(row, tfElapsed, ElapsedText(now, start.Value));
    if (rows_.TextIs(row, tfLimit, "notime")) continue;
    const std::string limitText = rows_.Text(row, tfLimit);
    if (CheckLimit(row, limitText, start, now) != TLimitCheck::Fired) continue;
    if (save) save();
    if (fired) fired(row);
  }
}
