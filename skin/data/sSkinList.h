// The skins found in one folder: packed ".qvz" files and skin folders (a sub-folder holding
// "Options.dat"), each with the name the skin manager's SkinName takes for it, its kind and
// its path. Portable (std::filesystem); names and paths are UTF-8. Menus that offer skins
// list a folder with it: the manager's skin directory, a "Skins" folder beside the program.
#pragma once

#include <string>
#include <vector>

enum class TsSkinKind {
  skkFolder,  // a folder holding "Options.dat" and its images
  skkPacked,  // a packed skin archive, "NAME.qvz"
};

struct TsSkinListItem {
  std::string Name;  // the folder's name, or the file's name without ".qvz"
  TsSkinKind Kind = TsSkinKind::skkFolder;
  std::string Path;  // the folder or the file: the listed folder joined with the entry's name
};

// Every skin in `folder`, sorted by name without regard to letter case (ASCII); skins of the
// same name keep the order of their entries' names compared exactly, so a folder "Dark"
// comes before "Dark.qvz". Entries whose name starts with "." are left out, and so are files
// whose extension is not exactly ".qvz" ("Dark.QVZ" is not a skin of this list). An entry
// that cannot be read (a broken or looping link, a folder whose "Options.dat" cannot be
// reached, a name the system cannot give) is skipped and the rest are listed; a folder that
// does not exist or cannot be opened gives an empty list.
std::vector<TsSkinListItem> ListSkinsInFolder(const std::string& folder);

// Skin names compared without regard to ASCII letter case: the order of skin lists.
bool SkinNameLess(const std::string& a, const std::string& b);
