// Menus. A TMainMenu is the menu bar of a form (TCustomForm::SetMenu); its items' WM_COMMAND
// reaches the form, which runs the item's Click. A TPopupMenu holds a tree of TMenuItem; Popup builds the platform menu from
// it and shows it with one shared hidden window (the popup list) as its owner, which turns
// WM_COMMAND into the item's Click and, for owner-drawn menus, WM_MEASUREITEM / WM_DRAWITEM
// into the item's OnMeasureItem / OnAdvancedDrawItem.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/paint/zkTypes.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Component.h"
#include "toolkit/Handles.h"

class TCanvas;
class TImageList;
class TMenu;
struct TMessage;

enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1,
  odGrayed = 2,
  odDisabled = 4,
  odChecked = 8,
  odFocused = 16,
  odDefault = 32,
  odNoAccel = 64,
};
using TOwnerDrawState = unsigned;

using TMenuMeasureItemEvent = std::function<void(TObject*, TCanvas&, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject*, TCanvas&, const TRect&, TOwnerDrawState)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  const wchar_t* ClassName() const override { return L"TMenuItem"; }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& c) { caption_ = c; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool on) { radioItem_ = on; }
  bool Default() const { return default_; }
  void SetDefault(bool on) { default_ = on; }
  bool Break() const { return break_; }
  void SetBreak(bool on) { break_ = on; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i) { imageIndex_ = i; }
  bool IsLine() const { return caption_ == L"-"; }
  // The item's own picture (32-bit with AlphaChannel: drawn through its alpha); empty when
  // it has none.
  TBitmap& Bitmap() { return bitmap_; }
  const TBitmap& Bitmap() const { return bitmap_; }
  bool HasBitmap() const { return !bitmap_.Empty(); }
  // The shortcut shown right of the caption ("Alt+F4"); empty for none.
  const std::wstring& ShortCutText() const { return shortCut_; }
  void SetShortCutText(const std::wstring& text) { shortCut_ = text; }
  // The images of this item's sub-items, or null for the menu's own.
  TImageList* SubMenuImages() const { return subMenuImages_; }
  void SetSubMenuImages(TImageList* images) { subMenuImages_ = images; }

  // Sub-items.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(size_t(index)); }
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  // The menu this item belongs to (through its parents).
  TMenu* GetParentMenu() const;

  // The command number of WM_COMMAND for this item; unique in the process.
  UINT Command() const { return command_; }
  static TMenuItem* FindByCommand(UINT command);
  // The item shown at a position of a built platform menu (ours, or the stand-in an item of
  // another menu carries as its data), or null.
  static TMenuItem* FromMenu(HMENU menu, int position);
  // The live item at this address, or null (a pointer kept in a posted message may outlive
  // its item); the address is compared, never followed.
  static TMenuItem* Live(const void* address);
  // The built platform menu that holds this item, or null while none is built.
  HMENU ContainingHandle() const;
  // The submenu handle while the menu is built (items with sub-items only).
  HMENU Handle() const { return submenu_; }

  virtual void Click();
  // Owner-draw protocol of the popup list.
  virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
  virtual void AdvancedDrawItem(TCanvas& canvas, const TRect& rect, TOwnerDrawState state);

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnAdvancedDrawItem;

 private:
  friend class TMenu;
  void AppendTo(HMENU menu, bool ownerDraw);

  std::wstring caption_;
  std::wstring shortCut_;
  TBitmap bitmap_;
  TImageList* subMenuImages_ = nullptr;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool radioItem_ = false;
  bool default_ = false;
  bool break_ = false;
  int imageIndex_ = -1;
  UINT command_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item
  std::vector<TMenuItem*> items_;
  HMENU submenu_ = nullptr;  // destroyed with the menu it belongs to
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  const wchar_t* ClassName() const override { return L"TMenu"; }

  TMenuItem* Items() const { return items_; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool on) { ownerDraw_ = on; }
  // The images of the items' ImageIndex, or null.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images) { images_ = images; }
  // The platform's opening animation of the menu (on by default).
  bool Animated() const { return animated_; }
  void SetAnimated(bool on) { animated_ = on; }
  // Builds the platform menu from the items (the previous one is destroyed).
  HMENU Handle();
  // The platform menu built last, or null.
  HMENU BuiltHandle() const { return handle_.Get(); }

 protected:
  // A menu bar (CreateMenu) instead of a popup menu.
  bool menuBar_ = false;

 private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  bool animated_ = true;
  TMenuHandle handle_;
};

// The menu bar of a form. The platform reserves its rows between the caption and the client
// area; a skinned frame paints over them.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) { menuBar_ = true; }
  const wchar_t* ClassName() const override { return L"TMainMenu"; }
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TPopupMenu"; }

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool on) { autoPopup_ = on; }
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  // Shows the menu at a screen point and returns when it has closed; the chosen item's
  // Click runs through the popup list window's WM_COMMAND.
  virtual void Popup(int x, int y);

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

// The window that owns every shown popup menu.
HWND PopupListWindow();
// Answers WM_MEASUREITEM / WM_DRAWITEM of an owner-drawn menu item whose data is one of our
// items, whichever window owns the menu; false (nothing done) for anything else.
bool AnswerMenuOwnerDraw(TMessage& m);
