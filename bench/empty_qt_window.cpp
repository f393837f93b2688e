// The yardstick for the program's start-up: an empty Qt Widgets window of the
// main window's size, timed by the same rule. Prints its figures and exits
// half a second after its first frame.
#include <QWidget>

#include "process_figures.h"

using namespace nitko::bench;

int main(int argc, char** argv) {
  ProcessStart();
  TFirstFrameApp app(argc, argv);
  QWidget window;
  window.setWindowTitle("Empty");
  window.resize(772, 611);
  app.onFirstFrame = [&](double ms) {
    Report("first_frame_ms", ms);
    QTimer::singleShot(500, &app, [&] {
      Report("peak_rss_kib", static_cast<double>(PeakResidentKib()));
      Report("cpu_ms", CpuSeconds() * 1000);
      Report("platform", QGuiApplication::platformName().toStdString());
      window.close();
    });
  };
  window.show();
  return app.exec();
}
