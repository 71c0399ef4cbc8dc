// Small move-only owners of GDI handles used by the paint engine's Win32 side. The toolkit's
// canvas and GDI wrappers are meant to replace them once they exist; until then painting code
// uses these so that every handle it creates is released on every path.
#pragma once

#include <windows.h>

#include <utility>

// Owns an HGDIOBJ-derived handle (bitmap, font, brush, pen, region) and deletes it.
template <typename THandle>
class TzkGdiObject {
 public:
  TzkGdiObject() = default;
  explicit TzkGdiObject(THandle h) : handle_(h) {}
  ~TzkGdiObject() { Reset(); }
  TzkGdiObject(TzkGdiObject&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
  TzkGdiObject& operator=(TzkGdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      handle_ = std::exchange(o.handle_, nullptr);
    }
    return *this;
  }
  TzkGdiObject(const TzkGdiObject&) = delete;
  TzkGdiObject& operator=(const TzkGdiObject&) = delete;

  THandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  THandle Release() { return std::exchange(handle_, nullptr); }
  void Reset(THandle h = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = h;
  }

 private:
  THandle handle_ = nullptr;
};

// A memory device context compatible with `like` (the screen when null) with `bitmap`
// selected into it; the previous bitmap is selected back and the context deleted at the end.
class TzkMemoryDC {
 public:
  explicit TzkMemoryDC(HBITMAP bitmap, HDC like = nullptr)
      : dc_(CreateCompatibleDC(like)), old_(dc_ && bitmap ? SelectObject(dc_, bitmap) : nullptr) {}
  ~TzkMemoryDC() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  TzkMemoryDC(const TzkMemoryDC&) = delete;
  TzkMemoryDC& operator=(const TzkMemoryDC&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr && old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC on construction, RestoreDC on destruction: selections, clipping and colours set in
// between are undone.
class TzkSavedDC {
 public:
  explicit TzkSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~TzkSavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  TzkSavedDC(const TzkSavedDC&) = delete;
  TzkSavedDC& operator=(const TzkSavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// Owns an icon or cursor made with CreateIconIndirect and destroys it.
class TzkIcon {
 public:
  TzkIcon() = default;
  explicit TzkIcon(HICON h) : handle_(h) {}
  ~TzkIcon() { Reset(); }
  TzkIcon(TzkIcon&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
  TzkIcon& operator=(TzkIcon&& o) noexcept {
    if (this != &o) {
      Reset();
      handle_ = std::exchange(o.handle_, nullptr);
    }
    return *this;
  }
  TzkIcon(const TzkIcon&) = delete;
  TzkIcon& operator=(const TzkIcon&) = delete;

  HICON Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  HICON Release() { return std::exchange(handle_, nullptr); }
  void Reset(HICON h = nullptr) {
    if (handle_) DestroyIcon(handle_);
    handle_ = h;
  }

 private:
  HICON handle_ = nullptr;
};
