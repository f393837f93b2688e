#pragma once

// A chart surface with a bottom and a left axis, shared by the axis tests.

#include <algorithm>
#include <string>

#include "chart/axis_drawing.h"
#include "chart/chart_axis.h"
#include "chart/custom_axis_panel.h"
#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/surface.h"

namespace nitko::axis_test {

constexpr TColor kBack = 0x00FFFFFF;
constexpr TColor kGray = 0x00808080;
const TRect kPlot{23, 13, 730, 308};

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
};

// A 753 x 321 chart surface with a bottom and a left axis on 0..10.
template <typename Panel = TCustomAxisPanel>
struct BasicFixture {
  TSurface surface{753, 321};
  TCanvas canvas{&surface};
  TTeeCanvas3D chart;
  Panel panel{nullptr};

  BasicFixture() {
    surface.Fill(kBack);
    chart.SetOffscreenBuffer(false);
    chart.AttachSurface(&canvas);
    panel.SetPlotRect(kPlot);
    for (TChartAxis* a : {&panel.BottomAxis(), &panel.LeftAxis()}) {
      a->SetRange(0, 10);
      a->SetLabelStyle(TAxisLabelStyle::talValue);
      a->RecomputeRange();
      a->PlacePixels();
    }
  }
  TColor At(int x, int y) const { return surface.Pixel(x, y); }
  void Draw(TChartAxis& a) {
    TRect r = kPlot;
    ReserveSpace(a, chart, r, false);
    DrawAxis(a, chart, true);
  }
  // Pixels that are neither background nor the gray of ticks and grid.
  Box Ink(int x0, int y0, int x1, int y1) const {
    Box b;
    for (int y = std::max(0, y0); y < std::min(y1, surface.Height()); ++y)
      for (int x = std::max(0, x0); x < std::min(x1, surface.Width()); ++x) {
        const TColor c = At(x, y);
        if (c == kBack || c == kGray) continue;
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
      }
    return b;
  }
  int CountColumn(int x, int y0, int y1, TColor c) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) n += At(x, y) == c;
    return n;
  }
  int Count(TColor c) const {
    int n = 0;
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x) n += At(x, y) == c;
    return n;
  }
  int Measure(const TChartAxis& a, const std::string& text) {
    chart.Font().Assign(a.LabelsFont());
    return chart.MeasureTextWidth(text);
  }
  int LineHeight(const TFont& f) {
    chart.Font().Assign(f);
    return chart.LineHeight();
  }
};

using Fixture = BasicFixture<>;

}  // namespace nitko::axis_test
