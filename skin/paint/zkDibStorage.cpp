#include "skin/paint/zkDibStorage.h"

#include <cstring>

#include "toolkit/Handles.h"

std::unique_ptr<TzkPixelStorage> TzkDibStorage::Create(int width, int height, TPixelFormat format,
                                                       TRowOrder order) {
  void* bits = nullptr;
  TBitmapHandle bitmap =
      NewDibSection(width, height, bits, BytesPerPixel(format) * 8, order == TRowOrder::TopDown);
  if (!bitmap || !bits) return nullptr;
  std::unique_ptr<TzkDibStorage> storage(new TzkDibStorage());
  storage->bitmap_ = std::move(bitmap);
  const ptrdiff_t rowBytes = ptrdiff_t(DibRowBytes(width, format));
  uint8_t* first = static_cast<uint8_t*>(bits);
  if (order == TRowOrder::TopDown) {
    storage->row0_ = first;
    storage->stride_ = rowBytes;
  } else {
    storage->row0_ = first + rowBytes * (height - 1);
    storage->stride_ = -rowBytes;
  }
  return storage;
}

TzkDibStorage::~TzkDibStorage() = default;

void InstallDibBitmapStorage() { SetBitmapStorageFactory(&TzkDibStorage::Create); }

HBITMAP DibHandle(const TzkBitmap& bitmap) {
  const auto* dib = dynamic_cast<const TzkDibStorage*>(bitmap.Storage());
  return dib ? dib->Handle() : nullptr;
}

BITMAPINFO DibInfo(const TzkBitmap& bitmap) {
  return DibHeader(bitmap.Width(), bitmap.Height(), bitmap.BytesPerPixel() * 8, bitmap.Stride() >= 0);
}

const void* DibBits(const TzkBitmap& bitmap) {
  if (bitmap.Empty()) return nullptr;
  // Bottom-up rows start in memory with the last row.
  return bitmap.Stride() >= 0 ? bitmap.ScanLine(0) : bitmap.ScanLine(bitmap.Height() - 1);
}

void DrawBitmapToDC(HDC dc, int x, int y, const TzkBitmap& bitmap, const TRect& srcRect) {
  const TRect s = IntersectRect(srcRect, TRect(0, 0, bitmap.Width(), bitmap.Height()));
  if (s.IsEmpty()) return;
  x += s.Left - srcRect.Left;
  y += s.Top - srcRect.Top;
  // Straight from the pixels, even for a DIB section: a memory device context made for one
  // copy costs several times the copy itself on some platforms, and the result is the same.
  if (DibHandle(bitmap)) GdiFlush();
  // The copied rows alone, described as a picture of their own, so no platform's way of
  // counting source rows (from the top or the bottom, by row order) comes into play.
  const bool topDown = bitmap.Stride() >= 0;
  const BITMAPINFO info = DibHeader(bitmap.Width(), s.Height(), bitmap.BytesPerPixel() * 8, topDown);
  const void* rows = bitmap.ScanLine(topDown ? s.Top : s.Bottom - 1);
  StretchDIBits(dc, x, y, s.Width(), s.Height(), s.Left, 0, s.Width(), s.Height(), rows, &info,
                DIB_RGB_COLORS, SRCCOPY);
}

void CopyDCToBitmap(TzkBitmap& bitmap, HDC dc, int x, int y) {
  if (bitmap.Empty()) return;
  GdiFlush();
  if (HBITMAP handle = DibHandle(bitmap)) {
    TBitmapDc target(handle, dc);
    if (target) {
      BitBlt(target.Get(), 0, 0, bitmap.Width(), bitmap.Height(), dc, x, y, SRCCOPY);
      GdiFlush();
      return;
    }
  }
  // Plain memory: go through a DIB section of the same layout.
  std::unique_ptr<TzkPixelStorage> temp =
      TzkDibStorage::Create(bitmap.Width(), bitmap.Height(), bitmap.PixelFormat(), TRowOrder::TopDown);
  if (!temp) return;
  {
    TBitmapDc target(static_cast<TzkDibStorage*>(temp.get())->Handle(), dc);
    if (!target) return;
    BitBlt(target.Get(), 0, 0, bitmap.Width(), bitmap.Height(), dc, x, y, SRCCOPY);
    GdiFlush();
  }
  const size_t rowBytes = size_t(bitmap.Width()) * size_t(bitmap.BytesPerPixel());
  for (int row = 0; row < bitmap.Height(); ++row)
    std::memcpy(bitmap.ScanLine(row), temp->Row0() + temp->Stride() * row, rowBytes);
}

void DrawOnBitmap(TzkBitmap& bitmap, const std::function<void(HDC)>& fn) {
  if (bitmap.Empty()) return;
  GdiFlush();
  if (HBITMAP own = DibHandle(bitmap)) {
    TBitmapDc dc(own);
    if (dc) {
      fn(dc.Get());
      GdiFlush();
      return;
    }
  }
  // Plain memory: draw on a DIB section holding a copy, then take the pixels back.
  std::unique_ptr<TzkPixelStorage> temp = TzkDibStorage::Create(
      bitmap.Width(), bitmap.Height(), bitmap.PixelFormat(), TRowOrder::TopDown);
  if (!temp) return;
  TBitmapDc dc(static_cast<TzkDibStorage*>(temp.get())->Handle());
  if (!dc) return;
  DrawBitmapToDC(dc.Get(), 0, 0, bitmap, TRect(0, 0, bitmap.Width(), bitmap.Height()));
  fn(dc.Get());
  CopyDCToBitmap(bitmap, dc.Get(), 0, 0);
}
