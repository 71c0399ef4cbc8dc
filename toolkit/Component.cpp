#include "toolkit/Component.h"

#include <algorithm>

namespace {

void EraseValue(std::vector<TComponent*>& v, TComponent* c) {
  v.erase(std::remove(v.begin(), v.end(), c), v.end());
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell the components that asked; they drop their references to this one.
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    EraseValue(c->freeNotifies_, this);
    c->Notification(this, TOperation::opRemove);
  }
  // Owned components go from the last to the first.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    delete c;  // its destructor removes it from components_
  }
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
  for (TComponent* c : components_)
    if (_wcsicmp(c->name_.c_str(), name.c_str()) == 0) return c;
  return nullptr;
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
    freeNotifies_.push_back(c);
  if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
    c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (!c) return;
  EraseValue(freeNotifies_, c);
  EraseValue(c->freeNotifies_, this);
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  if (state_ & csLoading) c->BeginLoading();
  if (!(state_ & csDestroying)) Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  if (c->owner_ != this) return;
  if (!(state_ & csDestroying)) Notification(c, TOperation::opRemove);
  EraseValue(components_, c);
  c->owner_ = nullptr;
}

void TComponent::BeginLoading() {
  state_ |= csLoading;
  for (TComponent* c : components_) c->BeginLoading();
}

// The owned components run Loaded first, in creation order, and this component last; it
// counts as loaded already while they do, so what they do in their Loaded (a skin manager
// telling every loaded form about its skin) finds their owner loaded.
void TComponent::EndLoading() {
  const bool loading = IsLoading();
  state_ &= ~unsigned(csLoading);
  const std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c->IsLoading()) c->EndLoading();
  if (loading) Loaded();
}

void TComponent::Loaded() { state_ &= ~unsigned(csLoading); }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::SetState(unsigned flags, bool on) {
  if (on)
    state_ |= flags;
  else
    state_ &= ~flags;
}
