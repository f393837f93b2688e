#pragma once

// What every peer program does first: Qt's offscreen platform unless one is
// set, the application, and the frame data for the number of points given
// as the first argument (101 without one). Qt 5 and Qt 6 alike.

#include <QApplication>
#include <QVector>
#include <cstdlib>
#include <vector>

#include "../chart_frame_data.h"

namespace frame_bench {

inline int OffscreenUnlessSet() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return 0;
}

struct PeerStart {
  PeerStart(int& argc, char** argv)
      : platform(OffscreenUnlessSet()),
        app(argc, argv),
        points(argc > 1 ? std::atoi(argv[1]) : 101),
        data(MakeFrameData(points)) {}

  int platform;  // set before the application starts
  QApplication app;
  int points;
  FrameData data;
};

inline QVector<double> ToQVector(const std::vector<double>& values) {
  return QVector<double>(values.begin(), values.end());
}

}  // namespace frame_bench
