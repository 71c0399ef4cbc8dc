#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

TTempDir::TTempDir(const std::string& name) {
  const fs::path root = fs::path(VORNIK_BINARY_DIR) / "test-tmp" /
                        (name + "-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root);
  path_ = root.string();
}

TTempDir::~TTempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TTempDir::operator/(const std::string& name) const { return (fs::path(path_) / name).string(); }

void TTempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(*this / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + name);
}

void TTempDir::Write(const std::string& name, const std::string& text) const {
  Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}
