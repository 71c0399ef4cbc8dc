// Elapsed times and time limits, recomputed once a second from the stored start texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "app/TaskPlatform.h"
#include "app/TaskRows.h"

// Whole hours, minutes and seconds between two moments, in either order: |a - b| rounded to
// whole milliseconds, then truncated toward zero.
int64_t WholeHoursBetween(TDateTime a, TDateTime b);
int64_t WholeMinutesBetween(TDateTime a, TDateTime b);
int64_t WholeSecondsBetween(TDateTime a, TDateTime b);

// "H:MM:SS" of the span between now and then; hours are not reduced modulo 24.
std::string ElapsedText(TDateTime now, TDateTime then);
// The same of a span in whole seconds.
std::string ElapsedTextOfSeconds(int64_t seconds);

// A limit text "H:M:00", with "#" somewhere after the first ":" once fired.
struct TTaskLimit {
  bool Valid = false;  // H and M are whole numbers
  int64_t Hours = 0;
  int64_t Minutes = 0;
  bool Fired = false;
  int64_t TotalMinutes() const { return Hours * 60 + Minutes; }
};
TTaskLimit ParseLimit(const std::string& text);

// The limit the time-limit dialog writes: "H:M:00", the numbers unpadded. Each part is the
// whole, non-negative number a box stands for: anything that is not a positive number
// (NaN included) gives 0, a fraction its whole part, and values beyond kMaxLimitPart are
// held there, so the ticker can always read the limit back.
constexpr int64_t kMaxLimitPart = 999999999;
int64_t WholeLimitPart(double value);
std::string LimitText(double hours, double minutes);

// Passes alarm starts on to another alarm, but inside a batch (a tick, a load) it only notes
// them and starts the sound once when the batch ends, after the rows are done: a sound
// started later replaces one still playing, so one start sounds the same as many.
class TAlarmBatch : public ITaskAlarm {
 public:
  explicit TAlarmBatch(ITaskAlarm& alarm) : alarm_(alarm) {}
  void Play() override;

  // Holds a batch open for its lifetime; batches nest, the outermost one plays.
  class TScope {
   public:
    explicit TScope(TAlarmBatch& batch);
    ~TScope();
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TAlarmBatch& batch_;
  };

 private:
  ITaskAlarm& alarm_;
  int depth_ = 0;
  bool due_ = false;
};

enum class TLimitCheck { Skipped, Pending, Fired };

class TTaskClock {
 public:
  TTaskClock(TTaskRows& rows, const ITaskLocale& locale, ITaskAlarm& alarm);

  // The limit check of one row: icon 2 while the limit is ahead; icon 3, the alarm and a
  // "#" appended to the limit once the whole minutes since the start reach it.
  TLimitCheck CheckLimit(int row, TDateTime now);

  // One tick: the clock caption (left alone while listStart is "no" or unreadable), every
  // running row's elapsed text, and the limit check of every row; save runs at once after
  // each alarm, then fired with the row whose limit it was.
  void Tick(const std::string& listStart, std::string& clockCaption,
            const std::function<void()>& save, const std::function<void(int row)>& fired = nullptr);

 private:
  struct TStart {
    bool Known = false;
    TDateTime Value = 0;
  };
  // A start text as a date-time. Converting is the costly part of a tick, and a text never
  // changes its meaning under the locale the clock was made with, so results are kept.
  TStart StartOf(const std::string& text);
  TLimitCheck CheckLimit(int row, const std::string& limitText, const TStart& start, TDateTime now);

  TTaskRows& rows_;
  const ITaskLocale& locale_;
  ITaskAlarm& alarm_;
  std::unordered_map<std::string, TStart> starts_;
  std::string text_;  // a row's text being looked at, reused so a tick allocates nothing per row
};
