#include "toolkit/Menu.h"

#include <algorithm>
#include <map>
#include <memory>

#include "toolkit/Canvas.h"
#include "toolkit/UtilWindow.h"

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static auto* commands = new std::map<UINT, TMenuItem*>;
  return *commands;
}

UINT NextCommand() {
  static UINT next = 100;
  while (Commands().count(next) || next < 100) next = next >= 0x7FFF ? 100 : next + 1;
  return next++;
}

void HandlePopupList(TMessage& m, bool& handled) {
  if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == 0) {
    if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(m.WParam))) {
      handled = true;
      item->Click();
    }
    return;
  }
  handled = AnswerMenuOwnerDraw(m);
}

TOwnerDrawState OwnerDrawStateOf(UINT itemState) {
  TOwnerDrawState state = 0;
  if (itemState & ODS_SELECTED) state |= odSelected;
  if (itemState & ODS_GRAYED) state |= odGrayed;
  if (itemState & ODS_DISABLED) state |= odDisabled;
  if (itemState & ODS_CHECKED) state |= odChecked;
  if (itemState & ODS_FOCUS) state |= odFocused;
  if (itemState & ODS_DEFAULT) state |= odDefault;
  if (itemState & ODS_NOACCEL) state |= odNoAccel;
  return state;
}

}  // namespace

bool AnswerMenuOwnerDraw(TMessage& m) {
  if (m.Msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    TMenuItem* item = mis && mis->CtlType == ODT_MENU ? TMenuItem::Live(reinterpret_cast<void*>(mis->itemData)) : nullptr;
    if (!item) return false;
    TWindowDc screen(nullptr);
    TCanvas canvas(screen.Get());
    int w = int(mis->itemWidth), h = int(mis->itemHeight);
    item->MeasureItem(canvas, w, h);
    mis->itemWidth = UINT(std::max(w, 0));
    mis->itemHeight = UINT(std::max(h, 0));
    m.Result = TRUE;
    return true;
  }
  if (m.Msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    TMenuItem* item = dis && dis->CtlType == ODT_MENU ? TMenuItem::Live(reinterpret_cast<void*>(dis->itemData)) : nullptr;
    if (!item) return false;
    TCanvas canvas(dis->hDC);
    item->AdvancedDrawItem(canvas, FromRECT(dis->rcItem), OwnerDrawStateOf(dis->itemState));
    m.Result = TRUE;
    return true;
  }
  return false;
}

HWND PopupListWindow() {
  static auto* window = new TUtilWindow(HandlePopupList);
  return window->Handle();
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  for (TMenuItem* child : items_) child->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromMenu(HMENU menu, int position) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_DATA;
  if (!menu || !GetMenuItemInfoW(menu, UINT(position), TRUE, &mii)) return nullptr;
  TMenuItem* item = FindByCommand(mii.wID);
  if (item && reinterpret_cast<ULONG_PTR>(item) == mii.dwItemData) return item;
  // An item of a menu the platform built keeps the platform's command and may carry one of
  // ours as its data (a stand-in that draws it).
  return mii.dwItemData ? Live(reinterpret_cast<const void*>(mii.dwItemData)) : nullptr;
}

TMenuItem* TMenuItem::Live(const void* address) {
  for (const auto& entry : Commands())
    if (static_cast<const void*>(static_cast<TObject*>(entry.second)) == address) return entry.second;
  return nullptr;
}

HMENU TMenuItem::ContainingHandle() const {
  if (!parent_) return nullptr;
  if (parent_->parent_) return parent_->submenu_;
  return parent_->menu_ ? parent_->menu_->BuiltHandle() : nullptr;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  if (item->parent_ == this) item->parent_ = nullptr;
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  return int(std::find(parent_->items_.begin(), parent_->items_.end(), this) - parent_->items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  if (OnMeasureItem) {
    OnMeasureItem(this, canvas, width, height);
    return;
  }
  if (IsLine()) {
    width = 10;
    height = GetSystemMetrics(SM_CYMENUSIZE) / 2;
    return;
  }
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  TFontHandle font(CreateFontIndirectW(&ncm.lfMenuFont));
  TSelectObject select(canvas.Handle(), font.Get());
  SIZE s = {};
  GetTextExtentPoint32W(canvas.Handle(), caption_.c_str(), int(caption_.size()), &s);
  width = s.cx + 16 + 8;
  height = std::max(int(s.cy) + 4, GetSystemMetrics(SM_CYMENUSIZE));
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const TRect& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, canvas, rect, state);
    return;
  }
  HDC dc = canvas.Handle();
  RECT r = ToRECT(rect);
  const bool selected = (state & odSelected) && enabled_;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = {r.left + 2, (r.top + r.bottom) / 2 - 1, r.right - 2, (r.top + r.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  if (default_) ncm.lfMenuFont.lfWeight = FW_BOLD;
  TFontHandle font(CreateFontIndirectW(&ncm.lfMenuFont));
  TSelectObject select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled_ ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text = {r.left + 16 + 4, r.top, r.right - 4, r.bottom};
  DrawTextW(dc, caption_.c_str(), int(caption_.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | ((state & odNoAccel) ? DT_HIDEPREFIX : 0));
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  if (!visible_) return;
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
  mii.wID = command_;
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  mii.fState = (enabled_ ? MFS_ENABLED : MFS_DISABLED) | (checked_ ? MFS_CHECKED : 0) |
               (default_ ? MFS_DEFAULT : 0);
  mii.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (radioItem_) mii.fType |= MFT_RADIOCHECK;
  if (break_) mii.fType |= MFT_MENUBREAK;
  if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
  // The platform shows the text after a tab right-aligned, as the shortcut.
  const std::wstring text = shortCut_.empty() ? caption_ : caption_ + L"\t" + shortCut_;
  if (!IsLine()) {
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
  }
  submenu_ = nullptr;
  if (!items_.empty()) {
    HMENU sub = CreatePopupMenu();
    for (TMenuItem* child : items_) child->AppendTo(sub, ownerDraw);
    submenu_ = sub;
    mii.fMask |= MIIM_SUBMENU;
    mii.hSubMenu = sub;
  }
  InsertMenuItemW(menu, UINT(GetMenuItemCount(menu)), TRUE, &mii);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() = default;

HMENU TMenu::Handle() {
  handle_.Reset(menuBar_ ? CreateMenu() : CreatePopupMenu());
  for (TMenuItem* item : items_->items_) item->AppendTo(handle_.Get(), ownerDraw_);
  return handle_.Get();
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Notification(TComponent* c, TOperation op) {
  TMenu::Notification(c, op);
  if (op == TOperation::opRemove && c == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HMENU menu = Handle();
  HWND owner = PopupListWindow();
  const UINT animation = Animated() ? 0 : TPM_NOANIMATION;
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | animation, x, y, owner, nullptr);
}
