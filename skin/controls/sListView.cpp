#include "skin/controls/sListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "skin/controls/sLabel.h"
#include "skin/controls/zkAdapterFactory.h"
#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/WindowTable.h"

namespace {

// The skinned headers: their list view (none once it let go while somebody had subclassed
// over the header) and the procedure they had before.
struct THeaderEntry {
  TsCustomListView* Owner = nullptr;
  WNDPROC Prev = nullptr;
};
TWindowTable<THeaderEntry>& SkinnedHeaders() {
  static TWindowTable<THeaderEntry> table;
  return table;
}

// The list view's control kind in the skin data.
constexpr int ckListView = 10;

}  // namespace

// The header's procedure while its list view is skinned; after the list view let go (with
// somebody subclassed over the header) it only passes messages on.
LRESULT CALLBACK SkinnedHeaderProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  THeaderEntry entry;
  SkinnedHeaders().Find(wnd, entry);
  TsCustomListView* owner = entry.Owner;
  const WNDPROC prev = entry.Prev;
  if (owner && owner->header_ == wnd) {
    try {
      return owner->HeaderMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
      Application->HandleException(owner, &e);
      return 0;
    } catch (...) {
      Application->HandleException(owner, nullptr);
      return 0;
    }
  }
  if (msg == WM_NCDESTROY) SkinnedHeaders().Remove(wnd);
  return prev ? CallWindowProcW(prev, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
}

TsCustomListView::TsCustomListView(TComponent* owner)
    : TListView(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  skinData_->ControlKind = ckListView;
  skinData_->BGChanged = true;
  boundLabel_ = std::make_unique<TsBoundLabel>(skinData_.get());
}

TsCustomListView::~TsCustomListView() {
  FreeAdapter();
  DetachHeader();
  boundLabel_.reset();
  UninstallWholeControlDraw();
}

void TsCustomListView::Loaded() {
  TListView::Loaded();
  skinData_->ApplyDefaultSection();
  if (HandleAllocated()) UpdateAdapter();
}

void TsCustomListView::BoundsChanged() {
  TListView::BoundsChanged();
  if (boundLabel_ && boundLabel_->Label()) boundLabel_->Reposition();
}

// The bound label shows and hides with the list and stays beside it, skinned or not.
void TsCustomListView::FollowBoundLabel(const TMessage& m) {
  TsEditLabel* label = boundLabel_ ? boundLabel_->Label() : nullptr;
  if (!label) return;
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      label->SetVisible(Visible());
      break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    default:
      return;
  }
  boundLabel_->Reposition();
}

bool TsCustomListView::Skinned() const { return skinData_->Skinned(true); }

bool TsCustomListView::Loading() const { return (ComponentState() & csLoading) != 0; }

void TsCustomListView::CreateWnd() {
  TListView::CreateWnd();
  try {
    skinData_->ApplyDefaultSection();
  } catch (const std::exception& e) {
    Application->HandleException(this, &e);
  }
  AttachHeader(ListView_GetHeader(handle_));
  InstallWholeControlDraw();
  if (Skinned()) ApplySkinColors();
  if (!Loading()) UpdateAdapter();
}

// [SECTION] Colours and the adapter

void TsCustomListView::ApplySkinColors() {
  const TsGeneralData* s = skinData_->Section();
  if (!s) return;
  if (!skinData_->CustomColor() && Color() != s->Color) SetColor(s->Color);
  if (!skinData_->CustomFont() && Font().Color() != TColor(s->FontColor.Color))
    Font().SetColor(TColor(s->FontColor.Color));
}

void TsCustomListView::InstallWholeControlDraw() {
  if (wholeDrawInstalled_) return;
  userWholeDraw_ = std::move(OnAdvancedCustomDraw);
  OnAdvancedCustomDraw = [this](TObject* sender, const TRect& r, TCustomDrawStage stage, bool& defaultDraw) {
    WholeControlDraw(sender, r, stage, defaultDraw);
  };
  wholeDrawInstalled_ = true;
}

void TsCustomListView::UninstallWholeControlDraw() {
  if (!wholeDrawInstalled_) return;
  OnAdvancedCustomDraw = std::move(userWholeDraw_);
  userWholeDraw_ = nullptr;
  wholeDrawInstalled_ = false;
}

void TsCustomListView::WholeControlDraw(TObject* sender, const TRect& r, TCustomDrawStage stage,
                                        bool& defaultDraw) {
  if (userWholeDraw_) {
    userWholeDraw_(sender, r, stage, defaultDraw);
    return;
  }
  if (stage != TCustomDrawStage::cdPrePaint && stage != TCustomDrawStage::cdPreErase) {
    defaultDraw = false;
    return;
  }
  defaultDraw = true;
  TsCommonData& d = *skinData_;
  if (!Skinned()) return;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  if (d.BGChanged) PrepareCache();
  if (!d.CustomColor()) {
    const TColor color = d.EffectiveColor(0);
    if (ColorToRGB(Color()) != color) SetColor(color);
  }
  if (stage == TCustomDrawStage::cdPreErase) defaultDraw = false;
}

void TsCustomListView::PrepareCache() {
  TsCommonData& d = *skinData_;
  const TsSkinTables* tables = d.Tables();
  if (!tables) return;
  d.PrepareCacheBitmap();
  if (!d.CacheBmp || d.CacheBmp->Empty()) return;
  TzkBitmap& cache = *d.CacheBmp;
  const TsBackgroundInfo bg = d.GetBackground();
  PaintSkinnedItem(tables, d.Look(), bg, d.CustomColor() ? ColorToRGB(Color()) : clFuchsia, true, false,
                   &cache, TPoint(Left(), Top()), TRect(0, 0, cache.Width(), cache.Height()), 0);
  d.BGChanged = false;
}

void TsCustomListView::RestoreDefaultColors() {
  if (!skinData_->CustomColor()) SetColor(clWindow);
  if (!skinData_->CustomFont()) Font().SetColor(clWindowText);
}

void TsCustomListView::UpdateAdapter() {
  if (!HandleAllocated()) return;
  if (!Skinned()) {
    FreeAdapter();
    return;
  }
  if (adapter_ && (adapter_->Destroyed() || adapter_->Handle() != handle_)) FreeAdapter();
  if (!adapter_ && !TzkMainWnd::FromWindow(handle_) && ListViewAdapterMaker())
    adapter_ = ListViewAdapterMaker()(handle_, skinData_->SkinSection(), skinData_->SkinManager());
}

void TsCustomListView::FreeAdapter() { TzkMainWnd::Dispose(adapter_); }

// [SECTION] Messages

bool TsCustomListView::SkinCommandMessage(TMessage& m) {
  TsCommonData& d = *skinData_;
  const TsSkinCommand c = SkinCommandOf(m);
  const bool mine = reinterpret_cast<TsSkinManager*>(c.Param) == d.SkinManager();
  switch (c.Code) {
    case zcSkinNew:
      // The skin is not active yet while every window hears of it: colours and the adapter
      // follow with the refresh, or when the list is about to show.
      if (mine) d.CommonMessage(m);
      return true;
    case zcSkinRemove:
      if (!mine) return true;
      d.CommonMessage(m);
      RestoreDefaultColors();
      FreeAdapter();
      if (HandleAllocated())
        RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return true;
    case zcSkinRefresh:
      if (!mine) return true;
      d.CommonMessage(m);
      if (Skinned() && !Loading() && HandleAllocated()) {
        ApplySkinColors();
        UpdateAdapter();
        RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        RepaintHeader();
      }
      return true;
    case zcParentUpdateEnd:
      RepaintHeader();
      return true;
    case zcIsSkinned:
    case zcBeforeScroll:
      m.Result = 1;
      return true;
    case zcQueryUpdating:
      m.Result = d.Updating ? 1 : 0;
      return true;
    case zcGetApplication:
      m.Result = LRESULT(Application);
      return true;
    default:
      return false;
  }
}

void TsCustomListView::Scroll(TMessage& m, int bar) {
  SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(handle_, bar, &si);
  const int32_t target = m.LParam ? int32_t(m.LParam) : int32_t(HIWORD(m.WParam));
  const int32_t diff = target - si.nPos;
  if (diff != 0) {
    RECT item{};
    int unit = 1;
    if (bar == SB_VERT && ListView_GetItemCount(handle_) > 0 &&
        ListView_GetItemRect(handle_, 0, &item, LVIR_BOUNDS))
      unit = std::max<int>(1, item.bottom - item.top);
    if (bar == SB_VERT)
      ListView_Scroll(handle_, 0, diff * unit);
    else
      ListView_Scroll(handle_, diff, 0);
  }
  if (bar == SB_HORZ) RepaintHeader();
  m.Result = 0;
}

bool TsCustomListView::SkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
      TListView::WndProc(m);
      SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
      const int sel = ListView_GetNextItem(handle_, -1, LVNI_FOCUSED);
      if (sel >= 0) ListView_RedrawItems(handle_, sel, sel);
      if (adapter_) adapter_->RefreshBars(true);
      return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const int code = LOWORD(m.WParam);
      if (code == SB_THUMBTRACK) {
        Scroll(m, m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT);
        return true;
      }
      m.LParam = 0;
      TListView::WndProc(m);
      if (m.Msg == WM_HSCROLL) RepaintHeader();
      return true;
    }
    case CM_MOUSELEAVE:
      if (reinterpret_cast<TControl*>(m.LParam) == this) SetHot(-2);
      return false;
    case LVM_SETITEMCOUNT:
    case LVM_DELETEITEM:
      if (!adapter_ || !IsWindowVisible(handle_)) return false;
      ChangeCountQuietly(m);
      return true;
    case LVM_SETCOLUMNW:
    case LVM_INSERTCOLUMNW: {
      auto* col = reinterpret_cast<LVCOLUMNW*>(m.LParam);
      if (col && (col->mask & LVCF_IMAGE) && col->iImage == -1) col->mask &= ~UINT(LVCF_IMAGE);
      return false;
    }
    default:
      return false;
  }
}

// A row count change without the platform drawing its scroll bars under the skinned ones (it
// does so for each bar twice per change); the rows from the first one whose place or content
// changed down to the bottom are repainted instead, or everything when the list scrolled or
// its frame changed. The adapter repaints its bars afterwards.
void TsCustomListView::ChangeCountQuietly(TMessage& m) {
  const int top = ListView_GetTopIndex(handle_);
  const int before = ListView_GetItemCount(handle_);
  const LONG bars = GetWindowLongW(handle_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
  RECT client;
  GetClientRect(handle_, &client);
  adapter_->WithoutPlatformPainting([&] { TListView::WndProc(m); });
  const int after = ListView_GetItemCount(handle_);
  RECT now;
  GetClientRect(handle_, &now);
  if ((GetWindowLongW(handle_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != bars || !EqualRect(&now, &client)) {
    RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  if (ListView_GetTopIndex(handle_) != top) {
    InvalidateRect(handle_, nullptr, TRUE);
    return;
  }
  const int first = m.Msg == LVM_DELETEITEM ? int(m.WParam) : std::min(before, after);
  RECT row{};
  if (first <= top) {
    InvalidateRect(handle_, nullptr, TRUE);
  } else if (ListView_GetItemRect(handle_, std::min(first, std::max(after - 1, 0)), &row, LVIR_BOUNDS)) {
    // The first changed row's top: past the last row it is the old last row's bottom.
    const int y = first < after ? row.top : row.bottom;
    RECT below{now.left, std::max<LONG>(y, 0), now.right, now.bottom};
    if (below.top < below.bottom) InvalidateRect(handle_, &below, TRUE);
  } else {
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TsCustomListView::AfterMessage(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      if (Skinned()) RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      break;
    case CM_VISIBLECHANGED:
      UpdateAdapter();
      break;
    case WM_NCHITTEST:
      // The pointer is over the list itself, not over its header.
      if (highlightHeaders_) SetHot(-2);
      break;

    case WM_NCPAINT:
      RepaintHeader();
      break;
    case WM_PRINTCLIENT:
      // The header is a child window of its own, which a print of the client leaves out.
      if (adapter_ && m.WParam) PrintHeader(HDC(m.WParam));
      break;
    case WM_PAINT:
      // An adapter made before the list showed read its bars while the platform list had not
      // laid them out yet; the platform drew its own bar as it did. The bars are read and drawn
      // once more after the first paint (in the frame only, so nothing is painted twice).
      if (barsAfterShowing_ && adapter_) adapter_->RefreshBars(true);
      barsAfterShowing_ = false;
      break;
    default:
      break;
  }
}

void TsCustomListView::WndProc(TMessage& m) {
  if (IsSkinCommand(m) && SkinCommandMessage(m)) return;
  if (m.Msg == WM_PARENTNOTIFY && (LOWORD(m.WParam) == WM_CREATE || LOWORD(m.WParam) == WM_DESTROY)) {
    wchar_t cls[32] = {};
    HWND child = reinterpret_cast<HWND>(m.LParam);
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, WC_HEADERW) == 0) {
      if (LOWORD(m.WParam) == WM_CREATE) AttachHeader(child);
      else if (child == header_) DetachHeader();
    }
  }
  if (!HandleAllocated() || !Skinned() || IsDestroying()) {
    TListView::WndProc(m);
    FollowBoundLabel(m);
    return;
  }
  // The adapter is made or refreshed as the list is about to show with its form, before its
  // first paint; a list shown some other way gets it at the latest when it paints.
  if (m.Msg == CM_SHOWINGCHANGED && m.WParam && !Loading()) {
    UpdateAdapter();
    barsAfterShowing_ = adapter_ != nullptr;
  }
  if (!adapter_ && (m.Msg == WM_PAINT || m.Msg == WM_SHOWWINDOW) && !Loading()) UpdateAdapter();
  if (SkinnedMessage(m)) return;
  if (skinData_->CommonMessage(m)) return;
  TListView::WndProc(m);
  if (HandleAllocated()) AfterMessage(m);
  FollowBoundLabel(m);
}

// [SECTION] Header

void TsCustomListView::AttachHeader(HWND header) {
  if (header == header_) return;
  DetachHeader();
  if (!header) return;
  header_ = header;
  headerPrev_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(header, GWLP_WNDPROC));
  SkinnedHeaders().Set(header, THeaderEntry{this, headerPrev_});
  SetWindowLongPtrW(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinnedHeaderProc));
}

void TsCustomListView::DetachHeader() {
  if (!header_) return;
  HWND h = std::exchange(header_, nullptr);
  if (!IsWindow(h)) return;
  if (GetWindowLongPtrW(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinnedHeaderProc)) {
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(headerPrev_));
    SkinnedHeaders().Remove(h);
  } else {
    SkinnedHeaders().Set(h, THeaderEntry{nullptr, headerPrev_});  // passes messages on
  }
  headerPrev_ = nullptr;
  hotSection_ = -2;
  pressedSection_ = -1;
}

LRESULT TsCustomListView::CallHeader(UINT msg, WPARAM wParam, LPARAM lParam) {
  return headerPrev_ ? CallWindowProcW(headerPrev_, header_, msg, wParam, lParam) : 0;
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
      if (headerButtonDown_ && adapter_) adapter_->RefreshBars(true);
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

struct THeaderItem {
  std::wstring Text;
  int Format = HDF_LEFT;
  int Image = -1;
};

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

void TsCustomListView::RenderHeaderSection(int position, const TRect& rect, int state, TzkBitmap& out) {
  const TsSkinTables* t = skinData_->Tables();
  const int w = rect.Width(), h = rect.Height();
  if (!t || w <= 0 || h <= 0) return;
  out = NewDeviceBitmap24(w, h);
  const int section = PaintSectionByName(out, "COLHEADER", "BUTTON", static_cast<const TzkBitmap*>(nullptr), ColorToRGB(Color()),
                                         Rect(0, 0, w, h), t, state);
  THeaderItem item;
  if (position >= 0 && header_) {
    const int count = Header_GetItemCount(header_);
    std::vector<int> order(size_t(std::max(count, 1)));
    int index = position;
    if (count > 0 && Header_GetOrderArray(header_, count, order.data())) index = order[size_t(position)];
    item = ReadHeaderItem(header_, index);
  }
  TRect tr(4, 1, w - 4, h - 1);
  TImageList* images = SmallImages();
  const int im = position >= 0 && images && (item.Format & (HDF_IMAGE | HDF_OWNERDRAW)) ? images->Width() + 4 : 0;
  const TsCachedIndexes& ci = t->CachedIndexes;
  int glyph = -1;
  if (position >= 0 && (item.Format & HDF_SORTDOWN)) glyph = ci.ScrollBottom.GlyphIndex;
  else if (position >= 0 && (item.Format & HDF_SORTUP)) glyph = ci.ScrollTop.GlyphIndex;
  if (!t->IsValidMask(glyph)) glyph = -1;
  const int gl = glyph >= 0 ? t->FrameWidth(glyph) + 6 : 0;
  const int gh = glyph >= 0 ? t->FrameHeight(glyph) : 0;

  SIZE extent{};
  {
    TBitmapDc measure(nullptr);
    TSelectObject font(measure.Get(), Font().Handle());
    GetTextExtentPoint32W(measure.Get(), item.Text.c_str(), int(item.Text.size()), &extent);
  }
  const int tw = extent.cx + 6;
  const int avail = w - 6;
  const bool roomy = avail > tw + im + gl + 6;
  switch (item.Format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
      tr.Right -= gl;
      tr.Left = roomy ? tr.Right - tw : im + 6;
      break;
    case HDF_CENTER:
      if (roomy) {
        tr.Left = tr.Left + im + (tr.Width() - tw - gl - im) / 2;
        tr.Right = tr.Left + tw;
      } else {
        tr.Left = im + 6;
        tr.Right -= gl;
      }
      break;
    default:
      tr.Left += im;
      if (avail > tw + tr.Left + im) tr.Right = tr.Left + tw;
      else tr.Right = avail - tr.Left;
  }
  if (glyph >= 0) {
    TsBackgroundInfo self;
    self.Bitmap = &out;
    self.IsBitmap = true;
    PaintGlyphMask(out, {tr.Right + 6, (tr.Height() - gh) / 2}, state, self,
                   t->Masks[size_t(glyph)], false);
  }
  if (state == 2) tr = tr.Offset(1, 1);
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
