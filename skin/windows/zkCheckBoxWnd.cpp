#include "skin/windows/zkCheckBoxWnd.h"

#include <algorithm>

#include "skin/controls/sButton.h"
#include "skin/data/sMessages.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/zkBtnWnd.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

HFONT WindowFont(HWND wnd) {
  HFONT f = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TSize WindowSize(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return TSize(r.right - r.left, r.bottom - r.top);
}

bool HasStyle(HWND wnd, LONG_PTR bits) { return (GetWindowLongPtrW(wnd, GWL_STYLE) & bits) != 0; }

}  // namespace

TzkCheckBoxWnd::TzkCheckBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section.empty() ? "CHECKBOX" : section, manager) {}

bool TzkCheckBoxWnd::IsRadio() const {
  const LONG_PTR type = GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

int TzkCheckBoxWnd::GlyphMask() const {
  const TsSkinTables* t = Skin().Tables();
  if (!t) return -1;
  const TsCachedIndexes& c = t->CachedIndexes;
  const LRESULT check = SendMessageW(Handle(), BM_GETCHECK, 0, 0);
  if (check == BST_INDETERMINATE) return c.CheckBoxGrayed;
  if (IsRadio()) return check == BST_CHECKED ? c.RadioChecked : c.RadioUnchecked;
  return check == BST_CHECKED ? c.CheckBoxChecked : c.CheckBoxUnchecked;
}

TSize TzkCheckBoxWnd::GlyphSize() const {
  const TsSkinTables* t = Skin().Tables();
  const int mask = GlyphMask();
  if (!t || !t->IsValidMask(mask)) return TSize(16, 16);
  return t->ImageFrameSize(mask);
}

TRect TzkCheckBoxWnd::GlyphRect() const {
  const TSize w = WindowSize(Handle());
  const TSize g = GlyphSize();
  const int left = HasStyle(Handle(), BS_LEFTTEXT) ? w.cx - g.cx : 0;
  const int top = (w.cy - g.cy) / 2;
  return Rect(left, top, left + g.cx, top + g.cy);
}

int TzkCheckBoxWnd::GlyphFrame() const {
  if (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) return 2;
  return GetFocus() == Handle() || Skin().MouseAbove ? 1 : 0;
}

void TzkCheckBoxWnd::DrawCaption(HDC dc, const TRect& glyph, bool hot) {
  const TSize w = WindowSize(Handle());
  const std::wstring text = Utf8ToWide(CachedText());
  const bool multiLine = HasStyle(Handle(), BS_MULTILINE);
  const bool leftText = HasStyle(Handle(), BS_LEFTTEXT);
  const UINT flags = DT_EXPANDTABS | (multiLine ? DT_WORDBREAK : DT_SINGLELINE);
  TSelectObject font(dc, WindowFont(Handle()));
  SetBkMode(dc, TRANSPARENT);
  const int available = std::max(0, w.cx - glyph.Width() - 2);
  RECT m{0, 0, available, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &m, flags | DT_CALCRECT);
  const int height = m.bottom - m.top;
  int top = std::max(0, (w.cy - height) / 2);
  int left = 2;
  if (!leftText) {
    left = glyph.Right + 2 - (multiLine ? 1 : 0);
    top = std::max(0, top - 1);
  }
  const TRect r = Rect(left, top, left + std::min<int>(m.right - m.left, available), top + height);
  PaintSectionText(dc, text, IsWindowEnabled(Handle()) != FALSE, Skin().Tables(), hot, Skin().SkinIndex,
                   flags, r);
  if (text.empty() || GetFocus() != Handle()) return;
  const RECT focus{r.Left - 1, r.Top, r.Right + 1, r.Bottom};
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &focus);
}

void TzkCheckBoxWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  const TSize size = WindowSize(Handle());
  if (!CanRender(size.cx, size.cy)) return;
  // A skinned parent brings its own image up to date first, so the background is current.
  if (HWND parent = GetParent(Handle())) SendCommandToWindow(parent, zcChildPaint, 0);
  skin.FitCache(size.cx, size.cy);
  const TsBackgroundInfo bg = ParentBackground();
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), bg, clFuchsia, true, true, &skin.CacheBmp, {0, 0},
                   Rect(0, 0, size.cx, size.cy), 0);
  const TRect glyph = GlyphRect();
  const int frame = GlyphFrame();
  const int mask = GlyphMask();
  if (t->IsValidMask(mask))
    PaintGlyphMask(skin.CacheBmp, {glyph.Left, glyph.Top}, frame, TsBackgroundInfo{}, t->Masks[size_t(mask)],
                   true);
  DrawOnBitmap(skin.CacheBmp, [&](HDC dc) { DrawCaption(dc, glyph, frame != 0); });
  if (!IsWindowEnabled(Handle())) PaintAdaptedDisabledLook(skin.CacheBmp, bg);
  skin.BGChanged = false;
}

void TzkCheckBoxWnd::Hover() {
  TsSkinView* manager = Skin().Manager;
  if (!manager || !IsWindowEnabled(Handle())) return;
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
  TrackMouseEvent(&tme);
  if (manager->HotWindow() != Handle()) manager->SetHotWindow(Handle());
}

void TzkCheckBoxWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkMainWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETCHECK:
    case BM_SETSTATE:
      HandleQuietly(m);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      HandleQuietly(m);
      return;
    case WM_MOUSEMOVE:
      PassOn(m);
      if (!Destroyed()) Hover();
      return;
    case WM_NCHITTEST:
      PassOn(m);
      if (!Destroyed() && Skin().Manager && IsWindowEnabled(Handle()) &&
          Skin().Manager->HotWindow() != Handle())
        Skin().Manager->SetHotWindow(Handle());
      return;
    case WM_MOUSELEAVE:
      PassOn(m);
      GiveUpHotWindow();
      return;
  }
  if (m.Msg == SM_ORVEXCMD) {
    const int code = SkinCommandOf(m).Code;
    if (code == zcMouseEnter || code == zcMouseLeave) {
      Skin().MouseAbove = code == zcMouseEnter;
      RedrawNow();
      return;
    }
  }
  TzkMainWnd::AdapterProc(m);
}
