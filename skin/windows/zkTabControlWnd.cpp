#include "skin/windows/zkTabControlWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"

namespace {

enum TSide { sdTop, sdBottom, sdLeft, sdRight };

TSide SideOf(HWND wnd) {
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? sdRight : sdLeft;
  return (style & TCS_BOTTOM) ? sdBottom : sdTop;
}

TRect ItemRect(HWND wnd, int index) {
  RECT r{};
  if (!SendMessageW(wnd, TCM_GETITEMRECT, WPARAM(index), LPARAM(&r))) return {};
  return {r.left, r.top, r.right, r.bottom};
}

std::wstring ItemText(HWND wnd, int index) {
  wchar_t buf[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 255;
  if (!SendMessageW(wnd, TCM_GETITEMW, WPARAM(index), LPARAM(&item))) return {};
  return item.pszText ? item.pszText : L"";
}

}  // namespace

TzkTabControlWnd::TzkTabControlWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkCachedWnd(wnd, section.empty() ? "PAGECONTROL" : section, manager) {}

const TsCachedSection& TzkTabControlWnd::TabSection() const {
  const TsCachedIndexes& c = Skin().Tables()->CachedIndexes;
  switch (SideOf(Handle())) {
    case sdBottom: return c.TabBottom;
    case sdLeft: return c.TabLeft;
    case sdRight: return c.TabRight;
    default: return c.TabTop;
  }
}

TRect TzkTabControlWnd::PageRect() const {
  RECT cr;
  GetClientRect(Handle(), &cr);
  TRect page(0, 0, cr.right, cr.bottom);
  const int count = int(SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0));
  const TSide side = SideOf(Handle());
  for (int i = 0; i < count; ++i) {
    const TRect r = ItemRect(Handle(), i);
    if (r.IsEmpty()) continue;
    switch (side) {
      case sdTop: page.Top = std::max(page.Top, r.Bottom); break;
      case sdBottom: page.Bottom = std::min(page.Bottom, r.Top); break;
      case sdLeft: page.Left = std::max(page.Left, r.Right); break;
      case sdRight: page.Right = std::min(page.Right, r.Left); break;
    }
  }
  return page;
}

TRect TzkTabControlWnd::TabRect(int index) const {
  TRect r = ItemRect(Handle(), index);
  if (r.IsEmpty() || TabState(index) != 2) return r;
  // The selected tab stands out by two pixels and reaches into the page frame by one.
  switch (SideOf(Handle())) {
    case sdTop: return Rect(r.Left - 2, std::max(0, r.Top - 2), r.Right + 2, r.Bottom + 1);
    case sdBottom: return Rect(r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 2);
    case sdLeft: return Rect(std::max(0, r.Left - 2), r.Top - 2, r.Right + 1, r.Bottom + 2);
    case sdRight: return Rect(r.Left - 1, r.Top - 2, r.Right + 2, r.Bottom + 2);
  }
  return r;
}

int TzkTabControlWnd::TabState(int index) const {
  if (index == int(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0))) return 2;
  return index == HotPart() && IsWindowEnabled(Handle()) ? 1 : 0;
}

void TzkTabControlWnd::DrawTab(int index, const TsBackgroundInfo& bg) {
  TzkBitmap& cache = Skin().CacheBmp;
  const TRect r = IntersectRect(TabRect(index), Rect(0, 0, cache.Width(), cache.Height()));
  if (r.IsEmpty()) return;
  const TsSkinTables* t = Skin().Tables();
  const TsCachedSection& cs = TabSection();
  const int state = TabState(index);
  if (t->IsValidSection(cs.SkinIndex)) {
    TsItemLook look = SectionLook(*t, cs.SkinIndex);
    PaintSkinnedItem(t, look, bg.Moved(r.Left, r.Top), clFuchsia, true, true, &cache, {r.Left, r.Top},
                     r, state);
  }
  const std::wstring text = ItemText(Handle(), index);
  if (text.empty()) return;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  DrawOnBitmap(cache, [&](HDC dc) {
    TSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, text, IsWindowEnabled(Handle()) != FALSE, t, state != 0, cs.SkinIndex,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, r);
  });
}

void TzkTabControlWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  RECT cr;
  if (!SizeCacheToClient(cr)) return;
  const TsBackgroundInfo bg = ParentBackground();
  FillFromBackground(skin.CacheBmp, Rect(0, 0, cr.right, cr.bottom), bg);
  const TRect page = PageRect();
  if (!page.IsEmpty())
    PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), bg.Moved(page.Left, page.Top), clFuchsia, true,
                     true, &skin.CacheBmp, {page.Left, page.Top}, page, 0);
  const int count = int(SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0));
  const int selected = int(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
  // The selected tab last, over its neighbours.
  for (int i = 0; i < count; ++i)
    if (i != selected) DrawTab(i, bg);
  if (selected >= 0 && selected < count) DrawTab(selected, bg);
  if (!IsWindowEnabled(Handle())) PaintDisabledLook(skin.CacheBmp, dkBlended, bg.Color, {0, 0}, bg);
  skin.BGChanged = false;
}

int TzkTabControlWnd::PartAt(POINT p) const {
  TCHITTESTINFO hit{p, 0};
  return int(SendMessageW(Handle(), TCM_HITTEST, 0, LPARAM(&hit)));
}

void TzkTabControlWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkCachedWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m) || FollowHotPart(m)) return;
  switch (m.Msg) {
    case TCM_SETCURSEL:
    case TCM_INSERTITEMW:
    case TCM_INSERTITEMA:
    case TCM_DELETEITEM:
    case TCM_SETITEMW:
    case TCM_SETITEMA:
    case WM_LBUTTONDOWN:
    case WM_ENABLE:
    case WM_SIZE:
      TzkCachedWnd::AdapterProc(m);
      if (!Destroyed()) InvalidateRect(Handle(), nullptr, FALSE);
      return;
  }
  TzkCachedWnd::AdapterProc(m);
}
