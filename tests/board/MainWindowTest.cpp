#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include "board/BoardFixture.h"
#include "board/widgets/MainWindow.h"
#include "files/widgets/Install.h"
#include "platform/KeyState.h"
#include "platform/Paths.h"

namespace {

// The real main window around a started board, driven by Qt events as the system sends them.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartBoard(window.Board());
    CurrentKeys() = {};
  }
  void TearDown() override { CurrentKeys() = {}; }

  BoardState& st() { return window.Board().st; }

  void Mouse(QWidget* to, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
             QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(to, &event);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&window, &release);
  }

  MainWindow window;
};

}  // namespace

// A release that the open popup menu's own loop takes still reaches the key state at once.
TEST_F(MainWindowTest, ReleasesOverTheOpenMenuReachTheKeyState) {
  QWidget* surface = &window.Surface();
  Mouse(surface, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {300, 200});
  ASSERT_TRUE(CurrentKeys().Right);

  bool menuOpen = false;
  KeyState afterLeft, afterRight;
  QTimer::singleShot(0, &window, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_TRUE(menu);
    Mouse(menu, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton, {-5, -5});
    afterLeft = CurrentKeys();
    Mouse(menu, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {-5, -5});
    afterRight = CurrentKeys();
    menuOpen = menu->isVisible();
    menu->close();
  });
  Mouse(surface, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton | Qt::RightButton,
        {760, 460});
  EXPECT_TRUE(menuOpen);
  EXPECT_FALSE(afterLeft.Left);
  EXPECT_TRUE(afterLeft.Right);
  EXPECT_FALSE(afterRight.Left);
  EXPECT_FALSE(afterRight.Right);
  EXPECT_FALSE(CurrentKeys().Left || CurrentKeys().Right);
}

// One wheel notch turns the laid chalk by 5 degrees whatever keys are held; X11 reports the
// wheel with Alt held on the horizontal axis.
TEST_F(MainWindowTest, AWheelNotchOnEitherAxisTurnsTheLaidChalk) {
  const struct {
    QPoint delta;
    Qt::KeyboardModifiers modifiers;
    int angle;
  } notches[] = {{{0, 120}, Qt::NoModifier, -5},
                 {{0, -120}, Qt::ControlModifier, 0},
                 {{120, 0}, Qt::AltModifier, -5},
                 {{-120, 0}, Qt::AltModifier, 0},
                 {{0, -120}, Qt::ShiftModifier, 5}};
  st().ToolMode = LaidWay;
  for (const auto& notch : notches) {
    QWheelEvent wheel({400, 200}, window.mapToGlobal(QPoint(400, 200)), {}, notch.delta,
                      Qt::NoButton, notch.modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window, &wheel);
    EXPECT_EQ(st().ChalkAngle, notch.angle) << notch.delta.x() << "," << notch.delta.y();
  }
}

// F12 alone takes a screenshot; held with Ctrl, Shift or Alt it writes nothing.
TEST_F(MainWindowTest, OnlyF12AloneWritesAScreenshot) {
  QTemporaryDir dir;
  SetExeDir(dir.path());
  InstallExport(window);
  const auto shots = [&] {
    return QDir(dir.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files).size();
  };
  for (auto chord : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
    Key(Qt::Key_F12, chord);
  EXPECT_EQ(shots(), 0);
  Key(Qt::Key_F12, Qt::NoModifier);
  EXPECT_EQ(shots(), 1);
  SetExeDir(QString());
}
