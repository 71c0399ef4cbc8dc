#include "skin/windows/zkGroupBoxWnd.h"

#include <algorithm>

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

// Copies the parent's background behind `r` (window coordinates) into the image.
void CopyBackground(TzkBitmap& dst, const TRect& r, const TsBackgroundInfo& bg) {
  if (r.IsEmpty()) return;
  if (bg.HasBitmap()) {
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, dst.Height()); ++y) {
      const int sy = y + bg.Y;
      if (sy < 0 || sy >= bg.Bitmap->Height()) continue;
      for (int x = std::max(r.Left, 0); x < std::min(r.Right, dst.Width()); ++x) {
        const int sx = x + bg.X;
        if (sx < 0 || sx >= bg.Bitmap->Width()) continue;
        const uint8_t* s = bg.Bitmap->ScanLine(sy) + sx * bg.Bitmap->BytesPerPixel();
        uint8_t* d = dst.ScanLine(y) + x * 3;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
    return;
  }
  const TColor c = ColorToRGB(bg.Color == clFuchsia ? clBtnFace : bg.Color);
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, dst.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, dst.Width()); ++x) {
      uint8_t* d = dst.ScanLine(y) + x * 3;
      d[0] = uint8_t(c >> 16);
      d[1] = uint8_t(c >> 8);
      d[2] = uint8_t(c);
    }
}

}  // namespace

TzkGroupBoxWnd::TzkGroupBoxWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section.empty() ? "GROUPBOX" : section, manager) {}

TRect TzkGroupBoxWnd::CaptionRect() const {
  RECT wr;
  GetWindowRect(Handle(), &wr);
  const int width = wr.right - wr.left;
  const std::wstring text = Utf8ToWide(CachedText());
  TMemoryDcHandle dc(CreateCompatibleDC(nullptr));
  TSelectObject font(dc.Get(), WindowFont(Handle()));
  RECT r{0, 0, 0, 0};
  DrawTextW(dc.Get(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_CENTER | DT_SINGLELINE);
  const int height = std::max<int>(4, r.bottom - r.top) + 2;
  return Rect(6, 0, std::min<int>(r.right - r.left + 14, width - 1), height);
}

TRect TzkGroupBoxWnd::InnerRect() const {
  RECT wr;
  GetWindowRect(Handle(), &wr);
  const TsSkinTables* t = Skin().Tables();
  int l = 0, tp = 0, rt = 0, b = 0;
  if (t && Skin().Skinned()) {
    const int mask = t->Sections[size_t(Skin().SkinIndex)].BorderIndex;
    if (t->IsValidMask(mask)) {
      // The manager's tables are shared; LeftBorder only normalises a frame count of 0.
      l = const_cast<TsSkinTables*>(t)->LeftBorder(mask);
      tp = t->TopBorder(mask);
      rt = t->RightBorder(mask);
      b = t->BottomBorder(mask);
    }
  }
  const int top = std::max(CaptionRect().Bottom, CaptionRect().Height() / 2 + tp);
  return Rect(l, top, wr.right - wr.left - rt, wr.bottom - wr.top - b);
}

void TzkGroupBoxWnd::PrepareCache() {
  TzkAdapterSkin& skin = Skin();
  const TsSkinTables* t = skin.Tables();
  int w = 0, h = 0;
  if (!SizeCacheToWindow(w, h)) return;
  const TsBackgroundInfo bg = ParentBackground();
  const TRect caption = CaptionRect();
  CopyBackground(skin.CacheBmp, Rect(0, 0, w, caption.Height()), bg);
  const int top = caption.Height() / 2;
  PaintSkinnedItem(t, SectionLook(*t, skin.SkinIndex), bg.Moved(0, top), clFuchsia, false, true,
                   &skin.CacheBmp, {0, top}, Rect(0, top, w, h), 0);
  CopyBackground(skin.CacheBmp, caption, bg);
  DrawOnBitmap(skin.CacheBmp, [&](HDC dc) {
    TSelectObject font(dc, WindowFont(Handle()));
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, Utf8ToWide(CachedText()), IsWindowEnabled(Handle()) != FALSE, t, false,
                     skin.SkinIndex, DT_SINGLELINE | DT_VCENTER | DT_CENTER, caption);
  });
  skin.BGChanged = false;
}

void TzkGroupBoxWnd::LeaveOutOfPaint(HDC dc) {
  const TRect inner = InnerRect();
  ExcludeClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
}

void TzkGroupBoxWnd::AdapterProc(TMessage& m) {
  if (!Skin().Skinned() || !Hooked()) {
    TzkMainWnd::AdapterProc(m);
    return;
  }
  if (AnswerPaint(m)) return;
  switch (m.Msg) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SIZE:
      TzkMainWnd::AdapterProc(m);
      Skin().BGChanged = true;
      InvalidateRect(Handle(), nullptr, FALSE);
      return;
    case WM_UPDATEUISTATE:
      return;
  }
  if (m.Msg == SM_ORVEXCMD && SkinCommandOf(m).Code == zcGetReservedTop) {
    m.Result = CaptionRect().Height();
    return;
  }
  TzkMainWnd::AdapterProc(m);
}
