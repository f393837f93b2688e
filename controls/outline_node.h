#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/persistent.h"
#include "runtime/exception.h"

namespace nitko {

class TCustomOutline;

class EOutlineError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SOutlineIndexError = "Outline index not found";
inline constexpr const char* SOutlineExpandError = "Parent must be expanded";
inline constexpr const char* SInvalidCurrentItem = "Invalid value for current item";
inline constexpr const char* SOutlineError = "Invalid outline index";
inline constexpr const char* SOutlineSelection = "Invalid selection";
inline constexpr const char* SOutlineFileLoad = "File load error";
inline constexpr const char* SOutlineLongLine = "Line too long";
inline constexpr const char* SOutlineMaxLevels = "Maximum outline depth exceeded";

// One item of an outline: a text, the caller's data pointer and the items
// below it. Nodes are created and destroyed by their outline only. The root
// node is no item: it has number 0 and is always expanded.
class TOutlineNode : public TPersistent {
 public:
  ~TOutlineNode() override;
  TOutlineNode(const TOutlineNode&) = delete;
  TOutlineNode& operator=(const TOutlineNode&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  void* Data() const { return data_; }
  void SetData(void* value) { data_ = value; }
  TOutlineNode* Parent() const { return parent_; }
  TCustomOutline* Outline() const { return outline_; }
  // The item number, 1, 2, 3, ... in depth-first order over every item,
  // shown or not; numbers are given when first asked for.
  int Index();
  bool Expanded() const { return expanded_; }
  // Expanding raises "Parent must be expanded" under a collapsed ancestor;
  // collapsing collapses every descendant first.
  void SetExpanded(bool value);
  void Expand() { SetExpanded(true); }
  void Collapse() { SetExpanded(false); }
  // Expands the node and everything below it.
  void ExpandBranch();
  // Rows shown below the node: the sum over its children of 1 + their
  // count while it is expanded, 0 while it is collapsed.
  int ExpandCount() const { return expand_count_; }
  // Number of ancestors: top-level items have level 1.
  int Level() const { return level_; }
  // Shown as a row: every ancestor is expanded.
  bool IsVisible() const;
  // Empty for the root; the parent's path + the outline's Separator + Text.
  std::string FullPath() const;

  bool HasChildren() const { return !children_.empty(); }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  TOutlineNode* Child(int i) const { return children_[static_cast<size_t>(i)].node.get(); }
  // Position among the parent's children (0 for the root).
  int ChildPosition() const { return pos_; }
  // Item numbers of the first and the last child, -1 when there are none.
  int FirstChildIndex();
  int LastChildIndex();
  // Number of the child after the child numbered index; -1 when that is
  // the last one or no child of this node.
  int NextChildIndex(int index);

 private:
  friend class TCustomOutline;

  TOutlineNode(TCustomOutline* outline, std::string text, void* data)
      : text_(std::move(text)), data_(data), outline_(outline) {}

  // A child and its item number, kept together so that a lookup by number
  // halves through one array.
  struct Slot {
    int number = 0;
    std::unique_ptr<TOutlineNode> node;
  };
  TOutlineNode* ChildAt(size_t i) const { return children_[i].node.get(); }
  // The item number as last given; 0 for the root.
  int StoredNumber() const { return parent_ != nullptr ? parent_->children_[pos_].number : 0; }
  void SetStoredNumber(int n) { parent_->children_[pos_].number = n; }

  std::vector<Slot> children_;
  std::string text_;
  void* data_;
  TOutlineNode* parent_ = nullptr;
  TCustomOutline* outline_;
  int expand_count_ = 0;
  int pos_ = 0;
  int text_width_ = -1;  // measured with the outline's font, -1 until then
  int16_t level_ = 0;
  bool expanded_ = false;
};

}  // namespace nitko
