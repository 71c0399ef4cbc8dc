// The skinned list view's column header: the header window's subclass, the hot and pressed
// sections, and the sections painted from the skin.
#include "skin/controls/sListViewHeader.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "skin/controls/sListView.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"

// The header's procedure while its list view is skinned; exceptions stop here, they must not
// unwind through the platform's frames.
LRESULT SkinnedHeaderProc(void* list, HWND /*wnd*/, UINT msg, WPARAM wParam, LPARAM lParam) {
  TsCustomListView* owner = static_cast<TsCustomListView*>(list);
  try {
    return owner->HeaderMessage(msg, wParam, lParam);
  } catch (const std::exception& e) {
    Application->HandleException(owner, &e);
  } catch (...) {
    Application->HandleException(owner, nullptr);
  }
  return 0;
}

// [SECTION] Attaching

void TsCustomListView::AttachHeader(HWND header) {
  if (header == header_) return;
  DetachHeader();
  if (!header) return;
  if (headerSubclass_.Install(header, &SkinnedHeaderProc, this)) header_ = header;
}

void TsCustomListView::DetachHeader() {
  if (!header_) return;
  header_ = nullptr;
  headerSubclass_.Remove();
  hotSection_ = -2;
  pressedSection_ = -1;
}

LRESULT TsCustomListView::CallHeader(UINT msg, WPARAM wParam, LPARAM lParam) {
  return headerSubclass_.CallPrevious(msg, wParam, lParam);
}

LRESULT TsCustomListView::HeaderMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND header = header_;
  if (msg == WM_NCDESTROY) {
    const LRESULT r = CallHeader(msg, wParam, lParam);
    DetachHeader();
    (void)header;
    return r;
  }
  const bool report = (GetWindowLongW(handle_, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
  if (!report || !Skinned()) return CallHeader(msg, wParam, lParam);
  const bool clicks = ColumnClick();
  switch (msg) {
    case WM_PAINT: {
      const TPaintScope paint(header_, wParam);
      PaintHeader(paint.Dc());
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST: {
      const LRESULT r = CallHeader(msg, wParam, lParam);
      if (clicks && highlightHeaders_) SetHot(SectionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      return r;
    }
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, header_, 0};
      TrackMouseEvent(&t);
      const LRESULT r = CallHeader(msg, wParam, lParam);
      if (headerButtonDown_) RefreshAdapterBars();
      // The hit test found the hot section already, unless the move came without one.
      if (clicks && highlightHeaders_ && header_) {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(header_, &screen);
        SetHot(SectionAt(screen));
      }
      return r;
    }
    case WM_MOUSELEAVE:
      SetHot(-2);
      return CallHeader(msg, wParam, lParam);
    case WM_LBUTTONUP:
      if (clicks) {
        pressedSection_ = -1;
        headerButtonDown_ = false;
        InvalidateRect(header_, nullptr, FALSE);
      }
      return CallHeader(msg, wParam, lParam);
    case WM_LBUTTONDOWN: {
      const LRESULT r = CallHeader(msg, wParam, lParam);
      if (clicks && header_) {
        headerButtonDown_ = true;
        HDHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int item = int(SendMessageW(header_, HDM_HITTEST, 0, LPARAM(&hit)));
        const bool onSection = item >= 0 && (hit.flags & HHT_ONHEADER) &&
                               !(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN));
        pressedSection_ = -1;
        if (onSection) {
          // The pressed state is kept by display position, like the hot one.
          const int count = Header_GetItemCount(header_);
          std::vector<int> order(size_t(std::max(count, 0)));
          if (count > 0 && Header_GetOrderArray(header_, count, order.data())) {
            auto at = std::find(order.begin(), order.end(), item);
            if (at != order.end()) pressedSection_ = int(at - order.begin());
          }
        }
        InvalidateRect(header_, nullptr, FALSE);
      }
      return r;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
      PaintHeader(HDC(wParam));
      return 0;
    default:
      return CallHeader(msg, wParam, lParam);
  }
}

void TsCustomListView::PrintHeader(HDC dc) {
  if (!header_ || !IsWindowVisible(header_)) return;
  if ((GetWindowLongW(handle_, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) return;
  RECT r;
  GetWindowRect(header_, &r);
  MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
  TSaveDc saved(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
  PaintHeader(dc);
}

void TsCustomListView::SetHot(int section) {
  if (section == hotSection_) return;
  hotSection_ = section;
  if (section >= 0 && header_) {
    // A section found by a hit test alone is cleared again when the pointer leaves.
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, header_, 0};
    TrackMouseEvent(&t);
  }
  RepaintHeader();
}

void TsCustomListView::RepaintHeader() {
  if (header_ && IsWindowVisible(header_)) InvalidateRect(header_, nullptr, FALSE);
}

TRect TsCustomListView::SectionRect(int position) const {
  if (!header_) return {};
  const int count = Header_GetItemCount(header_);
  if (position < 0 || position >= count) return {};
  std::vector<int> order(static_cast<size_t>(count));
  int item = position;
  if (Header_GetOrderArray(header_, count, order.data())) item = order[size_t(position)];
  RECT r{};
  if (!Header_GetItemRect(header_, item, &r)) return {};
  return Rect(r.left, r.top, r.right, r.bottom);
}

int TsCustomListView::SectionAt(POINT screen) const {
  if (!header_) return -2;
  POINT p = screen;
  ::ScreenToClient(header_, &p);
  const int count = Header_GetItemCount(header_);
  for (int i = 0; i < count; ++i)
    if (SectionRect(i).Contains({p.x, p.y})) return i;
  return -2;
}

// [SECTION] Painting

void TsCustomListView::PaintHeader(HDC dc) {
  if (!header_ || !dc) return;
  if (skinData_->BGChanged) PrepareCache();
  RECT client;
  GetClientRect(header_, &client);
  const int count = Header_GetItemCount(header_);
  int right = 0;
  auto paint = [&](int position, const TRect& r) {
    const int state = pressedSection_ >= 0 ? (position == pressedSection_ ? 2 : 0)
                                           : (position >= 0 && position == hotSection_ ? 1 : 0);
    TzkBitmap out;
    RenderHeaderSection(position, r, state, out);
    if (!out.Empty()) DrawBitmapToDC(dc, r.Left, r.Top, out, Rect(0, 0, out.Width(), out.Height()));
  };
  for (int i = 0; i < count; ++i) {
    const TRect r = SectionRect(i);
    if (r.IsEmpty()) continue;
    headerHeight_ = r.Height();
    paint(i, r);
    right = std::max(right, r.Right);
  }
  const int height = count > 0 ? headerHeight_ : client.bottom;
  if (right < client.right && height > 0) paint(-1, Rect(right, 0, client.right, height));
}

namespace {

THeaderItem ReadHeaderItem(HWND header, int item) {
  THeaderItem h;
  wchar_t text[129] = {};
  HDITEMW hd{};
  hd.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  hd.pszText = text;
  hd.cchTextMax = 128;
  if (SendMessageW(header, HDM_GETITEMW, WPARAM(item), LPARAM(&hd))) {
    h.Text = text;
    h.Format = hd.fmt;
    h.Image = hd.iImage;
  }
  return h;
}

}  // namespace

THeaderSectionLayout LayoutHeaderSection(const THeaderSectionContent& c) {
  THeaderSectionLayout l;
  const int w = c.Width;
  TRect tr(kHeaderTextInsetX, kHeaderTextInsetY, w - kHeaderTextInsetX, c.Height - kHeaderTextInsetY);
  const int im = c.ImageWidth >= 0 ? c.ImageWidth + kHeaderImageGap : 0;
  const int gl = c.GlyphWidth >= 0 ? c.GlyphWidth + kHeaderPadding : 0;
  const int tw = c.TextWidth + kHeaderPadding;
  const int avail = w - kHeaderPadding;
  const bool roomy = avail > tw + im + gl + kHeaderPadding;
  switch (c.Justify & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
      tr.Right -= gl;
      tr.Left = roomy ? tr.Right - tw : im + kHeaderPadding;
      break;
    case HDF_CENTER:
      if (roomy) {
        tr.Left = tr.Left + im + (tr.Width() - tw - gl - im) / 2;
        tr.Right = tr.Left + tw;
      } else {
        tr.Left = im + kHeaderPadding;
        tr.Right -= gl;
      }
      break;
    default:
      tr.Left += im;
      if (avail > tw + tr.Left + im) tr.Right = tr.Left + tw;
      else tr.Right = avail - tr.Left;
  }
  l.Text = tr;
  l.ImageSpace = im;
  l.Glyph = {tr.Right + kHeaderPadding, (tr.Height() - c.GlyphHeight) / 2};
  return l;
}

namespace {

// The text's width in the given font.
int TextWidth(HFONT font, const std::wstring& text) {
  SIZE extent{};
  TBitmapDc measure(nullptr);
  TSelectObject selected(measure.Get(), font);
  GetTextExtentPoint32W(measure.Get(), text.c_str(), int(text.size()), &extent);
  return extent.cx;
}

}  // namespace

THeaderItem TsCustomListView::HeaderItemAt(int position) const {
  THeaderItem item;
  if (position < 0 || !header_) return item;
  const int count = Header_GetItemCount(header_);
  std::vector<int> order(size_t(std::max(count, 1)));
  int index = position;
  if (count > 0 && Header_GetOrderArray(header_, count, order.data())) index = order[size_t(position)];
  return ReadHeaderItem(header_, index);
}

void TsCustomListView::RenderHeaderSection(int position, const TRect& rect, int state, TzkBitmap& out) {
  const TsSkinTables* t = skinData_->Tables();
  const int w = rect.Width(), h = rect.Height();
  if (!t || w <= 0 || h <= 0) return;
  out = NewDeviceBitmap24(w, h);
  const int section = PaintSectionByName(out, "COLHEADER", "BUTTON", static_cast<const TzkBitmap*>(nullptr), ColorToRGB(Color()),
                                         Rect(0, 0, w, h), t, state);
  const THeaderItem item = HeaderItemAt(position);
  TImageList* images = SmallImages();
  const bool withImage = position >= 0 && images && (item.Format & (HDF_IMAGE | HDF_OWNERDRAW));
  const TsCachedIndexes& ci = t->CachedIndexes;
  int glyph = -1;
  if (position >= 0 && (item.Format & HDF_SORTDOWN)) glyph = ci.ScrollBottom.GlyphIndex;
  else if (position >= 0 && (item.Format & HDF_SORTUP)) glyph = ci.ScrollTop.GlyphIndex;
  if (!t->IsValidMask(glyph)) glyph = -1;

  THeaderSectionContent content;
  content.Width = w;
  content.Height = h;
  content.Justify = item.Format;
  content.TextWidth = TextWidth(Font().Handle(), item.Text);
  content.ImageWidth = withImage ? images->Width() : -1;
  content.GlyphWidth = glyph >= 0 ? t->FrameWidth(glyph) : -1;
  content.GlyphHeight = glyph >= 0 ? t->FrameHeight(glyph) : 0;
  const THeaderSectionLayout l = LayoutHeaderSection(content);

  if (glyph >= 0) {
    TsBackgroundInfo self;
    self.Bitmap = &out;
    self.IsBitmap = true;
    PaintGlyphMask(out, l.Glyph, state, self, t->Masks[size_t(glyph)], false);
  }
  const int im = l.ImageSpace;
  const TRect tr = state == 2 ? l.Text.Offset(1, 1) : l.Text;
  // Text and image go through GDI, into the bitmap's own section or a copy of it.
  DrawOnBitmap(out, [&](HDC dc) {
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    PaintSectionText(dc, item.Text, Enabled(), t, state != 0, section,
                     DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS, tr);
    if (im > 0 && item.Image >= 0)
      ImageList_Draw(images->Handle(), item.Image, dc, tr.Left - im,
                     (tr.Height() - images->Height()) / 2 + (state == 2 ? 1 : 0),
                     Enabled() ? ILD_NORMAL : ILD_BLEND50);
    GdiFlush();
  });
}
