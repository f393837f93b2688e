#include "framework/component.h"

#include <algorithm>

#include "runtime/exception.h"

namespace nitko {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->Insert(this);
}

TComponent::~TComponent() {
  MarkDestroying();
  DestroyComponents();
  if (owner_ != nullptr) owner_->Remove(this);
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
