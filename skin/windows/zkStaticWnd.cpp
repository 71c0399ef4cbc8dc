#include "skin/windows/zkStaticWnd.h"

#include "skin/controls/sButton.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

HFONT WindowFont(HWND wnd) {
  HFONT f = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

TzkStaticWnd::TzkStaticWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section.empty() ? "CHECKBOX" : section, manager) {}

bool TzkStaticWnd::LeftToBase() const {
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  return (style & WS_TABSTOP) != 0 || (exStyle & WS_EX_STATICEDGE) != 0;
}

void TzkStaticWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  int w = 0, h = 0;
  if (!SizeCacheToWindow(w, h)) return;
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), ParentBackground(), clFuchsia, true, true,
                   &skin.CacheBmp, {0, 0}, Rect(0, 0, w, h), 0);
  DrawOnBitmap(skin.CacheBmp, [&](HDC dc) { DrawContent(dc, w, h); });
  skin.BGChanged = false;
}

void TzkStaticWnd::DrawContent(HDC dc, int width, int height) {
  const TsSkinTables* t = Skin().Tables();
  const std::wstring text = Utf8ToWide(CachedText());
  UINT format = DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP;
  if (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_RIGHT) format |= DT_RIGHT;
  TSelectObject font(dc, WindowFont(Handle()));
  SetBkMode(dc, TRANSPARENT);
  PaintSectionText(dc, text, IsWindowEnabled(Handle()) != FALSE, t, false, Skin().SkinIndex, format,
                   Rect(0, 0, width, height));
}

void TzkStaticWnd::Redraw() {
  Skin().BGChanged = true;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TzkStaticWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked() || LeftToBase()) {
    TzkMainWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_MOVE:
    case WM_SIZE:
      TzkMainWnd::AdapterProc(m);
      Redraw();
      return;
    case STM_SETICON:
    case STM_SETIMAGE:
      PassOn(m);
      Redraw();
      return;
  }
  TzkMainWnd::AdapterProc(m);
}

TzkIconWnd::TzkIconWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkStaticWnd(wnd, section, manager) {}

bool TzkIconWnd::ShowsBitmap() const {
  return (GetWindowLongPtrW(Handle(), GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
}

void TzkIconWnd::DrawContent(HDC dc, int /*width*/, int /*height*/) {
  if (!ShowsBitmap()) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(Handle(), STM_GETICON, 0, 0));
    if (icon) DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  HBITMAP bmp = reinterpret_cast<HBITMAP>(SendMessageW(Handle(), STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  if (!bmp || !GetObjectW(bmp, sizeof(info), &info)) return;
  TMemoryDcHandle src(CreateCompatibleDC(dc));
  TSelectObject sel(src.Get(), bmp);
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, src.Get(), 0, 0, SRCCOPY);
}
