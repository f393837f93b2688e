#pragma once

// Shared helpers for tests that run a real Qt event loop.

#include <QEventLoop>
#include <QTimer>

namespace nitko::testing {

// Runs loop until something quits it. The guard only keeps a broken
// hand-over from hanging the suite; it is not a timing check.
inline bool RunUntilQuit(QEventLoop& loop) {
  bool hung = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &loop, [&] {
    hung = true;
    loop.quit();
  });
  guard.start(60000);
  loop.exec();
  return !hung;
}

}  // namespace nitko::testing
