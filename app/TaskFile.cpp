#include "app/TaskFile.h"

#include <cstdint>
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
  const size_t start = out.size();
  rows.AppendText(row, tfFinished, out);
  const bool finished = out.compare(start, std::string::npos, kTrue) == 0;
  out.resize(start);
  rows.AppendText(row, tfCaption, out);
  out += kFieldSeparator;
  rows.AppendText(row, tfStart, out);
  out += kFieldSeparator;
  if (finished)
    rows.AppendText(row, tfElapsed, out);
  else
    out += kNotEnded;
  out += kFieldSeparator;
  rows.AppendText(row, tfFinished, out);
  out += kFieldSeparator;
  rows.AppendText(row, tfLimit, out);
  out += kFieldSeparator;
  rows.AppendText(row, tfPriority, out);
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

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// UTF-16 after its two-byte mark; an unpaired surrogate or a last odd byte becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& bytes, bool bigEndian) {
  const auto unit = [&](size_t i) {
    const auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? uint32_t(b0 << 8 | b1) : uint32_t(b1 << 8 | b0);
  };
  constexpr uint32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(bytes.size());
  size_t i = 2;
  for (; i + 1 < bytes.size(); i += 2) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? kReplacement : u);
  }
  if (i < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
}

}  // namespace

std::string CaptionForTaskFile(const std::string& typed) {
  std::string caption;
  caption.reserve(typed.size());
  for (size_t i = 0; i < typed.size(); ++i) {
    const char c = typed[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n') ++i;
      caption += ' ';
    } else if (c == '<' && typed.compare(i, 3, kFieldSeparator) == 0) {
      caption += "< ";  // the "#>" follows as the next characters
    } else {
      caption += c;
    }
  }
  return caption;
}

std::string TaskFileText(const std::string& bytes, const ITaskStorage& storage) {
  if (bytes.compare(0, 3, kUtf8Bom) == 0) return bytes.substr(3);
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return Utf16ToUtf8(bytes, false);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return Utf16ToUtf8(bytes, true);
  return storage.DecodeAnsi(bytes);
}

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

// The row's line in both encodings, from its cache when the row has not changed since.
const TTaskLineCache& TTaskFile::RowLine(const TTaskRows& rows, int row) {
  TTaskLineCache* cache = rows.LineCache(row);
  if (!cache) cache = &scratch_;
  if (cache->Valid && cache->Encoder == &storage_) return *cache;
  cache->Utf8.clear();
  AppendRow(cache->Utf8, rows, row);
  cache->AnsiOk = storage_.EncodeAnsi(cache->Utf8, cache->Ansi);
  if (!cache->AnsiOk) cache->Ansi.clear();
  cache->Encoder = &storage_;
  cache->Valid = cache != &scratch_;
  return *cache;
}

// Lines are encoded one by one: every line ends in CR LF and the ANSI code pages encode each
// character on its own, so the lines joined are the whole text encoded at once.
const std::string& TTaskFile::Format(const TTaskRows& rows, const std::string& listStart) {
  return Build(rows, listStart);
}

// Builds into buffers kept from save to save, so a long list's file is not allocated anew.
const std::string& TTaskFile::Build(const TTaskRows& rows, const std::string& listStart) {
  buffer_.clear();
  AppendLine(buffer_, listStart);
  bytes_.clear();
  bool ansiOk = storage_.EncodeAnsi(buffer_, bytes_);
  const int count = rows.Count();
  for (int row = 0; row < count && ansiOk; ++row) {
    const TTaskLineCache& line = RowLine(rows, row);
    ansiOk = line.AnsiOk;
    bytes_ += line.Ansi;
  }
  if (ansiOk) return bytes_;
  for (int row = 0; row < count; ++row) buffer_ += RowLine(rows, row).Utf8;
  bytes_ = kUtf8Bom;
  bytes_ += buffer_;
  return bytes_;
}

void TTaskFile::SaveTasks(const TTaskRows& rows, const std::string& listStart) {
  storage_.ReplaceFile(path_, Build(rows, listStart));
}

std::string TTaskFile::LoadTasks(TTaskRows& rows,
                                 const std::function<void(int row)>& afterRowRead) {
  if (!storage_.FileExists(path_)) return kListNotStarted;
  const std::string text = TaskFileText(storage_.ReadFile(path_), storage_);
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
