// A fresh folder under the build tree for one test, removed afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TTempDir {
 public:
  explicit TTempDir(const std::string& name);
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path() joined with a relative name.
  std::string operator/(const std::string& name) const;
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  void Write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};
