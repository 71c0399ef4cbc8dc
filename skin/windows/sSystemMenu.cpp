#include "skin/windows/sSystemMenu.h"

#include "skin/data/sSkinView.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Application.h"

namespace {

// The caption of a platform menu item by command, or empty when the menu lacks it.
std::wstring PlatformCaption(HMENU menu, UINT command) {
  if (!menu) return {};
  wchar_t text[256] = {};
  if (GetMenuStringW(menu, command, text, 256, MF_BYCOMMAND) <= 0) return {};
  return text;
}

}  // namespace

// [SECTION] TsCustomSysMenu

TMenuItem* TsCustomSysMenu::AddItem(const wchar_t* name, UINT command, const wchar_t* fallback, HMENU platform) {
  auto* item = new TMenuItem(this);
  item->SetName(name);
  std::wstring caption = PlatformCaption(platform, command);
  item->SetCaption(caption.empty() ? fallback : caption);
  item->SetTag(intptr_t(command));
  item->OnClick = [this, command](TObject*) { SendCommand(command); };
  Items()->Add(item);
  return item;
}

void TsCustomSysMenu::AddLine() {
  auto* line = new TMenuItem(this);
  line->SetCaption(L"-");
  Items()->Add(line);
}

void TsCustomSysMenu::ClearItems() {
  while (Items()->Count() > 0) {
    TMenuItem* item = Items()->Items(Items()->Count() - 1);
    Items()->Remove(item);
    delete item;
  }
}

void TsCustomSysMenu::HookToPainter(TsSkinView* manager) {
  if (TsSkinableMenus* menus = SkinableMenusOf(manager)) menus->HookMenu(this, manager->Active());
}

// [SECTION] TsSystemMenu

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider, TCustomForm* form)
    : TsCustomSysMenu(nullptr), provider_(provider), form_(form) {
  SetName(L"SysMenu");
  Build();
}

void TsSystemMenu::Build() {
  ClearItems();
  HMENU platform = form_->HandleAllocated() ? GetSystemMenu(form_->WindowHandle(), FALSE) : nullptr;
  ItemRestore = AddItem(L"zkIR", SC_RESTORE, L"Restore", platform);
  ItemMove = AddItem(L"zkIM", SC_MOVE, L"Move", platform);
  ItemSize = AddItem(L"zkIS", SC_SIZE, L"Size", platform);
  ItemMinimize = AddItem(L"zkIN", SC_MINIMIZE, L"Minimize", platform);
  ItemMaximize = AddItem(L"zkIX", SC_MAXIMIZE, L"Maximize", platform);
  AddLine();
  extraCount_ = 0;
  const int count = platform ? GetMenuItemCount(platform) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(platform, i);
    if (id == UINT(-1) || id == 0 || id >= 0xF000) continue;
    wchar_t text[256] = {};
    GetMenuStringW(platform, UINT(i), text, 256, MF_BYPOSITION);
    auto* item = new TMenuItem(this);
    item->SetCaption(text);
    item->SetTag(intptr_t(id));
    item->OnClick = [this, id](TObject*) {
      if (form_->HandleAllocated()) PostMessageW(form_->WindowHandle(), WM_SYSCOMMAND, id, 0);
    };
    Items()->Add(item);
    ++extraCount_;
  }
  if (extraCount_ > 0) AddLine();
  ItemClose = AddItem(L"zkIC", SC_CLOSE, L"Close", platform);
}

// [SECTION] The six queries

bool TsSystemMenu::SingleOrSizable() const {
  const TFormBorderStyle style = form_->BorderStyle();
  return style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
}
bool TsSystemMenu::Sizable() const {
  const TFormBorderStyle style = form_->BorderStyle();
  return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}
bool TsSystemMenu::Maximized() const {
  return form_->HandleAllocated() && IsZoomed(form_->WindowHandle());
}
bool TsSystemMenu::Minimized() const {
  return form_->HandleAllocated() && IsIconic(form_->WindowHandle());
}

bool TsSystemMenu::VisibleClose() const { return provider_->HadSystemMenu(); }
bool TsSystemMenu::VisibleMax() const {
  return VisibleClose() && (Minimized() || MdiChild() ||
                            (SingleOrSizable() && (form_->BorderIcons() & biMaximize)));
}
bool TsSystemMenu::VisibleMin() const {
  return VisibleClose() && (Minimized() || MdiChild() ||
                            (SingleOrSizable() && (form_->BorderIcons() & biMinimize)));
}
bool TsSystemMenu::EnabledMax() const {
  if (MdiChild()) return (form_->BorderIcons() & biMaximize) != 0;
  return !Maximized() && SingleOrSizable() && (form_->BorderIcons() & biMaximize);
}
bool TsSystemMenu::EnabledMin() const {
  return (form_->BorderIcons() & biMinimize) && !Minimized();
}
bool TsSystemMenu::EnabledRestore() const {
  const bool normal = !Maximized() && !Minimized();
  return ((form_->BorderIcons() & biMaximize) && !normal) || Minimized();
}

// [SECTION] Refreshing and actions

void TsSystemMenu::Refresh() {
  const TFormBorderStyle style = form_->BorderStyle();
  ItemRestore->SetVisible(VisibleClose() && (MdiChild() || SingleOrSizable()));
  ItemRestore->SetEnabled(EnabledRestore());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(!Maximized());
  ItemSize->SetVisible(MdiChild() || (style != TFormBorderStyle::bsNone &&
                                      style != TFormBorderStyle::bsDialog &&
                                      style != TFormBorderStyle::bsToolWindow));
  ItemSize->SetEnabled(style != TFormBorderStyle::bsSingle && !Minimized());
  ItemMinimize->SetVisible(VisibleMin());
  ItemMinimize->SetEnabled(EnabledMin());
  ItemMaximize->SetVisible(VisibleMax());
  ItemMaximize->SetEnabled(EnabledMax());
  ItemClose->SetVisible(VisibleClose());
  ItemClose->SetEnabled(true);
}

void TsSystemMenu::SendCommand(UINT command) {
  if (!form_->HandleAllocated()) return;
  if (command == SC_MINIMIZE && Application->MainForm() == form_) {
    Application->Minimize();
    Refresh();
    return;
  }
  SendMessageW(form_->WindowHandle(), WM_SYSCOMMAND, command, 0);
  if (command == SC_RESTORE || command == SC_MAXIMIZE) Refresh();
}

void TsSystemMenu::ShowAt(int x, int y) {
  TsSkinView* manager = provider_->SkinManager();
  if (manager && !manager->SkinnedPopups()) {
    ShowPlatformMenu(x, y);
    return;
  }
  if (extraCount_ > 0) Build();
  Refresh();
  HookToPainter(manager);
  Popup(x, y);
}

void TsSystemMenu::ShowPlatformMenu(int x, int y) {
  if (!form_->HandleAllocated()) return;
  HWND wnd = form_->WindowHandle();
  HMENU menu = GetSystemMenu(wnd, FALSE);
  if (!menu) return;
  Refresh();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  SetWindowLongPtrW(wnd, GWL_STYLE, style & ~LONG_PTR(WS_VISIBLE));
  auto enable = [menu](UINT command, bool on) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  const bool normal = !Maximized() && !Minimized();
  enable(SC_RESTORE, ItemRestore->Visible() && EnabledRestore());
  enable(SC_MOVE, normal);
  enable(SC_SIZE, ItemSize->Visible() && ItemSize->Enabled() && normal);
  enable(SC_MINIMIZE, VisibleMin() && EnabledMin());
  enable(SC_MAXIMIZE, VisibleMax() && EnabledMax());
  enable(SC_CLOSE, VisibleClose());
  SetWindowLongPtrW(wnd, GWL_STYLE, style);
  const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr));
  if (chosen) PostMessageW(wnd, WM_SYSCOMMAND, chosen, 0);
}
