// BMP reader on arbitrary bytes: a bitmap or a reader error, never a crash or an unbounded
// allocation.
#include <cstddef>
#include <cstdint>

#include "skin/data/zkBmpImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TzkImageLimits limits;
  limits.MaxSide = 4096;  // keeps each run quick; the caps themselves are unit-tested
  limits.MaxBytes = size_t(4) << 20;
  try {
    DecodeBmpImage(data, size, limits);
  } catch (const EzkBmpError&) {
  }
  return 0;
}
