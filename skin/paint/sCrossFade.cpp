#include "skin/paint/sCrossFade.h"

#include <algorithm>

std::vector<uint8_t> CrossFadeWeights(uint16_t time) {
  const int steps = time / kCrossFadeFramePause;
  std::vector<uint8_t> weights;
  if (steps <= 0) return weights;
  const int d = 255 / steps;
  for (int i = 0; i <= steps; ++i) weights.push_back(uint8_t(std::max(0, 255 - i * d)));
  return weights;
}

void BlendCrossFadeFrame(const TzkBitmap& oldLook, const TzkBitmap& newLook, uint8_t weight,
                         TzkBitmap& frame) {
  const int width = std::min({oldLook.Width(), newLook.Width(), frame.Width()});
  const int height = std::min({oldLook.Height(), newLook.Height(), frame.Height()});
  const int ob = oldLook.BytesPerPixel(), nb = newLook.BytesPerPixel(), fb = frame.BytesPerPixel();
  const int w = weight;
  for (int y = 0; y < height; ++y) {
    const uint8_t* o = oldLook.ScanLine(y);
    const uint8_t* n = newLook.ScanLine(y);
    uint8_t* f = frame.ScanLine(y);
    for (int x = 0; x < width; ++x, o += ob, n += nb, f += fb)
      for (int c = 0; c < 3; ++c) f[c] = uint8_t((w * (o[c] - n[c]) + 256 * n[c]) >> 8);
  }
}
