#include "controls/outline.h"

#include <utility>

#include "controls/outline_strings.h"
#include "framework/exception_handling.h"

namespace nitko {

// Changes inside it are shown once, when the outermost one ends.
class TCustomOutline::UpdateScope {
 public:
  explicit UpdateScope(TCustomOutline& outline) : outline_(outline) { outline_.BeginUpdate(); }
  ~UpdateScope() {
    Guarded([this] { outline_.EndUpdate(); });
  }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TCustomOutline& outline_;
};

// ---- The node

TOutlineNode::~TOutlineNode() = default;

void TOutlineNode::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  text_width_ = -1;
  outline_->NodeTextChanged(this);
}

int TOutlineNode::Index() {
  return outline_->NumberOf(this);
}

void TOutlineNode::SetExpanded(bool value) {
  outline_->SetNodeExpanded(this, value);
}

void TOutlineNode::ExpandBranch() {
  const TCustomOutline::UpdateScope update(*outline_);
  SetExpanded(true);
  // Expanding may add children (a folder read on first expansion).
  for (size_t i = 0; i < children_.size(); ++i) children_[i].node->ExpandBranch();
}

bool TOutlineNode::IsVisible() const {
  if (parent_ == nullptr) return false;
  for (const TOutlineNode* p = parent_; p != nullptr; p = p->parent_)
    if (!p->expanded_) return false;
  return true;
}

std::string TOutlineNode::FullPath() const {
  if (parent_ == nullptr) return "";
  if (parent_->parent_ == nullptr) return text_;
  return parent_->FullPath() + outline_->Separator() + text_;
}

int TOutlineNode::FirstChildIndex() {
  return children_.empty() ? -1 : children_.front().node->Index();
}

int TOutlineNode::LastChildIndex() {
  return children_.empty() ? -1 : children_.back().node->Index();
}

int TOutlineNode::NextChildIndex(int index) {
  if (index <= 0 || index > outline_->ItemCount()) return -1;
  const TOutlineNode* child = outline_->ItemAt(index);
  if (child->parent_ != this || static_cast<size_t>(child->pos_) + 1 >= children_.size()) return -1;
  return children_[static_cast<size_t>(child->pos_) + 1].node->Index();
}

// ---- Construction

TCustomOutline::TCustomOutline(TComponent* owner) : TCustomGrid(owner) {
  root_ = std::unique_ptr<TOutlineNode>(new TOutlineNode(this, "", nullptr));
  root_->expanded_ = true;
  cursor_ = selected_ = indexed_up_to_ = root_.get();
  lines_ = std::make_unique<TOutlineStrings>(*this);
  measure_.Font().Assign(Font());
  TCustomGrid::SetOptions(0);
  SetDefaultDrawing(false);
  SetColCount(1);
  SetFixedCols(0);
  SetRowCount(0);
  SetColor(clWindow);
  SetParentColor(false);
  LoadPictures();
  ApplyRowHeight();
  SetBounds(Left(), Top(), 121, 97);
  UpdateColumnWidth();
}

TCustomOutline::~TCustomOutline() {
  tearing_down_ = true;
  MarkDestroying();
}

// ---- Numbering

bool TCustomOutline::AtOrBefore(const TOutlineNode* a, const TOutlineNode* b) const {
  if (a == b) return true;
  while (a->level_ > b->level_) a = a->parent_;
  if (a == b) return false;  // a lies below b
  while (b->level_ > a->level_) b = b->parent_;
  if (a == b) return true;  // a lies above b
  while (a->parent_ != b->parent_) {
    a = a->parent_;
    b = b->parent_;
  }
  return a->pos_ < b->pos_;
}

TOutlineNode* TCustomOutline::NextInOrder(TOutlineNode* node) {
  if (!node->children_.empty()) return node->children_.front().node.get();
  for (TOutlineNode* p = node->parent_; p != nullptr; node = p, p = p->parent_)
    if (static_cast<size_t>(node->pos_) + 1 < p->children_.size())
      return p->children_[static_cast<size_t>(node->pos_) + 1].node.get();
  return nullptr;
}

TOutlineNode* TCustomOutline::LastInOrder(TOutlineNode* node) {
  while (!node->children_.empty()) node = node->children_.back().node.get();
  return node;
}

TOutlineNode* TCustomOutline::PrevInOrder(TOutlineNode* node) {
  if (node->parent_ == nullptr) return nullptr;
  if (node->pos_ == 0) return node->parent_;
  return LastInOrder(node->parent_->children_[static_cast<size_t>(node->pos_) - 1].node.get());
}

int TCustomOutline::NumberOf(TOutlineNode* node) {
  if (AtOrBefore(node, indexed_up_to_)) return node->StoredNumber();
  TOutlineNode* p = indexed_up_to_;
  int i = p->StoredNumber();
  while (p != node) {
    p = NextInOrder(p);
    if (p == nullptr) throw EOutlineError(SOutlineIndexError);
    p->SetStoredNumber(++i);
  }
  indexed_up_to_ = node;
  indexed_path_stale_ = true;
  return i;
}

// A change after `before` in depth-first order: later numbers are stale.
void TCustomOutline::ChangedAfter(TOutlineNode* before) {
  cached_row_node_ = nullptr;
  if (AtOrBefore(indexed_up_to_, before)) return;
  indexed_up_to_ = before;
  indexed_path_stale_ = true;
}

TOutlineNode* TCustomOutline::FindNumber(int index) {
  TOutlineNode* mark = indexed_up_to_;
  if (index > mark->StoredNumber()) {
    // Numbers beyond the mark are given on the way there.
    int i = mark->StoredNumber();
    while (i < index) {
      mark = NextInOrder(mark);
      if (mark == nullptr) throw EOutlineError(SOutlineIndexError);
      mark->SetStoredNumber(++i);
    }
    indexed_up_to_ = mark;
    indexed_path_stale_ = true;
    return mark;
  }
  // Descend by halving. Below an ancestor of the mark only the children up
  // to the one towards the mark hold trusted numbers.
  if (indexed_path_stale_) {
    indexed_path_.assign(static_cast<size_t>(mark->level_) + 1, 0);
    for (const TOutlineNode* n = mark; n->parent_ != nullptr; n = n->parent_)
      indexed_path_[static_cast<size_t>(n->level_)] = n->pos_;
    indexed_path_stale_ = false;
  }
  TOutlineNode* p = root_.get();
  bool onPath = true;
  for (;;) {
    const auto& ch = p->children_;
    if (ch.empty()) throw EOutlineError(SOutlineIndexError);
    const int pathPos = onPath ? indexed_path_[static_cast<size_t>(p->level_) + 1] : -1;
    int lo = 0, hi = onPath ? pathPos : static_cast<int>(ch.size()) - 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (ch[static_cast<size_t>(mid)].number <= index)
        lo = mid;
      else
        hi = mid - 1;
    }
    onPath = onPath && lo == pathPos;
    const TOutlineNode::Slot& slot = ch[static_cast<size_t>(lo)];
    if (slot.number == index) return slot.node.get();
    p = slot.node.get();
  }
}

TOutlineNode* TCustomOutline::ItemAt(int index) {
  if (index <= 0) throw EOutlineError(SOutlineError);
  if (index > count_) throw EOutlineError(SOutlineIndexError);
  return FindNumber(index);
}

// ---- Adding and removing

TOutlineNode* TCustomOutline::NewNode(const std::string& text, void* data) {
  return new TOutlineNode(this, text, data);
}

void TCustomOutline::AddToChain(TOutlineNode* from, int delta) {
  cached_row_node_ = nullptr;
  for (TOutlineNode* p = from; p != nullptr && p->expanded_; p = p->parent_)
    p->expand_count_ += delta;
}

void TCustomOutline::Link(TOutlineNode* parent, std::unique_ptr<TOutlineNode> node, size_t pos) {
  TOutlineNode* n = node.get();
  n->parent_ = parent;
  n->level_ = static_cast<int16_t>(parent->level_ + 1);
  auto& ch = parent->children_;
  ch.insert(ch.begin() + static_cast<std::ptrdiff_t>(pos), TOutlineNode::Slot{0, std::move(node)});
  for (size_t i = pos; i < ch.size(); ++i) ch[i].node->pos_ = static_cast<int>(i);
  ++count_;
  ChangedAfter(PrevInOrder(n));
  AddToChain(parent, 1 + n->expand_count_);
}

int TCustomOutline::Attach(int index, const std::string& text, void* data, AttachMode mode) {
  int result = 0;
  try {
    std::unique_ptr<TOutlineNode> node(NewNode(text, data));
    TOutlineNode* target = root_.get();
    if (index != 0)
      target = cursor_ != root_.get() && NumberOf(cursor_) == index ? cursor_ : ItemAt(index);
    TOutlineNode* parent = target;
    size_t pos = 0;
    if (mode == AttachMode::Insert) {
      parent = target->parent_;
      if (parent == nullptr) throw EOutlineError(SOutlineError);
      pos = static_cast<size_t>(target->pos_);
    } else {
      if (mode == AttachMode::Sibling) {
        parent = target->parent_;
        if (parent == nullptr) throw EOutlineError(SOutlineError);
      }
      if (parent->level_ > 255) throw EOutlineError(SOutlineMaxLevels);
      pos = parent->children_.size();
    }
    TOutlineNode* added = node.get();
    const bool shown = parent->expanded_;
    Link(parent, std::move(node), pos);
    result = NumberOf(added);
    if (shown) RowsChanged(added);
  } catch (...) {
    HandleEventException(std::current_exception());
    result = 0;
  }
  MoveCursor(index);
  return result;
}

int TCustomOutline::AppendSibling(int index, const std::string& text, void* data) {
  if (index < 0) throw EOutlineError(SOutlineError);
  return Attach(index, text, data, index == 0 ? AttachMode::Child : AttachMode::Sibling);
}

int TCustomOutline::AppendChild(int index, const std::string& text, void* data) {
  if (index < 0) throw EOutlineError(SOutlineError);
  return Attach(index, text, data, AttachMode::Child);
}

int TCustomOutline::InsertBefore(int index, const std::string& text, void* data) {
  if (index < 0) throw EOutlineError(SOutlineError);
  return Attach(index, text, data, index == 0 ? AttachMode::Child : AttachMode::Insert);
}

void TCustomOutline::MoveCursor(int index) {
  if (index < 0) throw EOutlineError(SInvalidCurrentItem);
  cursor_ = index == 0 || index > count_ ? root_.get() : FindNumber(index);
}

void TCustomOutline::RemoveItem(int index) {
  TOutlineNode* node = ItemAt(index);
  TOutlineNode* parent = node->parent_;
  const bool shown = parent->expanded_;
  ChangedAfter(PrevInOrder(node));
  for (const TOutlineNode* s = selected_; s != nullptr; s = s->parent_)
    if (s == node) {
      selected_ = root_.get();
      break;
    }
  int removed = 0;
  for (TOutlineNode* n = node; n != nullptr && (n == node || n->level_ > node->level_);
       n = NextInOrder(n))
    ++removed;
  AddToChain(parent, -(1 + node->expand_count_));
  auto& ch = parent->children_;
  const auto at = ch.begin() + node->pos_;
  std::unique_ptr<TOutlineNode> dead = std::move(at->node);
  ch.erase(at);
  for (size_t i = static_cast<size_t>(dead->pos_); i < ch.size(); ++i)
    ch[i].node->pos_ = static_cast<int>(i);
  if (ch.empty() && parent != root_.get()) {
    parent->expanded_ = false;
    parent->expand_count_ = 0;
  }
  count_ -= removed;
  cursor_ = root_.get();
  dead.reset();
  MoveCursor(index);
  if (shown) RowsChanged();
}

void TCustomOutline::Clear() {
  std::unique_ptr<TOutlineNode> root(NewNode("", nullptr));
  root->expanded_ = true;
  InstallRoot(std::move(root), 0);
}

void TCustomOutline::InstallRoot(std::unique_ptr<TOutlineNode> root, int count) {
  std::unique_ptr<TOutlineNode> old = std::move(root_);
  root_ = std::move(root);
  cursor_ = selected_ = indexed_up_to_ = root_.get();
  indexed_path_stale_ = true;
  cached_row_node_ = nullptr;
  count_ = count;
  {
    const bool tearing = std::exchange(tearing_down_, true);
    old.reset();
    tearing_down_ = tearing;
  }
  RowsChanged();
}

// Every loaded node is collapsed: the rows are the top-level items.
void TCustomOutline::EndLoadingTree() {
  root_->expand_count_ = static_cast<int>(root_->children_.size());
  cached_row_node_ = nullptr;
  SetRowCount(root_->expand_count_);
  if (count_ > 0) {
    MoveCurrent(0, 0, true, true);
    selected_ = root_->children_.front().node.get();
  }
  RowsChanged();
}

// ---- Expanding and collapsing

void TCustomOutline::SetNodeExpanded(TOutlineNode* node, bool value) {
  if (node == root_.get() || value == node->expanded_) return;
  const UpdateScope update(*this);
  if (value) {
    for (const TOutlineNode* p = node->parent_; p != nullptr; p = p->parent_)
      if (!p->expanded_) throw EOutlineError(SOutlineExpandError);
    Expand(NumberOf(node));
    if (node->expanded_) return;
    node->expanded_ = true;
    node->expand_count_ = static_cast<int>(node->children_.size());
    AddToChain(node->parent_, node->expand_count_);
  } else {
    for (size_t i = 0; i < node->children_.size(); ++i)
      SetNodeExpanded(node->children_[i].node.get(), false);
    AddToChain(node->parent_, -node->expand_count_);
    node->expand_count_ = 0;
    Collapse(NumberOf(node));
    node->expanded_ = false;
  }
  cached_row_node_ = nullptr;
}

void TCustomOutline::Expand(int index) {
  if (OnExpand) OnExpand(this, index);
}

void TCustomOutline::Collapse(int index) {
  if (OnCollapse) OnCollapse(this, index);
}

void TCustomOutline::ExpandAll() {
  const UpdateScope update(*this);
  for (size_t i = 0; i < root_->children_.size(); ++i) root_->children_[i].node->ExpandBranch();
}

void TCustomOutline::CollapseAll() {
  const UpdateScope update(*this);
  for (size_t i = 0; i < root_->children_.size(); ++i)
    SetNodeExpanded(root_->children_[i].node.get(), false);
}

void TCustomOutline::BeginUpdate() {
  ++update_count_;
}

void TCustomOutline::EndUpdate() {
  if (update_count_ == 0 || --update_count_ > 0) return;
  RowsChanged();
}

// ---- Rows and selection

TOutlineNode* TCustomOutline::NodeAtRow(int row) {
  if (row < 0 || row >= root_->expand_count_) return nullptr;
  if (cached_row_node_ != nullptr) {
    if (row == cached_row_) return cached_row_node_;
    if (row == cached_row_ + 1) {
      // The next row down: the first child of an expanded node, else the
      // next sibling of the node or of its nearest ancestor that has one.
      TOutlineNode* n = cached_row_node_;
      if (n->expand_count_ > 0) {
        n = n->children_.front().node.get();
      } else {
        while (static_cast<size_t>(n->pos_) + 1 >= n->parent_->children_.size()) n = n->parent_;
        n = n->parent_->children_[static_cast<size_t>(n->pos_) + 1].node.get();
      }
      cached_row_ = row;
      cached_row_node_ = n;
      return n;
    }
  }
  TOutlineNode* p = root_.get();
  int r = row;  // among the rows below p's own
  for (;;) {
    const auto& ch = p->children_;
    // Children that show no rows below them take one row each.
    if (p->expand_count_ == static_cast<int>(ch.size())) {
      p = ch[static_cast<size_t>(r)].node.get();
      break;
    }
    bool own = false;
    for (const auto& c : ch) {
      p = c.node.get();
      if (r == 0) {
        own = true;  // the child's own row
        break;
      }
      --r;
      if (r < p->expand_count_) break;  // a row below the child
      r -= p->expand_count_;
    }
    if (own) break;
  }
  cached_row_ = row;
  cached_row_node_ = p;
  return p;
}

int TCustomOutline::RowOfNode(TOutlineNode* node) {
  if (node == nullptr || node->parent_ == nullptr) return -1;
  int row = 0;
  for (TOutlineNode* n = node; n->parent_ != nullptr; n = n->parent_) {
    const TOutlineNode* p = n->parent_;
    if (!p->expanded_) return -1;
    row += n->pos_;
    if (p->expand_count_ != static_cast<int>(p->children_.size()))
      for (int j = 0; j < n->pos_; ++j)
        row += p->children_[static_cast<size_t>(j)].node->expand_count_;
    if (p->parent_ != nullptr) ++row;
  }
  return row;
}

TOutlineNode* TCustomOutline::VisibleAncestor(TOutlineNode* node) const {
  TOutlineNode* shown = node;
  for (TOutlineNode* p = node->parent_; p != nullptr; p = p->parent_)
    if (!p->expanded_) shown = p;
  return shown;
}

TOutlineNode* TCustomOutline::CurrentNode() {
  TOutlineNode* n = NodeAtRow(Row());
  return n != nullptr ? n : root_.get();
}

void TCustomOutline::SelectNode(TOutlineNode* node) {
  selected_ = node;
  const int row = RowOfNode(node);
  if (row >= 0) MoveCurrent(0, row, true, true);
}

int TCustomOutline::SelectedIndex() {
  if (selected_ == root_.get() && count_ > 0) selected_ = CurrentNode();
  if (selected_ != root_.get()) selected_ = VisibleAncestor(selected_);
  return selected_ == root_.get() ? 0 : NumberOf(selected_);
}

void TCustomOutline::SetSelectedIndex(int index) {
  if (bulk_loading_) return;
  if (index == 0 && count_ > 0) index = 1;
  if (index <= 0) throw EOutlineError(SOutlineSelection);
  SelectNode(VisibleAncestor(ItemAt(index)));
}

void TCustomOutline::Toggle(TOutlineNode* node) {
  node->SetExpanded(!node->expanded_);
}

void TCustomOutline::RowsChanged(TOutlineNode* added) {
  cached_row_node_ = nullptr;
  if (tearing_down_ || bulk_loading_) return;
  SetRowCount(root_->expand_count_);
  if (Quiet()) return;
  // The current row stays on the selected item, or its shown ancestor.
  if (selected_ != root_.get()) {
    selected_ = VisibleAncestor(selected_);
    const int row = RowOfNode(selected_);
    if (row >= 0 && row != Row()) MoveCurrent(0, row, true, false);
  }
  if (added != nullptr)
    WidenColumnFor(added);
  else
    UpdateColumnWidth();
  Invalidate();
}

void TCustomOutline::NodeTextChanged(TOutlineNode* node) {
  if (tearing_down_ || bulk_loading_ || !node->IsVisible()) return;
  if (!Quiet()) WidenColumnFor(node);
  Invalidate();
}

}  // namespace nitko
