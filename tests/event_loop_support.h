#pragma once

// Shared helpers for tests that run a real Qt event loop.

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

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

// Runs the event loop until done() holds; false when guard ran out first.
inline bool SpinUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds guard = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + guard;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// Runs the event loop for d.
inline void SpinFor(std::chrono::milliseconds d) {
  const auto end = std::chrono::steady_clock::now() + d;
  SpinUntil([&] { return std::chrono::steady_clock::now() >= end; });
}

}  // namespace nitko::testing
