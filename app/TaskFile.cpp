#include "app/TaskFile.h"

#include <utility>

const char kListNotStarted[] = "no";
const char kFieldSeparator[] = "<#>";

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kNotEnded[] = "notend";
const char kTrue[] = "true";

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

void AppendRow(std::string& out, const TTaskRows& rows, int row) {
  const bool finished = rows.Text(row, tfFinished) == kTrue;
  out += rows.Text(row, tfCaption);
  out += kFieldSeparator;
  out += rows.Text(row, tfStart);
  out += kFieldSeparator;
  out += finished ? rows.Text(row, tfElapsed) : std::string(kNotEnded);
  out += kFieldSeparator;
  out += rows.Text(row, tfFinished);
  out += kFieldSeparator;
  out += rows.Text(row, tfLimit);
  out += kFieldSeparator;
  out += rows.Text(row, tfPriority);
  out += "\r\n";
}

// Cuts the first five fields at "<#>"; the sixth is the whole remainder. Missing fields are
// empty texts.
void ReadRow(TTaskRows& rows, int row, const std::string& line) {
  size_t pos = 0;
  for (int field = tfCaption; field < tfPriority; ++field) {
    const size_t sep = pos <= line.size() ? line.find(kFieldSeparator, pos) : std::string::npos;
    if (sep == std::string::npos) {
      rows.SetText(row, TTaskField(field), pos < line.size() ? line.substr(pos) : std::string());
      pos = line.size() + 1;
    } else {
      rows.SetText(row, TTaskField(field), line.substr(pos, sep - pos));
      pos = sep + 3;
    }
  }
  rows.SetText(row, tfPriority, pos <= line.size() ? line.substr(pos) : std::string());
}

}  // namespace

std::vector<std::string> SplitTaskLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  while (start < n) {
    size_t end = start;
    while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back(text.substr(start, end - start));
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

TTaskFile::TTaskFile(ITaskStorage& storage, std::string path)
    : storage_(storage), path_(std::move(path)) {}

std::string TTaskFile::Format(const TTaskRows& rows, const std::string& listStart) {
  buffer_.clear();
  AppendLine(buffer_, listStart);
  const int count = rows.Count();
  for (int row = 0; row < count; ++row) AppendRow(buffer_, rows, row);
  std::string ansi;
  if (storage_.EncodeAnsi(buffer_, ansi)) return ansi;
  return kUtf8Bom + buffer_;
}

void TTaskFile::SaveTasks(const TTaskRows& rows, const std::string& listStart) {
  storage_.ReplaceFile(path_, Format(rows, listStart));
}

std::string TTaskFile::LoadTasks(TTaskRows& rows,
                                 const std::function<void(int row)>& afterRowRead) {
  if (!storage_.FileExists(path_)) return kListNotStarted;
  std::string bytes = storage_.ReadFile(path_);
  const std::string text = bytes.compare(0, 3, kUtf8Bom) == 0 ? bytes.substr(3)
                                                              : storage_.DecodeAnsi(bytes);
  const std::vector<std::string> lines = SplitTaskLines(text);
  if (lines.empty()) return kListNotStarted;
  for (size_t i = 1; i < lines.size(); ++i) {
    const int row = rows.AddRow();
    ReadRow(rows, row, lines[i]);
    if (afterRowRead) afterRowRead(row);
    if (rows.Text(row, tfFinished) == kTrue) rows.SetImageIndex(row, tiFinished);
  }
  return lines[0];
}
