// The task file as outside input: load it, tick once and write it back, with date-time
// texts read under one of several locale pictures chosen by the first byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/DateTimeText.h"
#include "app/TaskClock.h"
#include "app/TaskFile.h"
#include "tests/native/support/TaskFakes.h"

namespace {

class Locale : public ITaskLocale {
 public:
  TDateTimePictures pictures;
  TDateTime Now() const override { return 46000.5; }
  std::string DateTimeToText(TDateTime) const override { return "1/1/2026 1:00:00 PM"; }
  bool TextToDateTime(const std::string& text, TDateTime& value) const override {
    return ParseDateTimeText(pictures, text, value);
  }
};

class Storage : public ITaskStorage {
 public:
  std::string bytes;
  bool FileExists(const std::string&) const override { return true; }
  std::string ReadFile(const std::string&) const override { return bytes; }
  void ReplaceFile(const std::string&, const std::string& b) override { bytes = b; }
  bool EncodeAnsi(const std::string& utf8, std::string& ansi) const override {
    ansi = utf8;
    return true;
  }
  std::string DecodeAnsi(const std::string& ansi) const override { return ansi; }
};

class Alarm : public ITaskAlarm {
 public:
  void Play() override {}
};

TDateTimePictures Pictures(uint8_t which) {
  TDateTimePictures p;
  switch (which % 3) {
    case 0:
      p.ShortDate = "M/d/yyyy", p.LongTime = "h:mm:ss tt", p.AM = "AM", p.PM = "PM";
      break;
    case 1:
      p.ShortDate = "dd.MM.yyyy", p.LongTime = "H:mm:ss";
      break;
    default:
      p.ShortDate = "d MMMM 'de' yy", p.LongTime = "HH'h'mm:ss";
      p.MonthNames = {"enero", "febrero", "marzo", "abril", "mayo", "junio",
                      "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"};
  }
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Locale locale;
  locale.pictures = Pictures(data[0]);
  Storage storage;
  storage.bytes.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
  FakeRows rows;
  Alarm alarm;
  TTaskClock clock(rows, locale, alarm);
  TTaskFile file(storage, "save.txt");
  const std::string listStart =
      file.LoadTasks(rows, [&](int row) { clock.CheckLimit(row, locale.Now()); });
  std::string caption = "00:00:00";
  clock.Tick(listStart, caption, [&] { file.SaveTasks(rows, listStart); });
  file.SaveTasks(rows, listStart);
  return 0;
}
