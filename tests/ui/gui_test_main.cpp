// Entry point of the GUI tests: one QApplication for every test (CMake runs
// them on the offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  // Settings the windows remember (recent files) go to a test folder, never
  // to the user's own.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
