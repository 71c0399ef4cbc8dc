// A 32-bit top-down device-independent bitmap with its own memory device context and
// canvas, so it can be drawn on with GDI and read or written pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  TBitmap(TBitmap&&) = default;
  TBitmap& operator=(TBitmap&&) = default;

  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Whether drawing blends through the alpha byte (premultiplied B-G-R-A).
  bool AlphaChannel() const { return alpha_; }
  void SetAlphaChannel(bool alpha) { alpha_ = alpha; }

  HBITMAP Handle() const { return bitmap_.Get(); }
  HDC Dc() const { return dc_.Get(); }
  TCanvas& Canvas() { return *canvas_; }
  uint32_t* ScanLine(int y) const { return bits_ + size_t(y) * size_t(width_); }

 private:
  int width_ = 0;
  int height_ = 0;
  bool alpha_ = false;
  uint32_t* bits_ = nullptr;
  // Declared in release order: canvas first, then the context, then the bitmap.
  TBitmapHandle bitmap_;
  TMemoryDcHandle dc_;
  struct CanvasDeleter {
    HDC dc;
    HGDIOBJ old;
    void operator()(TCanvas* c) const;
  };
  std::unique_ptr<TCanvas, CanvasDeleter> canvas_;
};
