#pragma once

// What the start-up and run figures of a whole program rest on: when the
// process was started, when its first frame was painted, and what it has used
// so far. Shared by the program's run benchmark and the empty Qt window that
// it is measured against, so that both are timed by the same rule.

#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace nitko::bench {

using Clock = std::chrono::steady_clock;

// The launcher's steady-clock time just before it spawned this process, in
// nanoseconds; without it (run by hand) the figures count from main.
inline constexpr const char* kSpawnedAtEnv = "NITKO_BENCH_SPAWNED_NS";

inline Clock::time_point ProcessStart() {
  static const Clock::time_point start = [] {
    if (const char* ns = std::getenv(kSpawnedAtEnv))
      return Clock::time_point(std::chrono::nanoseconds(std::strtoll(ns, nullptr, 10)));
    return Clock::now();
  }();
  return start;
}

inline double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// User and system time of every thread of the process so far.
inline double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

inline long PeakResidentKib() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// The figures go to stdout as key=value lines for the launcher to read.
inline void Report(const char* key, double value) { std::printf("%s=%.6f\n", key, value); }
inline void Report(const char* key, const std::string& value) {
  std::printf("%s=%s\n", key, value.c_str());
}

// A QApplication that notes the first painted frame: the end of the first
// expose or update request of a window during which a widget was painted, so
// the whole window, children included, has gone to the backing store and
// been flushed.
class TFirstFrameApp : public QApplication {
 public:
  TFirstFrameApp(int& argc, char** argv) : QApplication(argc, argv) {}

  // Runs once, from the event loop, after the first frame.
  std::function<void(double msFromProcessStart)> onFirstFrame;

  bool notify(QObject* receiver, QEvent* event) override {
    if (framed_) return QApplication::notify(receiver, event);
    const QEvent::Type type = event->type();
    const bool frame =
        receiver->isWindowType() && (type == QEvent::Expose || type == QEvent::UpdateRequest);
    if (type == QEvent::Paint && receiver->isWidgetType()) painted_ = true;
    const bool result = QApplication::notify(receiver, event);
    if (frame && painted_ && !framed_) {
      framed_ = true;
      const double ms = MsSince(ProcessStart());
      QTimer::singleShot(0, this, [this, ms] {
        if (onFirstFrame) onFirstFrame(ms);
      });
    }
    return result;
  }

 private:
  bool painted_ = false;
  bool framed_ = false;
};

}  // namespace nitko::bench
