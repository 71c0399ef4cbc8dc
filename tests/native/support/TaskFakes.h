// In-memory stand-ins for the task tracker's platform: rows, a fixed-format locale with a
// settable clock, a storage with a Windows-1251 code page, and a counting alarm.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/TaskPlatform.h"
#include "app/TaskRows.h"

class FakeRows : public TTaskRows {
 public:
  struct Row {
    std::array<std::string, kTaskFieldCount> texts;
    int image = 0;
  };
  std::vector<Row> rows;

  int Count() const override { return int(rows.size()); }
  std::string Text(int row, TTaskField field) const override { return rows.at(row).texts[field]; }
  void SetText(int row, TTaskField field, const std::string& text) override {
    rows.at(row).texts[field] = text;
  }
  int AddRow() override {
    rows.emplace_back();
    return int(rows.size()) - 1;
  }
  void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
  void Clear() override { rows.clear(); }
  int ImageIndex(int row) const override { return rows.at(row).image; }
  void SetImageIndex(int row, int index) override { rows.at(row).image = index; }

  // Appends a row from its six texts.
  int Add(std::array<std::string, kTaskFieldCount> texts, int image = 0) {
    rows.push_back({std::move(texts), image});
    return int(rows.size()) - 1;
  }
};

// Date-time texts in the fixed form "dd.mm.yyyy hh:mm:ss".
class FakeLocale : public ITaskLocale {
 public:
  TDateTime now = 0;
  TDateTime Now() const override { return now; }
  std::string DateTimeToText(TDateTime value) const override;
  bool TextToDateTime(const std::string& text, TDateTime& value) const override;
};

// The date-time of a calendar day and time of day.
TDateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
constexpr double kSecond = 1.0 / 86400.0;

class FakeStorage : public ITaskStorage {
 public:
  std::map<std::string, std::string> files;
  bool failWrites = false;
  int writes = 0;

  bool FileExists(const std::string& path) const override { return files.count(path) != 0; }
  std::string ReadFile(const std::string& path) const override { return files.at(path); }
  void ReplaceFile(const std::string& path, const std::string& bytes) override;
  bool EncodeAnsi(const std::string& utf8, std::string& ansi) const override;
  std::string DecodeAnsi(const std::string& ansi) const override;
};

class CountingAlarm : public ITaskAlarm {
 public:
  int plays = 0;
  void Play() override { ++plays; }
};
