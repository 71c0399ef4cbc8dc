// The skins the tray menu offers: the skins stored in the program, then those found in skin
// folders (packed ".qvz" files and folders holding "Options.dat"), one entry per name.
// Portable; names and paths are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "skin/data/sSkinList.h"

struct TSkinChoice {
  std::string Name;    // the skin manager's SkinName for it
  std::string Folder;  // the folder it was found in; empty for a skin stored in the program
  TsSkinKind Kind = TsSkinKind::skkFolder;  // for skins found in a folder
  std::string Path;    // the packed file or the skin folder; empty for a stored skin

  bool Stored() const { return Folder.empty(); }
};

// The stored skins in their order, then the skins of the folders sorted by name without
// regard to letter case. A name is offered once, compared without regard to ASCII letter
// case: a stored skin hides a file or folder of its name and an earlier folder hides a later
// one. Within one folder a packed file is preferred to a skin folder of the same name, as the
// skin manager loads the packed file when both exist. Folders that do not exist add nothing.
std::vector<TSkinChoice> SkinChoices(const std::vector<std::string>& storedNames,
                                     const std::vector<std::string>& folders);

// The entry named `name`: the one of exactly that name, else one whose name differs only in
// ASCII letter case; -1 when none.
int IndexOfSkinChoice(const std::vector<TSkinChoice>& choices, const std::string& name);

// The hue offsets the tray menu offers, in degrees.
constexpr int kHuePresets[] = {0, 60, 120, 180, 240, 300};
