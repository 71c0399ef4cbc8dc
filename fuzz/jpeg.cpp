// JPEG loading on arbitrary bytes: a bitmap or a reader error; libjpeg must never end the
// process, and memory and work stay bounded.
#include <cstddef>
#include <cstdint>

#include "skin/data/zkJpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TzkImageLimits limits;
  limits.MaxSide = 2048;  // keeps each run quick; the caps themselves are unit-tested
  limits.MaxBytes = size_t(2) << 20;
  try {
    DecodeJpegImage(data, size, limits);
  } catch (const EzkJpegError&) {
  }
  return 0;
}
