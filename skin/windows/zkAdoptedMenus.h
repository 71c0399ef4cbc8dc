// Popup menus the platform builds for windows of the application (an edit box's own context
// menu: Undo, Cut, Copy, Paste ...) drawn like the application's own menus. When such a menu
// is about to open, each of its items gets a stand-in toolkit item carrying its caption,
// shortcut and state, and is switched to owner drawing with the stand-in as its data; the
// menu painter then measures and draws the stand-ins. Every item keeps its own command, so
// the window that opened the menu still gets the command the user chose. Once the menus have
// closed, a menu that still exists gets its items' own type and data back and the stand-ins
// go.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

class TMenuItem;
class TPopupMenu;

class TzkAdoptedMenus {
 public:
  TzkAdoptedMenus();
  ~TzkAdoptedMenus();
  TzkAdoptedMenus(const TzkAdoptedMenus&) = delete;
  TzkAdoptedMenus& operator=(const TzkAdoptedMenus&) = delete;

  // Adopts the menu (and its submenus) unless its first item already is, or stands for, one
  // of ours; `hook` gives each stand-in the painter's handlers. Menus adopted earlier that
  // the platform has destroyed since are forgotten first.
  void Adopt(HMENU menu, const std::function<void(TMenuItem*)>& hook);
  // Gives every adopted menu that still exists its items back and frees the stand-ins.
  void ReleaseAll();
  // Menus adopted and not yet released.
  size_t Count() const { return menus_.size(); }

 private:
  struct TOriginal {
    HMENU Menu;
    UINT Position;
    UINT Type;
    ULONG_PTR Data;
  };
  struct TAdopted {
    HMENU Menu = nullptr;
    std::unique_ptr<TPopupMenu> StandIn;
    std::vector<TOriginal> Items;
  };
  void AdoptItems(HMENU menu, TMenuItem* parent, TAdopted& into);
  static void Restore(const TAdopted& adopted);

  std::vector<TAdopted> menus_;
};
