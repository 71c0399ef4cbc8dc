// Skins stored inside the program: a packed skin archive embedded as a raw-data (RCDATA)
// resource, found by name and loaded through the archive loader. The program carries two,
// "Quarn (internal)" and its dark sibling "Quarn Night (internal)", drawn and packed at build
// time; the skin manager's InternalSkins collection holds them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/sStoredSkinData.h"

// The resources holding the internal skins, and the names the skins are known by.
extern const wchar_t* const kInternalSkinResource;  // "QUARNSKIN"
extern const char* const kInternalSkinName;         // "Quarn (internal)"
extern const wchar_t* const kNightSkinResource;     // "QUARNNIGHTSKIN"
extern const char* const kNightSkinName;            // "Quarn Night (internal)"

// A skin stored inside the program: its name and its packed archive ("Data"). Data points into
// the module's resource memory, valid as long as the module stays loaded; null when absent.
// Only a skin without Data is read from the collections of an older stored skin.
struct TsStoredSkin {
  std::string Name;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  TsStoredSkinData Collections;
};

// The RCDATA resource `resourceName` of `module` (null: the program itself) as a stored skin
// named `name`; Data stays null when the module has no such resource or it is empty.
TsStoredSkin FindStoredSkin(HMODULE module, const wchar_t* resourceName, const std::string& name);
// The program's internal skin, the one it starts with.
inline TsStoredSkin InternalStoredSkin(HMODULE module = nullptr) {
  return FindStoredSkin(module, kInternalSkinResource, kInternalSkinName);
}
// The program's dark internal skin.
inline TsStoredSkin NightStoredSkin(HMODULE module = nullptr) {
  return FindStoredSkin(module, kNightSkinResource, kNightSkinName);
}
