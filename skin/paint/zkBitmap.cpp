#include "skin/paint/zkBitmap.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

class TzkMemoryStorage final : public TzkPixelStorage {
 public:
  TzkMemoryStorage(int width, int height, TPixelFormat format, TRowOrder order)
      : bytes_(DibRowBytes(width, format) * size_t(height)) {
    const ptrdiff_t rowBytes = ptrdiff_t(DibRowBytes(width, format));
    if (order == TRowOrder::TopDown) {
      row0_ = bytes_.data();
      stride_ = rowBytes;
    } else {
      row0_ = bytes_.data() + rowBytes * (height - 1);
      stride_ = -rowBytes;
    }
  }

 private:
  std::vector<uint8_t> bytes_;  // zero-initialised
};

TzkStorageFactory g_factory = nullptr;

void CheckSize(int width, int height, TPixelFormat format) {
  if (width < 0 || height < 0) throw std::length_error("bitmap size is negative");
  if (width > 0 && height > 0 && DibRowBytes(width, format) > kMaxBitmapBytes / size_t(height))
    throw std::length_error("bitmap is too large");
}

// Copies the overlapping pixels of src into dst, converting between the two formats.
void CopyPixels(const TzkBitmap& src, TzkBitmap& dst) {
  const int w = std::min(src.Width(), dst.Width());
  const int h = std::min(src.Height(), dst.Height());
  const int sb = src.BytesPerPixel(), db = dst.BytesPerPixel();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = src.ScanLine(y);
    uint8_t* d = dst.ScanLine(y);
    if (sb == db) {
      std::memcpy(d, s, size_t(w) * size_t(sb));
      continue;
    }
    for (int x = 0; x < w; ++x, s += sb, d += db) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      if (db == 4) d[3] = 0;
    }
  }
}

}  // namespace

void SetBitmapStorageFactory(TzkStorageFactory factory) { g_factory = factory; }

std::unique_ptr<TzkPixelStorage> NewMemoryStorage(int width, int height, TPixelFormat format,
                                                  TRowOrder order) {
  return std::make_unique<TzkMemoryStorage>(width, height, format, order);
}

TzkBitmap::TzkBitmap(int width, int height, TPixelFormat format, TRowOrder order, TBitmapUse use)
    : format_(format), order_(order), use_(use) {
  Reallocate(width, height, format);
}

void TzkBitmap::Reallocate(int width, int height, TPixelFormat format) {
  CheckSize(width, height, format);
  std::unique_ptr<TzkPixelStorage> storage;
  if (width > 0 && height > 0) {
    storage = g_factory && use_ == TBitmapUse::Device ? g_factory(width, height, format, order_)
                                                      : NewMemoryStorage(width, height, format, order_);
    if (!storage) throw std::bad_alloc();
  }
  TzkBitmap old;
  old.width_ = width_;
  old.height_ = height_;
  old.format_ = format_;
  old.order_ = order_;
  old.use_ = use_;
  old.storage_ = std::move(storage_);
  width_ = width;
  height_ = height;
  format_ = format;
  storage_ = std::move(storage);
  if (!old.Empty() && !Empty()) CopyPixels(old, *this);
}

void TzkBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  if (Empty()) {
    format_ = format;
    return;
  }
  Reallocate(width_, height_, format);
}

void TzkBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Reallocate(width, height, format_);
}

uint8_t* TzkBitmap::ScanLine(int y) {
  assert(storage_ && y >= 0 && y < height_);
  return storage_->Row0() + storage_->Stride() * y;
}

const uint8_t* TzkBitmap::ScanLine(int y) const {
  assert(storage_ && y >= 0 && y < height_);
  return storage_->Row0() + storage_->Stride() * y;
}

void TzkBitmap::Fill(uint32_t bgra) {
  const uint8_t px[4] = {uint8_t(bgra), uint8_t(bgra >> 8), uint8_t(bgra >> 16),
                         uint8_t(bgra >> 24)};
  const int n = BytesPerPixel();
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = ScanLine(y);
    for (int x = 0; x < width_; ++x, row += n) std::memcpy(row, px, size_t(n));
  }
}

TzkBitmap TzkBitmap::Clone() const {
  TzkBitmap copy(width_, height_, format_, order_, use_);
  if (!Empty()) CopyPixels(*this, copy);
  return copy;
}

void TzkBitmap::Assign(const TzkBitmap& source) {
  if (&source == this) return;
  *this = source.Clone();
}

TzkBitmap NewBitmap24(int width, int height) {
  return TzkBitmap(width, height, TPixelFormat::pf24bit);
}

TzkBitmap NewBitmap32(int width, int height) {
  return TzkBitmap(width, height, TPixelFormat::pf32bit);
}

TzkBitmap NewBitmapLike(const TzkBitmap& like) {
  return TzkBitmap(like.Width(), like.Height(), like.PixelFormat());
}

TzkBitmap NewDeviceBitmap24(int width, int height) {
  return TzkBitmap(width, height, TPixelFormat::pf24bit, TRowOrder::TopDown, TBitmapUse::Device);
}
