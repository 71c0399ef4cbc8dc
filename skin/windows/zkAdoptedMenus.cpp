#include "skin/windows/zkAdoptedMenus.h"

#include <algorithm>
#include <string>

#include "toolkit/Menu.h"

namespace {

// The item's text: MIIM_STRING asked twice, for the length and then the characters.
std::wstring ItemText(HMENU menu, UINT position) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, position, TRUE, &mii) || mii.cch == 0) return {};
  std::wstring text(size_t(mii.cch) + 1, L'\0');
  mii.dwTypeData = text.data();
  mii.cch = UINT(text.size());
  if (!GetMenuItemInfoW(menu, position, TRUE, &mii)) return {};
  text.resize(std::min(size_t(mii.cch), text.size()));
  return text;
}

// A stand-in carrying what the painter reads of a platform item.
void CopyItem(const MENUITEMINFOW& mii, const std::wstring& text, TMenuItem* item) {
  if (mii.fType & MFT_SEPARATOR) {
    item->SetCaption(L"-");
  } else {
    // The platform shows the text after a tab right-aligned, as the shortcut.
    const size_t tab = text.find(L'\t');
    item->SetCaption(text.substr(0, tab));
    if (tab != std::wstring::npos) item->SetShortCutText(text.substr(tab + 1));
  }
  item->SetEnabled(!(mii.fState & (MFS_DISABLED | MFS_GRAYED)));
  item->SetChecked((mii.fState & MFS_CHECKED) != 0);
  item->SetDefault((mii.fState & MFS_DEFAULT) != 0);
  item->SetRadioItem((mii.fType & MFT_RADIOCHECK) != 0);
  item->SetBreak((mii.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0);
}

}  // namespace

TzkAdoptedMenus::TzkAdoptedMenus() = default;

TzkAdoptedMenus::~TzkAdoptedMenus() { ReleaseAll(); }

void TzkAdoptedMenus::Adopt(HMENU menu, const std::function<void(TMenuItem*)>& hook) {
  menus_.erase(std::remove_if(menus_.begin(), menus_.end(),
                              [](const TAdopted& a) { return !IsMenu(a.Menu); }),
               menus_.end());
  if (!menu || !IsMenu(menu) || GetMenuItemCount(menu) <= 0 || TMenuItem::FromMenu(menu, 0)) return;
  TAdopted adopted;
  adopted.Menu = menu;
  adopted.StandIn = std::make_unique<TPopupMenu>(nullptr);
  AdoptItems(menu, adopted.StandIn->Items(), adopted);
  TMenuItem* root = adopted.StandIn->Items();
  for (int i = 0; i < root->Count(); ++i) hook(root->Items(i));
  menus_.push_back(std::move(adopted));
}

void TzkAdoptedMenus::AdoptItems(HMENU menu, TMenuItem* parent, TAdopted& into) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &mii)) continue;
    auto* item = new TMenuItem(into.StandIn.get());
    CopyItem(mii, ItemText(menu, UINT(i)), item);
    parent->Add(item);
    if (mii.hSubMenu) AdoptItems(mii.hSubMenu, item, into);
    into.Items.push_back(TOriginal{menu, UINT(i), mii.fType, mii.dwItemData});
    MENUITEMINFOW drawn = {};
    drawn.cbSize = sizeof(drawn);
    drawn.fMask = MIIM_FTYPE | MIIM_DATA;
    drawn.fType = mii.fType | MFT_OWNERDRAW;
    drawn.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    SetMenuItemInfoW(menu, UINT(i), TRUE, &drawn);
  }
}

void TzkAdoptedMenus::Restore(const TAdopted& adopted) {
  for (const TOriginal& o : adopted.Items) {
    if (!IsMenu(o.Menu)) continue;
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    mii.fType = o.Type;
    mii.dwItemData = o.Data;
    SetMenuItemInfoW(o.Menu, o.Position, TRUE, &mii);
  }
}

void TzkAdoptedMenus::ReleaseAll() {
  for (const TAdopted& a : menus_) Restore(a);
  menus_.clear();
}
