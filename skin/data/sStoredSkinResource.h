// Skins stored inside the program: a packed skin archive embedded as a raw-data (RCDATA)
// resource, found by name and loaded through the archive loader. The program carries one,
// "Quarn (internal)", drawn and packed at build time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/sSkinLoader.h"
#include "skin/data/sSkinTables.h"

// The resource holding the internal skin, and the name the skin is known by.
extern const wchar_t* const kInternalSkinResource;  // "QUARNSKIN"
extern const char* const kInternalSkinName;         // "Quarn (internal)"

// A skin stored inside a module: its name and its packed archive. Data points into the
// module's resource memory, valid as long as the module stays loaded; null when absent.
struct TsStoredSkin {
  std::string Name;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
};

// The RCDATA resource `resourceName` of `module` (null: the program itself) as a stored skin
// named `name`; Data stays null when the module has no such resource or it is empty.
TsStoredSkin FindStoredSkin(HMODULE module, const wchar_t* resourceName, const std::string& name);
// The program's internal skin.
inline TsStoredSkin InternalStoredSkin(HMODULE module = nullptr) {
  return FindStoredSkin(module, kInternalSkinResource, kInternalSkinName);
}

// The loaded tables of the skin the program runs with, with the name they came from. The
// skin manager takes this over; until then the program keeps it for its lifetime.
class TsActiveSkin {
 public:
  TsActiveSkin() = default;
  TsActiveSkin(const TsActiveSkin&) = delete;
  TsActiveSkin& operator=(const TsActiveSkin&) = delete;

  // Loads a stored skin. Throws EzkSkinError when it has no data or its data is damaged;
  // the skin held before stays as it was.
  void Load(const TsStoredSkin& skin, const TsSkinLoadOptions& options = {});
  // Drops the loaded skin.
  void Clear();

  bool Loaded() const { return loaded_; }
  const std::string& Name() const { return name_; }
  TsSkinTables& Tables() { return tables_; }
  const TsSkinTables& Tables() const { return tables_; }
  // What the last successful load noticed without failing (images it skipped ...).
  const TsSkinLoadReport& Report() const { return report_; }

 private:
  TsSkinTables tables_;
  TsSkinLoadReport report_;
  std::string name_;
  bool loaded_ = false;
};
