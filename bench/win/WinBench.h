// Shared pieces of the Win32 benchmarks: timing with the performance counter, a report
// line per measurement, task files of a given length and a scratch folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/TaskPlatform.h"

// Seconds between two performance-counter readings.
double BenchSeconds(LARGE_INTEGER a, LARGE_INTEGER b);
LARGE_INTEGER BenchNow();

// Prints "name  median  min  max  (runs)" and, when baseline > 0, median / baseline; returns the
// median in seconds.
double BenchReport(const std::string& name, std::vector<double> samples, double baseline = 0);

// The text of a task file with `rows` rows started one minute apart before now, every tenth
// finished; with dueLimits every fifth row has a one-minute limit that is already due.
std::string BenchTaskFile(const ITaskLocale& locale, TDateTime now, int rows, bool dueLimits);

// A folder under the temporary folder holding copies of the program's files (the
// executable, the icons and the sound); removed with its contents on destruction.
class TBenchFolder {
 public:
  explicit TBenchFolder(const std::wstring& name);
  ~TBenchFolder();
  TBenchFolder(const TBenchFolder&) = delete;
  TBenchFolder& operator=(const TBenchFolder&) = delete;
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  void Write(const std::wstring& file, const std::string& bytes) const;

 private:
  std::wstring path_;
};

void RunStartupBench();
// Cold starts of the program's start sequence with the skin and with the skin manager
// inactive; RunStartChild is that start sequence, run by the benchmark's child process.
void RunSkinStartBench();
int RunStartChild(const char* mode);
void RunTaskListBench();
// The main window's start with the skin at display scales, with an empty list.
void RunScaleBenchAlone();
