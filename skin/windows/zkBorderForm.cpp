#include "skin/windows/zkBorderForm.h"

#include <algorithm>
#include <memory>

#include "skin/data/sFormTransition.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/zkDibStorage.h"
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
      m.Result = 0;
      if (OnHitTest) OnHitTest(m);
      if (m.Result == 0) m.Result = HTTRANSPARENT;
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

TzkExtBorder::TzkExtBorder(HWND form, TsSkinView* manager) : form_(form), manager_(manager) {
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

void TzkExtBorder::SetHitTest(std::function<void(TMessage&)> handler) {
  HWND wnd = window_->Handle();
  const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE);
  // A window transparent to the mouse is never asked.
  SetWindowLongW(wnd, GWL_EXSTYLE, handler ? ex & ~WS_EX_TRANSPARENT : ex | WS_EX_TRANSPARENT);
  window_->OnHitTest = std::move(handler);
}

void TzkExtBorder::Render() {
  const TsShadowImages& s = manager_->ShadowImages();
  RECT r;
  GetWindowRect(form_, &r);
  size_ = TPoint{r.right - r.left, r.bottom - r.top};
  image_ = RenderShadowBorder(active_ ? s.Active : s.Inactive, s.Margins, size_.X, size_.Y);
}

void ShowLayeredImage(HWND wnd, const TzkBitmap& image, POINT at, uint8_t alpha) {
  ShowOnLayeredWindow(wnd, image, TRect(0, 0, image.Width(), image.Height()), &at, alpha);
}

void TzkExtBorder::Update(uint8_t alpha) {
  const TRect& m = manager_->ShadowImages().Margins;
  RECT r;
  GetWindowRect(form_, &r);
  ShowLayeredImage(Window(), image_, POINT{r.left - m.Left, r.top - m.Top}, alpha);
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

// [SECTION] The skin-changing cross-fade

namespace {

// The form's alpha-blend value: 255 when it does not blend.
uint8_t FormAlpha(HWND form) {
  BYTE alpha = 255;
  DWORD flags = 0;
  if ((GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_LAYERED) &&
      GetLayeredWindowAttributes(form, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
    return alpha;
  return 255;
}

// Gives the form its alpha back; a form that was not layered stops being layered.
void RestoreFormAlpha(HWND form, LONG exStyle, uint8_t alpha) {
  if (exStyle & WS_EX_LAYERED)
    SetLayeredWindowAttributes(form, 0, alpha, LWA_ALPHA);
  else
    SetWindowLongW(form, GWL_EXSTYLE, exStyle);
}

}  // namespace

// The new shadow with the form's new look printed over its place, opaque inside the form's
// window region and transparent outside it.
TzkBitmap TzkExtBorder::NewLookWithBorder() {
  Render();
  TzkBitmap look = image_.Clone();
  const TRect& m = manager_->ShadowImages().Margins;
  const int w = size_.X, h = size_.Y;
  if (look.Empty() || w <= 0 || h <= 0) return look;
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  if (!dc) return look;
  PrintWindowTree(form_, dc.Get());
  TzkBitmap printed = NewBitmap24(w, h);
  CopyDCToBitmap(printed, dc.Get(), 0, 0);
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  const bool hasRegion = rgn && GetWindowRgn(form_, rgn.Get()) > NULLREGION;
  for (int y = 0; y < h && y + m.Top < look.Height(); ++y) {
    const uint8_t* s = printed.ScanLine(y);
    uint8_t* d = look.ScanLine(y + m.Top) + m.Left * 4;
    for (int x = 0; x < w && x + m.Left < look.Width(); ++x, d += 4, s += 3) {
      if (hasRegion && !PtInRegion(rgn.Get(), x, y)) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = 255;
    }
  }
  return look;
}

void TzkExtBorder::SwitchLook(uint16_t time) {
  if (!IsWindow(form_) || !UpdateLayeredWindowProc()) return;
  const LONG exStyle = GetWindowLongW(form_, GWL_EXSTYLE);
  const uint8_t saved = FormAlpha(form_);
  zkSkinAnimating = true;
  SetWindowLongW(form_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  SetLayeredWindowAttributes(form_, 0, 1, LWA_ALPHA);
  const TzkBitmap look = NewLookWithBorder();
  const TRect& m = manager_->ShadowImages().Margins;
  RECT r;
  GetWindowRect(form_, &r);
  const POINT at = {r.left - m.Left, r.top - m.Top};
  // The temporary window lies just above the form (stays on top with a topmost form).
  std::unique_ptr<TzkBorderForm> temp(new TzkBorderForm(nullptr));
  HWND tw = temp->Handle();
  SetWindowLongW(tw, GWL_EXSTYLE, GetWindowLongW(tw, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TOOLWINDOW |
                                      WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  const bool topmost = exStyle & WS_EX_TOPMOST;
  HWND above = GetWindow(form_, GW_HWNDPREV);
  SetWindowPos(tw, topmost ? HWND_TOPMOST : (above ? above : HWND_TOP), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const int steps = time / 8;
  ShowLayeredImage(tw, look, at, steps > 0 ? 0 : saved);
  ShowWindow(tw, SW_SHOWNOACTIVATE);
  if (steps > 0) {
    const int d = std::max(saved / steps, 1);
    for (int i = 0, alpha = 0; i <= steps; ++i) {
      alpha = std::min(alpha + d, int(saved));
      ShowLayeredImage(tw, look, at, uint8_t(alpha));
      GdiFlush();
      Sleep(8);
    }
  }
  Hide();
  Update(saved);
  zkSkinAnimating = false;
  RestoreFormAlpha(form_, exStyle, saved);
  SendMessageW(form_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(form_, nullptr, nullptr,
               RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ShowWindow(tw, SW_HIDE);
  temp.reset();
  Follow();
}
