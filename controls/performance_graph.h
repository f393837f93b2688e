#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/colors.h"
#include "framework/control.h"
#include "framework/events.h"
#include "framework/types.h"

namespace nitko {

class TBitmap;

enum class TGraphKind : uint8_t { pgBar, pgLine };

inline constexpr int MaxPointsPerStep = 16;

inline constexpr const char* SPerformanceGraphFull =
    "Too many points in one step of the performance graph";

// One time step of the graph: point i is (Colours[i], Values[i]), i < Count.
struct HistorySlot {
  int32_t Count = 0;
  TColor Colours[MaxPointsPerStep] = {};
  int32_t Values[MaxPointsPerStep] = {};
};
static_assert(sizeof(HistorySlot) == 33 * 4);

// A strip chart of the kind that shows processor load: time runs from right
// to left in bands of StepSize pixels. DataPoint adds up to 16 coloured
// values to the present step; Update scrolls the picture one band, draws the
// step at the right edge and rescales to the largest value still in view,
// rounded up to a multiple of Gradient. Values are stacked bars or lines
// joining each colour to its value one step earlier.
//
// The picture lives in an off-screen bitmap that each Update moves by one
// copy onto itself; every value still in view is kept in a ring of slots, so
// a change of property, scale or size redraws everything from there.
//
// What the drawing makes of input the scale rule does not cover: values
// below 0 are drawn like 0 (not at all), a Scale of 0 or less draws no
// points, and each band's drawing stays inside its own band.
class TPerformanceGraph : public TGraphicControl {
 public:
  // A form description stores Gradient unless it holds this value, which
  // is not the constructor's 100: a graph with Gradient 100 stores it.
  static constexpr int kGradientStoredDefault = 1000;

  explicit TPerformanceGraph(TComponent* owner);
  ~TPerformanceGraph() override;

  TGraphKind Kind() const { return kind_; }
  TColor ForeColor() const { return fore_color_; }
  TColor BackColor() const { return back_color_; }
  int GridSize() const { return grid_size_; }
  int StepSize() const { return step_size_; }
  int Scale() const { return scale_; }
  int Gradient() const { return gradient_; }
  bool Gridlines() const { return gridlines_; }
  int PenWidth() const { return pen_width_; }
  bool GradientStored() const { return gradient_ != kGradientStoredDefault; }

  // Each does nothing when the value is already there; otherwise it redraws
  // the whole picture. GridSize is at least 2, StepSize at least 1.
  void SetGraphKind(TGraphKind value);
  void SetForeColor(TColor value);
  void SetBackColor(TColor value);
  void SetGridSize(int value);
  void SetStepSize(int value);
  // Takes effect on the scale at the next Update.
  void SetGradient(int value);
  void SetGridlines(bool value);
  // For the control's own canvas only: the lines on the bitmap stay one
  // pixel wide.
  void SetPenWidth(int value);
  // Stores RoundUp(value, Gradient) and calls OnScaleChange; the next
  // Update replaces a scale set by hand with the rounded maximum.
  void SetScale(int value);

  // Adds a point to the present step; a 17th raises ERangeError
  // (SPerformanceGraphFull) and leaves the step as it was.
  void DataPoint(TColor color, int value);
  // Ends the present step and shows it: one scroll and one new band, or a
  // full redraw when the scale changes.
  void Update() override;

  // Width / StepSize.
  int GetBandCount() const;
  // value rounded up to a multiple of gradient (away from zero's other side
  // for negative values, as truncating division gives); unchanged for a
  // gradient of 0. Saturates at the int range.
  static int RoundUp(int value, int gradient);

  // The ring, read from FirstY() onward: NextY gives -1 after the newest.
  int FirstY() const { return first_; }
  int NextY(int i) const;
  int LastY(int i) const;
  void ShiftY();
  int SlotCount() const { return slot_count_; }
  int Current() const { return current_; }
  const HistorySlot& History(int i) const { return history_[static_cast<size_t>(i)]; }

  // Distance from the right edge to the next vertical grid line not yet drawn.
  int GridOffset() const { return grid_offset_; }
  const TBitmap& Picture() const { return *bitmap_; }

  TNotifyEvent OnScaleChange;

 protected:
  // Shows the bitmap, first rebuilding it when the control's size changed.
  void Paint() override;

  // Sizes and clears the bitmap and draws the grid, vertical lines from
  // xStart on.
  void Initialize(int xStart);
  void ScrollGraph();
  // Draws slot's points into NewBand.
  void DisplayPoints(int slot);
  void PaintBar(TColor color, int y1, int y2);
  void PaintLine(TColor color, int y1, int y2);
  // Redraws the whole picture from the ring.
  void Replay();
  // A ring for the present band count, keeping the newest steps from slot 0
  // on; a larger ring's empty slots follow the present step.
  void ReallocHistory();

 private:
  void SetBandRects();
  void DrawBandGrid();
  int MaxInRing() const;

  TGraphKind kind_ = TGraphKind::pgLine;
  TColor fore_color_ = clGreen;
  TColor back_color_ = clBlack;
  int grid_size_ = 15;
  int step_size_ = 3;
  int scale_ = 1000;
  int gradient_ = 100;
  bool gridlines_ = true;
  int pen_width_ = 2;

  TRect full_rect_;
  TRect scroll_source_;
  TRect scroll_dest_;
  TRect new_band_;
  int grid_offset_ = 0;
  std::unique_ptr<TBitmap> bitmap_;
  std::vector<HistorySlot> history_;
  int slot_count_ = 0;
  int first_ = 1;
  int current_ = 0;
  // Inside Paint: a redraw leaves the copy to the screen to Paint itself.
  bool painting_ = false;
};

}  // namespace nitko
