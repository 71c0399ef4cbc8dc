#include "toolkit/ListView.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/ImageList.h"

namespace {
const std::wstring kEmpty;
}

void TListItem::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  owner_->ItemChanged(index_);
}

const std::wstring& TListItem::SubItem(int i) const {
  return i >= 0 && i < int(subItems_.size()) ? subItems_[size_t(i)] : kEmpty;
}

void TListItem::SetSubItem(int i, const std::wstring& text) {
  if (i < 0) return;
  if (i >= int(subItems_.size())) subItems_.resize(size_t(i) + 1);
  if (subItems_[size_t(i)] == text) return;
  subItems_[size_t(i)] = text;
  owner_->ItemChanged(index_);
}

void TListItem::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  owner_->ItemChanged(index_);
}

bool TListItem::Selected() const {
  if (!owner_->HandleAllocated()) return false;
  return ListView_GetItemState(owner_->WindowHandle(), index_, LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool on) {
  HWND wnd = owner_->Handle();
  ListView_SetItemState(wnd, index_, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
  Destroying();
  DestroyHandle();
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_LISTVIEWW;
  p.Style |= LVS_REPORT | LVS_SHAREIMAGELISTS;
  if (!columnClick_) p.Style |= LVS_NOSORTHEADER;
  if (!multiSelect_) p.Style |= LVS_SINGLESEL;
  if (!hideSelection_) p.Style |= LVS_SHOWSELALWAYS;
  if (source_) p.Style |= LVS_OWNERDATA;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyExtendedStyle();
  ApplyColors();
  if (smallImages_) ListView_SetImageList(handle_, smallImages_->Handle(), LVSIL_SMALL);
  for (int i = 0; i < ColumnCount(); ++i) InsertColumnInWindow(i);
  ListView_SetItemCount(handle_, ItemCount());
  if (!source_)
    for (int i = 0; i < ItemCount(); ++i) InsertItemInWindow(i);
}

void TListView::ApplyExtendedStyle() {
  if (!handle_) return;
  DWORD ex = LVS_EX_SUBITEMIMAGES & 0;
  if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
  ListView_SetExtendedListViewStyleEx(handle_, LVS_EX_FULLROWSELECT, ex);
}

void TListView::ApplyColors() {
  if (!handle_) return;
  ListView_SetBkColor(handle_, ToColorRef(Color()));
  ListView_SetTextBkColor(handle_, ToColorRef(Color()));
  ListView_SetTextColor(handle_, ToColorRef(Font().Color()));
}

void TListView::ColorChanged() {
  TWinControl::ColorChanged();
  ApplyColors();
  Invalidate();
}

void TListView::FontChanged() {
  TWinControl::FontChanged();
  ApplyColors();
}

void TListView::ApplyStyleBit(DWORD bit, bool on) {
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  style = on ? (style | LONG_PTR(bit)) : (style & ~LONG_PTR(bit));
  SetWindowLongPtrW(handle_, GWL_STYLE, style);
}

void TListView::SetRowSelect(bool on) {
  rowSelect_ = on;
  ApplyExtendedStyle();
}

void TListView::SetColumnClick(bool on) {
  columnClick_ = on;
  ApplyStyleBit(LVS_NOSORTHEADER, !on);
}

void TListView::SetMultiSelect(bool on) {
  multiSelect_ = on;
  ApplyStyleBit(LVS_SINGLESEL, !on);
}

void TListView::SetHideSelection(bool on) {
  hideSelection_ = on;
  ApplyStyleBit(LVS_SHOWSELALWAYS, !on);
}

void TListView::SetSmallImages(TImageList* images) {
  if (smallImages_) smallImages_->RemoveFreeNotification(this);
  smallImages_ = images;
  if (images) images->FreeNotification(this);
  if (handle_) ListView_SetImageList(handle_, images ? images->Handle() : nullptr, LVSIL_SMALL);
}

void TListView::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == TOperation::opRemove && c == smallImages_) {
    smallImages_ = nullptr;
    if (handle_) ListView_SetImageList(handle_, nullptr, LVSIL_SMALL);
  }
}

bool TListView::WantsKey(WORD key) const { return key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE; }

int TListView::AddColumn(const std::wstring& caption, int width) {
  columns_.push_back({caption, width});
  const int i = ColumnCount() - 1;
  if (handle_) InsertColumnInWindow(i);
  return i;
}

void TListView::SetColumnWidth(int i, int width) {
  columns_.at(size_t(i)).Width = width;
  if (handle_) ListView_SetColumnWidth(handle_, i, width);
}

void TListView::ChangeScale(int fromDpi, int toDpi) {
  TWinControl::ChangeScale(fromDpi, toDpi);
  scaledColumnWidths_.resize(columns_.size());
  for (size_t i = 0; i < columns_.size(); ++i) {
    const int now = handle_ ? ListView_GetColumnWidth(handle_, int(i)) : columns_[i].Width;
    SetColumnWidth(int(i), scaledColumnWidths_[i].Rescale(now, fromDpi, toDpi));
  }
}

void TListView::InsertColumnInWindow(int i) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.fmt = LVCFMT_LEFT;
  col.cx = columns_[size_t(i)].Width;
  col.pszText = const_cast<wchar_t*>(columns_[size_t(i)].Caption.c_str());
  SendMessageW(handle_, LVM_INSERTCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&col));
}

void TListView::InsertItemInWindow(int i) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = i;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = I_IMAGECALLBACK;
  SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

TListItem* TListView::Item(int i) const {
  if (!source_) return items_.at(size_t(i)).get();
  if (i < 0 || i >= ownerCount_) throw std::out_of_range("list view row out of range");
  if (!snapshot_) snapshot_ = std::make_unique<TListItem>(const_cast<TListView*>(this), i);
  TListItem& item = *snapshot_;
  item.index_ = i;
  item.caption_ = source_->ItemText(i, 0);
  item.subItems_.resize(size_t(std::max(ColumnCount() - 1, 0)));
  for (size_t c = 0; c < item.subItems_.size(); ++c)
    item.subItems_[c] = source_->ItemText(i, int(c) + 1);
  item.imageIndex_ = source_->ItemImage(i);
  return &item;
}

TListItem* TListView::AddItem() {
  const int i = ItemCount();
  if (source_) {
    SetItemCount(i + 1);
    return Item(i);
  }
  items_.push_back(std::make_unique<TListItem>(this, i));
  if (handle_) InsertItemInWindow(i);
  return items_.back().get();
}

void TListView::DeleteItem(int i) {
  if (i < 0 || i >= ItemCount()) return;
  // The platform moves the selection and focus of the rows below up with them.
  if (handle_ && !(source_ && updateCount_ > 0)) ListView_DeleteItem(handle_, i);
  if (source_) {
    --ownerCount_;
    return;
  }
  items_.erase(items_.begin() + i);
  for (int k = i; k < ItemCount(); ++k) items_[size_t(k)]->index_ = k;
}

void TListView::ClearItems() {
  if (handle_) ListView_DeleteAllItems(handle_);
  items_.clear();
  ownerCount_ = 0;
}

void TListView::BeginUpdate() {
  if (updateCount_++ == 0 && handle_) SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && handle_) {
    if (source_) ApplyItemCount();
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TListView::SetOwnerData(TListViewSource* source) {
  items_.clear();
  source_ = source;
  ownerCount_ = 0;
  // The platform fixes the mode when it creates the window.
  RecreateWnd();
}

void TListView::SetItemCount(int count) {
  if (!source_) return;
  ownerCount_ = std::max(count, 0);
  if (handle_ && updateCount_ == 0) ApplyItemCount();
}

void TListView::ApplyItemCount() {
  // No scrolling and no repaint of the rows already shown: only new rows are drawn.
  ListView_SetItemCountEx(handle_, ownerCount_, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void TListView::ItemChanged(int index, int column) {
  // Rows are repainted in one batch once the current message is done: invalidating row by
  // row costs far more than changing the texts of a whole list.
  if (!handle_ || updateCount_ > 0) return;
  dirtyColumns_ |= column > 0 && column < 64 ? uint64_t(1) << column : uint64_t(1);
  if (dirtyFirst_ < 0) {
    dirtyFirst_ = dirtyLast_ = index;
    PostMessageW(handle_, CM_FLUSHITEMREDRAW, 0, 0);
  } else {
    dirtyFirst_ = std::min(dirtyFirst_, index);
    dirtyLast_ = std::max(dirtyLast_, index);
  }
}

void TListView::FlushItemRedraw() {
  if (dirtyFirst_ < 0 || !handle_) return;
  const int top = ListView_GetTopIndex(handle_);
  const int last = top + ListView_GetCountPerPage(handle_);
  const int first = std::max(dirtyFirst_, top);
  const int end = std::min({dirtyLast_, last, ItemCount() - 1});
  const uint64_t columns = dirtyColumns_;
  dirtyFirst_ = dirtyLast_ = -1;
  dirtyColumns_ = 0;
  if (first > end) return;
  if (columns & 1) {
    ListView_RedrawItems(handle_, first, end);
    return;
  }
  // Only later columns changed (a ticking time, say): repaint just their cells.
  RECT area = {};
  for (int c = 1; c < std::min(ColumnCount(), 64); ++c) {
    if (!((columns >> c) & 1)) continue;
    RECT top = {}, bottom = {};
    ListView_GetSubItemRect(handle_, first, c, LVIR_BOUNDS, &top);
    ListView_GetSubItemRect(handle_, end, c, LVIR_BOUNDS, &bottom);
    const RECT cells = {top.left, top.top, top.right, bottom.bottom};
    UnionRect(&area, &area, &cells);
  }
  if (!IsRectEmpty(&area)) InvalidateRect(handle_, &area, TRUE);
}

TListItem* TListView::Selected() const {
  const int i = ItemIndex();
  return i >= 0 ? Item(i) : nullptr;
}

int TListView::ItemIndex() const {
  if (!handle_) return -1;
  const int i = ListView_GetNextItem(handle_, -1, LVNI_SELECTED);
  return i >= 0 && i < ItemCount() ? i : -1;
}

void TListView::SetItemIndex(int i) {
  HWND wnd = Handle();
  ListView_SetItemState(wnd, -1, 0, LVIS_SELECTED);
  if (i >= 0 && i < ItemCount()) ListView_SetItemState(wnd, i, LVIS_SELECTED, LVIS_SELECTED);
}

void TListView::OnGetDispInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  if (item.iItem < 0 || item.iItem >= ItemCount()) return;
  if (source_) {
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
      lstrcpynW(item.pszText, source_->ItemText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
    if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 ? source_->ItemImage(item.iItem) : -1;
    return;
  }
  const TListItem& li = *items_[size_t(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const std::wstring& text = item.iSubItem == 0 ? li.caption_ : li.SubItem(item.iSubItem - 1);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 ? li.imageIndex_ : -1;
}

int TListView::FindItem(const NMLVFINDITEMW& find) const {
  // Type-ahead in an owner-data list: the first caption from iStart on (wrapping round when
  // asked) that starts with the typed text, ignoring case, as the platform does for its own rows.
  if (!source_ || !(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  const std::wstring wanted = find.lvfi.psz;
  const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
  const int count = ItemCount();
  const int start = std::min(std::max(find.iStart, 0), count);
  const int span = (find.lvfi.flags & LVFI_WRAP) ? count : count - start;
  for (int k = 0; k < span; ++k) {
    const int i = (start + k) % count;
    std::wstring text = source_->ItemText(i, 0);
    if (partial && text.size() > wanted.size()) text.resize(wanted.size());
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), int(text.size()),
                       wanted.c_str(), int(wanted.size())) == CSTR_EQUAL)
      return i;
  }
  return -1;
}

LRESULT TListView::OnCustomDraw(NMLVCUSTOMDRAW* cd) {
  const DWORD stage = cd->nmcd.dwDrawStage;
  const auto advanced = [&](TCustomDrawStage s) {
    bool defaultDraw = true;
    if (!OnAdvancedCustomDraw) return true;
    canvas_.SetHandle(cd->nmcd.hdc);
    OnAdvancedCustomDraw(this, FromRECT(cd->nmcd.rc), s, defaultDraw);
    canvas_.SetHandle(nullptr);
    return defaultDraw;
  };
  switch (stage) {
    case CDDS_PREPAINT: {
      const bool draw = advanced(TCustomDrawStage::cdPrePaint);
      if (!draw) return CDRF_SKIPDEFAULT;
      LRESULT r = OnCustomDrawItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      if (OnAdvancedCustomDraw) r |= CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYPOSTERASE;
      return r;
    }
    case CDDS_POSTPAINT:
      advanced(TCustomDrawStage::cdPostPaint);
      return CDRF_DODEFAULT;
    case CDDS_PREERASE:
      return advanced(TCustomDrawStage::cdPreErase) ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    case CDDS_POSTERASE:
      advanced(TCustomDrawStage::cdPostErase);
      return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
      const int index = int(cd->nmcd.dwItemSpec);
      if (!OnCustomDrawItem || index < 0 || index >= ItemCount()) return CDRF_DODEFAULT;
      TCustomDrawState state = 0;
      if (cd->nmcd.uItemState & CDIS_SELECTED) state |= cdsSelected;
      if (cd->nmcd.uItemState & CDIS_FOCUS) state |= cdsFocused;
      if (cd->nmcd.uItemState & CDIS_HOT) state |= cdsHot;
      canvas_.SetHandle(cd->nmcd.hdc);
      canvas_.Brush().SetColor(Color());
      canvas_.Font().Assign(Font());
      bool defaultDraw = true;
      try {
        OnCustomDrawItem(this, Item(index), state, defaultDraw);
      } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
      }
      canvas_.SetHandle(nullptr);
      if (!defaultDraw) return CDRF_SKIPDEFAULT;
      cd->clrTextBk = ToColorRef(canvas_.Brush().Color());
      cd->clrText = ToColorRef(canvas_.Font().Color());
      if (!(canvas_.Font() == Font()) &&
          (canvas_.Font().Name() != Font().Name() || canvas_.Font().Height() != Font().Height() ||
           canvas_.Font().Style() != Font().Style())) {
        SelectObject(cd->nmcd.hdc, canvas_.Font().Handle());
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
  }
  return CDRF_DODEFAULT;
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CM_FLUSHITEMREDRAW) {
    FlushItemRedraw();
    return;
  }
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (hdr->code) {
      case LVN_GETDISPINFOW:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(m.LParam));
        return;
      case NM_CUSTOMDRAW:
        m.Result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam));
        return;
      case LVN_ODFINDITEMW:
        m.Result = FindItem(*reinterpret_cast<NMLVFINDITEMW*>(m.LParam));
        return;
    }
    return;
  }
  TWinControl::WndProc(m);
}
