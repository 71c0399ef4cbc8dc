// skintool pack DIR OUT.qvz
#include <cstdio>

#include "SkinTool.h"
#include "skin/data/zkSkinPack.h"

int RunPack(const TArgs& args) {
  if (!IsFolder(args[0])) {
    PrintError("\"" + args[0] + "\" is not a folder");
    return kExitFailed;
  }
  std::vector<uint8_t> archive;
  try {
    archive = PackSkinFolder(args[0]);
  } catch (const EzkSkinError& e) {
    PrintError(e.what());
    return kExitFailed;
  }
  if (!WriteFileReplacing(args[1], archive)) return kExitFailed;
  std::printf("packed \"%s\" into \"%s\" (%zu bytes)\n", args[0].c_str(), args[1].c_str(), archive.size());
  return kExitOk;
}
