#include "skin/windows/zkGlowEffect.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "skin/data/sSkinManager.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

// [SECTION] The glow window

TzkGlowForm::TzkGlowForm(TComponent* owner) : TCustomForm(owner) {
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetBorderIcons(0);
  SetTag(-98);
  SetVisible(false);
}

void TzkGlowForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST:
      m.Result = HTTRANSPARENT;  // clicks reach the windows below
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomForm::WndProc(m);
  }
}

TUpdateLayeredWindowProc UpdateLayeredWindowProc() {
  static const TUpdateLayeredWindowProc proc = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<TUpdateLayeredWindowProc>(
                      reinterpret_cast<void*>(GetProcAddress(user, "UpdateLayeredWindow")))
                : nullptr;
  }();
  return proc;
}

// [SECTION] Rendering

namespace {

// Frame 0 of the mask as 32-bit pixels with straight alpha: a 32-bit picture keeps its alpha,
// a picture over its mask (MaskType 1) takes 255 - mask, and a plain one is opaque except
// where it is the key colour.
TzkBitmap GlowFrame(const TsMaskData& mask, const TzkBitmap& image) {
  const int fw = mask.Rect.Width() / std::max<int>(mask.ImageCount, 1);
  const int fh = mask.Rect.Height() / (mask.MaskType + 1);
  TzkBitmap frame = NewBitmap32(std::max(fw, 0), std::max(fh, 0));
  if (frame.Empty()) return frame;
  const int n = image.BytesPerPixel();
  for (int y = 0; y < fh; ++y) {
    const int sy = mask.Rect.Top + y;
    if (sy < 0 || sy >= image.Height()) continue;
    const uint8_t* s = image.ScanLine(sy);
    const int my = sy + fh;
    const uint8_t* ms = mask.MaskType == 1 && my < image.Height() ? image.ScanLine(my) : nullptr;
    uint8_t* d = frame.ScanLine(y);
    for (int x = 0; x < fw; ++x) {
      const int sx = mask.Rect.Left + x;
      if (sx < 0 || sx >= image.Width()) continue;
      const uint8_t* p = s + sx * n;
      uint8_t a = 255;
      if (n == 4) a = p[3];
      else if (ms) a = uint8_t(255 - ms[sx * n]);
      else if (p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF) a = 0;
      d[x * 4] = p[0];
      d[x * 4 + 1] = p[1];
      d[x * 4 + 2] = p[2];
      d[x * 4 + 3] = a;
    }
  }
  return frame;
}

int BorderOr(int width, int fallback, int frameSize) {
  if (width > 0) return width;
  if (fallback > 0) return fallback;
  return frameSize / 2;
}

}  // namespace

TzkBitmap GlowImageFrame(const TsMaskData& mask) {
  const TzkBitmap* image = MaskSourceImage(mask);
  return image ? GlowFrame(mask, *image) : TzkBitmap();
}

TRect RenderGlowImage(TzkBitmap& out, const TsMaskData& mask, int controlWidth, int controlHeight,
                      int margin) {
  const TzkBitmap* image = MaskSourceImage(mask);
  if (!image) return TRect();
  TzkBitmap frame = GlowFrame(mask, *image);
  const int fw = frame.Width(), fh = frame.Height();
  const int wl = std::min(BorderOr(mask.WL, mask.BorderWidth, fw), fw);
  const int wt = std::min(BorderOr(mask.WT, mask.BorderWidth, fh), fh);
  const int wr = std::min(BorderOr(mask.WR, mask.BorderWidth, fw), fw - wl);
  const int wb = std::min(BorderOr(mask.WB, mask.BorderWidth, fh), fh - wt);
  const int w = controlWidth + wl + wr - 2 * margin;
  const int h = controlHeight + wt + wb - 2 * margin;
  out = NewBitmap32(std::max(w, 0), std::max(h, 0));
  if (out.Empty() || frame.Empty()) return TRect(wl, wt, wr, wb);
  out.Fill(0);
  const int xs[4] = {0, wl, fw - wr, fw}, ys[4] = {0, wt, fh - wb, fh};
  const int xd[4] = {0, std::min(wl, w), std::max(w - wr, 0), w};
  const int yd[4] = {0, std::min(wt, h), std::max(h - wb, 0), h};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      StretchCopy(out, TRect(xd[i], yd[j], xd[i + 1], yd[j + 1]), frame,
                  TRect(xs[i], ys[j], xs[i + 1], ys[j + 1]));
  return TRect(wl, wt, wr, wb);
}

// [SECTION] The glow list

namespace {

class TzkGlowEffect {
 public:
  TzkGlowEffect(TsSkinManager* manager, int maskIndex, int margin)
      : manager_(manager), maskIndex_(maskIndex), margin_(margin) {}
  ~TzkGlowEffect() {
    if (!window_) return;
    if (HWND wnd = window_->WindowHandle()) ShowWindow(wnd, SW_HIDE);
    if (manager_ && manager_->IsDestroying()) {
      delete window_;
    } else {
      window_->Release();
    }
  }
  TzkGlowEffect(const TzkGlowEffect&) = delete;
  TzkGlowEffect& operator=(const TzkGlowEffect&) = delete;

  void Show(const TRect& control, const TRect& visible, HWND owner, uint8_t alpha);
  HWND Window() const { return window_ ? window_->WindowHandle() : nullptr; }

 private:
  TsSkinManager* manager_;
  int maskIndex_;
  int margin_;
  TzkGlowForm* window_ = nullptr;
};

std::vector<std::unique_ptr<TzkGlowEffect>>& Glows() {
  static std::vector<std::unique_ptr<TzkGlowEffect>> glows;
  return glows;
}

// The cuts (left, top, right, bottom) that leave only the glow around the visible part.
TRect GlowCuts(const TRect& borders, int cw, int ch, const TRect& v, int w, int h, int m) {
  TRect cut;
  if (v.Width() >= cw && v.Height() >= ch) return cut;
  cut.Left = v.Left != 0 ? borders.Left + v.Left - m : 0;
  cut.Top = v.Top != 0 ? borders.Top + v.Top - m : 0;
  if (v.Right < cw)
    cut.Right = cut.Left ? w - cut.Left - v.Width() : cw + borders.Right - v.Width() - m;
  if (v.Bottom < ch)
    cut.Bottom = cut.Top ? h - cut.Top - v.Height() : ch + borders.Bottom - v.Height() - m;
  return cut;
}

void TzkGlowEffect::Show(const TRect& control, const TRect& visible, HWND owner, uint8_t alpha) {
  const TsMaskData& mask = manager_->Tables().Masks[size_t(maskIndex_)];
  TzkBitmap image;
  const TRect borders = RenderGlowImage(image, mask, control.Width(), control.Height(), margin_);
  if (image.Empty()) return;
  int w = image.Width(), h = image.Height();
  const TRect cut = GlowCuts(borders, control.Width(), control.Height(), visible, w, h, margin_);
  w -= cut.Left + cut.Right;
  h -= cut.Top + cut.Bottom;
  if (w <= 0 || h <= 0) return;
  // The layered window takes premultiplied alpha from a top-down 32-bit DIB section.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return;
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = image.ScanLine(cut.Top + y) + cut.Left * 4;
    uint8_t* p = static_cast<uint8_t*>(bits) + size_t(y) * size_t(w) * 4;
    for (int x = 0; x < w; ++x, p += 4, s += 4) {
      for (int c = 0; c < 3; ++c) p[c] = uint8_t((s[c] * s[3] + 127) / 255);
      p[3] = s[3];
    }
  }
  window_ = new TzkGlowForm(nullptr);
  HWND wnd = window_->Handle();
  const int x = control.Left + cut.Left + margin_ - borders.Left;
  const int y = control.Top + cut.Top + margin_ - borders.Top;
  const bool topmost = owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(wnd, topmost ? HWND_TOPMOST : nullptr, x, y, w, h,
               SWP_NOACTIVATE | (topmost ? 0 : SWP_NOZORDER));
  SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED |
                                       WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  TBitmapDc source(dib.Get());
  TWindowDc screen(nullptr);
  POINT srcPoint = {0, 0};
  SIZE size = {w, h};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  UpdateLayeredWindowProc()(wnd, screen.Get(), nullptr, &size, source.Get(), &srcPoint, 0, &blend,
                            ULW_ALPHA);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

}  // namespace

int ShowGlowEffect(const TRect& controlOnScreen, const TRect& visiblePart, const std::string& section,
                   TsSkinManager* manager, HWND owner, uint8_t alpha, int margin,
                   const std::string& key) {
  if (!UpdateLayeredWindowProc()) return -1;
  if (!manager) manager = DefaultManager();
  if (!manager) return -1;
  const int sectionIndex = manager->IndexOfSection(section);
  const int mask = manager->IndexOfMask(sectionIndex, section, key + "0");
  if (!manager->IsValidMask(mask)) return -1;
  auto glow = std::make_unique<TzkGlowEffect>(manager, mask, margin);
  glow->Show(controlOnScreen, visiblePart, owner, alpha);
  Glows().push_back(std::move(glow));
  return int(Glows().size()) - 1;
}

void CloseGlowEffect(int id) {
  auto& glows = Glows();
  if (id < 0 || id >= int(glows.size())) return;
  glows[size_t(id)].reset();
  while (!glows.empty() && !glows.back()) glows.pop_back();
}

void CloseAllGlowEffects() {
  auto glows = std::move(Glows());
  Glows().clear();
  glows.clear();
}

HWND GlowEffectWindow(int id) {
  const auto& glows = Glows();
  if (id < 0 || id >= int(glows.size()) || !glows[size_t(id)]) return nullptr;
  return glows[size_t(id)]->Window();
}
