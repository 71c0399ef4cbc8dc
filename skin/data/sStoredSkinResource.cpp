#include "skin/data/sStoredSkinResource.h"

const wchar_t* const kInternalSkinResource = L"QUARNSKIN";
const char* const kInternalSkinName = "Quarn (internal)";
const wchar_t* const kNightSkinResource = L"QUARNNIGHTSKIN";
const char* const kNightSkinName = "Quarn Night (internal)";

TsStoredSkin FindStoredSkin(HMODULE module, const wchar_t* resourceName, const std::string& name) {
  TsStoredSkin skin;
  skin.Name = name;
  if (!module) module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, resourceName, RT_RCDATA);
  if (!info) return skin;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL handle = LoadResource(module, info);
  // Resource memory belongs to the module: nothing to free or unlock.
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size == 0) return skin;
  skin.Data = static_cast<const uint8_t*>(data);
  skin.Size = size;
  return skin;
}
