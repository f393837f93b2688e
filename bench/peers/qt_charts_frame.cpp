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

#include "peer_frame_timer.h"
#include "peer_start.h"

using namespace frame_bench;

int main(int argc, char** argv) {
  const PeerStart start(argc, argv);
  const int n = start.points;
  const FrameData& data = start.data;
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
  chart->setTitle(kFrameTitle);
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
