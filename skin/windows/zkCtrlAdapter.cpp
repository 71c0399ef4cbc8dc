// TzkCtrlAdapter: adapters for the toolkit's non-skinned child controls of a skinned form.
#include "skin/windows/zkCtrlAdapter.h"

#include <algorithm>

#include "skin/controls/sLabel.h"
#include "skin/controls/zkSBUtils.h"
#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/windows/zkBtnWnd.h"
#include "skin/windows/zkCheckBoxWnd.h"
#include "skin/windows/zkComboBoxWnd.h"
#include "skin/windows/zkEditWnd.h"
#include "skin/windows/zkGroupBoxWnd.h"
#include "skin/windows/zkTabControlWnd.h"
#include "skin/windows/zkTreeViewWnd.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/WideText.h"

namespace {

constexpr intptr_t kNeverSkinnedTag = -98;
constexpr intptr_t kKeepLabelTag = 98;  // a plain label that keeps its own look

// Set while AddAllItems runs, so a child added during the walk does not start another one.
bool addingAll = false;

// Indexes of the ThirdParty lists whose adapters this build has.
enum : int {
  kThirdEdits = 0,
  kThirdButtons = 1,
  kThirdCheckBoxes = 3,
  kThirdComboBoxes = 4,
  kThirdGroupBoxes = 6,
  kThirdListViews = 7,
  kThirdTreeViews = 9,
  kThirdTabControl = 14
};

std::string ClassNameOf(const TControl* control) { return WideToUtf8(control->ClassName()); }

bool ListHolds(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

bool TzkAdapterItem::Live() const { return Adapter && Adapter->Hooked() && !Adapter->Destroyed(); }

int ThirdListOf(const TsSkinView& manager, const std::string& className) {
  for (int i = 0; i < kThirdListCount; ++i)
    if (ListHolds(manager.ThirdLists(i), className)) return i;
  return -1;
}

// The lists whose adapters this build has; every other list matches but yields no adapter,
// and the item is dropped again.
std::unique_ptr<TzkMainWnd> CreateThirdPartyAdapter(int list, HWND wnd, const std::string& section,
                                                    TsSkinView* manager) {
  if (!wnd || TzkMainWnd::FromWindow(wnd)) return nullptr;
  switch (list) {
    case kThirdEdits:
      return TzkMainWnd::Attach<TzkEditWnd>(wnd, true, section.empty() ? "EDIT" : section, manager);
    case kThirdButtons:
      return TzkMainWnd::Attach<TzkBtnWnd>(wnd, true, section.empty() ? "BUTTON" : section, manager);
    case kThirdCheckBoxes:
      return TzkMainWnd::Attach<TzkCheckBoxWnd>(wnd, true, section.empty() ? "CHECKBOX" : section,
                                                manager);
    case kThirdGroupBoxes:
      return TzkMainWnd::Attach<TzkGroupBoxWnd>(wnd, true, section.empty() ? "GROUPBOX" : section,
                                                manager);
    case kThirdListViews:
      return TzkMainWnd::Attach<TzkListViewWnd>(wnd, true, section.empty() ? "EDIT" : section,
                                                manager);
    case kThirdComboBoxes:
      return TzkMainWnd::Attach<TzkComboBoxWnd>(wnd, true, section, manager);
    case kThirdTreeViews:
      return TzkMainWnd::Attach<TzkTreeViewWnd>(wnd, true, section, manager);
    case kThirdTabControl:
      return TzkMainWnd::Attach<TzkTabControlWnd>(wnd, true, section, manager);
    default:
      return nullptr;
  }
}

// [SECTION] Plain labels given back

// The plain labels made transparent, with the look they had before; a label freed meanwhile
// drops out through its free notification.
class TzkLabelKeeper : public TComponent {
 public:
  TzkLabelKeeper() : TComponent(nullptr) {}
  // Records a label's own look the first time it is met.
  void Keep(TLabel* label) {
    for (const TKeptLabel& k : labels_)
      if (k.Label == label) return;
    labels_.push_back({label, label->Transparent(), label->Font().Color()});
    label->FreeNotification(this);
  }
  // Every label still alive gets its own transparency and font colour back.
  void GiveBack() {
    std::vector<TKeptLabel> labels = std::move(labels_);
    labels_.clear();
    for (const TKeptLabel& k : labels) {
      k.Label->RemoveFreeNotification(this);
      if (k.Label->IsDestroying()) continue;
      k.Label->SetTransparent(k.Transparent);
      k.Label->Font().SetColor(k.Color);
    }
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op != TOperation::opRemove) return;
    labels_.erase(std::remove_if(labels_.begin(), labels_.end(),
                                 [c](const TKeptLabel& k) { return k.Label == c; }),
                  labels_.end());
  }

 private:
  struct TKeptLabel {
    TLabel* Label;
    bool Transparent;
    TColor Color;
  };
  std::vector<TKeptLabel> labels_;
};

// [SECTION] TzkCtrlAdapter

TzkCtrlAdapter::TzkCtrlAdapter(TCustomForm* form, TsSkinView* manager)
    : form_(form), manager_(manager), labels_(std::make_unique<TzkLabelKeeper>()) {}

TzkCtrlAdapter::~TzkCtrlAdapter() {
  RemoveDeadItems();
  while (!items_.empty()) items_.pop_back();
  labels_->GiveBack();
}

void TzkCtrlAdapter::RemoveDeadItems() {
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [](const std::unique_ptr<TzkAdapterItem>& i) { return !i->Live(); }),
               items_.end());
}

void TzkCtrlAdapter::Broadcast(const TMessage& m) {
  for (const auto& item : items_)
    if (item->Live()) SendMessageW(item->Adapter->Handle(), m.Msg, m.WParam, m.LParam);
}

bool TzkCtrlAdapter::AskSkinItem(TControl* control, std::string& section) {
  bool canBeAdded = true;
  if (OnSkinItem) OnSkinItem(control, canBeAdded, section);
  return canBeAdded;
}

bool TzkCtrlAdapter::IsControlSupported(TControl* control, const std::string& className) {
  if (control->Tag() == kNeverSkinnedTag) return false;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (!w->HandleAllocated() || IsSkinnedWindow(w->WindowHandle())) return false;
    return ThirdListOf(*manager_, className) >= 0;
  }
  if (dynamic_cast<TLabel*>(control)) {
    std::string section;
    return AskSkinItem(control, section);
  }
  return false;
}

bool TzkCtrlAdapter::AddNewItem(TWinControl* control, const std::string& proposed) {
  if (!control || control->Tag() == kNeverSkinnedTag || !control->Parent() ||
      !control->HandleAllocated() || IsSkinnedWindow(control->WindowHandle()))
    return false;
  std::string section = proposed;
  if (!AskSkinItem(control, section)) return false;
  auto found = std::find_if(items_.begin(), items_.end(),
                            [control](const auto& i) { return i->Control == control; });
  TzkAdapterItem* item = found == items_.end() ? nullptr : found->get();
  if (!item) {
    items_.push_back(std::make_unique<TzkAdapterItem>());
    item = items_.back().get();
    item->Control = control;
    item->Owner = this;
  }
  item->SkinSection = section;
  if (!item->Live()) {
    item->Adapter.reset();
    item->Adapter = CreateThirdPartyAdapter(ThirdListOf(*manager_, ClassNameOf(control)),
                                            control->WindowHandle(), section, manager_);
  }
  if (item->Adapter) return true;
  items_.erase(std::find_if(items_.begin(), items_.end(),
                            [item](const auto& i) { return i.get() == item; }));
  return false;
}

void TzkCtrlAdapter::MakeLabelTransparent(TControl* control) {
  auto* label = dynamic_cast<TLabel*>(control);
  if (!label || dynamic_cast<TsCustomLabel*>(control)) return;
  // A label met as an owned component is met again as a child control: Tag 98 holds in both.
  if (label->Tag() == kKeepLabelTag) return;
  labels_->Keep(label);
  label->SetTransparent(true);
  label->Font().SetColor(manager_->GlobalFontColor());
}

void TzkCtrlAdapter::AdaptChild(TControl* control) {
  if (!IsControlSupported(control, ClassNameOf(control))) return;
  if (auto* w = dynamic_cast<TWinControl*>(control))
    AddNewItem(w, std::string());
  else
    MakeLabelTransparent(control);
}

void TzkCtrlAdapter::Recurse(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || !w->HandleAllocated() || !w->Parent()) return;
  addingAll = false;
  AddAllItems(w);
}

void TzkCtrlAdapter::AddAllItems(TWinControl* container) {
  if (!manager_ || !(manager_->SkinningRules() & srThirdParty) || addingAll) return;
  if (!container) container = form_;
  if (!container) return;
  addingAll = true;
  RemoveDeadItems();
  for (int i = 0; i < container->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(container->Components(i));
    if (!c || c->IsDestroying()) continue;
    AdaptChild(c);
    Recurse(c);
    addingAll = true;
  }
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* c = container->Controls(i);
    if (c->IsDestroying()) continue;
    AdaptChild(c);
    Recurse(c);
    addingAll = true;
  }
  addingAll = false;
}
