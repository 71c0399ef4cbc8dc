#include "skin/windows/zkDlgPanelWnd.h"

#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

TzkDlgPanelWnd::TzkDlgPanelWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkTransPanelWnd(wnd, section.empty() ? "PANEL" : section, manager) {}

void TzkDlgPanelWnd::PrepareCache() {
  TzkTransPanelWnd::PrepareCache();
  TzkBitmap& cache = Skin().CacheBmp;
  if (cache.Empty() || CachedText().empty()) return;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  DrawOnBitmap(cache, [&](HDC dc) {
    TSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, Utf8ToWide(CachedText()), IsWindowEnabled(Handle()) != FALSE, Skin().Tables(),
                     false, Skin().SkinIndex, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                     Rect(0, 0, cache.Width(), cache.Height()));
  });
}

void TzkDlgPanelWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkTransPanelWnd::AdapterProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_SETTEXT:
    case WM_ENABLE:
      TzkTransPanelWnd::AdapterProc(m);
      Skin().BGChanged = true;
      InvalidateRect(Handle(), nullptr, TRUE);
      return;
  }
  TzkTransPanelWnd::AdapterProc(m);
}
