#include "skin/windows/sTitleButtons.h"

#include <algorithm>

#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"

namespace {

constexpr int kFadeSteps = 10;
constexpr wchar_t kOverlayClass[] = L"TzkTitleOverlay";

HWND CreateOverlayWindow(HWND owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOverlayClass;
    registered = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                         kOverlayClass, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TzkTitleButton::TzkTitleButton() = default;
TzkTitleButton::~TzkTitleButton() = default;
TzkTitleButton::TzkTitleButton(TzkTitleButton&&) noexcept = default;
TzkTitleButton& TzkTitleButton::operator=(TzkTitleButton&&) noexcept = default;

TzkSBAnimation::TzkSBAnimation(TsSkinProvider& provider, int button)
    : provider_(provider), button_(button), timer_(nullptr) {
  timer_.SetEnabled(false);
  timer_.SetInterval(kInterval);
  timer_.OnTimer = [this](TObject*) { Tick(); };
}

TzkSBAnimation::~TzkSBAnimation() { timer_.SetEnabled(false); }

void TzkSBAnimation::ChangeState(int state) {
  const bool first = stepCount_ == 0 && !overlay_;
  fadeIn_ = state != kButtonNormal;
  stepCount_ = state == kButtonPressed ? 1 : kFadeSteps;
  done_ = false;
  if (fadeIn_) {
    if (first || state == kButtonPressed) step_ = 1;
    Render(state);
  }
  if (first) {
    if (!fadeIn_) {
      Free();
      return;
    }
    Show(uint8_t(std::min(255, 255 / stepCount_ * step_)));
  }
  if (stepCount_ > 1 || !fadeIn_) {
    timer_.SetEnabled(true);
  } else {
    Show(255);
    done_ = true;
    timer_.SetEnabled(false);
  }
}

void TzkSBAnimation::Tick() {
  const int stepAlpha = 255 / std::max(1, stepCount_);
  if (fadeIn_) {
    if (!done_) {
      if (step_ >= stepCount_) {
        Show(255);
        done_ = true;
        return;
      }
      Show(uint8_t(std::min(255, stepAlpha * step_)));
      ++step_;
      return;
    }
    if (!PointerInside()) {
      timer_.SetEnabled(false);
      if (HWND wnd = provider_.Form()->WindowHandle()) PostMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    }
    return;
  }
  if (step_ <= 0) {
    Free();
    return;
  }
  Show(uint8_t(std::min(255, stepAlpha * step_)));
  --step_;
}

bool TzkSBAnimation::PointerInside() const {
  POINT p;
  GetCursorPos(&p);
  RECT wr;
  GetWindowRect(provider_.Form()->WindowHandle(), &wr);
  return provider_.Button(button_).Rect.Contains(TPoint{p.x - wr.left, p.y - wr.top});
}

// The overlay image: the title background under the button from the saved title band with
// the button's glyph in the target state drawn opaque over it, every pixel fully opaque.
void TzkSBAnimation::Render(int state) {
  const TzkBitmap* band = provider_.TitleBand();
  const TRect r = provider_.Button(button_).Rect;
  if (!band || r.Width() <= 0 || r.Height() <= 0) return;
  TzkBitmap work(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y) {
    uint8_t* d = work.ScanLine(y);
    const int sy = r.Top + y;
    for (int x = 0; x < r.Width(); ++x) {
      const int sx = r.Left + x;
      if (sy >= 0 && sy < band->Height() && sx >= 0 && sx < band->Width())
        std::copy_n(band->ScanLine(sy) + sx * 3, 3, d + x * 3);
    }
  }
  provider_.DrawButtonGlyph(work, button_, state, TPoint{0, 0});
  image_ = std::make_unique<TzkBitmap>(r.Width(), r.Height(), TPixelFormat::pf32bit,
                                       TRowOrder::TopDown, TBitmapUse::Device);
  for (int y = 0; y < r.Height(); ++y) {
    const uint8_t* s = work.ScanLine(y);
    uint8_t* d = image_->ScanLine(y);
    for (int x = 0; x < r.Width(); ++x) {
      d[x * 4] = s[x * 3];
      d[x * 4 + 1] = s[x * 3 + 1];
      d[x * 4 + 2] = s[x * 3 + 2];
      d[x * 4 + 3] = 255;
    }
  }
  overlayRect_ = r;
  shownState_ = state;
}

void TzkSBAnimation::Show(uint8_t alpha) {
  HWND form = provider_.Form()->WindowHandle();
  if (!image_ || !form) return;
  if (!overlay_) overlay_.Reset(CreateOverlayWindow(form));
  if (!overlay_) return;
  RECT wr;
  GetWindowRect(form, &wr);
  POINT at = {wr.left + overlayRect_.Left, wr.top + overlayRect_.Top};
  SIZE size = {image_->Width(), image_->Height()};
  POINT origin = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  TBitmapDc dc(DibHandle(*image_));
  if (!dc) return;
  if (!IsWindowVisible(overlay_.Get())) {
    SetWindowPos(overlay_.Get(), HWND_TOP, at.x, at.y, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  UpdateLayeredWindow(overlay_.Get(), nullptr, &at, &size, dc.Get(), &origin, 0, &blend, ULW_ALPHA);
  if (!IsWindowVisible(overlay_.Get())) ShowWindow(overlay_.Get(), SW_SHOWNOACTIVATE);
  lastAlpha_ = alpha;
}

void TzkSBAnimation::Free() {
  timer_.SetEnabled(false);
  overlay_.Reset();
  image_.reset();
  shownState_ = -1;
  step_ = 0;
  stepCount_ = 0;
  lastAlpha_ = 0;
  provider_.AnimationFinished(button_);
}
