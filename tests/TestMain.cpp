#include <QApplication>
#include <gtest/gtest.h>

// Tests run with a real application object (offscreen platform) so that fonts,
// images and the widget shell behave as in the program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
