// The one bitmap type of the engine: width, height, pixel format (24-bit B-G-R or 32-bit
// B-G-R-A bytes), a row-0 pointer and a signed stride. Alpha is straight (not premultiplied).
//
//   row y starts at Row0() + y * Stride()     (Stride() < 0 for bottom-up storage)
//
// Storage is pluggable: plain memory by default; the Win32 build installs a factory that
// makes DIB sections for device bitmaps (TBitmapUse::Device: cache images and targets GDI
// draws text into or blits from), so GDI can work on them without copies. Skin images and
// paint temporaries stay in plain memory: no GDI object per bitmap. Code that needs the
// platform object asks Storage() and casts to the platform's storage class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

enum class TPixelFormat : uint8_t { pf24bit, pf32bit };

inline int BytesPerPixel(TPixelFormat pf) { return pf == TPixelFormat::pf32bit ? 4 : 3; }

enum class TRowOrder : uint8_t { TopDown, BottomUp };

// What a bitmap is for: Memory ones are always plain memory; Device ones use the installed
// platform storage when there is one.
enum class TBitmapUse : uint8_t { Memory, Device };

// One block of rows. Rows are padded to a multiple of 4 bytes, as device-independent
// bitmaps are; the padding is never part of a pixel.
class TzkPixelStorage {
 public:
  virtual ~TzkPixelStorage() = default;
  uint8_t* Row0() const { return row0_; }
  ptrdiff_t Stride() const { return stride_; }

 protected:
  uint8_t* row0_ = nullptr;
  ptrdiff_t stride_ = 0;
};

// Makes the storage for a device bitmap of the given size and format (width, height > 0).
// Returns nullptr when it cannot; the bitmap then throws std::bad_alloc.
using TzkStorageFactory = std::unique_ptr<TzkPixelStorage> (*)(int width, int height,
                                                                TPixelFormat format, TRowOrder order);
void SetBitmapStorageFactory(TzkStorageFactory factory);  // nullptr: plain memory
std::unique_ptr<TzkPixelStorage> NewMemoryStorage(int width, int height, TPixelFormat format,
                                                  TRowOrder order);

// Row stride in bytes of a device-independent bitmap row (4-byte aligned).
inline size_t DibRowBytes(int width, TPixelFormat format) {
  return (size_t(width) * size_t(BytesPerPixel(format)) + 3) & ~size_t(3);
}

// Largest bitmap the engine makes (bytes of pixel data); bigger requests throw
// std::length_error, so hostile sizes never reach the allocator.
constexpr size_t kMaxBitmapBytes = size_t(1) << 30;

class TzkBitmap {
 public:
  TzkBitmap() = default;
  TzkBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit,
            TRowOrder order = TRowOrder::TopDown, TBitmapUse use = TBitmapUse::Memory);
  TzkBitmap(TzkBitmap&&) noexcept = default;
  TzkBitmap& operator=(TzkBitmap&&) noexcept = default;
  TzkBitmap(const TzkBitmap&) = delete;
  TzkBitmap& operator=(const TzkBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  TPixelFormat PixelFormat() const { return format_; }
  TRowOrder RowOrder() const { return order_; }
  TBitmapUse Use() const { return use_; }
  int BytesPerPixel() const { return ::BytesPerPixel(format_); }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Changing the format converts the pixels (24 -> 32 gives alpha 0, as the platform's
  // conversion does; 32 -> 24 drops alpha). Changing the size keeps the overlapping pixels
  // and zeroes the rest. Both invalidate row pointers obtained before.
  void SetPixelFormat(TPixelFormat format);
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }

  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  // Address of row 1 minus address of row 0; 0 for an empty bitmap.
  ptrdiff_t Stride() const { return storage_ ? storage_->Stride() : 0; }
  uint8_t* Row0() const { return storage_ ? storage_->Row0() : nullptr; }

  TzkPixelStorage* Storage() const { return storage_.get(); }

  // Sets every pixel to the stored word (32-bit) or its low three bytes (24-bit).
  void Fill(uint32_t bgra);
  // A copy with the same size, format, row order, use and pixels.
  TzkBitmap Clone() const;
  void Assign(const TzkBitmap& source);

 private:
  void Reallocate(int width, int height, TPixelFormat format);

  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  TRowOrder order_ = TRowOrder::TopDown;
  TBitmapUse use_ = TBitmapUse::Memory;
  std::unique_ptr<TzkPixelStorage> storage_;
};

// Bitmaps made for composing: the pixel format is set first, then the size.
TzkBitmap NewBitmap24(int width, int height);
TzkBitmap NewBitmap32(int width, int height);
TzkBitmap NewBitmapLike(const TzkBitmap& like);
// A 24-bit device bitmap: one GDI draws into or blits from.
TzkBitmap NewDeviceBitmap24(int width, int height);
