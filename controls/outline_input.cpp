// The outline's keyboard and mouse rules.
#include "controls/outline.h"
#include "framework/keys.h"
#include "framework/screen.h"

namespace nitko {

void TCustomOutline::KeyDown(uint16_t& key, TShiftState shift) {
  // A step among siblings starts from the row that was current: the grid
  // would move the row first.
  const bool siblingStep = (shift & ssCtrl) && (key == VK_UP || key == VK_DOWN);
  if (siblingStep)
    TCustomControl::KeyDown(key, shift);
  else
    TCustomGrid::KeyDown(key, shift);
  if (key == 0 || count_ == 0) return;
  TOutlineNode* n = CurrentNode();
  if (n == root_.get()) return;
  TOutlineNode* parent = n->parent_;
  switch (key) {
    case VK_RETURN:
      Toggle(n);
      break;
    case VK_END: {
      TOutlineNode* last = root_.get();
      while (last->expanded_ && !last->children_.empty()) last = last->children_.back().node.get();
      SelectNode(last);
      break;
    }
    case VK_HOME:
      SelectNode(root_->children_.front().node.get());
      break;
    case VK_LEFT:
      if (parent == root_.get())
        Beep();
      else
        SelectNode(parent);
      break;
    case VK_RIGHT:
      if (n->expanded_ && !n->children_.empty())
        SelectNode(n->children_.front().node.get());
      else
        Beep();
      break;
    case VK_UP:
    case VK_DOWN: {
      if (!siblingStep) {
        selected_ = n;
        break;
      }
      const int step = key == VK_UP ? -1 : 1;
      const int pos = n->pos_ + step;
      if (pos < 0 || static_cast<size_t>(pos) >= parent->children_.size())
        Beep();
      else
        SelectNode(parent->children_[static_cast<size_t>(pos)].node.get());
      break;
    }
    case VK_MULTIPLY:
      if (shift & ssCtrl)
        ExpandAll();
      else
        selected_ = n;
      break;
    default:
      selected_ = n;
      break;
  }
}

void TCustomOutline::KeyPress(char& key) {
  TCustomGrid::KeyPress(key);
  if (key == 0 || count_ == 0) return;
  if (key != '*' && key != '+' && key != '-') return;
  TOutlineNode* n = ItemAt(SelectedIndex());
  if (key == '*')
    n->ExpandBranch();
  else
    n->SetExpanded(key == '+');
}

void TCustomOutline::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const auto alive = Lifetime();
  TCustomGrid::MouseDown(button, shift, x, y);
  if (alive.expired() || count_ == 0) return;
  selected_ = CurrentNode();
  // A press on a plus or minus button opens or closes its item.
  if (button != TMouseButton::mbLeft || (shift & ssDouble)) return;
  const TGridCoord cell = MouseCoord(x, y);
  TOutlineNode* node = NodeAtRow(cell.Y);
  if (OnButton(node, cell.Y, x, y)) Toggle(node);
}

void TCustomOutline::Click() {
  if (count_ > 0) selected_ = CurrentNode();
  TCustomGrid::Click();
}

void TCustomOutline::DblClick() {
  const auto alive = Lifetime();
  if (count_ > 0) Toggle(ItemAt(SelectedIndex()));
  if (!alive.expired()) TCustomGrid::DblClick();
}

}  // namespace nitko
