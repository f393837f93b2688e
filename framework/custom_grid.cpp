#include "framework/custom_grid.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "framework/canvas.h"
#include "framework/control_bridge.h"
#include "framework/grid_scroll_bars.h"
#include "framework/keys.h"
#include "framework/qt_bridge.h"
#include "framework/set_if_changed.h"
#include "framework/surface.h"

namespace nitko {

namespace {

// More changed cells than this repaint the whole grid instead.
constexpr size_t kMaxDirtyCells = 64;

int ClampInt(long long v, int lo, int hi) {
  return hi < lo ? lo : static_cast<int>(std::clamp<long long>(v, lo, hi));
}

}  // namespace

// One direction of the grid: `fixed` cells that stay, then the scrolling
// ones from `first`, each `size` pixels and a line of `line` after it, moved
// back by `shift` pixels (a single scrolling column wider than the client).
struct TCustomGrid::Axis {
  int count, fixed, first, size, line, client, shift = 0;

  long long Step() const { return static_cast<long long>(size) + line; }
  long long FixedExtent() const { return fixed * Step(); }
  long long Start(int i) const {
    return i < fixed ? i * Step()
                     : FixedExtent() + (static_cast<long long>(i) - first) * Step() - shift;
  }
  bool Shown(int i) const {
    if (i < 0 || i >= count || Step() == 0 || (i >= fixed && i < first)) return false;
    return Start(i) < client;
  }
  // Scrolling cells that fit wholly into the client area, whether or not
  // there are that many.
  int Capacity() const {
    const long long avail = client - FixedExtent();
    if (Step() == 0 || avail < size) return 0;
    return static_cast<int>(std::min<long long>((avail - size) / Step() + 1, count));
  }
  // Scrolling cells from first shown wholly.
  int Fit() const { return std::max(0, std::min(Capacity(), count - first)); }
  // The last scrolling cell shown at least in part, or first - 1.
  int LastShown() const {
    const long long avail = client - FixedExtent();
    if (Step() == 0 || avail <= 0) return first - 1;
    const long long n = (avail + shift + Step() - 1) / Step();
    return static_cast<int>(std::min<long long>(first + n - 1, count - 1));
  }
  // How far a single scrolling cell wider than the room left can move.
  int MaxShift() const {
    if (count - fixed != 1) return 0;
    return static_cast<int>(std::max<long long>(0, size - (client - FixedExtent())));
  }
  int MaxFirst() const {
    return count <= fixed ? fixed : std::max(fixed, count - std::max(1, Capacity()));
  }
  // The cell whose span (the cell and its line) holds pixel p, or -1.
  int At(int p) const {
    if (p < 0 || p >= client || Step() == 0) return -1;
    const long long i =
        p < FixedExtent() ? p / Step() : first + (p - FixedExtent() + shift) / Step();
    return i < count ? static_cast<int>(i) : -1;
  }
  // Calls f(index, start) for every cell shown, fixed ones first.
  template <class F>
  void EachShown(F f) const {
    if (Step() == 0) return;
    for (int i = 0; i < fixed && Start(i) < client; ++i) f(i, static_cast<int>(Start(i)));
    for (int i = first; i < count && Start(i) < client; ++i) f(i, static_cast<int>(Start(i)));
  }
};

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  bars_ =
      std::make_unique<GridScrollBars>(Widget(), SignalContext(), [this](bool vertical, int value) {
        RunWidgetSignal([&] {
          if (vertical)
            SetTopRow(value);
          else if (col_count_ - fixed_cols_ == 1)
            SetLeftOffset(value);
          else
            SetLeftCol(value);
        });
      });
  if (auto* surface = dynamic_cast<SurfaceWidget*>(Widget())) {
    surface->SetFramePainter([this](QPainter& p) {
      const int w = Width(), h = Height();
      auto ring = [&](int inset, TColor topLeft, TColor bottomRight) {
        const int x0 = inset, y0 = inset, x1 = w - 1 - inset, y1 = h - 1 - inset;
        if (x1 < x0 || y1 < y0) return;
        p.fillRect(QRect(x0, y0, x1 - x0 + 1, 1), ToQColor(topLeft));
        p.fillRect(QRect(x0, y0, 1, y1 - y0 + 1), ToQColor(topLeft));
        p.fillRect(QRect(x0, y1, x1 - x0 + 1, 1), ToQColor(bottomRight));
        p.fillRect(QRect(x1, y0, 1, y1 - y0 + 1), ToQColor(bottomRight));
      };
      if (border_style_ != TFormBorderStyle::bsNone && ctl3d_) {
        ring(0, clBtnShadow, clBtnHighlight);
        ring(1, cl3DDkShadow, cl3DLight);
      } else if (border_style_ != TFormBorderStyle::bsNone) {
        ring(0, clWindowFrame, clWindowFrame);
      }
      // The square where both bars meet.
      const TRect m = ClientMargins();
      const int b = std::min(m.Left, m.Top);
      if (m.Right > b && m.Bottom > b)
        p.fillRect(QRect(w - m.Right, h - m.Bottom, m.Right - b, m.Bottom - b),
                   ToQColor(clBtnFace));
    });
  }
  SetColor(clWindow);
  SetTabStop(true);
  FrameChanged();
  SetBounds(Left(), Top(), 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

TCustomGrid::Axis TCustomGrid::ColAxis() const {
  return {col_count_,   fixed_cols_,   left_col_,   default_col_width_,
          LineWidthV(), ClientWidth(), left_offset_};
}

TCustomGrid::Axis TCustomGrid::RowAxis() const {
  return {row_count_, fixed_rows_, top_row_, default_row_height_, LineWidthH(), ClientHeight()};
}

int TCustomGrid::LineWidthV() const {
  return options_ & (TGridOption::goFixedVertLine | TGridOption::goVertLine) ? grid_line_width_ : 0;
}

int TCustomGrid::LineWidthH() const {
  return options_ & (TGridOption::goFixedHorzLine | TGridOption::goHorzLine) ? grid_line_width_ : 0;
}

int TCustomGrid::MaxTopRow() const {
  return RowAxis().MaxFirst();
}
int TCustomGrid::MaxLeftCol() const {
  return ColAxis().MaxFirst();
}

int TCustomGrid::VisibleRowCount() const {
  return RowAxis().Fit();
}
int TCustomGrid::VisibleColCount() const {
  return ColAxis().Fit();
}

// ---- Shape

void TCustomGrid::SetColCount(int value) {
  if (value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (value == col_count_) return;
  col_count_ = value;
  if (fixed_cols_ >= value) fixed_cols_ = std::max(0, value - 1);
  LayoutChanged();
}

void TCustomGrid::SetRowCount(int value) {
  if (value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (value == row_count_) return;
  row_count_ = value;
  if (fixed_rows_ >= value) fixed_rows_ = std::max(0, value - 1);
  LayoutChanged();
}

void TCustomGrid::SetFixedCols(int value) {
  if (value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (value >= col_count_ && value > 0) throw EInvalidGridOperation(SFixedColTooBig);
  if (value == fixed_cols_) return;
  fixed_cols_ = value;
  LayoutChanged();
}

void TCustomGrid::SetFixedRows(int value) {
  if (value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (value >= row_count_ && value > 0) throw EInvalidGridOperation(SFixedRowTooBig);
  if (value == fixed_rows_) return;
  fixed_rows_ = value;
  LayoutChanged();
}

// A cell or line wider than any surface could never be seen whole; held
// to the surface's side, a position plus a cell plus a line stays within int.
void TCustomGrid::SetDefaultColWidth(int value) {
  SetIfChanged(default_col_width_, std::clamp(value, 0, kMaxSurfaceSide),
               [this] { LayoutChanged(); });
}

void TCustomGrid::SetDefaultRowHeight(int value) {
  SetIfChanged(default_row_height_, std::clamp(value, 0, kMaxSurfaceSide),
               [this] { LayoutChanged(); });
}

void TCustomGrid::SetGridLineWidth(int value) {
  SetIfChanged(grid_line_width_, std::clamp(value, 0, kMaxSurfaceSide),
               [this] { LayoutChanged(); });
}

void TCustomGrid::SetOptions(TGridOptions value) {
  SetIfChanged(options_, value, [this] {
    if (!Has(options_, TGridOption::goRangeSelect)) anchor_ = current_;
    LayoutChanged();
  });
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  SetIfChanged(default_drawing_, value, [this] { Invalidate(); });
}

void TCustomGrid::SetFixedColor(TColor value) {
  SetIfChanged(fixed_color_, value, [this] { Invalidate(); });
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  SetIfChanged(scroll_bars_, value, [this] { FrameChanged(); });
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle value) {
  if (value != TFormBorderStyle::bsNone) value = TFormBorderStyle::bsSingle;
  SetIfChanged(border_style_, value, [this] { FrameChanged(); });
}

void TCustomGrid::SetCtl3D(bool value) {
  SetIfChanged(ctl3d_, value, [this] { FrameChanged(); });
}

void TCustomGrid::ClampCurrent() {
  auto clamp = [this](TGridCoord c) {
    return TGridCoord{ClampInt(c.X, fixed_cols_, col_count_ - 1),
                      ClampInt(c.Y, fixed_rows_, row_count_ - 1)};
  };
  current_ = clamp(current_);
  anchor_ = clamp(anchor_);
}

void TCustomGrid::LayoutChanged() {
  ClampCurrent();
  top_row_ = ClampInt(top_row_, fixed_rows_, MaxTopRow());
  left_col_ = ClampInt(left_col_, fixed_cols_, MaxLeftCol());
  left_offset_ = ClampInt(left_offset_, 0, ColAxis().MaxShift());
  SyncScrollBars();
  Invalidate();
}

void TCustomGrid::FrameChanged() {
  const int b = border_style_ == TFormBorderStyle::bsNone ? 0 : ctl3d_ ? 2 : 1;
  const bool v = scroll_bars_ == TScrollStyle::ssVertical || scroll_bars_ == TScrollStyle::ssBoth;
  const bool h = scroll_bars_ == TScrollStyle::ssHorizontal || scroll_bars_ == TScrollStyle::ssBoth;
  const int e = bars_->Extent();
  SetClientMargins({b, b, b + (v ? e : 0), b + (h ? e : 0)});
  ApplyGeometry();
}

void TCustomGrid::ApplyGeometry() {
  TCustomControl::ApplyGeometry();
  const TRect m = ClientMargins();
  const int b = std::min(m.Left, m.Top);
  bars_->Place(Rect(b, b, Width() - b, Height() - b), m.Right > b, m.Bottom > b);
  LayoutChanged();
}

void TCustomGrid::SyncScrollBars() {
  bars_->SetRange(true, fixed_rows_, MaxTopRow(), RowAxis().Capacity(), top_row_);
  const Axis cols = ColAxis();
  if (cols.count - cols.fixed == 1)
    bars_->SetRange(
        false, 0, cols.MaxShift(),
        cols.client - static_cast<int>(std::min<long long>(cols.FixedExtent(), cols.client)),
        left_offset_);
  else
    bars_->SetRange(false, fixed_cols_, MaxLeftCol(), cols.Capacity(), left_col_);
}

// ---- Scrolling and the current cell

void TCustomGrid::SetTopRow(int value) {
  value = ClampInt(value, fixed_rows_, MaxTopRow());
  SetIfChanged(top_row_, value, [this] {
    SyncScrollBars();
    Invalidate();
  });
}

void TCustomGrid::SetLeftCol(int value) {
  value = ClampInt(value, fixed_cols_, MaxLeftCol());
  SetIfChanged(left_col_, value, [this] {
    SyncScrollBars();
    Invalidate();
  });
}

void TCustomGrid::SetLeftOffset(int value) {
  value = ClampInt(value, 0, ColAxis().MaxShift());
  SetIfChanged(left_offset_, value, [this] {
    SyncScrollBars();
    Invalidate();
  });
}

TGridRect TCustomGrid::Selection() const {
  return {std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y),
          std::max(anchor_.X, current_.X), std::max(anchor_.Y, current_.Y)};
}

bool TCustomGrid::SelectCell(int, int) {
  return true;
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

bool TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show) {
  if (col < fixed_cols_ || row < fixed_rows_ || col >= col_count_ || row >= row_count_)
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (!SelectCell(col, row)) return false;
  const TGridRect oldSelection = Selection();
  const TGridCoord oldCurrent = current_;
  current_ = {col, row};
  if (moveAnchor || !Has(options_, TGridOption::goRangeSelect)) anchor_ = current_;
  SelectionMoved(oldSelection, oldCurrent);
  if (show) ScrollIntoView(current_);
  return true;
}

void TCustomGrid::ScrollIntoView(TGridCoord cell) {
  const int rows = std::max(1, RowAxis().Capacity());
  if (cell.Y < top_row_)
    SetTopRow(cell.Y);
  else if (cell.Y - top_row_ >= rows)
    SetTopRow(cell.Y - rows + 1);
  const int cols = std::max(1, ColAxis().Capacity());
  if (cell.X < left_col_)
    SetLeftCol(cell.X);
  else if (cell.X - left_col_ >= cols)
    SetLeftCol(cell.X - cols + 1);
}

// ---- Invalidation

void TCustomGrid::InvalidateCell(int col, int row) {
  if (IsInvalid()) return;
  const TRect r = CellRect(col, row);
  if (r.IsEmpty()) return;
  const TGridCoord cell{col, row};
  if (std::find(dirty_.begin(), dirty_.end(), cell) == dirty_.end()) {
    if (dirty_.size() >= kMaxDirtyCells) {
      Invalidate();
      return;
    }
    dirty_.push_back(cell);
  }
  InvalidatePart(r);
}

void TCustomGrid::InvalidateCells(const TGridRect& cells) {
  const Axis cols = ColAxis(), rows = RowAxis();
  // Only the shown part of the block can change on screen.
  const int left = std::max(cells.Left, cols.first),
            right = std::min(cells.Right, cols.LastShown());
  const int top = std::max(cells.Top, rows.first),
            bottom = std::min(cells.Bottom, rows.LastShown());
  if (right < left || bottom < top) return;
  if (static_cast<long long>(right - left + 1) * (bottom - top + 1) >
      static_cast<long long>(kMaxDirtyCells)) {
    Invalidate();
    return;
  }
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) InvalidateCell(c, r);
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent) {
  const TGridRect now = Selection();
  if (now == oldSelection && oldCurrent == current_) return;
  InvalidateCells(oldSelection);
  InvalidateCells(now);
}

// ---- Geometry

TRect TCustomGrid::CellRect(int col, int row) const {
  const Axis cols = ColAxis(), rows = RowAxis();
  if (!cols.Shown(col) || !rows.Shown(row)) return {};
  const int x = static_cast<int>(cols.Start(col)), y = static_cast<int>(rows.Start(row));
  return {x, y, x + cols.size, y + rows.size};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  const int col = ColAxis().At(x), row = RowAxis().At(y);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

// ---- Painting

TGridDrawState TCustomGrid::StateOf(int col, int row) const {
  if (col < fixed_cols_ || row < fixed_rows_) return gdFixed;
  TGridDrawState state = 0;
  if (Selection().Contains(col, row)) state |= gdSelected;
  if (TGridCoord{col, row} == current_ && Focused()) state |= gdFocused;
  return state;
}

void TCustomGrid::DrawCellAt(int col, int row, const TRect& rect) {
  const TGridDrawState state = StateOf(col, row);
  TCanvas& c = Canvas();
  if (default_drawing_) {
    c.Font().Assign(Font());
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    const bool highlight =
        (state & gdSelected) &&
        (!(state & gdFocused) || Has(options_, TGridOption::goDrawFocusSelected));
    if (state & gdFixed) {
      c.Brush().SetColor(fixed_color_);
    } else if (highlight) {
      c.Brush().SetColor(clHighlight);
      c.Font().SetColor(clHighlightText);
    } else {
      c.Brush().SetColor(Color());
    }
  }
  // A shifted column must not reach into the fixed ones beside it.
  const bool clip = left_offset_ > 0 && fixed_cols_ > 0 && col >= fixed_cols_;
  if (clip) {
    const int fixedRight =
        static_cast<int>(std::min<long long>(ColAxis().FixedExtent(), ClientWidth()));
    c.IntersectClipRect({fixedRight, 0, ClientWidth(), ClientHeight()});
  }
  if (default_drawing_) c.FillRect(rect);
  DrawCell(col, row, rect, state);
  if (default_drawing_) DrawCellDecoration(rect, state);
  if (clip) c.ClearClip();
}

void TCustomGrid::DrawCellDecoration(const TRect& rect, TGridDrawState state) {
  TCanvas& c = Canvas();
  if ((state & gdFixed) && ctl3d_ && !rect.IsEmpty()) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clBtnHighlight);
    c.FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1});
    c.FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
    c.Brush().SetColor(clBtnShadow);
    c.FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
    c.FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
  }
  if (state & gdFocused) c.DrawFocusRect(rect);
}

void TCustomGrid::Paint() {
  dirty_.clear();
  const Axis cols = ColAxis(), rows = RowAxis();
  int colsEnd = 0, rowsEnd = 0;
  cols.EachShown([&](int, int x) { colsEnd = std::min(cols.client, x + cols.size + cols.line); });
  rows.EachShown([&](int r, int y) {
    rowsEnd = std::min(rows.client, y + rows.size + rows.line);
    cols.EachShown([&](int c, int x) { DrawCellAt(c, r, {x, y, x + cols.size, y + rows.size}); });
  });
  DrawLines(cols, rows, colsEnd, rowsEnd);
  TCanvas& c = Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect({colsEnd, 0, cols.client, rows.client});
  c.FillRect({0, rowsEnd, colsEnd, rows.client});
}

// Lines between fixed cells are black, between scrolling cells silver; a
// line whose option is off takes the colour of the cells beside it.
void TCustomGrid::DrawLines(const Axis& cols, const Axis& rows, int colsEnd, int rowsEnd) {
  TCanvas& c = Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  auto color = [this](bool fixedArea, TGridOption fixedLine, TGridOption line) {
    if (fixedArea) return Has(options_, fixedLine) ? clBlack : fixed_color_;
    return Has(options_, line) ? clSilver : Color();
  };
  auto fill = [&](TColor col, const TRect& r) {
    if (r.IsEmpty()) return;
    c.Brush().SetColor(col);
    c.FillRect(r);
  };
  const int fixedRowsEnd = static_cast<int>(std::min<long long>(rows.FixedExtent(), rowsEnd));
  const int fixedColsEnd = static_cast<int>(std::min<long long>(cols.FixedExtent(), colsEnd));
  if (cols.line > 0) {
    cols.EachShown([&](int i, int x) {
      const int l = x + cols.size, r = l + cols.line;
      fill(color(true, TGridOption::goFixedVertLine, TGridOption::goVertLine),
           {l, 0, r, fixedRowsEnd});
      fill(color(i < fixed_cols_, TGridOption::goFixedVertLine, TGridOption::goVertLine),
           {l, fixedRowsEnd, r, rowsEnd});
    });
  }
  if (rows.line > 0) {
    rows.EachShown([&](int i, int y) {
      const int t = y + rows.size, b = t + rows.line;
      fill(color(true, TGridOption::goFixedHorzLine, TGridOption::goHorzLine),
           {0, t, fixedColsEnd, b});
      fill(color(i < fixed_rows_, TGridOption::goFixedHorzLine, TGridOption::goHorzLine),
           {fixedColsEnd, t, colsEnd, b});
    });
  }
}

void TCustomGrid::PaintInvalidParts() {
  const std::vector<TGridCoord> cells = std::move(dirty_);
  dirty_.clear();
  for (const TGridCoord& cell : cells) {
    const TRect r = CellRect(cell.X, cell.Y);
    if (!r.IsEmpty()) DrawCellAt(cell.X, cell.Y, r);
  }
}

// ---- Keyboard and mouse

bool TCustomGrid::MoveByUser(TGridCoord target, TShiftState shift) {
  const bool extend = (shift & ssShift) && Has(options_, TGridOption::goRangeSelect);
  if (!MoveCurrent(target.X, target.Y, !extend, true)) return false;
  Click();
  return true;
}

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0 || !HasCells()) return;
  long long col = current_.X, row = current_.Y;
  const int page = std::max(1, RowAxis().Capacity());
  // A grid of one scrolling column is a list: Home and End go by rows.
  const bool byRows = (shift & ssCtrl) || col_count_ - fixed_cols_ == 1;
  int scroll = 0;
  switch (key) {
    case VK_UP:
      --row;
      break;
    case VK_DOWN:
      ++row;
      break;
    case VK_LEFT:
      --col;
      break;
    case VK_RIGHT:
      ++col;
      break;
    case VK_PRIOR:
      row -= page;
      scroll = -page;
      break;
    case VK_NEXT:
      row += page;
      scroll = page;
      break;
    case VK_HOME:
      col = fixed_cols_;
      if (byRows) row = fixed_rows_;
      break;
    case VK_END:
      col = col_count_ - 1;
      if (byRows) row = row_count_ - 1;
      break;
    default:
      return;
  }
  const TGridCoord target{ClampInt(col, fixed_cols_, col_count_ - 1),
                          ClampInt(row, fixed_rows_, row_count_ - 1)};
  if (target == current_) return;
  // A page keeps the current row where it is on the screen.
  const int top = top_row_;
  if (scroll != 0)
    SetTopRow(static_cast<int>(std::clamp<long long>(static_cast<long long>(top_row_) + scroll, 0,
                                                     std::numeric_limits<int>::max())));
  if (!MoveByUser(target, shift) && scroll != 0) SetTopRow(top);
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && HasCells()) {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= fixed_cols_ && cell.Y >= fixed_rows_) {
      dragging_ = true;
      const bool extend = (shift & ssShift) && Has(options_, TGridOption::goRangeSelect);
      MoveCurrent(cell.X, cell.Y, !extend, true);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (dragging_ && (shift & ssLeft) && HasCells()) {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= fixed_cols_ && cell.Y >= fixed_rows_ && !(cell == current_))
      MoveCurrent(cell.X, cell.Y, !Has(options_, TGridOption::goRangeSelect), true);
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) dragging_ = false;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  // Partial turns of a fine wheel add up to whole notches.
  wheel_rest_ += wheelDelta;
  const int notches = wheel_rest_ / 120;
  wheel_rest_ -= notches * 120;
  if (notches != 0) {
    const long long top = static_cast<long long>(top_row_) -
                          static_cast<long long>(notches) * QApplication::wheelScrollLines();
    SetTopRow(ClampInt(top, fixed_rows_, MaxTopRow()));
  }
  TCustomControl::MouseWheel(shift, wheelDelta, x, y);
}

void TCustomGrid::DoEnter() {
  if (HasCells()) InvalidateCell(current_.X, current_.Y);
  TCustomControl::DoEnter();
}

void TCustomGrid::DoExit() {
  if (HasCells()) InvalidateCell(current_.X, current_.Y);
  TCustomControl::DoExit();
}

}  // namespace nitko
