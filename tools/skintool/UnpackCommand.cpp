// skintool unpack IN.qvz DIR
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "SkinTool.h"
#include "skin/data/zkSkinPack.h"

namespace {

// Entry names are plain file names; anything that could leave the folder is refused.
bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

}  // namespace

int RunUnpack(const TArgs& args) {
  const std::unique_ptr<TzkSkinConvertor> reader = OpenArchive(args[0]);
  if (!reader) return kExitFailed;
  for (const TzkEntryInfo& e : reader->Entries())
    if (!IsPlainFileName(e.Name)) {
      PrintError("entry name \"" + e.Name + "\" is not a plain file name; nothing was written");
      return kExitFailed;
    }
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(fs::u8path(args[1]), ec);
  if (!IsFolder(args[1])) {
    PrintError("cannot create the folder \"" + args[1] + "\"");
    return kExitFailed;
  }
  auto target = [&](const std::string& name) { return (fs::u8path(args[1]) / fs::u8path(name)).u8string(); };
  size_t image = 0;
  std::string optionsName;
  for (const TzkEntryInfo& e : reader->Entries()) {
    if (e.IsOptions) {
      optionsName = e.Name;  // the last options entry is the one in force
      continue;
    }
    if (!WriteFileReplacing(target(e.Name), reader->Images()[image++].Content)) return kExitFailed;
  }
  if (reader->HasOptions() && !WriteFileReplacing(target(optionsName), reader->Options())) return kExitFailed;
  std::printf("unpacked %zu entries into \"%s\"\n", reader->Entries().size(), args[1].c_str());
  return kExitOk;
}
