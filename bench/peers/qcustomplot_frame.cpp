// One frame of the program's chart drawn by QCustomPlot into a 753 x 321
// image: a title, a red line graph and a graph of small green squares, the
// default axes and grid, set up as its users run a fast plot: adaptive
// sampling on (its default), no antialiasing, fast polylines, no OpenGL.
// Usage: qcustomplot_frame <points>
#include <QImage>
#include <qcustomplot.h>

#include "peer_frame_timer.h"
#include "peer_start.h"

using namespace frame_bench;

int main(int argc, char** argv) {
  const PeerStart start(argc, argv);
  const int n = start.points;
  const FrameData& data = start.data;
  const QVector<double> x = ToQVector(data.x);

  QCustomPlot plot;
  plot.resize(kFrameWidth, kFrameHeight);
  plot.plotLayout()->insertRow(0);
  plot.plotLayout()->addElement(
      0, 0, new QCPTextElement(&plot, kFrameTitle));

  QCPGraph* line = plot.addGraph();
  line->setPen(QPen(Qt::red));
  line->setAdaptiveSampling(true);
  line->setData(x, ToQVector(data.line), true);

  QCPGraph* points = plot.addGraph();
  points->setLineStyle(QCPGraph::lsNone);
  points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::darkGreen,
                                          Qt::darkGreen, 5));
  points->setAdaptiveSampling(true);
  points->setData(x, ToQVector(data.points), true);
  plot.rescaleAxes();
  // Plottables are antialiased by default, which costs most with many
  // points: users of fast plots turn it off, and the other charts here draw
  // without it.
  plot.setNotAntialiasedElements(QCP::aeAll);
  plot.setPlottingHints(QCP::phFastPolylines | QCP::phImmediateRefresh | QCP::phCacheLabels);
  // OpenGL stays off, its default: the other charts draw on the raster engine.

  QImage image(kFrameWidth, kFrameHeight, QImage::Format_ARGB32_Premultiplied);
  // A replot draws the layers into their paint buffers (tick labels from
  // its cache); the paint, immediate with phImmediateRefresh, copies them
  // into the image. toPainter is the export path: it turns off the label
  // cache and the fast polylines.
  TimeReplotFrames("qcustomplot", n, plot, image);
  return 0;
}
