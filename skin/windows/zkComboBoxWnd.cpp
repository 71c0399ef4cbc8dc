#include "skin/windows/zkComboBoxWnd.h"

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"

namespace {

constexpr int kPlatformEdge = 2;

}  // namespace

TzkComboBoxWnd::TzkComboBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkEditWnd(wnd, section.empty() ? "COMBOBOX" : section, manager) {}

TRect TzkComboBoxWnd::ButtonRect() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(Handle(), &info) || info.stateButton == STATE_SYSTEM_INVISIBLE) return {};
  const RECT& r = info.rcButton;
  return {r.left, r.top, r.right, r.bottom};
}

int TzkComboBoxWnd::ButtonState() const {
  if (!IsWindowEnabled(Handle())) return 0;
  if (SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0)) return 2;
  return Skin().MouseAbove ? 1 : 0;
}

int TzkComboBoxWnd::FrameWidth() const {
  const TsSkinTables* t = Skin().Tables();
  int width = kPlatformEdge;
  if (t && Skin().Skinned() && !DlgMode()) {
    const int mask = t->Sections[size_t(Skin().SkinIndex)].BorderIndex;
    if (t->IsValidMask(mask)) width = std::max(width, int(t->Masks[size_t(mask)].WL));
  }
  return width;
}

void TzkComboBoxWnd::Render(TzkBitmap& out) {
  RECT cr;
  GetClientRect(Handle(), &cr);
  const int w = cr.right, h = cr.bottom;
  PrepareWindowCache(DlgMode());
  const TzkBitmap& cache = Skin().CacheBmp;
  if (w <= 0 || h <= 0 || cache.Width() < w || cache.Height() < h) return;
  out = NewDeviceBitmap24(w, h);
  CopyRect(out, 0, 0, cache, Rect(0, 0, w, h));
  DrawOnBitmap(out, [&](HDC dc) { CallPrevious(WM_PAINT, WPARAM(dc), 0); });
  const int f = std::min({FrameWidth(), w / 2, h / 2});
  CopyRect(out, 0, 0, cache, Rect(0, 0, w, f));
  CopyRect(out, 0, h - f, cache, Rect(0, h - f, w, h));
  CopyRect(out, 0, 0, cache, Rect(0, 0, f, h));
  CopyRect(out, w - f, 0, cache, Rect(w - f, 0, w, h));
  const TRect button = ButtonRect();
  const TsSkinTables* t = Skin().Tables();
  if (button.IsEmpty() || !t) return;
  TsCachedSection part = t->CachedIndexes.ComboButton;
  part.GlyphIndex = t->CachedIndexes.ComboGlyph;
  if (!t->IsValidSection(part.SkinIndex)) part = t->CachedIndexes.ScrollBottom;
  TsBackgroundInfo self;
  self.Bitmap = &out;
  self.IsBitmap = true;
  PaintBarPart(*t, part, self, out, button, ButtonState(), &button);
}

void TzkComboBoxWnd::PaintLook(HDC dc) {
  TzkBitmap out;
  Render(out);
  if (out.Empty()) {
    CallPrevious(WM_PAINT, WPARAM(dc), 0);
    return;
  }
  DrawBitmapToDC(dc, 0, 0, out, Rect(0, 0, out.Width(), out.Height()));
}

void TzkComboBoxWnd::HotChanged() {
  if (!Destroyed()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TzkComboBoxWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkEditWnd::AdapterProc(m);
    return;
  }
  if (m.Msg == WM_PAINT && !skinColorsApplied_) ApplySkinColors();
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      // The scroll-bar style bits of a combo box belong to its list: its own frame stays
      // the platform's, without bars.
      PassOn(m);
      return;
    case WM_ENABLE:
    case WM_SIZE:
    case CB_SHOWDROPDOWN:
    case CB_SETCURSEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      TzkEditWnd::AdapterProc(m);
      Skin().BGChanged = true;
      if (!Destroyed()) InvalidateRect(Handle(), nullptr, FALSE);
      return;
  }
  TzkEditWnd::AdapterProc(m);
}
