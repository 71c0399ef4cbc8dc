// The task file on disk: read whole, replaced atomically through a temporary file in the
// same folder, and converted between UTF-8 and an 8-bit code page.
#pragma once

#include <windows.h>

#include "app/TaskPlatform.h"

#undef ReplaceFile  // <windows.h> may come after TaskPlatform.h in a file

class TWinTaskStorage : public ITaskStorage {
 public:
  // codePage 0 is the system's ANSI code page.
  explicit TWinTaskStorage(unsigned codePage = 0) : codePage_(codePage) {}

  bool FileExists(const std::string& path) const override;
  std::string ReadFile(const std::string& path) const override;
  void ReplaceFile(const std::string& path, const std::string& bytes) override;
  bool EncodeAnsi(const std::string& utf8, std::string& ansi) const override;
  std::string DecodeAnsi(const std::string& ansi) const override;

  // Largest task file read (bytes); a bigger one is reported, not loaded.
  static constexpr long long kMaxFileSize = 64ll << 20;

 private:
  unsigned CodePage() const;
  unsigned codePage_;
};
