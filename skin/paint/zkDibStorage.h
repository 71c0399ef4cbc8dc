// Bitmap storage in a DIB section, so GDI can draw text and icons into an engine bitmap and
// blit it to a window without copying. The program installs the factory at start for device
// bitmaps (TBitmapUse::Device); other bitmaps, and those made before, keep plain memory, and
// the helpers below handle both kinds.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Handles.h"

class TzkDibStorage final : public TzkPixelStorage {
 public:
  // Null when the system cannot make the section.
  static std::unique_ptr<TzkPixelStorage> Create(int width, int height, TPixelFormat format,
                                                 TRowOrder order);
  ~TzkDibStorage() override;
  TzkDibStorage(const TzkDibStorage&) = delete;
  TzkDibStorage& operator=(const TzkDibStorage&) = delete;

  HBITMAP Handle() const { return bitmap_.Get(); }

 private:
  TzkDibStorage() = default;
  TBitmapHandle bitmap_;
};

// Makes every device bitmap created from now on a DIB section (SetBitmapStorageFactory).
void InstallDibBitmapStorage();

// The DIB section behind a bitmap, or null when its storage is plain memory.
HBITMAP DibHandle(const TzkBitmap& bitmap);

// The header describing a bitmap's rows as a device-independent bitmap (height negative for
// top-down rows), and the address of its first stored row.
BITMAPINFO DibInfo(const TzkBitmap& bitmap);
const void* DibBits(const TzkBitmap& bitmap);

// Copies srcRect of the bitmap to (x, y) of the device context.
void DrawBitmapToDC(HDC dc, int x, int y, const TzkBitmap& bitmap, const TRect& srcRect);
// Copies the context's pixels at (x, y) into the whole bitmap.
void CopyDCToBitmap(TzkBitmap& bitmap, HDC dc, int x, int y);

// Runs fn with a device context that draws into the bitmap (its own DIB section, or a
// temporary one whose pixels are copied back).
void DrawOnBitmap(TzkBitmap& bitmap, const std::function<void(HDC)>& fn);
