// The screenshot key of the real main window, wired to the export by the files shell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "board/WindowKeys.h"
#include "board/widgets/MainWindow.h"
#include "files/widgets/FileCommands.h"
#include "platform/Places.h"
#include "support/ProcessSeams.h"
#include "support/TestEnvironment.h"

namespace slatewick {

namespace {

// The real main window around a started board, with keys sent as the system sends them.
class ScreenShotKey : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Core().Surface().BackBuffer() = QImage(800, 480, QImage::Format_RGB32);
    window.Core().Surface().PresentFrame();
  }

  void Key(int key, Qt::KeyboardModifiers modifiers) { SendKey(window, key, modifiers); }

  ProcessSeams seams;
  TestEnvironment test;
  MainWindow window{test.env};
};

// F12 alone takes a screenshot; held with Ctrl, Shift or Alt it writes nothing.
TEST_F(ScreenShotKey, OnlyF12AloneWritesAScreenshot) {
  QTemporaryDir dir;
  SetExeDir(dir.path());
  InstallExportCommands(window);
  const auto shots = [&] {
    return QDir(dir.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files).size();
  };
  for (auto chord : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
    Key(Qt::Key_F12, chord);
  EXPECT_EQ(shots(), 0);
  Key(Qt::Key_F12, Qt::NoModifier);
  EXPECT_EQ(shots(), 1);
}

}  // namespace

}  // namespace slatewick
