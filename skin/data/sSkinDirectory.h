// Where skins are found: the resolved skin directory, the packed-file path of a skin and the
// list of skin names offered to the user. Portable; names are UTF-8.
#pragma once

#include <string>
#include <vector>

// The folder of folder skins for a SkinDirectory value, given the executable's folder (with a
// trailing separator). "\" and "/" both separate:
//   "..xxx"            the parent of the executable's folder (with separator) + "xxx"
//   ".\xxx", "./xxx"   the executable's folder + "xxx"
//   no ":" and no "\\" the executable's folder + the value
//   anything else      as written
std::string ResolveSkinDirectory(const std::string& skinDirectory, const std::string& exeFolder);

// The packed file of a skin: SkinDirectory taken as written, a separator added when it has
// none, the skin's name and ".qvz".
std::string PackedSkinPath(const std::string& skinDirectory, const std::string& skinName);

// The folder skin of a name inside the resolved directory (with a trailing separator).
std::string SkinFolderPath(const std::string& resolvedDirectory, const std::string& skinName);

// Kinds of ListSkinNames: folders with "Options.dat", packed ".qvz" files, or both.
constexpr int skFolders = 0;
constexpr int skPacked = 1;
constexpr int skBoth = 2;

// The skin names a user can pick: the stored skins' names, then the skins of the resolved
// directory (ListSkinsInFolder of sSkinList.h): sub-folders holding "Options.dat" (kinds 0, 2)
// by folder name, and files whose extension is exactly ".qvz" (kinds 1, 2) by their name
// without it, the name under which SetSkinName finds the file; sorted without regard to
// letter case. firstName becomes the first name added when it is empty.
std::vector<std::string> ListSkinNames(const std::vector<std::string>& storedNames,
                                       const std::string& resolvedDirectory, int kinds,
                                       std::string& firstName);
