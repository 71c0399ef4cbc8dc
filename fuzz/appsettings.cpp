// The settings file as outside input: parse it, write what was read and read that again; it
// must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/AppSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TAppSettings first = ParseAppSettings(std::string(reinterpret_cast<const char*>(data), size));
  if (first.HueOffset < 0 || first.HueOffset > 359) std::abort();
  if (!first.SkinName.empty() && !IsStorableSkinName(first.SkinName)) std::abort();
  if (!(ParseAppSettings(FormatAppSettings(first)) == first)) std::abort();
  return 0;
}
