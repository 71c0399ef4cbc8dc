// The "export to CSV" command: the platform's save dialog proposes "Vornik Desktop
// YYYY-MM-DD.csv" in the user's documents folder (or the folder of the last export), asks
// before replacing a file, and the list is written there atomically. A file that cannot be
// written throws TTaskFileError (the general error handler shows it); the list is never
// touched.
#pragma once

#include <windows.h>

#include <string>

#include "app/TaskCsv.h"

class TCsvExportDialog {
 public:
  TCsvExportDialog(const ITaskCsvLocale& locale, ITaskCsvFile& file) : locale_(locale), file_(file) {}

  // False when the user cancelled the dialog; true once the file is written.
  bool Run(HWND owner, const TTaskRows& rows);
  // The file the user chose last, empty before the first export.
  const std::wstring& LastPath() const { return lastPath_; }

 private:
  // The path the user chose, or empty when cancelled.
  std::wstring AskForPath(HWND owner) const;
  std::wstring InitialFolder() const;

  const ITaskCsvLocale& locale_;
  ITaskCsvFile& file_;
  std::wstring lastPath_;
};
