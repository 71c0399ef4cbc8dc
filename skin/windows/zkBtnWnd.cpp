#include "skin/windows/zkBtnWnd.h"

#include "skin/controls/sButton.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/paint/zkGlowImage.h"
#include "skin/windows/zkGlowEffect.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

HFONT WindowFont(HWND wnd) {
  HFONT f = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TRect WindowRectOf(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return Rect(r.left, r.top, r.right, r.bottom);
}

}  // namespace

void PaintAdaptedDisabledLook(TzkBitmap& image, const TsBackgroundInfo& bg) {
  if (image.Empty()) return;
  if (bg.IsBitmap) {
    PaintDisabledLook(image, dkBlended, bg.Color, {0, 0}, bg);  // keeps 40 % of the look
    return;
  }
  TintRect(image, TRect(0, 0, image.Width() - 1, image.Height() - 1), 40, bg.Color);
}

TzkBtnWnd::TzkBtnWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section.empty() ? "BUTTON" : section, manager) {}

TzkBtnWnd::~TzkBtnWnd() { HideGlow(); }

void TzkBtnWnd::OnDetached() { HideGlow(); }

int TzkBtnWnd::CtlState() const {
  HWND w = Handle();
  if (SendMessageW(w, BM_GETSTATE, 0, 0) & BST_PUSHED) return 2;
  if (!IsWindowEnabled(w)) return 0;
  if (GetFocus() == w || Skin().MouseAbove) return 1;
  if (Skin().Manager && Skin().Manager->HotWindow() == w) return 1;
  return (GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0;
}

UINT TzkBtnWnd::CaptionFlags() const {
  const bool multiLine = (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_MULTILINE) != 0;
  UINT flags = DT_EXPANDTABS | DT_CENTER | (multiLine ? DT_WORDBREAK : DT_SINGLELINE);
  if (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) flags |= DT_RTLREADING;
  return flags;
}

TRect TzkBtnWnd::CaptionRect(HDC dc, int state) const {
  const TRect wr = WindowRectOf(Handle());
  const std::wstring text = Utf8ToWide(CachedText());
  RECT r{0, 0, text.empty() ? 0 : wr.Width() - 2, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, CaptionFlags() | DT_CALCRECT);
  return ButtonCaptionRect(wr.Width(), wr.Height(), TSize(r.right - r.left, r.bottom - r.top), state == 2);
}

void TzkBtnWnd::DrawCaption(HDC dc, int state) {
  const std::wstring text = Utf8ToWide(CachedText());
  TSelectObject font(dc, WindowFont(Handle()));
  SetBkMode(dc, TRANSPARENT);
  const TRect r = CaptionRect(dc, state);
  PaintSectionText(dc, text, true, Skin().Tables(), state != 0, Skin().SkinIndex, CaptionFlags(), r);
  const TsSkinTables* t = Skin().Tables();
  const bool showFocus = t->Sections[size_t(Skin().SkinIndex)].ShowFocus;
  if (text.empty() || !showFocus || !IsWindowEnabled(Handle()) || GetFocus() != Handle()) return;
  const RECT focus{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &focus);
}

void TzkBtnWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  int w = 0, h = 0;
  if (!SizeCacheToWindow(w, h)) return;
  const int state = CtlState();
  const TsBackgroundInfo bg = ParentBackground();
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), bg, clFuchsia, true, true, &skin.CacheBmp, {0, 0},
                   Rect(0, 0, w, h), state);
  DrawOnBitmap(skin.CacheBmp, [&](HDC dc) { DrawCaption(dc, state); });
  if (!IsWindowEnabled(Handle())) PaintAdaptedDisabledLook(skin.CacheBmp, bg);
  skin.BGChanged = false;
}

void TzkBtnWnd::ShowGlow() {
  TsSkinView* manager = Skin().Manager;
  const TsSkinTables* t = Skin().Tables();
  if (!manager || !t || !manager->AllowGlowing() || !IsWindowEnabled(Handle())) return;
  if (glowId_ >= 0 && GlowEffectOpen(glowId_)) return;
  const TsGeneralData& s = t->Sections[size_t(Skin().SkinIndex)];
  if (s.GlowCount < 1) return;
  const TRect screen = WindowRectOf(Handle());
  TRect visible = Rect(0, 0, screen.Width(), screen.Height());
  if (HWND parent = GetParent(Handle())) {
    RECT pc;
    GetClientRect(parent, &pc);
    POINT o{0, 0};
    ClientToScreen(parent, &o);
    visible = GlowVisiblePart(screen, Rect(o.x, o.y, o.x + pc.right, o.y + pc.bottom));
  }
  glowId_ = ShowGlowEffect(screen, visible, Skin().Section, manager, GetAncestor(Handle(), GA_ROOT), 255,
                           s.GlowMargin, "GLOW");
}

void TzkBtnWnd::HideGlow() {
  if (glowId_ < 0) return;
  CloseGlowEffect(glowId_);
  glowId_ = -1;
}

void TzkBtnWnd::MouseEnter() {
  if (Skin().MouseAbove || !PointerInside()) return;
  Skin().MouseAbove = true;
  RedrawNow();
  ShowGlow();
}

void TzkBtnWnd::MouseLeave() {
  HideGlow();
  Skin().MouseAbove = false;
  RedrawNow();
}

void TzkBtnWnd::MouseMove() {
  TsSkinView* manager = Skin().Manager;
  if (!manager || !IsWindowEnabled(Handle())) return;
  const bool inside = PointerInside();
  if (inside) {
    // The window is told when the pointer leaves it, so the glow goes with the pointer; asked
    // again on every move because capturing the pointer for a click ends the tracking.
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&tme);
    if (manager->HotWindow() != Handle()) manager->SetHotWindow(Handle());
  } else if (!inside && manager->HotWindow() == Handle()) {
    manager->SetHotWindow(nullptr);
  }
}

void TzkBtnWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkMainWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      HandleQuietly(m);
      if (m.Msg == BM_SETSTATE && (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED))
        HideGlow();
      return;
    case WM_MOUSEMOVE:
      PassOn(m);
      if (!Destroyed()) MouseMove();
      return;
    case WM_MOUSELEAVE:
      PassOn(m);
      GiveUpHotWindow();
      return;
  }
  if (m.Msg == SM_ORVEXCMD) {
    const int code = SkinCommandOf(m).Code;
    if (code == zcMouseEnter || code == zcMouseLeave) {
      code == zcMouseEnter ? MouseEnter() : MouseLeave();
      return;
    }
  }
  TzkMainWnd::AdapterProc(m);
}
