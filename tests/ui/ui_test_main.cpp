// The window tests need one QApplication for the whole program; without a
// display they run on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "ui/design_font.h"

int main(int argc, char** argv) {
  // Test discovery runs the program without the tests' environment.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  // The report ends the process; a forked child running in a process that
  // already has Qt's threads is unreliable, so death tests re-run the program.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  qp::ui::SubstituteDesignFonts();
  return RUN_ALL_TESTS();
}
