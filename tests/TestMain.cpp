#include <gtest/gtest.h>

#include <QApplication>

// Tests run with a real application object (offscreen platform) so that fonts,
// images and the widget shell behave as in the program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Sounds go to a silent device that every machine has, unless a test asks for another.
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
