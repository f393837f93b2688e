#pragma once

#include <memory>
#include <vector>

#include "framework/colors.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/scroll_style.h"
#include "framework/types.h"
#include "runtime/exception.h"

namespace nitko {

class GridScrollBars;

// A cell by column (X) and row (Y).
struct TGridCoord {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells; Right and Bottom are included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  constexpr bool operator==(const TGridRect&) const = default;
};

enum class TGridOption : unsigned {
  goFixedVertLine = 1,
  goFixedHorzLine = 2,
  goVertLine = 4,
  goHorzLine = 8,
  goRangeSelect = 16,
  goDrawFocusSelected = 32,
};
using TGridOptions = unsigned;  // a set of TGridOption bits
constexpr TGridOptions operator|(TGridOption a, TGridOption b) {
  return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}
constexpr TGridOptions operator|(TGridOptions a, TGridOption b) {
  return a | static_cast<unsigned>(b);
}
constexpr bool Has(TGridOptions set, TGridOption o) {
  return (set & static_cast<unsigned>(o)) != 0;
}

inline constexpr TGridOptions kDefaultGridOptions =
    TGridOption::goFixedVertLine | TGridOption::goFixedHorzLine | TGridOption::goVertLine |
    TGridOption::goHorzLine | TGridOption::goRangeSelect;

// How a cell is drawn: a set of these bits.
using TGridDrawState = unsigned;
inline constexpr TGridDrawState gdSelected = 1;
inline constexpr TGridDrawState gdFocused = 2;
inline constexpr TGridDrawState gdFixed = 4;

inline constexpr const char* SGridIndexOutOfRange = "Grid index out of range";
inline constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
inline constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";

class EInvalidGridOperation : public Exception {
 public:
  using Exception::Exception;
};

// A grid of cells that draws itself: fixed rows and columns at the top and
// left stay in place while the others scroll. All columns share one width
// and all rows one height, so any number of rows costs what the visible ones
// cost; cells are drawn by the DrawCell hook of a descendant. The current
// cell (Col, Row) is never a fixed one; with goRangeSelect the selection
// runs from an anchor to it.
class TCustomGrid : public TCustomControl {
 public:
  ~TCustomGrid() override;

  int ColCount() const { return col_count_; }
  int RowCount() const { return row_count_; }
  int FixedCols() const { return fixed_cols_; }
  int FixedRows() const { return fixed_rows_; }
  // Raise EInvalidGridOperation for a negative count; a count that leaves
  // no room pulls the fixed count down with it.
  void SetColCount(int value);
  void SetRowCount(int value);
  // Raise EInvalidGridOperation unless 0 <= value < the count (or both 0).
  void SetFixedCols(int value);
  void SetFixedRows(int value);

  int Col() const { return current_.X; }
  int Row() const { return current_.Y; }
  // Move the current cell there through SelectCell and into view; raise
  // EInvalidGridOperation for a cell outside the grid or a fixed one.
  void SetCol(int value) { MoveCurrent(value, current_.Y, true, true); }
  void SetRow(int value) { MoveCurrent(current_.X, value, true, true); }
  // Whether there is any cell that can be current.
  bool HasCells() const { return col_count_ > fixed_cols_ && row_count_ > fixed_rows_; }
  // Makes (col, row) current if SelectCell allows it; the anchor follows when
  // moveAnchor or without goRangeSelect; show scrolls the cell into view.
  // Returns whether the cell moved.
  bool MoveCurrent(int col, int row, bool moveAnchor, bool show);
  TGridRect Selection() const;

  // The first scrolling row and column shown; clamped to what can scroll.
  int TopRow() const { return top_row_; }
  int LeftCol() const { return left_col_; }
  void SetTopRow(int value);
  void SetLeftCol(int value);
  // Pixels a single scrolling column wider than the client area is scrolled
  // by (the horizontal bar then moves it pixel by pixel).
  int LeftOffset() const { return left_offset_; }
  void SetLeftOffset(int value);
  // Scrolling rows and columns that fit wholly in the client area.
  int VisibleRowCount() const;
  int VisibleColCount() const;

  int DefaultColWidth() const { return default_col_width_; }
  int DefaultRowHeight() const { return default_row_height_; }
  // Negative values count as 0.
  void SetDefaultColWidth(int value);
  void SetDefaultRowHeight(int value);
  int GridLineWidth() const { return grid_line_width_; }
  void SetGridLineWidth(int value);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions value);
  // Off: DrawCell paints each cell alone, on nothing the grid prepared.
  bool DefaultDrawing() const { return default_drawing_; }
  void SetDefaultDrawing(bool value);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle value);
  // bsNone or bsSingle; a single border is sunken with Ctl3D.
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle value);
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool value);
  TColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(TColor value);

  // The cell's rectangle in client pixels; empty when it is not shown.
  TRect CellRect(int col, int row) const;
  // The cell under a client point, or (-1, -1).
  TGridCoord MouseCoord(int x, int y) const;
  // Redraws the cell alone at the next paint cycle, if it is shown.
  void InvalidateCell(int col, int row);

 protected:
  explicit TCustomGrid(TComponent* owner);

  // Whether (col, row) may become current; the grid allows any cell.
  virtual bool SelectCell(int col, int row);
  // Draws one cell. With DefaultDrawing the grid has filled rect and set the
  // canvas brush and font for the state; it draws the focus rectangle after.
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);

  void Paint() override;
  void PaintInvalidParts() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseWheel(TShiftState shift, int wheelDelta, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void ApplyGeometry() override;
  bool FillsBackground() const override { return false; }

 private:
  // Pixel extents along one axis: a cell and the line after it.
  struct Axis;
  Axis ColAxis() const;
  Axis RowAxis() const;
  int LineWidthV() const;
  int LineWidthH() const;
  int MaxTopRow() const;
  int MaxLeftCol() const;
  void ClampCurrent();
  // Counts, sizes or the client area changed: scroll range, bars, repaint.
  void LayoutChanged();
  void FrameChanged();
  void SyncScrollBars();
  void ScrollIntoView(TGridCoord cell);
  void InvalidateCells(const TGridRect& cells);
  void SelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent);
  TGridDrawState StateOf(int col, int row) const;
  void DrawCellAt(int col, int row, const TRect& rect);
  void DrawCellDecoration(const TRect& rect, TGridDrawState state);
  void DrawLines(const Axis& cols, const Axis& rows, int colsEnd, int rowsEnd);
  bool MoveByUser(TGridCoord target, TShiftState shift);

  int col_count_ = 5;
  int row_count_ = 5;
  int fixed_cols_ = 1;
  int fixed_rows_ = 1;
  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  int top_row_ = 1;
  int left_col_ = 1;
  int left_offset_ = 0;
  int default_col_width_ = 64;
  int default_row_height_ = 24;
  int grid_line_width_ = 1;
  TGridOptions options_ = kDefaultGridOptions;
  bool default_drawing_ = true;
  TScrollStyle scroll_bars_ = TScrollStyle::ssBoth;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSingle;
  bool ctl3d_ = true;
  TColor fixed_color_ = clBtnFace;
  std::vector<TGridCoord> dirty_;
  bool dragging_ = false;
  int wheel_rest_ = 0;
  std::unique_ptr<GridScrollBars> bars_;
};

}  // namespace nitko
