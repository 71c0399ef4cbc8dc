#include "skin/windows/sTitleButtons.h"

#include <algorithm>

#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkGlowImage.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/zkLayeredWindow.h"
#include "skin/windows/zkTitleBar.h"

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

// A menu caption as a plain name: the text before its shortcut, without accelerator marks
// ("&&" stands for one "&").
std::wstring PlainMenuName(const std::wstring& caption) {
  const std::wstring text = caption.substr(0, caption.find(L'\t'));
  std::wstring name;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && ++i >= text.size()) break;
    name += text[i];
  }
  return name;
}

}  // namespace

TzkTitleButton::TzkTitleButton() = default;
TzkTitleButton::~TzkTitleButton() = default;
TzkTitleButton::TzkTitleButton(TzkTitleButton&&) noexcept = default;
TzkTitleButton& TzkTitleButton::operator=(TzkTitleButton&&) noexcept = default;

TzkSBAnimation::TzkSBAnimation(TzkTitleBar& bar, int button)
    : bar_(bar), button_(button), timer_(nullptr) {
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
      if (HWND wnd = bar_.Window()) PostMessageW(wnd, WM_MOUSELEAVE, 0, 0);
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
  GetWindowRect(bar_.Window(), &wr);
  return bar_.Button(button_).Rect.Contains(TPoint{p.x - wr.left, p.y - wr.top});
}

// The overlay image: the title background under the button from the saved title band with
// the button's glyph in the target state drawn opaque over it, every pixel fully opaque. A hot
// standard button whose skin has a glow image for its glyph is shown inside that glow: the
// overlay then has the glow image's size, moved left and up by the glow margin.
void TzkSBAnimation::Render(int state) {
  const TzkBitmap* band = bar_.Band();
  const TRect r = bar_.Button(button_).Rect;
  if (!band || r.Width() <= 0 || r.Height() <= 0) return;
  TzkBitmap work(r.Width(), r.Height());
  CopyRect(work, 0, 0, *band, r);
  bar_.DrawButtonGlyph(work, button_, state, TPoint{0, 0});
  int margin = 0;
  const TsMaskData* glow = state == kButtonHot ? bar_.GlowMaskOf(button_, margin) : nullptr;
  TzkBitmap halo = glow ? GlowImageFrame(*glow) : TzkBitmap();
  const TPoint at = halo.Empty() ? TPoint{0, 0} : TPoint{margin, margin};
  const int w = halo.Empty() ? r.Width() : halo.Width();
  const int h = halo.Empty() ? r.Height() : halo.Height();
  image_ = std::make_unique<TzkBitmap>(w, h, TPixelFormat::pf32bit, TRowOrder::TopDown, TBitmapUse::Device);
  // Layered windows take premultiplied alpha.
  image_->Fill(0);
  if (!halo.Empty()) CopyPremultiplied(*image_, halo, TRect(0, 0, w, h));
  CopyRect(*image_, at.X, at.Y, work, TRect(0, 0, r.Width(), r.Height()));  // alpha 255
  overlayRect_ = TRect(r.Left - at.X, r.Top - at.Y, r.Left - at.X + w, r.Top - at.Y + h);
  shownState_ = state;
}

void TzkSBAnimation::Show(uint8_t alpha) {
  HWND form = bar_.Window();
  if (!image_ || !form) return;
  if (!overlay_) overlay_.Reset(CreateOverlayWindow(form));
  if (!overlay_) return;
  RECT wr;
  GetWindowRect(form, &wr);
  POINT at = {wr.left + overlayRect_.Left, wr.top + overlayRect_.Top};
  if (!IsWindowVisible(overlay_.Get())) {
    SetWindowPos(overlay_.Get(), HWND_TOP, at.x, at.y, image_->Width(), image_->Height(),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  if (!ShowPremultipliedOnLayeredWindow(overlay_.Get(), *image_, &at, alpha)) return;
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
  bar_.AnimationFinished(button_);
}

// [SECTION] Custom title buttons

void TsTitleButton::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Changed();
}

void TsTitleButton::SetVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  Changed();
}

void TsTitleButton::SetUseSkinData(bool on) {
  if (on == useSkinData_) return;
  useSkinData_ = on;
  Changed();
}

int TsTitleButton::Index() const { return owner_.IndexOf(this); }

void TsTitleButton::Changed() { owner_.Changed(); }

TsTitleButton& TsTitleButtons::Add() {
  items_.push_back(std::make_unique<TsTitleButton>(*this));
  items_.back()->Record.HitCode = kCustomButtonCode + Count() - 1;
  Changed();
  return *items_.back();
}

void TsTitleButtons::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  for (int i = index; i < Count(); ++i) items_[size_t(i)]->Record.HitCode = kCustomButtonCode + i;
  Changed();
}

void TsTitleButtons::Clear() {
  items_.clear();
  Changed();
}

int TsTitleButtons::IndexOf(const TsTitleButton* button) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == button) return int(i);
  return -1;
}

// [SECTION] Hints

std::wstring TitleButtonHint(TsSkinProvider& provider, int kind) {
  if (kind >= kTitleButtonCount) return provider.TitleButtons().Items(kind - kTitleButtonCount).Hint;
  const TsSystemMenu* menu = provider.SystemMenu();
  if (!provider.ExtBorder() || !menu || !provider.Form()->HandleAllocated()) return {};
  HWND wnd = provider.Form()->WindowHandle();
  const TMenuItem* item = nullptr;
  switch (kind) {
    case tbkClose:
      item = menu->ItemClose;
      break;
    case tbkMax:
      item = IsZoomed(wnd) ? menu->ItemRestore : menu->ItemMaximize;
      break;
    case tbkMin:
      item = IsIconic(wnd) ? menu->ItemRestore : menu->ItemMinimize;
      break;
    default:
      return L"Help";
  }
  return item ? PlainMenuName(item->Caption()) : std::wstring();
}
