#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <thread>
#include <vector>

#include "controls/gauge.h"
#include "framework/canvas.h"
#include "framework/gui_thread.h"
#include "tests/event_loop_support.h"

using namespace nitko;

namespace {

class GaugeThread : public ::testing::Test {
 protected:
  void SetUp() override { InitGuiThread(); }
  void TearDown() override { ShutdownGuiThread(); }
};

using nitko::testing::RunUntilQuit;

}  // namespace

// As the worker reports: fine steps from its own thread, handed over one by
// one; the gauge itself takes no lock.
TEST_F(GaugeThread, PostedProgressArrivesInOrderAndTheLastValueIsShown) {
  TCGauge gauge(nullptr);
  gauge.SetBounds(0, 0, 201, 17);
  gauge.SetMaxValue(1000);
  const int paintsBefore = gauge.PaintCount();

  std::vector<int> reported;
  for (int v = 0; v <= 1000; ++v) reported.push_back(v);
  for (int v = 999; v >= 37; --v) reported.push_back(v);

  std::vector<int> seen;  // GUI thread only
  QEventLoop loop;
  std::thread worker([&] {
    for (int v : reported)
      PostToGuiThread([&gauge, &seen, v] {
        gauge.SetProgress(v);
        seen.push_back(gauge.Progress());
      });
    PostToGuiThread([&loop] { loop.quit(); });
  });
  const bool finished = RunUntilQuit(loop);
  worker.join();
  ASSERT_TRUE(finished);

  EXPECT_EQ(seen, reported);
  EXPECT_EQ(gauge.GetPercentDone(), 3);
  // A repaint per whole percent passed, not per report: 100 up, 97 down.
  EXPECT_EQ(gauge.PaintCount() - paintsBefore, 197);

  TCGauge reference(nullptr);
  reference.SetBounds(0, 0, 201, 17);
  reference.SetMaxValue(1000);
  reference.SetProgress(37);
  reference.Repaint();
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 201; ++x)
      ASSERT_EQ(gauge.Canvas().Pixel(x, y), reference.Canvas().Pixel(x, y)) << x << ", " << y;
}
