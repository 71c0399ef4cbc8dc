#include "skin/data/sSkinDirectory.h"

#include <algorithm>

#include "skin/data/sSkinList.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The folder's parent with its trailing separator ("C:\App\bin\" -> "C:\App\").
std::string ParentFolder(const std::string& folder) {
  size_t end = folder.size();
  while (end > 0 && IsSeparator(folder[end - 1])) --end;
  while (end > 0 && !IsSeparator(folder[end - 1])) --end;
  return folder.substr(0, end);
}

// Appends a separator of the kind the path already uses ("\" when it uses none).
std::string WithSeparator(std::string path) {
  if (!path.empty() && IsSeparator(path.back())) return path;
  const bool slashes = path.find('/') != std::string::npos && path.find('\\') == std::string::npos;
  return path + (slashes ? '/' : '\\');
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
  for (const TsSkinListItem& item : ListSkinsInFolder(resolvedDirectory)) {
    const bool wanted = item.Kind == TsSkinKind::skkFolder ? kinds == skFolders || kinds == skBoth
                                                            : kinds == skPacked || kinds == skBoth;
    if (wanted) add(item.Name);
  }
  std::stable_sort(names.begin(), names.end(), SkinNameLess);
  return names;
}
