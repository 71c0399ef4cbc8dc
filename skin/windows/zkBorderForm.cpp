#include "skin/windows/zkBorderForm.h"

#include <algorithm>

#include "skin/data/sSkinManager.h"
#include "skin/paint/zkBlit.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Handles.h"

// [SECTION] The window

TzkBorderForm::TzkBorderForm(TComponent* owner) : TCustomForm(owner) {
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetBorderIcons(0);
  SetTag(-98);
  SetVisible(false);
}

void TzkBorderForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST:
      m.Result = HTTRANSPARENT;
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomForm::WndProc(m);
  }
}

// [SECTION] Rendering

TzkBitmap RenderShadowBorder(const TzkBitmap& shadow, const TRect& margins, int formWidth,
                             int formHeight) {
  const int w = formWidth + margins.Left + margins.Right;
  const int h = formHeight + margins.Top + margins.Bottom;
  TzkBitmap out = NewBitmap32(std::max(w, 0), std::max(h, 0));
  if (out.Empty()) return out;
  out.Fill(0);
  const int sw = shadow.Width(), sh = shadow.Height();
  if (sw <= 0 || sh <= 0) return out;
  // Corner parts as wide as the margins, never more than half the image.
  const int l = std::min(margins.Left, sw / 2), r = std::min(margins.Right, sw - sw / 2);
  const int t = std::min(margins.Top, sh / 2), b = std::min(margins.Bottom, sh - sh / 2);
  const int xs[4] = {0, l, sw - r, sw}, ys[4] = {0, t, sh - b, sh};
  const int xd[4] = {0, std::min(l, w), std::max(w - r, 0), w};
  const int yd[4] = {0, std::min(t, h), std::max(h - b, 0), h};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      if (!(i == 1 && j == 1))
        StretchCopy(out, TRect(xd[i], yd[j], xd[i + 1], yd[j + 1]), shadow,
                    TRect(xs[i], ys[j], xs[i + 1], ys[j + 1]));
  // Nothing of the shadow under the form: its own corners show what lies behind.
  for (int y = margins.Top; y < margins.Top + formHeight && y < h; ++y) {
    uint8_t* row = out.ScanLine(y);
    for (int x = margins.Left; x < margins.Left + formWidth && x < w; ++x)
      row[x * 4] = row[x * 4 + 1] = row[x * 4 + 2] = row[x * 4 + 3] = 0;
  }
  return out;
}

// [SECTION] Following the form

TzkExtBorder::TzkExtBorder(HWND form, TsSkinManager* manager) : form_(form), manager_(manager) {
  window_ = new TzkBorderForm(nullptr);
  HWND wnd = window_->Handle();
  SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED |
                                       WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
}

TzkExtBorder::~TzkExtBorder() {
  if (HWND wnd = window_->WindowHandle()) ShowWindow(wnd, SW_HIDE);
  delete window_;
}

HWND TzkExtBorder::Window() const { return window_->WindowHandle(); }

void TzkExtBorder::Render() {
  const TsShadowImages& s = manager_->ShadowImages();
  RECT r;
  GetWindowRect(form_, &r);
  size_ = TPoint{r.right - r.left, r.bottom - r.top};
  image_ = RenderShadowBorder(active_ ? s.Active : s.Inactive, s.Margins, size_.X, size_.Y);
}

void TzkExtBorder::Update(uint8_t alpha) {
  if (image_.Empty() || !UpdateLayeredWindowProc()) return;
  const int w = image_.Width(), h = image_.Height();
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
    const uint8_t* s = image_.ScanLine(y);
    uint8_t* p = static_cast<uint8_t*>(bits) + size_t(y) * size_t(w) * 4;
    for (int x = 0; x < w; ++x, p += 4, s += 4) {
      for (int c = 0; c < 3; ++c) p[c] = uint8_t((s[c] * s[3] + 127) / 255);
      p[3] = s[3];
    }
  }
  const TRect& m = manager_->ShadowImages().Margins;
  RECT r;
  GetWindowRect(form_, &r);
  POINT at = {r.left - m.Left, r.top - m.Top};
  SIZE size = {w, h};
  POINT src = {0, 0};
  TBitmapDc source(dib.Get());
  TWindowDc screen(nullptr);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  UpdateLayeredWindowProc()(Window(), screen.Get(), &at, &size, source.Get(), &src, 0, &blend,
                            ULW_ALPHA);
}

void TzkExtBorder::Follow() {
  if (!IsWindow(form_) || !IsWindowVisible(form_) || IsIconic(form_) || IsZoomed(form_)) {
    Hide();
    return;
  }
  RECT r;
  GetWindowRect(form_, &r);
  if (image_.Empty() || r.right - r.left != size_.X || r.bottom - r.top != size_.Y) Render();
  Update(255);
  // Just behind the form, never activated.
  SetWindowPos(Window(), form_, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void TzkExtBorder::Refresh(bool active) {
  active_ = active;
  image_ = TzkBitmap();
  Follow();
}

void TzkExtBorder::Hide() {
  if (IsWindowVisible(Window())) ShowWindow(Window(), SW_HIDE);
}

void TzkExtBorder::SetAlpha(uint8_t alpha) {
  if (image_.Empty()) Render();
  Update(alpha);
}
