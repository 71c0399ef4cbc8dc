// TzkCtrlAdapter: the child controls of a skinned form that are not skinned controls
// themselves get window adapters by the skin manager's ThirdParty class lists, and plain
// labels are made transparent in the skin's general font colour. One per frame provider; the
// adapters it made give their windows back when it goes, and the labels their own look.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Messages.h"

class TControl;
class TCustomForm;
class TWinControl;
class TsSkinView;
class TzkCtrlAdapter;
class TzkLabelKeeper;
class TzkMainWnd;

// Asked before a control is adapted: clear canBeAdded to leave it alone, or change the skin
// section it gets (empty: the adapter's default section).
using TAddItemEvent = std::function<void(TControl* item, bool& canBeAdded, std::string& section)>;

// One adapted control.
struct TzkAdapterItem {
  TWinControl* Control = nullptr;
  std::string SkinSection;
  std::unique_ptr<TzkMainWnd> Adapter;  // null when no adapter fits
  TzkCtrlAdapter* Owner = nullptr;
  // The adapter still serves the control's window.
  bool Live() const;
};
using TzkAdapterItems = std::vector<std::unique_ptr<TzkAdapterItem>>;

// The ThirdParty list (by index) that holds a class name, first in list order; -1 for none.
int ThirdListOf(const TsSkinView& manager, const std::string& className);
// The adapter of the given ThirdParty list for a window, or null when this build has no
// adapter of that kind.
std::unique_ptr<TzkMainWnd> CreateThirdPartyAdapter(int list, HWND wnd, const std::string& section,
                                                    TsSkinView* manager);

class TzkCtrlAdapter {
 public:
  TzkCtrlAdapter(TCustomForm* form, TsSkinView* manager);
  // Drops the dead items, then frees the others last to first (their windows go back).
  ~TzkCtrlAdapter();
  TzkCtrlAdapter(const TzkCtrlAdapter&) = delete;
  TzkCtrlAdapter& operator=(const TzkCtrlAdapter&) = delete;

  // Adapts the container's owned components and child controls, recursively; a null
  // container means the form. Runs only when the rules admit third-party controls, and not
  // inside another run.
  void AddAllItems(TWinControl* container = nullptr);
  // Adapts one windowed control with a proposed section; true when it has a live adapter.
  bool AddNewItem(TWinControl* control, const std::string& section);
  // Frees every item whose adapter is missing or has handed its window back.
  void RemoveDeadItems();
  // Sends a message to the window of every live item.
  void Broadcast(const TMessage& m);
  const TzkAdapterItems& Items() const { return items_; }

  TAddItemEvent OnSkinItem;

 private:
  bool IsControlSupported(TControl* control, const std::string& className);
  bool AskSkinItem(TControl* control, std::string& section);
  void AdaptChild(TControl* control);
  void MakeLabelTransparent(TControl* control);
  void Recurse(TControl* control);

  TCustomForm* form_;
  TsSkinView* manager_;
  TzkAdapterItems items_;
  // The labels made transparent; they get their own look back when the adapter goes.
  std::unique_ptr<TzkLabelKeeper> labels_;
};
