// The task file save.txt: line 1 is ListStart ("no" or a date-time text), then one line per
// row, newest first, six fields joined by "<#>":
//   caption<#>start<#>elapsed-or-"notend"<#>finished<#>limit<#>priority CR LF
// Written in the ANSI code page when every character converts, otherwise as UTF-8 with a
// byte-order mark. Read by its byte-order mark: UTF-8, UTF-16 LE or BE (as an editor may have
// saved it); a file without one is ANSI.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/TaskPlatform.h"
#include "app/TaskRows.h"

extern const char kListNotStarted[];  // "no"
extern const char kFieldSeparator[];  // "<#>"

class TTaskFile {
 public:
  TTaskFile(ITaskStorage& storage, std::string path);

  const std::string& Path() const { return path_; }

  // Writes the whole list and ListStart. Throws TTaskFileError; the previous file is then
  // left as it was.
  void SaveTasks(const TTaskRows& rows, const std::string& listStart);

  // Fills rows (appending) and returns ListStart. afterRowRead runs right after each row's
  // texts are set (the start-up limit check); a finished row then gets icon 1. A missing
  // file gives "no" and no rows.
  std::string LoadTasks(TTaskRows& rows, const std::function<void(int row)>& afterRowRead);

  // The bytes SaveTasks writes (exposed for tests and benchmarks), built the same way into the
  // same buffers; valid until the next save or format.
  const std::string& Format(const TTaskRows& rows, const std::string& listStart);

 private:
  ITaskStorage& storage_;
  std::string path_;
  const TTaskLineCache& RowLine(const TTaskRows& rows, int row);
  const std::string& Build(const TTaskRows& rows, const std::string& listStart);

  std::string buffer_;  // the line buffer, reused by every save
  std::string bytes_;  // the file as the last save wrote it
  TTaskLineCache scratch_;  // the line of a row whose store keeps no cache
};

// The caption of a task being added, as it can go into the file: the format has no escape,
// so the separator "<#>" becomes "< #>" and every line break (CR LF, CR, LF) a space.
std::string CaptionForTaskFile(const std::string& typed);

// The UTF-8 text of task file bytes, by their byte-order mark (see above).
std::string TaskFileText(const std::string& bytes, const ITaskStorage& storage);

// Splits file text into lines at CR LF, lone CR or lone LF; a last line without a break
// still counts.
std::vector<std::string> SplitTaskLines(const std::string& text);
