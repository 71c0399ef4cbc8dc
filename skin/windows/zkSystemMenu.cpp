#include "skin/windows/zkSystemMenu.h"

#include "skin/data/sSkinView.h"
#include "skin/windows/zkDialogWnd.h"

namespace {

// A platform caption carries its shortcut after a tab: the item shows it as its shortcut.
void SplitShortCut(TMenuItem* item, const wchar_t* fallback) {
  const std::wstring caption = item->Caption();
  const size_t tab = caption.find(L'\t');
  if (tab != std::wstring::npos) {
    item->SetCaption(caption.substr(0, tab));
    item->SetShortCutText(caption.substr(tab + 1));
  } else if (fallback) {
    item->SetShortCutText(fallback);
  }
}

// Frame kinds of a dialog (see TzkDialogWnd::FrameKind).
bool KindIn(int kind, std::initializer_list<int> kinds) {
  for (int k : kinds)
    if (k == kind) return true;
  return false;
}

}  // namespace

TzkSystemMenu::TzkSystemMenu(TzkDialogWnd& dialog) : TsCustomSysMenu(nullptr), dialog_(dialog) {
  SetName(L"SysMenu");
  Build();
}

void TzkSystemMenu::Build() {
  ClearItems();
  HMENU platform = GetSystemMenu(dialog_.Handle(), FALSE);
  ItemRestore = AddItem(L"miRestore", SC_RESTORE, L"Restore", platform);
  ItemMove = AddItem(L"miMove", SC_MOVE, L"Move", platform);
  ItemSize = AddItem(L"miSize", SC_SIZE, L"Size", platform);
  ItemMinimize = AddItem(L"miMinimize", SC_MINIMIZE, L"Minimize", platform);
  ItemMaximize = AddItem(L"miMaximize", SC_MAXIMIZE, L"Maximize", platform);
  AddLine();
  ItemClose = AddItem(L"miClose", SC_CLOSE, L"Close", platform);
  for (TMenuItem* item : {ItemRestore, ItemMove, ItemSize, ItemMinimize, ItemMaximize})
    SplitShortCut(item, nullptr);
  SplitShortCut(ItemClose, L"Alt+F4");
  // Drawn by the skin's menu painter while popups are skinned.
  TsSkinView* manager = dialog_.Skin().Manager;
  if (manager && manager->SkinnedPopups()) HookToPainter(manager);
}

// [SECTION] The six queries

bool TzkSystemMenu::Maximized() const { return IsZoomed(dialog_.Handle()) != FALSE; }
bool TzkSystemMenu::Minimized() const { return IsIconic(dialog_.Handle()) != FALSE; }

bool TzkSystemMenu::VisibleClose() const { return (dialog_.SavedStyle() & WS_SYSMENU) != 0; }
bool TzkSystemMenu::VisibleMax() const { return VisibleClose() && (dialog_.SavedStyle() & WS_MAXIMIZEBOX); }
bool TzkSystemMenu::VisibleMin() const { return VisibleClose() && (dialog_.SavedStyle() & WS_MINIMIZEBOX); }
bool TzkSystemMenu::EnabledMax() const {
  return (dialog_.SavedStyle() & WS_MAXIMIZEBOX) && !Maximized() && KindIn(dialog_.FrameKind(), {1, 3, 5});
}
bool TzkSystemMenu::EnabledMin() const { return (dialog_.SavedStyle() & WS_MINIMIZEBOX) && !Minimized(); }
bool TzkSystemMenu::EnabledRestore() const {
  return (dialog_.SavedStyle() & WS_MAXIMIZEBOX) && (Minimized() || Maximized());
}

// [SECTION] Refreshing, showing and actions

void TzkSystemMenu::Refresh() {
  const int kind = dialog_.FrameKind();
  ItemRestore->SetVisible(!KindIn(kind, {0, 2, 4, 5}) && VisibleClose());
  ItemRestore->SetEnabled(Minimized() || Maximized());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(!Maximized());
  ItemSize->SetVisible(!KindIn(kind, {0, 2, 4}));
  ItemSize->SetEnabled(kind != 1 && !Minimized());
  ItemMinimize->SetVisible((dialog_.SavedStyle() & WS_MINIMIZEBOX) != 0);
  ItemMinimize->SetEnabled(EnabledMin());
  ItemMaximize->SetVisible((dialog_.SavedStyle() & WS_MAXIMIZEBOX) != 0);
  ItemMaximize->SetEnabled(EnabledMax());
  ItemClose->SetVisible(VisibleClose());
  ItemClose->SetEnabled(true);
}

UINT TzkSystemMenu::ShowAt(int x, int y) {
  Refresh();
  // Items made since are hooked too.
  TsSkinView* manager = dialog_.Skin().Manager;
  if (manager && manager->SkinnedPopups()) HookToPainter(manager);
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | (Animated() ? 0 : TPM_NOANIMATION);
  // The dialog owns the menu while it is open (it answers the owner drawing); the chosen
  // item acts once the menu has closed.
  const UINT chosen = UINT(TrackPopupMenuEx(Handle(), flags, x, y, dialog_.Handle(), nullptr));
  if (TMenuItem* item = chosen ? TMenuItem::FindByCommand(chosen) : nullptr) item->Click();
  return chosen;
}

// Posted: closing may destroy the dialog, and this menu with its adapter, while the menu's
// item is still acting.
void TzkSystemMenu::SendCommand(UINT command) {
  HWND wnd = dialog_.Handle();
  if (!IsWindow(wnd)) return;
  PostMessageW(wnd, WM_SYSCOMMAND, command, 0);
  if (command == SC_RESTORE || command == SC_MAXIMIZE) Refresh();
}
