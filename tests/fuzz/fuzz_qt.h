#pragma once

// A headless Qt application for the whole fuzz process, made once from
// LLVMFuzzerInitialize, and the clean-up that keeps inputs from piling up
// objects whose deletion Qt deferred.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <cstdlib>

namespace nitko::fuzz {

inline void StartQt(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(*argc, *argv);
  (void)app;
}

inline void FinishInput() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace nitko::fuzz
