#include "skin/windows/zkGlowEffect.h"

#include <algorithm>
#include <map>
#include <memory>

#include "skin/data/sSkinView.h"
#include "skin/paint/zkGlowImage.h"
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


// [SECTION] The glow list

namespace {

// One shown glow: its window only. The mask is read while showing and never again, so a glow
// outliving its skin or its manager refers to neither.
class TzkGlowEffect {
 public:
  TzkGlowEffect() = default;
  ~TzkGlowEffect() { Close(false); }
  TzkGlowEffect(const TzkGlowEffect&) = delete;
  TzkGlowEffect& operator=(const TzkGlowEffect&) = delete;

  void Show(const TsMaskData& mask, int margin, const TRect& control, const TRect& visible,
            HWND owner, uint8_t alpha);
  // Hides the window and frees it through the toolkit once the current message has returned
  // (a broadcast may be walking the forms), or at once.
  void Close(bool freeAtOnce) {
    TzkGlowForm* window = window_;
    window_ = nullptr;
    if (!window) return;
    if (HWND wnd = window->WindowHandle()) ShowWindow(wnd, SW_HIDE);
    if (freeAtOnce)
      delete window;
    else
      window->Release();
  }
  HWND Window() const { return window_ ? window_->WindowHandle() : nullptr; }

 private:
  TzkGlowForm* window_ = nullptr;
};

// Glows by id. Ids only grow, so an owner's stale id never names another owner's glow. The
// list is never destroyed: at process exit nothing may be freed through the toolkit any more.
struct TzkGlowList {
  std::map<int, std::unique_ptr<TzkGlowEffect>> glows;
  int nextId = 0;
};

TzkGlowList& Glows() {
  static TzkGlowList* list = new TzkGlowList;
  return *list;
}

void TzkGlowEffect::Show(const TsMaskData& mask, int margin, const TRect& control,
                         const TRect& visible, HWND owner, uint8_t alpha) {
  TzkBitmap image;
  const TRect borders = RenderGlowImage(image, mask, control.Width(), control.Height(), margin);
  if (image.Empty()) return;
  int w = image.Width(), h = image.Height();
  const TRect cut = GlowCuts(borders, control.Width(), control.Height(), visible, w, h, margin);
  w -= cut.Left + cut.Right;
  h -= cut.Top + cut.Bottom;
  if (w <= 0 || h <= 0) return;
  window_ = new TzkGlowForm(nullptr);
  HWND wnd = window_->Handle();
  const int x = control.Left + cut.Left + margin - borders.Left;
  const int y = control.Top + cut.Top + margin - borders.Top;
  const bool topmost = owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(wnd, topmost ? HWND_TOPMOST : nullptr, x, y, w, h,
               SWP_NOACTIVATE | (topmost ? 0 : SWP_NOZORDER));
  SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED |
                                       WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  const TRect part(cut.Left, cut.Top, cut.Left + w, cut.Top + h);
  if (ShowOnLayeredWindow(wnd, image, part, nullptr, alpha)) ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

}  // namespace

int ShowGlowEffect(const TRect& controlOnScreen, const TRect& visiblePart, const std::string& section,
                   TsSkinView* manager, HWND owner, uint8_t alpha, int margin,
                   const std::string& key) {
  if (!UpdateLayeredWindowProc()) return -1;
  if (!manager) manager = DefaultManager();
  if (!manager) return -1;
  const int sectionIndex = manager->IndexOfSection(section);
  const int mask = manager->IndexOfMask(sectionIndex, section, key + "0");
  if (!manager->IsValidMask(mask)) return -1;
  auto glow = std::make_unique<TzkGlowEffect>();
  glow->Show(manager->Tables().Masks[size_t(mask)], margin, controlOnScreen, visiblePart, owner, alpha);
  TzkGlowList& list = Glows();
  const int id = list.nextId++;
  list.glows[id] = std::move(glow);
  return id;
}

void CloseGlowEffect(int id) {
  auto& glows = Glows().glows;
  const auto it = glows.find(id);
  if (it == glows.end()) return;
  std::unique_ptr<TzkGlowEffect> glow = std::move(it->second);
  glows.erase(it);
}

void CloseAllGlowEffects(bool freeAtOnce) {
  // Taken out first: closing a window may reach code that shows or closes glows.
  auto glows = std::move(Glows().glows);
  Glows().glows.clear();
  for (auto& entry : glows) entry.second->Close(freeAtOnce);
}

bool GlowEffectOpen(int id) { return Glows().glows.count(id) != 0; }

HWND GlowEffectWindow(int id) {
  const auto& glows = Glows().glows;
  const auto it = glows.find(id);
  return it == glows.end() ? nullptr : it->second->Window();
}

int GlowEffectsOpen() { return int(Glows().glows.size()); }
