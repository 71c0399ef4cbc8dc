#include "toolkit/Handles.h"

#include <atomic>

namespace handles {

namespace {
std::atomic<long> g_alive{0};
}

long GdiObjectsAlive() { return g_alive.load(); }
void CountGdiObject(int delta) { g_alive += delta; }

}  // namespace handles

BITMAPINFO DibHeader(int width, int height, int bitCount, bool topDown) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = topDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = WORD(bitCount);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TBitmapHandle NewDibSection(int width, int height, void*& bits, int bitCount, bool topDown) {
  const BITMAPINFO info = DibHeader(width, height, bitCount, topDown);
  bits = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) bits = nullptr;
  return bitmap;
}
