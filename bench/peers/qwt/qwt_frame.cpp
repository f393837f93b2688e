// One frame of the program's chart drawn by Qwt into a 753 x 321 image: a
// title, a red line curve and a curve of small green squares, the default
// axes with a grid, point filtering and polygon clipping on, no
// antialiasing (its default), the canvas drawn straight without a backing
// store.
// Usage: qwt_frame <points>
#include <QImage>
#include <QPen>
#include <qwt_global.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_symbol.h>

#include "../peer_frame_timer.h"
#include "../peer_start.h"

using namespace frame_bench;

namespace {

void SetFiltering(QwtPlotCurve* curve, int points) {
  curve->setPaintAttribute(QwtPlotCurve::ClipPolygons, true);
  curve->setPaintAttribute(QwtPlotCurve::FilterPoints, true);
#if QWT_VERSION >= 0x060200
  // At most four points per pixel column: meant for sets of this size.
  curve->setPaintAttribute(QwtPlotCurve::FilterPointsAggressive, points >= 1000000);
#else
  (void)points;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const PeerStart start(argc, argv);
  const int n = start.points;
  const FrameData& data = start.data;
  const QVector<double> x = ToQVector(data.x);

  QwtPlot plot;
  plot.resize(kFrameWidth, kFrameHeight);
  plot.setTitle(kFrameTitle);
  plot.setCanvasBackground(Qt::white);
  // Every frame here is a replot, and for that the backing store is one more
  // canvas-sized pixmap to fill, frame and copy (more than the whole plot
  // costs at 101 points under Qt 5): users who redraw often turn it off.
  static_cast<QwtPlotCanvas*>(plot.canvas())->setPaintAttribute(QwtPlotCanvas::BackingStore,
                                                                false);

  auto* grid = new QwtPlotGrid;
  grid->setMajorPen(Qt::gray, 0, Qt::DotLine);
  grid->attach(&plot);

  auto* line = new QwtPlotCurve;
  line->setPen(Qt::red);
  SetFiltering(line, n);
  line->setSamples(x, ToQVector(data.line));
  line->attach(&plot);

  // The same marker as the QCustomPlot peer's: a 5-pixel square.
  auto* points = new QwtPlotCurve;
  points->setStyle(QwtPlotCurve::NoCurve);
  points->setSymbol(new QwtSymbol(QwtSymbol::Rect, QBrush(Qt::darkGreen), QPen(Qt::darkGreen),
                                  QSize(5, 5)));
  SetFiltering(points, n);
  points->setSamples(x, ToQVector(data.points));
  points->attach(&plot);

  QImage image(kFrameWidth, kFrameHeight, QImage::Format_ARGB32_Premultiplied);
  // A replot brings the axes up to date and invalidates the canvas; the
  // render draws title, axes and canvas.
  TimeReplotFrames("qwt", n, plot, image);
  return 0;
}
