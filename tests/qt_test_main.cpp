// main() for tests that need a Qt application: headless unless told otherwise.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef NITKO_TEST_SCALE
  // A desktop scale, which Qt reads when the application starts.
  setenv("QT_SCALE_FACTOR", NITKO_TEST_SCALE, 1);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
