// skintool COMMAND ARGS...  (see kCommands below, or skintool --help)
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "SkinTool.h"
#include "skin/data/zkSkinPack.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Every command of the tool. A new command is a file with its Run function and a line here.
const TSkinToolCommand kCommands[] = {
    {"pack", "DIR OUT.qvz", "pack an unpacked skin folder into a skin archive", 2, 2, RunPack},
    {"unpack", "IN.qvz DIR", "write every entry of a skin archive into a folder", 2, 2, RunUnpack},
    {"list", "IN.qvz", "list the entries of a skin archive with their sizes", 1, 1, RunList},
    {"check", "[--dump] SKIN",
     "load a skin folder or .qvz file and report its tables and problems; --dump prints only "
     "the comparable table dump",
     1, 2, RunCheck},
    {"convert", "IMAGE OUT.bmp",
     "decode a PNG, BMP or JPEG as the skin engine does and write it as a 32-bit top-down BMP",
     2, 2, RunConvert},
    {"preview", "SKIN OUT.png [--size WxH]",
     "paint every section of a skin in states 0, 1 and 2, and its glyphs and glow images, "
     "into one contact-sheet PNG",
     2, 4, RunPreview},
};

void PrintUsage(FILE* to) {
  std::fprintf(to, "usage: skintool COMMAND ARGUMENTS\n\ncommands:\n");
  for (const TSkinToolCommand& c : kCommands)
    std::fprintf(to, "  skintool %s %s\n      %s\n", c.Name, c.Arguments, c.Summary);
  std::fprintf(to,
               "\nexit codes: 0 success, 1 damaged input or problems found, 2 wrong usage\n");
}

TArgs CommandLine(int argc, char** argv) {
  TArgs args;
#ifdef _WIN32
  // The console's code page cannot hold every file name; take the wide command line.
  (void)argv;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), n, nullptr, nullptr);
    args.push_back(s);
  }
  LocalFree(wide);
  (void)argc;
#else
  for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
#endif
  return args;
}

}  // namespace

void PrintError(const std::string& message) { std::fprintf(stderr, "skintool: %s\n", message.c_str()); }

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(std::filesystem::u8path(path), ec);
}

std::unique_ptr<TzkSkinConvertor> OpenArchive(const std::string& path) {
  if (!FileExists(path)) {
    PrintError("\"" + path + "\" does not exist");
    return nullptr;
  }
  std::unique_ptr<TzkSkinConvertor> reader;
  try {
    TzkSkinConvertor::OpenPackedFile(path, reader, true);
  } catch (const EzkSkinError& e) {
    PrintError(path + ": " + e.what());
    return nullptr;
  }
  return reader;
}

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  const fs::path target = fs::u8path(path);
  fs::path temp = target;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      PrintError("cannot write \"" + path + "\"");
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    PrintError("cannot replace \"" + path + "\": " + ec.message());
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

int main(int argc, char** argv) {
  const TArgs args = CommandLine(argc, argv);
  if (args.empty()) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const TSkinToolCommand& c : kCommands) {
    if (args[0] != c.Name) continue;
    const TArgs rest(args.begin() + 1, args.end());
    if (int(rest.size()) < c.MinArgs || int(rest.size()) > c.MaxArgs) {
      PrintError(std::string("usage: skintool ") + c.Name + " " + c.Arguments);
      return kExitUsage;
    }
    return c.Run(rest);
  }
  PrintError("unknown command \"" + args[0] + "\" (try skintool --help)");
  return kExitUsage;
}
