// One frame of the program's chart drawn by Qt Charts into a 753 x 321
// image: a title, a red QLineSeries and a QScatterSeries of small green
// rectangles, the default axes with their grid.
// Usage: qt_charts_frame <points>
#include <QApplication>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QScatterSeries>
#include <cstdlib>

#include "../chart_frame_data.h"
#include "peer_frame_timer.h"

using namespace frame_bench;

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 101;
  const FrameData data = MakeFrameData(n);
  QList<QPointF> linePoints, markerPoints;
  linePoints.reserve(n);
  markerPoints.reserve(n);
  for (int i = 0; i < n; ++i) {
    linePoints.append(QPointF(data.x[size_t(i)], data.line[size_t(i)]));
    markerPoints.append(QPointF(data.x[size_t(i)], data.points[size_t(i)]));
  }

  auto* line = new QLineSeries;
  line->setColor(Qt::red);
  line->replace(linePoints);
  auto* markers = new QScatterSeries;
  markers->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  markers->setMarkerSize(7);
  markers->setColor(Qt::darkGreen);
  markers->replace(markerPoints);

  auto* chart = new QChart;
  chart->setTitle("Wykres  badanej  funkcji  f(x,p)  oraz  f(x, p+1)");
  chart->legend()->hide();
  chart->addSeries(line);
  chart->addSeries(markers);
  chart->createDefaultAxes();
  QGraphicsScene scene;
  scene.addItem(chart);
  chart->setGeometry(0, 0, kFrameWidth, kFrameHeight);
  // Layout and the series' geometry are brought up to date by events.
  QApplication::processEvents();

  QImage image(kFrameWidth, kFrameHeight, QImage::Format_ARGB32_Premultiplied);
  const QRectF area(0, 0, kFrameWidth, kFrameHeight);
  TimeFrames("qt_charts", n, [&] {
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, area, area);
  });
  return 0;
}
