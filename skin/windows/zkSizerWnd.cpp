#include "skin/windows/zkSizerWnd.h"

#include "skin/data/sSkinView.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"

TzkSizerWnd::TzkSizerWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkCachedWnd(wnd, section.empty() ? "CHECKBOX" : section, manager) {}

int TzkSizerWnd::GripMask() const {
  const TsSkinTables* t = Skin().Tables();
  return t ? t->IndexOfMaskExact("GLOBALINFO", "GRIPIMAGE") : -1;
}

TPoint TzkSizerWnd::GripPosition() const {
  const TsSkinTables* t = Skin().Tables();
  const int mask = GripMask();
  RECT wr;
  GetWindowRect(Handle(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (!t || !t->IsValidMask(mask)) return {w, h};
  const int gw = FrameWidth(t->Masks[size_t(mask)]), gh = FrameHeight(t->Masks[size_t(mask)]);
  const bool leftGrip = (GetWindowLongW(Handle(), GWL_STYLE) & SBS_SIZEBOXBOTTOMRIGHTALIGN) == 0 &&
                        (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  return {leftGrip ? 0 : w - gw, h - gh};
}

void TzkSizerWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  int w = 0, h = 0;
  if (!SizeCacheToWindow(w, h)) return;
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), ParentBackground(), clFuchsia, true, true,
                   &skin.CacheBmp, {0, 0}, Rect(0, 0, w, h), 0);
  const int mask = GripMask();
  if (t->IsValidMask(mask)) {
    TsBackgroundInfo self;
    self.Bitmap = &skin.CacheBmp;
    self.IsBitmap = true;
    PaintGlyphMask(skin.CacheBmp, GripPosition(), 0, self, t->Masks[size_t(mask)], false);
  }
  skin.BGChanged = false;
}

void TzkSizerWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkCachedWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_MOVE:
      TzkCachedWnd::AdapterProc(m);
      InvalidateRect(Handle(), nullptr, FALSE);
      return;
  }
  TzkCachedWnd::AdapterProc(m);
}
