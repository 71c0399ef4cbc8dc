#include "toolkit/Bitmap.h"

#include <stdexcept>

void TBitmap::CanvasDeleter::operator()(TCanvas* c) const {
  delete c;
  if (dc && old) SelectObject(dc, old);
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && bitmap_) return;
  canvas_.reset();
  dc_.Reset();
  bitmap_.Reset();
  bits_ = nullptr;
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  if (Empty()) return;
  if (size_t(width_) * size_t(height_) > (size_t(1) << 28)) throw std::length_error("bitmap too large");
  void* bits = nullptr;
  bitmap_ = NewDibSection(width_, height_, bits);
  if (!bitmap_) throw std::bad_alloc();
  bits_ = static_cast<uint32_t*>(bits);
  dc_.Reset(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc_.Get(), bitmap_.Get());
  canvas_ = std::unique_ptr<TCanvas, CanvasDeleter>(new TCanvas(dc_.Get()), CanvasDeleter{dc_.Get(), old});
}
