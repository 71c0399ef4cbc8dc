// Fuzzes the packed skin archive reader: any input must parse or raise EzkSkinError, never
// crash, hang or allocate beyond the caps.
#include <cstddef>
#include <cstdint>

#include "skin/data/zkSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TzkSkinConvertor reader;
  reader.SetSource(data, size);
  try {
    reader.Parse();
  } catch (const EzkSkinError&) {
  }
  for (const TzkImageItem& item : reader.Images()) (void)reader.FindEntry(item.EntryName);
  (void)reader.FindEntry("MASTER.BMP");
  return 0;
}
