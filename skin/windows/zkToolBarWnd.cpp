#include "skin/windows/zkToolBarWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

bool ButtonOf(HWND wnd, int index, TBBUTTON& b) {
  b = TBBUTTON{};
  return SendMessageW(wnd, TB_GETBUTTON, WPARAM(index), LPARAM(&b)) != 0;
}

TRect ItemRect(HWND wnd, int index) {
  RECT r{};
  if (!SendMessageW(wnd, TB_GETITEMRECT, WPARAM(index), LPARAM(&r))) return {};
  return {r.left, r.top, r.right, r.bottom};
}

std::wstring ButtonText(HWND wnd, int command) {
  const LRESULT n = SendMessageW(wnd, TB_GETBUTTONTEXTW, WPARAM(command), 0);
  if (n <= 0) return {};
  std::vector<wchar_t> buf(size_t(n) + 1, L'\0');
  SendMessageW(wnd, TB_GETBUTTONTEXTW, WPARAM(command), LPARAM(buf.data()));
  return buf.data();
}

}  // namespace

TzkToolBarWnd::TzkToolBarWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkCachedWnd(wnd, section.empty() ? "BAR" : section, manager) {}

int TzkToolBarWnd::ButtonSection() const {
  const TsSkinTables* t = Skin().Tables();
  if (!t) return -1;
  const int own = t->IndexOfSection("TOOLBUTTON");
  return t->IsValidSection(own) ? own : t->IndexOfSection("SPEEDBUTTON_SMALL");
}

int TzkToolBarWnd::ButtonState(int index) const {
  TBBUTTON b;
  if (!ButtonOf(Handle(), index, b) || !(b.fsState & TBSTATE_ENABLED) || !IsWindowEnabled(Handle()))
    return 0;
  if (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) return 2;
  return index == HotPart() ? 1 : 0;
}

void TzkToolBarWnd::DrawButtonContent(HDC dc, int index, const TRect& r, int state) {
  TBBUTTON b;
  ButtonOf(Handle(), index, b);
  const std::wstring text = ButtonText(Handle(), b.idCommand);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle(), TB_GETIMAGELIST, 0, 0));
  const int shift = state == 2 ? 1 : 0;
  int iw = 0, ih = 0;
  const bool image = images && b.iBitmap >= 0 && ImageList_GetIconSize(images, &iw, &ih);
  const int textTop = image ? r.Top + 3 + ih : r.Top;
  if (image) {
    const int x = r.Left + (r.Width() - iw) / 2;
    const int y = text.empty() ? r.Top + (r.Height() - ih) / 2 : r.Top + 3;
    ImageList_Draw(images, b.iBitmap, dc, x + shift, y + shift, ILD_TRANSPARENT);
  }
  if (text.empty()) return;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  TSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = (b.fsState & TBSTATE_ENABLED) && IsWindowEnabled(Handle());
  PaintSectionText(dc, text, enabled, Skin().Tables(), state != 0, ButtonSection(),
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                   Rect(r.Left + shift, textTop + shift, r.Right + shift, r.Bottom + shift));
}

void TzkToolBarWnd::DrawButton(int index, const TsBackgroundInfo& bg) {
  TBBUTTON b;
  if (!ButtonOf(Handle(), index, b) || (b.fsState & TBSTATE_HIDDEN) || (b.fsStyle & BTNS_SEP)) return;
  const TRect r = ItemRect(Handle(), index);
  TzkBitmap& cache = Skin().CacheBmp;
  if (r.IsEmpty() || IntersectRect(r, Rect(0, 0, cache.Width(), cache.Height())) != r) return;
  const TsSkinTables* t = Skin().Tables();
  const int state = ButtonState(index);
  const int section = ButtonSection();
  if (t->IsValidSection(section)) {
    TsBackgroundInfo self;
    self.Bitmap = &cache;
    self.IsBitmap = true;
    PaintSkinnedItem(t, SectionLook(*t, section), self.Moved(r.Left, r.Top), clFuchsia, true, true,
                     &cache, {r.Left, r.Top}, r, state);
  }
  DrawOnBitmap(cache, [&](HDC dc) { DrawButtonContent(dc, index, r, state); });
  const bool enabled = (b.fsState & TBSTATE_ENABLED) && IsWindowEnabled(Handle());
  if (!enabled && r.Width() > 1 && r.Height() > 1)
    TintRect(cache, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), 60, bg.HasBitmap() ? clBtnFace : bg.Color);
}

void TzkToolBarWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  RECT cr;
  if (!SizeCacheToClient(cr)) return;
  const TsBackgroundInfo bg = ParentBackground();
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), bg, clFuchsia, true, true, &skin.CacheBmp, {0, 0},
                   Rect(0, 0, cr.right, cr.bottom), 0);
  const int count = int(SendMessageW(Handle(), TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) DrawButton(i, bg);
  skin.BGChanged = false;
}

int TzkToolBarWnd::PartAt(POINT p) const {
  const int hit = int(SendMessageW(Handle(), TB_HITTEST, 0, LPARAM(&p)));
  return hit >= 0 ? hit : -1;
}

void TzkToolBarWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkCachedWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m) || FollowHotPart(m)) return;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_ENABLE:
      TzkCachedWnd::AdapterProc(m);
      if (!Destroyed()) InvalidateRect(Handle(), nullptr, FALSE);
      return;
  }
  TzkCachedWnd::AdapterProc(m);
}
