// TsSkinProvider: the MDI parts. An MDI frame's client window gets the "MDIAREA" adapter;
// while a child is maximized (its frame then lies outside the client window and is not
// drawn), the frame's menu line shows the child's icon and its minimize, restore and close
// buttons, drawn from the skin's small title-button glyphs. A frame without a main menu gets
// a menu line of its own for that time. Every MDI child tells its frame when its state
// changes.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"

namespace {

// One state frame of a title-button glyph.
TPoint GlyphSize(const TsMaskData& m) {
  const int w = (m.Image ? m.Image->Width() : m.Rect.Width()) / std::max<int>(1, m.ImageCount);
  const int h = m.Image ? m.Image->Height() / 2 : m.Rect.Height() / (m.MaskType + 1);
  return TPoint{w, h};
}

constexpr UINT kMdiCommands[kMdiButtonCount] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
constexpr int kMdiLineGap = 2;       // between the line's ends and the icon or the buttons
constexpr int kMdiBandPad = 3;       // the band behind the buttons reaches this far beyond them
constexpr int kMdiCloseGap = 2;      // the close button stands a little apart
constexpr int kMdiIconSize = 16;
constexpr int kMissingSmallGlyph = 16;

}  // namespace

HICON WindowIconHandle(HWND wnd) {
  if (auto icon = HICON(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0))) return icon;
  if (auto icon = HICON(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0))) return icon;
  if (auto icon = HICON(GetClassLongPtrW(wnd, GCLP_HICONSM))) return icon;
  if (HICON icon = Application->Icon().Handle()) return icon;
  if (auto icon = HICON(GetClassLongPtrW(wnd, GCLP_HICON))) return icon;
  return LoadIconW(nullptr, IDI_APPLICATION);
}

TsSkinProvider* ProviderOfWindow(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) return nullptr;
  return dynamic_cast<TsSkinProvider*>(
      reinterpret_cast<IzkFrameProvider*>(SendCommandToWindow(wnd, zcGetProvider)));
}

// [SECTION] Who is what

bool TsSkinProvider::MdiChild() const { return form_ && form_->FormStyle() == TFormStyle::fsMDIChild; }

bool TsSkinProvider::MdiFrame() const { return form_ && form_->FormStyle() == TFormStyle::fsMDIForm; }

HWND TsSkinProvider::MaximizedMdiChild() const {
  if (!MdiFrame() || !form_->ClientHandle()) return nullptr;
  BOOL maximized = FALSE;
  HWND active = HWND(SendMessageW(form_->ClientHandle(), WM_MDIGETACTIVE, 0, LPARAM(&maximized)));
  return active && (maximized || IsZoomed(active)) ? active : nullptr;
}

bool TsSkinProvider::MdiChildMaximized() const {
  return MdiChild() && form_->HandleAllocated() && IsZoomed(form_->WindowHandle());
}

bool TsSkinProvider::MdiLineMade() const {
  return MdiFrame() && !form_->Menu() && Skinned() && MaximizedMdiChild() != nullptr;
}

TsSkinProvider* TsSkinProvider::MdiFrameProvider() const {
  if (!MdiChild() || !form_->HandleAllocated()) return nullptr;
  HWND client = GetParent(form_->WindowHandle());
  return ProviderOfWindow(client ? GetParent(client) : nullptr);
}

void TsSkinProvider::TellMdiFrame() {
  if (TsSkinProvider* frame = MdiFrameProvider()) frame->MdiChildrenChanged();
}

// [SECTION] The frame

void TsSkinProvider::AttachMdiArea() {
  if (!MdiFrame() || !form_->ClientHandle()) return;
  if (mdiArea_ && mdiArea_->Hooked()) return;
  mdiArea_.reset();
  if (IsSkinnedWindow(form_->ClientHandle())) return;
  mdiArea_ = TzkMainWnd::Attach<TzkMDIWnd>(form_->ClientHandle(), true, std::string("MDIAREA"), SkinManager());
  mdiArea_->OnChildrenChanged = [this] { MdiChildrenChanged(); };
}

void TsSkinProvider::MdiChildrenChanged() {
  if (!MdiFrame() || !form_->HandleAllocated() || form_->IsDestroying() || inMdiChange_) return;
  // Skinning a child, or the frame change below, reports back here.
  inMdiChange_ = true;
  struct TReentry {
    bool& on;
    ~TReentry() { on = false; }
  } reentry{inMdiChange_};
  ClassifyMDIChildren(form_);
  if (Skinned()) {
    if (!MaximizedMdiChild()) {
      mdiPressed_ = false;
      SetMdiHot(0);
    }
    const bool made = MdiLineMade();
    if (made != mdiLineMade_) {
      // The client area shrinks or grows by the line (WM_NCCALCSIZE below).
      mdiLineMade_ = made;
      SetWindowPos(form_->WindowHandle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Restored children moving and sizing change nothing in the frame; a maximized one's
    // caption and icon are in it (the caption through the frame's text).
    HWND maximized = MaximizedMdiChild();
    if (maximized || maximized != mdiDrawnChild_) InvalidateFrame(true);
    mdiDrawnChild_ = maximized;
  }
}

// The platform reserves no menu line for a frame without a main menu; the provider takes one
// row off the top of the client area while it draws a maximized child's buttons there.
void TsSkinProvider::ResizeForMdiLine(TMessage& m) {
  if (!mdiLineMade_ || !m.LParam) return;
  RECT* client = reinterpret_cast<RECT*>(m.LParam);  // also the first rectangle of the params
  client->top = std::min(client->bottom, client->top + LONG(MetricForDpi(SM_CYMENU, FrameDpi())));
}

void TsSkinProvider::LookUpMdiGlyphs() {
  static const char* const smallKeys[kMdiButtonCount] = {"SICONMIN", "SICONNORM", "SICONCLOSE"};
  static const char* const bigKeys[kMdiButtonCount] = {"BICONMIN", "BICONNORM", "BICONCLOSE"};
  const TsSkinTables& t = SkinManager()->Tables();
  const int global = t.CachedIndexes.GlobalInfo;
  const bool small = t.IndexOfMask(global, "GLOBALINFO", "SICONCLOSE") >= 0;
  for (int k = 0; k < kMdiButtonCount; ++k) {
    TzkTitleButton& b = mdiButtons_[size_t(k)];
    b.GlyphKey = small ? smallKeys[k] : bigKeys[k];
    b.GlyphIndex = t.IndexOfMask(global, "GLOBALINFO", b.GlyphKey);
    b.BigGlyph = !small;
    b.HitCode = kMdiButtonCode + k;
  }
}

//  The menu line with a maximized child:
//
//   | W | 2 [icon] 4 [items ...]  2 |3 [min][restore] 2 [close] 3| 2 | W |
//                                   `------- band (title look) ---'
//
// The buttons are centred on the first row; the items fill what lies between. The skin's
// small glyphs are drawn for the title bar, so they stand on a band in the title's look.
void TsSkinProvider::LayOutMdiLine(TsFrameGeometry& g, int& itemsLeft, int& itemsRight) const {
  g.MdiLine = true;
  const int top = g.TitleBand();
  const int h = g.MenuLineHeight;
  const TsSkinTables& t = SkinManager()->Tables();
  // The gaps of the picture above at the frame's scale.
  const int dpi = FrameDpi();
  auto px = [dpi](int value) { return ScaleForDpi(value, dpi); };
  const int lineGap = px(kMdiLineGap), bandPad = px(kMdiBandPad), missing = px(kMissingSmallGlyph);
  const int bandRight = itemsRight - lineGap;
  int x = bandRight - bandPad;
  for (int k = kMdiButtonCount - 1; k >= 0; --k) {
    const TsMaskData* m = MaskAt(t, mdiButtons_[size_t(k)].GlyphIndex);
    const TPoint size = m ? GlyphSize(*m) : TPoint{missing, missing};
    const int y = top + (h - size.Y) / 2;
    g.MdiButtons[size_t(k)] = TRect(x - size.X, y, x, y + size.Y);
    x -= size.X + (k == mbkClose ? px(kMdiCloseGap) : 0);
  }
  g.MdiBand = TRect(g.MdiButtons[mbkMinimize].Left - bandPad, top + 1, bandRight, top + h - 1);
  itemsRight = g.MdiBand.Left - lineGap;
  const int icon = std::max(1, std::min(px(kMdiIconSize), h - 2));
  const int iconTop = top + (h - icon) / 2;
  g.MdiIcon = TRect(itemsLeft + lineGap, iconTop, itemsLeft + lineGap + icon, iconTop + icon);
  itemsLeft = g.MdiIcon.Right + px(4);
}

void TsSkinProvider::PaintMdiLine(const TsFrameGeometry& g) {
  HWND child = MaximizedMdiChild();
  if (!child) return;
  {
    TBitmapDc dc(DibHandle(*cache_));
    if (dc)
      DrawIconEx(dc.Get(), g.MdiIcon.Left, g.MdiIcon.Top, WindowIconHandle(child), g.MdiIcon.Width(),
                 g.MdiIcon.Height(), 0, nullptr, DI_NORMAL);
  }
  const bool canMinimize = (GetWindowLongPtrW(child, GWL_STYLE) & WS_MINIMIZEBOX) != 0;
  TsBackgroundInfo bg;
  bg.Bitmap = cache_.get();
  bg.IsBitmap = true;
  const TsSkinTables* t = &SkinManager()->Tables();
  PaintSectionByIndex(title_.TitleIndex(), TitleSectionName(), bg, -1, -1, t, cache_.get(),
                      TPoint{g.MdiBand.Left, g.MdiBand.Top}, g.MdiBand, active_ ? 1 : 0, true);
  for (int k = 0; k < kMdiButtonCount; ++k) {
    TzkTitleButton& b = mdiButtons_[size_t(k)];
    b.Rect = g.MdiButtons[size_t(k)];
    b.Visible = true;
    const bool enabled = k != mbkMinimize || canMinimize;
    if (const TsMaskData* m = MaskAt(SkinManager()->Tables(), b.GlyphIndex))
      PaintGlyphMask(*cache_, TPoint{b.Rect.Left, b.Rect.Top}, enabled ? b.State : kButtonNormal, bg, *m,
                     enabled && (active_ || b.State != kButtonNormal));
  }
}

// [SECTION] The child buttons' states and clicks

void TsSkinProvider::SetMdiHot(int code) {
  bool changed = code != mdiHot_;
  mdiHot_ = code;
  for (int k = 0; k < kMdiButtonCount; ++k) {
    TzkTitleButton& b = mdiButtons_[size_t(k)];
    const int state = kMdiButtonCode + k != code ? kButtonNormal : mdiPressed_ ? kButtonPressed : kButtonHot;
    changed = changed || b.State != state;
    b.State = state;
  }
  if (changed && Skinned()) InvalidateFrame(true);
}

void TsSkinProvider::MdiButtonDown(int code) {
  HWND child = MaximizedMdiChild();
  if (!child) return;
  if (code == kMdiButtonCode + mbkMinimize && !(GetWindowLongPtrW(child, GWL_STYLE) & WS_MINIMIZEBOX)) return;
  SetHotButton(0);
  mdiPressed_ = true;
  SetMdiHot(code);
  SetCapture(form_->WindowHandle());
}

// A release over the pressed button sends the child its command; anywhere else it only
// lets go.
bool TsSkinProvider::MdiButtonUp(TPoint p) {
  const int kind = mdiHot_ - kMdiButtonCode;
  mdiPressed_ = false;
  if (GetCapture() == form_->WindowHandle()) ReleaseCapture();
  const bool inside = kind >= 0 && kind < kMdiButtonCount && mdiButtons_[size_t(kind)].Rect.Contains(p);
  SetMdiHot(inside ? mdiHot_ : 0);
  HWND child = MaximizedMdiChild();
  // Posted: closing frees the child and its provider.
  if (inside && child) PostMessageW(child, WM_SYSCOMMAND, kMdiCommands[kind], 0);
  return true;
}

// A press in the menu line of a maximized child: its icon opens the child's system menu;
// the line made for the child has nothing else to press.
bool TsSkinProvider::MdiLineDown(TPoint p) {
  HWND child = MaximizedMdiChild();
  if (!child) return false;
  const TsFrameGeometry g = Geometry();
  if (g.MdiLine && g.MdiIcon.Contains(p)) {
    RECT wr;
    GetWindowRect(form_->WindowHandle(), &wr);
    TsSkinProvider* childProvider = ProviderOfWindow(child);
    if (childProvider && childProvider->SystemMenu())
      childProvider->SystemMenu()->ShowAt(wr.left + g.MdiIcon.Left, wr.top + g.MdiIcon.Bottom);
    return true;
  }
  return !form_->Menu();
}
