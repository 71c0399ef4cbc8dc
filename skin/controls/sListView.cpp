#include "skin/controls/sListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/controls/sLabel.h"
#include "skin/controls/zkAdapterFactory.h"
#include "skin/controls/zkScrollWnd.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sSectionPainterWin.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

// The list view's control kind in the skin data.
constexpr int ckListView = 10;

}  // namespace

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

// The bound label goes with the list, skinned or not; a disabled list is drawn disabled, and
// so is its label.
void TsCustomListView::FollowBoundLabel(const TMessage& m) {
  if (boundLabel_) boundLabel_->FollowOwner(m, true);
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
  // A list whose window was made before its skin applied has heard of no refresh yet: its
  // text takes the skin's colour here, as it does after every later skin change.
  if (!d.CustomFont())
    if (const TsGeneralData* s = d.Section(); s && Font().Color() != TColor(s->FontColor.Color))
      Font().SetColor(TColor(s->FontColor.Color));
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
  const bool mine = reinterpret_cast<TsSkinView*>(c.Param) == d.SkinManager();
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

void TsCustomListView::RefreshAdapterBars() {
  if (adapter_) adapter_->RefreshBars(true);
}
