// Shared by the seed makers: writing one seed file and checking the command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace seeds {

// Writes bytes to DIR/NAME; false when the file cannot be written completely.
inline bool Write(const std::string& dir, const std::string& name,
                  const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

inline bool Write(const std::string& dir, const std::string& name, const std::string& text) {
  return Write(dir, name, std::vector<uint8_t>(text.begin(), text.end()));
}

// The one argument every seed maker takes: the folder to write into. Prints the usage and
// gives false when it is missing.
inline bool CheckUsage(int argc, const char* program) {
  if (argc == 2) return true;
  std::fprintf(stderr, "usage: %s DIR\n", program);
  return false;
}

}  // namespace seeds
