#include "framework/component.h"

#include <algorithm>

#include "runtime/exception.h"

namespace nitko {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->Insert(this);
}

// Teardown, once the subclasses' destructors have run: mark, tell the linked
// components, destroy the owned ones newest first, leave the owner.
TComponent::~TComponent() {
  MarkDestroying();
  // One at a time: a notified component may destroy another linked one,
  // which then unlinks itself from this list.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    Unlink(other->free_notifies_, this);
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->Remove(this);
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) != free_notifies_.end())
    return;
  free_notifies_.push_back(other);
  other->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (other == nullptr) return;
  Unlink(free_notifies_, other);
  Unlink(other->free_notifies_, this);
}

void TComponent::Unlink(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back();  // unlinks itself
}

TComponent* TComponent::Components(int index) const {
  CheckListIndex(index, ComponentCount());
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (c->name_ == name) return c;
  return nullptr;
}

void TComponent::EndLoading() {
  state_ &= ~unsigned(TComponentStateFlag::csLoading);
  Loaded();
}

void TComponent::MarkDestroying() { state_ |= unsigned(TComponentStateFlag::csDestroying); }

void TComponent::Insert(TComponent* child) { components_.push_back(child); }

void TComponent::Remove(TComponent* child) {
  auto it = std::find(components_.begin(), components_.end(), child);
  if (it != components_.end()) components_.erase(it);
  child->owner_ = nullptr;
}

}  // namespace nitko
