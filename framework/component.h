#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/persistent.h"

namespace nitko {

enum class TComponentStateFlag : unsigned { csLoading = 1, csDestroying = 2 };

// What Notification() reports about another component.
enum class TOperation { opRemove };

// A named object owned by another; the owner destroys what it owns, newest
// first.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  TComponent* FindComponent(const std::string& name) const;

  bool IsLoading() const { return (state_ & unsigned(TComponentStateFlag::csLoading)) != 0; }
  bool IsDestroying() const { return (state_ & unsigned(TComponentStateFlag::csDestroying)) != 0; }
  void BeginLoading() { state_ |= unsigned(TComponentStateFlag::csLoading); }
  // Clears the loading state and calls Loaded().
  void EndLoading();
  // Clears the loading state without Loaded(): a read that failed.
  void CancelLoading() { state_ &= ~unsigned(TComponentStateFlag::csLoading); }

  // A form description nests this component inside parent (a control in a
  // panel, a series in a chart); components that care override it.
  virtual void SetParentComponent(TComponent* parent) {}

  // Links this component and other: whichever is destroyed first calls
  // Notification(itself, opRemove) on the other, so that neither keeps a
  // pointer to a dead one. Linking twice is linking once.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Expires when the component is destroyed: code that calls a user's
  // handler and goes on afterwards holds one to know whether it may.
  std::weak_ptr<const void> Lifetime() const { return lifetime_; }

 protected:
  // A linked component is being destroyed: its own destructors have run, so
  // only compare the pointer. Must not raise.
  virtual void Notification(TComponent* component, TOperation operation) {}
  // Called once the form description that created this component is read.
  virtual void Loaded() {}
  // Subclasses that must stop reacting during teardown call this first in
  // their destructor; the base destructor calls it too.
  void MarkDestroying();
  // Destroys every owned component now, newest first.
  void DestroyComponents();

 private:
  void Insert(TComponent* child);
  void Remove(TComponent* child);
  static void Unlink(std::vector<TComponent*>& list, TComponent* component);

  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  unsigned state_ = 0;
  std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

}  // namespace nitko
