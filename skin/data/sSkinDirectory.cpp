#include "skin/data/sSkinDirectory.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The folder's parent with its trailing separator ("C:\App\bin\" -> "C:\App\").
std::string ParentFolder(const std::string& folder) {
  size_t end = folder.size();
  while (end > 0 && IsSeparator(folder[end - 1])) --end;
  while (end > 0 && !IsSeparator(folder[end - 1])) --end;
  return folder.substr(0, end);
}

fs::path PathOf(const std::string& utf8) { return fs::u8path(utf8); }

std::string NameOf(const fs::path& p) { return p.filename().u8string(); }

// Appends a separator of the kind the path already uses ("\" when it uses none).
std::string WithSeparator(std::string path) {
  if (!path.empty() && IsSeparator(path.back())) return path;
  const bool slashes = path.find('/') != std::string::npos && path.find('\\') == std::string::npos;
  return path + (slashes ? '/' : '\\');
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

// The name a directory entry adds, or empty.
std::string SkinNameOfEntry(const fs::directory_entry& entry, int kinds) {
  const std::string name = NameOf(entry.path());
  if (name.empty() || name[0] == '.') return {};
  std::error_code ec;
  if ((kinds == skFolders || kinds == skBoth) && entry.is_directory(ec) &&
      fs::is_regular_file(entry.path() / "Options.dat", ec))
    return name;
  if ((kinds == skPacked || kinds == skBoth) && entry.is_regular_file(ec) &&
      entry.path().extension() == ".qvz")
    return name.substr(0, name.find('.'));
  return {};
}

}  // namespace

std::string ResolveSkinDirectory(const std::string& dir, const std::string& exeFolder) {
  if (dir.compare(0, 2, "..") == 0) return ParentFolder(exeFolder) + dir.substr(std::min<size_t>(3, dir.size()));
  if (dir.size() >= 2 && dir[0] == '.' && IsSeparator(dir[1])) return exeFolder + dir.substr(2);
  if (dir.find(':') == std::string::npos && dir.find("\\\\") == std::string::npos)
    return exeFolder + dir;
  return dir;
}

std::string PackedSkinPath(const std::string& skinDirectory, const std::string& skinName) {
  return WithSeparator(skinDirectory) + skinName + ".qvz";
}

std::string SkinFolderPath(const std::string& resolvedDirectory, const std::string& skinName) {
  return WithSeparator(WithSeparator(resolvedDirectory) + skinName);
}

std::vector<std::string> ListSkinNames(const std::vector<std::string>& storedNames,
                                       const std::string& resolvedDirectory, int kinds,
                                       std::string& firstName) {
  std::vector<std::string> names;
  auto add = [&](const std::string& name) {
    names.push_back(name);
    if (firstName.empty()) firstName = name;
  };
  for (const std::string& n : storedNames) add(n);
  std::error_code ec;
  const fs::path dir = PathOf(resolvedDirectory);
  if (!resolvedDirectory.empty() && fs::is_directory(dir, ec)) {
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = SkinNameOfEntry(*it, kinds);
      if (!name.empty()) add(name);
    }
  }
  std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}
