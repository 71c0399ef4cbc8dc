// What the task tracker needs from the platform, as small interfaces implemented by the
// Win32 side and faked by tests.
#pragma once

#include <stdexcept>
#include <string>

// Days since 1899-12-30 00:00, the fraction being the time of day (local time).
using TDateTime = double;

// The clock and the user's date-time text format: short date, one space, long time.
class ITaskLocale {
 public:
  virtual ~ITaskLocale() = default;
  virtual TDateTime Now() const = 0;
  virtual std::string DateTimeToText(TDateTime value) const = 0;
  // The inverse of DateTimeToText under the same settings; false when the text does not
  // convert.
  virtual bool TextToDateTime(const std::string& text, TDateTime& value) const = 0;
};

// A failed file operation; the message names the file and the system's reason.
class TTaskFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// <windows.h> makes ReplaceFile a macro; the method keeps its own name in every file.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

// The task file's bytes on disk and its 8-bit code page.
class ITaskStorage {
 public:
  virtual ~ITaskStorage() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // Throws TTaskFileError when the file exists but cannot be read.
  virtual std::string ReadFile(const std::string& path) const = 0;
  // Replaces the file atomically: a temporary file in the same folder is written and
  // flushed, then moved over the old one, which is kept as the backup beside it. On failure
  // the old file is intact and TTaskFileError is thrown.
  virtual void ReplaceFile(const std::string& path, const std::string& bytes) = 0;
  // UTF-8 -> the ANSI code page; false when some character has no exact equivalent.
  virtual bool EncodeAnsi(const std::string& utf8, std::string& ansi) const = 0;
  // The ANSI code page -> UTF-8.
  virtual std::string DecodeAnsi(const std::string& ansi) const = 0;
};

// Plays the alarm sound once, asynchronously; a later start replaces a sound still playing.
class ITaskAlarm {
 public:
  virtual ~ITaskAlarm() = default;
  virtual void Play() = 0;
};
