// The outline's sizes, looks and pictures, and how a row is drawn.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "controls/outline.h"
#include "framework/canvas.h"

namespace nitko {

namespace {

constexpr const char* kPictureResources[kPictureCount] = {"PLUS", "MINUS", "OPEN", "CLOSED",
                                                          "LEAF"};

bool IsTreeLook(TOutlineLook look) {
  return look == TOutlineLook::lkTreeText || look == TOutlineLook::lkTreePictureText;
}

}  // namespace

// R row height, F font height, H the inset of a picture in its slot, T one
// more step of indentation when top-level items get tree lines.
struct TCustomOutline::Geometry {
  int R, F, H, T;
};

TCustomOutline::Geometry TCustomOutline::Measures() const {
  const int r = DefaultRowHeight();
  return {r, font_height_, (r - font_height_) / 2,
          Has(options_, TOutlineOption::ooDrawTreeRoot) ? 1 : 0};
}

// ---- Row height and column width

void TCustomOutline::ApplyRowHeight() {
  if (setting_height_) return;
  const bool was = std::exchange(setting_height_, true);
  int row;
  if (style_ == TOutlineType::otOwnerDraw) {
    row = item_height_;
    font_height_ = MulDiv(item_height_, 100, 120);
  } else {
    // A font given by cell height has a negative point size.
    font_height_ = MulDiv(std::abs(Font().Size()), kScreenPixelsPerInch, 72);
    row = MulDiv(font_height_, 120, 100);
    item_height_ = row;
  }
  SetDefaultRowHeight(row);
  setting_height_ = was;
  UpdateColumnWidth();
  Invalidate();
}

void TCustomOutline::SetItemHeight(int value) {
  item_height_ = value;
  ApplyRowHeight();
}

void TCustomOutline::SetStyle(TOutlineType value) {
  if (value == style_) return;
  style_ = value;
  if (style_ == TOutlineType::otStandard) ApplyRowHeight();
  UpdateColumnWidth();
  Invalidate();
}

void TCustomOutline::SetLook(TOutlineLook value) {
  if (value == look_) return;
  look_ = value;
  UpdateColumnWidth();
  Invalidate();
}

void TCustomOutline::SetOptions(TOutlineOptions value) {
  if (value == options_) return;
  options_ = value;
  UpdateColumnWidth();
  Invalidate();
}

void TCustomOutline::FontChanged() {
  TCustomGrid::FontChanged();
  measure_.Font().Assign(Font());
  ResetTextWidths();
  ApplyRowHeight();
}

void TCustomOutline::Resize() {
  UpdateColumnWidth();
  TCustomGrid::Resize();
}

void TCustomOutline::ResetTextWidths() {
  for (TOutlineNode* n = root_.get(); n != nullptr; n = NextInOrder(n)) n->text_width_ = -1;
}

// For the column: what the characters take without shaping, an upper bound
// of what they take together.
int TCustomOutline::TextWidthOf(TOutlineNode* node) {
  if (node->text_width_ < 0) node->text_width_ = measure_.SumOfCharWidths(node->text_);
  return node->text_width_;
}

int TCustomOutline::RowWidth(TOutlineNode* node) {
  const Geometry g = Measures();
  const int l = node->level_;
  int indent = 0;
  switch (look_) {
    case TOutlineLook::lkText:
      indent = (l - 1) * g.R;
      break;
    case TOutlineLook::lkButtonText:
    case TOutlineLook::lkPictureText:
      indent = l * g.R;
      break;
    case TOutlineLook::lkButtonPictureText:
      indent = (l + 1) * g.R;
      break;
    case TOutlineLook::lkTreeText:
      indent = (l - 1 + g.T) * g.R - g.H;
      break;
    case TOutlineLook::lkTreePictureText:
      indent = (l + g.T) * g.R - g.H;
      break;
  }
  return TextWidthOf(node) + 1 + indent;
}

bool TCustomOutline::SizesColumnToRows() const {
  return (ScrollBars() == TScrollStyle::ssHorizontal || ScrollBars() == TScrollStyle::ssBoth) &&
         style_ != TOutlineType::otOwnerDraw;
}

// The widest shown row with horizontal scrolling, else the client width.
void TCustomOutline::UpdateColumnWidth() {
  if (setting_width_ || Quiet() || tearing_down_ || root_ == nullptr) return;
  const bool was = std::exchange(setting_width_, true);
  int width = ClientWidth();
  if (SizesColumnToRows()) {
    width = 0;
    for (TOutlineNode* n = NodeAtRow(0); n != nullptr;) {
      width = std::max(width, RowWidth(n));
      if (n->expand_count_ > 0) {
        n = n->children_.front().node.get();
        continue;
      }
      while (n->parent_ != nullptr &&
             static_cast<size_t>(n->pos_) + 1 >= n->parent_->children_.size())
        n = n->parent_;
      n = n->parent_ == nullptr
              ? nullptr
              : n->parent_->children_[static_cast<size_t>(n->pos_) + 1].node.get();
    }
  }
  SetDefaultColWidth(width);
  setting_width_ = was;
}

void TCustomOutline::WidenColumnFor(TOutlineNode* node) {
  if (setting_width_ || Quiet() || !SizesColumnToRows()) return;
  const int width = RowWidth(node);
  if (width > DefaultColWidth()) {
    const bool was = std::exchange(setting_width_, true);
    SetDefaultColWidth(width);
    setting_width_ = was;
  }
}

// ---- Pictures

void TCustomOutline::LoadPictures() {
  for (int i = 0; i < kPictureCount; ++i) {
    pictures_[static_cast<size_t>(i)] = std::make_unique<TBitmap>();
    TBitmap& p = *pictures_[static_cast<size_t>(i)];
    p.LoadFromResourceName(kPictureResources[i]);
    p.SetTransparent(true);
  }
}

void TCustomOutline::SetPicture(int index, const TBitmap* value) {
  TBitmap& p = Picture(index);
  if (value != nullptr)
    p.Assign(*value);
  else
    p.SetSize(0, 0);
  p.SetTransparent(true);
  picture_flags_ = static_cast<uint8_t>(picture_flags_ | (1u << index));
  Invalidate();
}

// In a square of F pixels, inset H from the top and the left of its R-wide
// slot and one pixel further left: stretched into it, or at its own size,
// clipped and centred vertically. The transparent colour is left out.
void TCustomOutline::DrawPicture(const TBitmap& picture, int slotLeft, const TRect& cell) {
  if (picture.Empty()) return;
  const Geometry g = Measures();
  const int x = cell.Left + slotLeft + g.H - 1, y = cell.Top + g.H;
  const TRect square{x, y, x + g.F, y + g.F};
  TCanvas& c = Canvas();
  if (Has(options_, TOutlineOption::ooStretchBitmaps)) {
    c.StretchDraw(square, picture);
    return;
  }
  c.SetClipRect({std::max(square.Left, cell.Left), std::max(square.Top, cell.Top),
                 std::min(square.Right, cell.Right), std::min(square.Bottom, cell.Bottom)});
  c.Draw(x, y + (g.F - picture.Height()) / 2, picture);
  c.ClearClip();
}

// Black one-pixel lines: one down through the row for every ancestor with a
// later sibling, and the node's own from the top to the middle (the last
// child) or the bottom, with its stub to the right.
void TCustomOutline::DrawTreeLines(TOutlineNode* node, const TRect& cell) {
  const Geometry g = Measures();
  TCanvas& c = Canvas();
  TPen& pen = c.Pen();
  const TColor color = pen.Color();
  const int width = pen.Width();
  const TPenStyle style = pen.Style();
  const TPenMode mode = pen.Mode();
  pen.SetColor(clBlack);
  pen.SetWidth(1);
  pen.SetStyle(TPenStyle::psSolid);
  pen.SetMode(TPenMode::pmCopy);
  auto lineX = [&](int level) { return cell.Left + (level + g.T - 2) * g.R + g.R / 2; };
  const bool rootLines = g.T == 1;
  for (const TOutlineNode* a = node->parent_; a->parent_ != nullptr; a = a->parent_) {
    if (a->level_ == 1 && !rootLines) continue;
    if (static_cast<size_t>(a->pos_) + 1 < a->parent_->children_.size()) {
      c.MoveTo(lineX(a->level_), cell.Top);
      c.LineTo(lineX(a->level_), cell.Bottom);
    }
  }
  if (node->level_ > 1 || rootLines) {
    const int x = lineX(node->level_), middle = cell.Top + g.R / 2;
    const bool last = static_cast<size_t>(node->pos_) + 1 == node->parent_->children_.size();
    c.MoveTo(x, cell.Top);
    c.LineTo(x, last ? middle : cell.Bottom);
    c.MoveTo(x, middle);
    c.LineTo(x + g.F / 2, middle);
  }
  pen.SetColor(color);
  pen.SetWidth(width);
  pen.SetStyle(style);
  pen.SetMode(mode);
}

bool TCustomOutline::OnButton(TOutlineNode* node, int row, int x, int y) {
  if (look_ != TOutlineLook::lkButtonText && look_ != TOutlineLook::lkButtonPictureText)
    return false;
  if (node == nullptr || node->children_.empty()) return false;
  const TRect cell = CellRect(0, row);
  const Geometry g = Measures();
  const int left = cell.Left + (node->level_ - 1) * g.R + g.H - 1, top = cell.Top + g.H;
  return x >= left && x < left + g.F && y >= top && y < top + g.F;
}

// ---- A row

void TCustomOutline::DrawCell(int, int row, const TRect& rect, TGridDrawState state) {
  TCanvas& c = Canvas();
  TOutlineNode* node = count_ > 0 ? NodeAtRow(row) : nullptr;
  if (node == nullptr) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(rect);
    return;
  }
  const bool current = (state & gdSelected) != 0, focused = (state & gdFocused) != 0;
  if (style_ == TOutlineType::otOwnerDraw && OnDrawItem) {
    const TOwnerDrawState s = current ? odSelected | (focused ? odFocused : 0) : 0;
    OnDrawItem(this, row, rect, s);
    if (current && focused && Has(options_, TOutlineOption::ooDrawFocusRect)) c.DrawFocusRect(rect);
    return;
  }
  c.Font().Assign(Font());
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(rect);

  const Geometry g = Measures();
  const int l = node->level_;
  const bool parent = !node->children_.empty();
  const TBitmap& button = Picture(node->expanded_ ? kPictureMinus : kPicturePlus);
  const TBitmap& picture = Picture(!parent           ? kPictureLeaf
                                   : node->expanded_ ? kPictureOpen
                                                     : kPictureClosed);
  int textLeft = 0;
  switch (look_) {
    case TOutlineLook::lkText:
      textLeft = (l - 1) * g.R;
      break;
    case TOutlineLook::lkButtonText:
      if (parent) DrawPicture(button, (l - 1) * g.R, rect);
      textLeft = l * g.R;
      break;
    case TOutlineLook::lkPictureText:
      DrawPicture(picture, (l - 1) * g.R, rect);
      textLeft = l * g.R;
      break;
    case TOutlineLook::lkButtonPictureText:
      if (parent) DrawPicture(button, (l - 1) * g.R, rect);
      DrawPicture(picture, l * g.R, rect);
      textLeft = (l + 1) * g.R;
      break;
    case TOutlineLook::lkTreeText:
      DrawTreeLines(node, rect);
      textLeft = (l - 1 + g.T) * g.R;
      break;
    case TOutlineLook::lkTreePictureText:
      DrawTreeLines(node, rect);
      DrawPicture(picture, (l - 1 + g.T) * g.R, rect);
      textLeft = (l + g.T) * g.R;
      break;
  }

  // The highlight covers the text alone.
  const int left = rect.Left + textLeft;
  const TRect marked{left, rect.Top, left + c.TextWidth(node->text_) + 1, rect.Bottom};
  if (current) {
    c.Brush().SetColor(clHighlight);
    c.FillRect(marked);
    c.Font().SetColor(clHighlightText);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  TRect textRect{left, rect.Top, rect.Right, rect.Bottom};
  c.DrawText(textRect, node->text_, dtSingleLine | dtVCenter | dtNoPrefix);
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  if (current && focused && !node->text_.empty() &&
      Has(options_, TOutlineOption::ooDrawFocusRect)) {
    TRect frame = marked;
    if (IsTreeLook(look_)) frame.Left -= g.H;
    c.DrawFocusRect(frame);
  }
}

}  // namespace nitko
