// The task file on disk: read whole, replaced atomically through one temporary file beside
// it (save.txt is written as save.tmp) with the previous version kept as the backup
// (save.bak), and converted between UTF-8 and an 8-bit code page. Exported files are
// written atomically too, without a backup.
#pragma once

#include <windows.h>

#include "app/TaskCsv.h"
#include "app/TaskPlatform.h"

#undef ReplaceFile  // <windows.h> may come after TaskPlatform.h in a file

class TWinTaskStorage : public ITaskStorage, public ITaskCsvFile {
 public:
  // codePage 0 is the system's ANSI code page.
  explicit TWinTaskStorage(unsigned codePage = 0) : codePage_(codePage) {}

  bool FileExists(const std::string& path) const override;
  std::string ReadFile(const std::string& path) const override;
  void ReplaceFile(const std::string& path, const std::string& bytes) override;
  bool EncodeAnsi(const std::string& utf8, std::string& ansi) const override;
  std::string DecodeAnsi(const std::string& ansi) const override;
  // Through a uniquely named temporary file in the target's folder ("csv" + hex + ".tmp"),
  // since the target's own name with another extension may be a file of the user's.
  void WriteWholeFile(const std::string& path, const std::string& bytes) override;

  // Earlier versions wrote through temporary files named "sav" + hex digits + ".tmp" and
  // left them behind when killed during a save; removes those from the folder (with its
  // trailing backslash).
  static void RemoveOldTemporaryFiles(const std::string& folder);
  static bool IsOldTemporaryName(const std::wstring& name);
  // The path with its extension replaced (or added).
  static std::wstring Sibling(const std::wstring& path, const wchar_t* extension);

  // Largest task file read (bytes); a bigger one is reported, not loaded.
  static constexpr long long kMaxFileSize = 64ll << 20;

 private:
  unsigned CodePage() const;
  bool KeepsAscii(unsigned cp) const;
  unsigned codePage_;
  // The code page for which KeepsAscii last asked the platform, and its answer.
  mutable unsigned asciiCodePage_ = 0;
  mutable bool keepsAscii_ = false;
};
