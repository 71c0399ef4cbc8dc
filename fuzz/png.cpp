// PNG reader on arbitrary bytes: must end in a bitmap or a reader error, never a crash, a
// hang or an unbounded allocation.
#include <cstddef>
#include <cstdint>

#include "skin/data/zkPNG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPNGGraphic png;
  png.Limits.MaxSide = 4096;  // keeps each run quick; the caps themselves are unit-tested
  png.Limits.MaxBytes = size_t(4) << 20;
  int rows = 0;
  png.OnProgress = [&rows](TzkProgressStage, int, const std::string&) { ++rows; };
  try {
    png.LoadFromMemory(data, size);
    ClearTransparentWhite(png.Bitmap());
  } catch (const EzkInvalidGraphic&) {
  } catch (const EzkCompressionError&) {
  }
  return 0;
}
