// Move-only owners of GDI and USER handles. Every handle the toolkit and the program create
// goes through one of these, so a handle is released exactly once and GDI objects can be
// counted (GdiObjectsAlive) by tests that look for leaks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace handles {

// Number of live GDI objects (fonts, brushes, pens, bitmaps and DIB sections, regions,
// memory device contexts), icons and image lists owned by the wrappers below: a handle
// counts from the moment the call that made it succeeded until the call that deletes it
// succeeds, so a failed delete keeps it counted.
long GdiObjectsAlive();
void CountGdiObject(int delta);

struct GdiObjectTraits {
  static void Close(HGDIOBJ h) { if (DeleteObject(h)) CountGdiObject(-1); }
  static void Opened() { CountGdiObject(+1); }
  static void Forgotten() { CountGdiObject(-1); }
};
struct IconTraits {
  static void Close(HICON h) { if (DestroyIcon(h)) CountGdiObject(-1); }
  static void Opened() { CountGdiObject(+1); }
  static void Forgotten() { CountGdiObject(-1); }
};
struct MemoryDcTraits {
  static void Close(HDC h) { if (DeleteDC(h)) CountGdiObject(-1); }
  static void Opened() { CountGdiObject(+1); }
  static void Forgotten() { CountGdiObject(-1); }
};
struct MenuTraits {
  static void Close(HMENU h) { DestroyMenu(h); }
  static void Opened() {}
  static void Forgotten() {}
};
struct WindowTraits {
  static void Close(HWND h) { DestroyWindow(h); }
  static void Opened() {}
  static void Forgotten() {}
};
struct ImageListTraits {
  static void Close(HIMAGELIST h) { if (ImageList_Destroy(h)) CountGdiObject(-1); }
  static void Opened() { CountGdiObject(+1); }
  static void Forgotten() { CountGdiObject(-1); }
};
struct FileTraits {
  static void Close(HANDLE h) { CloseHandle(h); }
  static void Opened() {}
  static void Forgotten() {}
};

}  // namespace handles

// Owns one handle of type H; closes it with Traits::Close. Null means empty.
template <typename H, typename Traits>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H h) : h_(h) {
    if (h_) Traits::Opened();
  }
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H())) {}
  TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, H());
    }
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != H(); }
  // Gives the handle up without closing it.
  H Release() {
    if (h_) Traits::Forgotten();
    H h = std::exchange(h_, H());
    return h;
  }
  void Reset(H h = H()) {
    if (h_) Traits::Close(h_);
    h_ = h;
    if (h_) Traits::Opened();
  }

 private:
  H h_ = H();
};

using TFontHandle = TUniqueHandle<HFONT, handles::GdiObjectTraits>;
using TBrushHandle = TUniqueHandle<HBRUSH, handles::GdiObjectTraits>;
using TPenHandle = TUniqueHandle<HPEN, handles::GdiObjectTraits>;
using TBitmapHandle = TUniqueHandle<HBITMAP, handles::GdiObjectTraits>;
using TRegionHandle = TUniqueHandle<HRGN, handles::GdiObjectTraits>;
using TIconHandle = TUniqueHandle<HICON, handles::IconTraits>;
using TMemoryDcHandle = TUniqueHandle<HDC, handles::MemoryDcTraits>;
using TMenuHandle = TUniqueHandle<HMENU, handles::MenuTraits>;
using TWindowHandle = TUniqueHandle<HWND, handles::WindowTraits>;
using TImageListHandle = TUniqueHandle<HIMAGELIST, handles::ImageListTraits>;
using TFileHandle = TUniqueHandle<HANDLE, handles::FileTraits>;

// The header of a device-independent bitmap with uncompressed rows of bitCount bits per pixel:
// top-down (its height stored negative) unless topDown is false.
BITMAPINFO DibHeader(int width, int height, int bitCount = 32, bool topDown = true);
// A DIB section of that shape, its first stored row at `bits`; null (and `bits` null) when
// the system cannot make it.
TBitmapHandle NewDibSection(int width, int height, void*& bits, int bitCount = 32, bool topDown = true);

// A device context obtained with GetDC / GetWindowDC, released with ReleaseDC.
class TWindowDc {
 public:
  explicit TWindowDc(HWND wnd, bool wholeWindow = false)
      : wnd_(wnd), dc_(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
  ~TWindowDc() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// The device context a WM_PAINT paints into: the one the message brings (a window painted
// into someone else's context) or, when it brings none, BeginPaint's, ended with EndPaint
// however the painting ends (a throw included). Move-only.
class TPaintScope {
 public:
  explicit TPaintScope(HWND wnd, WPARAM given = 0) : wnd_(wnd), ps_() {
    if (given) {
      dc_ = HDC(given);
    } else {
      dc_ = BeginPaint(wnd_, &ps_);
      began_ = dc_ != nullptr;
    }
  }
  ~TPaintScope() {
    if (began_) EndPaint(wnd_, &ps_);
  }
  TPaintScope(TPaintScope&& o) noexcept
      : wnd_(o.wnd_), ps_(o.ps_), dc_(o.dc_), began_(std::exchange(o.began_, false)) {}
  TPaintScope& operator=(TPaintScope&&) = delete;
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  HDC Dc() const { return dc_; }
  // True when this scope began the painting (the message brought no context).
  bool Began() const { return began_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_;
  HDC dc_ = nullptr;
  bool began_ = false;
};

// Selects an object into a device context and puts the previous one back on destruction.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~TSelectObject() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory device context compatible with `like` (the screen when null) with `bitmap`
// selected into it; the previous bitmap is selected back and the context deleted at the end.
class TBitmapDc {
 public:
  explicit TBitmapDc(HBITMAP bitmap, HDC like = nullptr)
      : dc_(CreateCompatibleDC(like)),
        old_(dc_ && bitmap ? SelectObject(dc_.Get(), bitmap) : nullptr) {}
  ~TBitmapDc() {
    if (dc_ && old_) SelectObject(dc_.Get(), old_);
  }
  TBitmapDc(const TBitmapDc&) = delete;
  TBitmapDc& operator=(const TBitmapDc&) = delete;

  HDC Get() const { return dc_.Get(); }
  // False when the context could not be made or the bitmap could not be selected.
  explicit operator bool() const { return dc_ && old_; }

 private:
  TMemoryDcHandle dc_;
  HGDIOBJ old_;
};

// Saves a device context's state and restores it on destruction.
class TSaveDc {
 public:
  explicit TSaveDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~TSaveDc() {
    if (id_) RestoreDC(dc_, id_);
  }
  TSaveDc(const TSaveDc&) = delete;
  TSaveDc& operator=(const TSaveDc&) = delete;

 private:
  HDC dc_;
  int id_;
};
