// PostToGuiThread from one worker thread: the time from the post until the
// call starts on the GUI thread, and how many calls per second get through.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <atomic>
#include <chrono>
#include <semaphore>
#include <thread>

#include "framework/gui_thread.h"

using namespace nitko;
using Clock = std::chrono::steady_clock;

namespace {

// A worker that runs `round` each time the GUI thread lets it go.
template <typename Round>
class TWorker {
 public:
  explicit TWorker(Round round)
      : thread_([this, round] {
          for (;;) {
            go_.acquire();
            if (stop_) return;
            round();
          }
        }) {}
  ~TWorker() {
    stop_ = true;
    go_.release();
    thread_.join();
  }
  void Go() { go_.release(); }

 private:
  std::counting_semaphore<> go_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The GUI thread is asleep in its event loop when the post arrives, as it is
// between a worker's points.
void BM_PostToRunLatency(benchmark::State& state) {
  QEventLoop loop;
  double seconds = 0;  // GUI thread only
  TWorker worker([&] {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto posted = Clock::now();
    PostToGuiThread([&, posted] {
      seconds = std::chrono::duration<double>(Clock::now() - posted).count();
      loop.quit();
    });
  });
  for (auto _ : state) {
    worker.Go();
    loop.exec();
    state.SetIterationTime(seconds);
  }
}

// The worker posts a burst back to back while the GUI thread drains it.
void BM_PostThroughput(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  QEventLoop loop;
  int ran = 0;  // GUI thread only
  TWorker worker([&] {
    for (int i = 0; i < n; ++i)
      PostToGuiThread([&] {
        if (++ran == n) loop.quit();
      });
  });
  for (auto _ : state) {
    ran = 0;
    worker.Go();
    loop.exec();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_PostToRunLatency)->Iterations(5000)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_PostThroughput)->Arg(101)->Arg(100000)->UseRealTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InitGuiThread();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ShutdownGuiThread();
  return 0;
}
