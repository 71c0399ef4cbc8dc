// skintool: the command-line tool skin authors use to pack, unpack, list, check and convert
// skins. Each command lives in a file of its own and is registered in the table of main.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TzkSkinConvertor;

using TArgs = std::vector<std::string>;

struct TSkinToolCommand {
  const char* Name;
  const char* Arguments;  // as shown in the usage line
  const char* Summary;    // one line for --help
  int MinArgs;
  int MaxArgs;
  int (*Run)(const TArgs& args);  // returns the exit code
};

// Exit codes shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the input is damaged, or the check found problems
constexpr int kExitUsage = 2;

// The commands (one file each).
int RunPack(const TArgs& args);
int RunUnpack(const TArgs& args);
int RunList(const TArgs& args);
int RunCheck(const TArgs& args);
int RunConvert(const TArgs& args);
int RunPreview(const TArgs& args);

// Helpers shared by the commands.
void PrintError(const std::string& message);  // "skintool: message" on stderr
// Writes a whole file through a temporary beside it, so a failed write leaves no half file.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes);
bool IsFolder(const std::string& path);
// Opens a packed skin file for reading its entries; prints why and gives null when the file is
// missing or is not a packed skin.
std::unique_ptr<TzkSkinConvertor> OpenArchive(const std::string& path);
