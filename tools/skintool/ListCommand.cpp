// skintool list IN.qvz
#include <cstdio>
#include <memory>

#include "SkinTool.h"
#include "skin/data/zkSkinPack.h"

int RunList(const TArgs& args) {
  const std::unique_ptr<TzkSkinConvertor> reader = OpenArchive(args[0]);
  if (!reader) return kExitFailed;
  size_t total = 0, packed = 0;
  std::printf("%10s %10s  %s\n", "size", "packed", "name");
  for (const TzkEntryInfo& e : reader->Entries()) {
    std::printf("%10zu %10zu  %s%s\n", e.Size, e.PackedSize, e.Name.c_str(), e.IsOptions ? "  (options)" : "");
    total += e.Size;
    packed += e.PackedSize;
  }
  std::printf("%10zu %10zu  %zu entries\n", total, packed, reader->Entries().size());
  return kExitOk;
}
