#include "skin/windows/zkLayeredWindow.h"

#include <algorithm>
#include <memory>

#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

bool ShowPremultipliedOnLayeredWindow(HWND wnd, const TzkBitmap& premultiplied, const POINT* at,
                                      uint8_t alpha) {
  const TUpdateLayeredWindowProc update = UpdateLayeredWindowProc();
  if (!update || premultiplied.Empty() || premultiplied.BytesPerPixel() != 4) return false;
  const int w = premultiplied.Width(), h = premultiplied.Height();
  HBITMAP handle = DibHandle(premultiplied);
  // The window needs a section: a bitmap in plain memory is copied into one of its own.
  std::unique_ptr<TzkPixelStorage> own;
  if (handle) {
    GdiFlush();
  } else {
    own = TzkDibStorage::Create(w, h, TPixelFormat::pf32bit, TRowOrder::TopDown);
    auto* dib = dynamic_cast<TzkDibStorage*>(own.get());
    if (!dib) return false;
    for (int y = 0; y < h; ++y)
      std::copy_n(premultiplied.ScanLine(y), size_t(w) * 4, dib->Row0() + y * dib->Stride());
    handle = dib->Handle();
  }
  TBitmapDc source(handle);
  if (!source) return false;
  TWindowDc screen(nullptr);
  SIZE size = {w, h};
  POINT origin = {0, 0};
  POINT where = at ? *at : POINT{0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return update(wnd, screen.Get(), at ? &where : nullptr, &size, source.Get(), &origin, 0, &blend,
                ULW_ALPHA) != FALSE;
}

bool ShowOnLayeredWindow(HWND wnd, const TzkBitmap& straight, const TRect& part, const POINT* at,
                         uint8_t alpha) {
  if (straight.Empty() || part.Width() <= 0 || part.Height() <= 0) return false;
  TzkBitmap premultiplied(part.Width(), part.Height(), TPixelFormat::pf32bit, TRowOrder::TopDown,
                          TBitmapUse::Device);
  premultiplied.Fill(0);
  CopyPremultiplied(premultiplied, straight, part);
  return ShowPremultipliedOnLayeredWindow(wnd, premultiplied, at, alpha);
}
