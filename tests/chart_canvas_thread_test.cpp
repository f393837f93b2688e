// Repaint requests from worker threads against frames drawn on this thread.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "chart/tee_canvas.h"
#include "framework/canvas.h"
#include "framework/surface.h"

using namespace nitko;

namespace {

constexpr TColor kInk = 0x000000FF;

// A window and the buffered chart canvas that paints it.
struct Screen {
  static constexpr TRect kClient{0, 0, 64, 48};

  void BeginFrame() { chart.BeginFrame(&canvas, nullptr, kClient, false); }
  void Draw() {
    chart.Brush().SetColor(kInk);
    for (int y = 0; y < kClient.Height(); y += 4) chart.DrawEllipse(0, y, kClient.Width(), y + 4);
  }
  void EndFrame() { chart.EndFrame(&canvas, &canvas, kClient); }
  void Frame() {
    BeginFrame();
    Draw();
    EndFrame();
  }

  TSurface surface{kClient.Width(), kClient.Height()};
  TCanvas canvas{&surface};
  TTeeCanvas3D chart;
};

// Every round the worker asks for a repaint exactly while a frame is being
// drawn; that frame must not count as having answered it.
TEST(ChartCanvasThreads, RequestMadeWhileAFrameIsDrawnIsKept) {
  constexpr int kRounds = 200;
  Screen s;
  std::mutex m;
  std::condition_variable cv;
  int begun = 0;   // rounds whose frame has begun
  int marked = 0;  // rounds whose request has been made
  std::thread worker([&] {
    for (int round = 1; round <= kRounds; ++round) {
      std::unique_lock lock(m);
      cv.wait(lock, [&] { return begun >= round; });
      lock.unlock();
      s.chart.MarkDirty();
      lock.lock();
      marked = round;
      cv.notify_all();
    }
  });

  int lost = 0;
  int cleanRedrawsNotClean = 0;
  for (int round = 1; round <= kRounds; ++round) {
    s.BeginFrame();
    s.Draw();
    {
      std::unique_lock lock(m);
      begun = round;
      cv.notify_all();
      cv.wait(lock, [&] { return marked >= round; });
    }
    s.EndFrame();
    if (!s.chart.Dirty() || s.chart.BlitIfClean()) ++lost;
    // The worker now waits for the next round: this redraw has no rival.
    s.Frame();
    if (!s.chart.BlitIfClean()) ++cleanRedrawsNotClean;
  }
  worker.join();
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(cleanRedrawsNotClean, 0);
}

// A worker requests repaints as fast as it can while this thread paints as
// the panel does. Whenever a request began after a frame had begun and was
// done before the frame ended, the canvas must still be dirty after it.
TEST(ChartCanvasThreads, HammeredRequestsAreNeverLost) {
  constexpr int kRequests = 20000;
  Screen s;
  std::atomic<int> started{0};
  std::atomic<int> completed{0};
  std::thread worker([&] {
    for (int i = 0; i < kRequests; ++i) {
      started.fetch_add(1);
      s.chart.MarkDirty();
      completed.fetch_add(1);
      std::this_thread::yield();  // spread the requests over many frames
    }
  });

  int lost = 0;
  while (completed.load() < kRequests) {
    if (s.chart.BlitIfClean()) continue;
    s.BeginFrame();
    const int startedAtBegin = started.load();
    s.Draw();
    const int completedAtEnd = completed.load();
    s.EndFrame();
    if (completedAtEnd > startedAtBegin && !s.chart.Dirty()) ++lost;
  }
  worker.join();
  EXPECT_EQ(lost, 0);

  // Whatever the last frame answered, one more request is always seen.
  s.Frame();
  ASSERT_TRUE(s.chart.BlitIfClean());
  std::thread([&] { s.chart.MarkDirty(); }).join();
  EXPECT_TRUE(s.chart.Dirty());
  EXPECT_FALSE(s.chart.BlitIfClean());
  s.Frame();
  EXPECT_TRUE(s.chart.BlitIfClean());
}

}  // namespace
