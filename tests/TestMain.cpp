#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

// Tests run with a real application object (offscreen platform) so that fonts,
// images and the widget shell behave as in the program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Sounds go to a silent device that every machine has, unless a test asks for another.
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  // A test that lands in the installed layout reads and writes ~/.qttest, never the user's own
  // settings or boards.
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
