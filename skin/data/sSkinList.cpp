#include "skin/data/sSkinList.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char kPackedExtension[] = ".qvz";

// The skin an entry holds, or false. Every question to the file system reports its failure
// through an error code, so an entry that cannot be read is simply no skin.
bool SkinOfEntry(const fs::directory_entry& entry, TsSkinListItem& item) {
  const std::string name = entry.path().filename().u8string();
  if (name.empty() || name[0] == '.') return false;
  std::error_code ec;
  if (entry.is_directory(ec)) {
    if (!fs::is_regular_file(entry.path() / "Options.dat", ec)) return false;
    item = {name, TsSkinKind::skkFolder, entry.path().u8string()};
    return true;
  }
  const size_t stem = name.size() - (sizeof kPackedExtension - 1);
  if (name.size() <= sizeof kPackedExtension - 1 || name.compare(stem, std::string::npos, kPackedExtension) != 0)
    return false;
  if (!entry.is_regular_file(ec)) return false;
  item = {name.substr(0, stem), TsSkinKind::skkPacked, entry.path().u8string()};
  return true;
}

// The file name of the entry an item came from, for ordering skins of the same name.
std::string EntryName(const TsSkinListItem& item) {
  return item.Kind == TsSkinKind::skkPacked ? item.Name + kPackedExtension : item.Name;
}

}  // namespace

bool SkinNameLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

std::vector<TsSkinListItem> ListSkinsInFolder(const std::string& folder) {
  std::vector<TsSkinListItem> items;
  if (folder.empty()) return items;
  fs::path path;
  try {
    path = fs::u8path(folder);
  } catch (const std::exception&) {
    return items;
  }
  std::error_code ec;
  fs::directory_iterator it(path, ec), end;
  // A failed step leaves the iterator where it cannot go on: what was listed stays.
  for (; !ec && it != end; it.increment(ec)) {
    TsSkinListItem item;
    try {
      if (SkinOfEntry(*it, item)) items.push_back(std::move(item));
    } catch (const std::exception&) {
      // A name the system cannot turn into UTF-8 (or a path it cannot build): not listed.
    }
  }
  // The directory's order is the system's; exact names first make the result the same on
  // every system, then the case-insensitive order keeps it among equal names.
  std::sort(items.begin(), items.end(),
            [](const TsSkinListItem& a, const TsSkinListItem& b) { return EntryName(a) < EntryName(b); });
  std::stable_sort(items.begin(), items.end(),
                   [](const TsSkinListItem& a, const TsSkinListItem& b) { return SkinNameLess(a.Name, b.Name); });
  return items;
}
