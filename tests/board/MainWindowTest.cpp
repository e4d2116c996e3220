#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include "board/BoardFixture.h"
#include "board/WindowKeys.h"
#include "board/widgets/MainWindow.h"
#include "platform/JpegWriter.h"
#include "platform/PictureFiles.h"
#include "support/Pictures.h"

namespace slatewick {

namespace {

// The real main window around a started board, driven by Qt events as the system sends them.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
    window.Create();
  }

  Board& board() { return window.Core(); }

  void Mouse(QWidget* to, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
             QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(to, &event);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers) { SendKey(window, key, modifiers); }
  // Drops the file of the folder on the window; whether its drag was taken.
  bool Drop(const QString& name) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder.Path(name))});
    QDragEnterEvent enter({400, 200}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(400, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();
    return enter.isAccepted();
  }

  ProgramFolder folder;
  TestEnvironment test;
  KeyState& keys = test.env.keys;
  MainWindow window{test.env};
};

// A picture of one colour; or, with `on`, the board colour with that colour on the rectangle.
QImage Solid(int width, int height, QRgb colour, QRect on = {}) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(on.isNull() ? colour : ToQRgb(BoardColour));
  QPainter(&picture).fillRect(on, QColor(colour));
  return picture;
}

}  // namespace

// A release that the open popup menu's own loop takes still reaches the key state at once.
TEST_F(MainWindowTest, ReleasesOverTheOpenMenuReachTheKeyState) {
  QWidget* surface = &window.Surface();
  Mouse(surface, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {300, 200});
  ASSERT_TRUE(keys.Right);

  bool menuOpen = false;
  KeyState afterLeft, afterRight;
  QTimer::singleShot(0, &window, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_TRUE(menu);
    Mouse(menu, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton, {-5, -5});
    afterLeft = keys;
    Mouse(menu, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {-5, -5});
    afterRight = keys;
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
  EXPECT_FALSE(keys.Left || keys.Right);
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
  board().KeyUp(Key::Enter);  // the chalk laid on its side
  for (const auto& notch : notches) {
    QWheelEvent wheel({400, 200}, window.mapToGlobal(QPoint(400, 200)), {}, notch.delta,
                      Qt::NoButton, notch.modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window, &wheel);
    EXPECT_EQ(board().HandState().chalkAngle, notch.angle)
        << notch.delta.x() << "," << notch.delta.y();
  }
}

// A menu opened by a press that the frame step's own message pass delivers still gets ticks:
// the dust keeps falling behind it.
TEST_F(MainWindowTest, DustFallsBehindAMenuOpenedInsideATick) {
  window.show();
  window.activateWindow();
  {
    RandomScript dust(test.env.random);
    dust.Push({0, 0});  // four particles at the press
    keys.Left = true;
    board().Press(MouseButton::Left, 100, 10);
    keys.Left = false;
    board().Release(MouseButton::Left, 100, 10);
  }
  const auto y = [this] { return board().Dust().Particles()[0].y; };

  bool pressed = false;
  board().SetMessagePump([&] {
    if (!pressed) {
      pressed = true;  // this press opens the menu here, inside the tick's message pass
      Mouse(&window.Surface(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
            {760, 460});
    }
    QCoreApplication::processEvents();
  });

  QEventLoop loop;
  int yAtOpen = -1, yAtClose = -1, polls = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    if (!menu) return;
    if (yAtOpen < 0) yAtOpen = y();
    const bool fell = y() > yAtOpen;
    if (fell || ++polls > 400) {  // 2 s without a tick is a failure
      yAtClose = y();
      menu->close();
      loop.quit();
    }
  });
  watch.start(5);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  board().SetMessagePump([] { QCoreApplication::processEvents(); });

  ASSERT_TRUE(pressed) << "no tick ran";
  ASSERT_GE(yAtOpen, 0) << "the menu did not open";
  EXPECT_GT(yAtClose, yAtOpen) << "no tick while the menu was open";
}

TEST_F(MainWindowTest, TicksArePacedByTheRefreshRateOfTheWindowsScreen) {
  window.show();
  ASSERT_TRUE(window.screen());
  EXPECT_GT(window.screen()->refreshRate(), 0);
  EXPECT_DOUBLE_EQ(board().Timer().RefreshRate(), window.screen()->refreshRate());
}

TEST_F(MainWindowTest, TheRestOfStartUpRunsOnceAfterTheFirstFrameIsPainted) {
  int runs = 0;
  window.AfterFirstPaint([&] { ++runs; }, 60000);  // far beyond the test: only a paint runs it
  QApplication::processEvents();
  EXPECT_EQ(runs, 0) << "nothing painted yet";
  window.show();
  for (int i = 0; i < 200 && runs == 0; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  window.Surface().repaint();
  QApplication::processEvents();
  EXPECT_EQ(runs, 1);
}

TEST_F(MainWindowTest, CtrlCPutsTheBoardOnTheClipboardAsPngAndLeavesTheBoard) {
  board().BoardPicture() = PatternBoard(1);
  const std::uint64_t steps = board().History().StepsMade();
  Key(Qt::Key_C, Qt::ControlModifier);
  const QByteArray png = QGuiApplication::clipboard()->mimeData()->data("image/png");
  EXPECT_TRUE(SamePixels(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32),
                         PatternBoard(1)));
  EXPECT_TRUE(board().Picture() == PatternBoard(1) && board().History().StepsMade() == steps);
}

TEST_F(MainWindowTest, PastedAndDroppedPicturesFitTheBoardUndoablyOrShowTheErrorBox) {
  QByteArray large = EncodeJpeg(Solid(16, 16, 0));  // declares 20000 x 20000
  large.replace(large.indexOf("\xFF\xC0") + 5, 4, QByteArray::fromHex("4E204E20"));
  const QRgb red = qRgb(200, 30, 60), grey = qRgb(128, 128, 128);
  const struct {
    const char* name;  // a file dropped, or a paste of type image/<suffix>
    bool drop;
    QByteArray bytes;
    QImage board;         // null when refused...
    const char* refusal;  // ...for this reason, or not taken at all (null)
  } cases[] = {
      {"exact.bmp", true, EncodeBmp(PatternBoard(7)), PatternBoard(7), ""},
      {"wide.png", false, EncodePng(Solid(1600, 432, red)),
       Solid(800, 432, red, {0, 108, 800, 216}), ""},
      {"tall.jpeg", true, EncodeJpeg(Solid(400, 864, grey)),
       Solid(800, 432, grey, {300, 0, 200, 432}), ""},
      {"broken.png", true, "not a picture", {}, "It is not a PNG, JPEG or BMP picture."},
      {"broken.png", false, "\x89PNG\r\n\x1A\n", {}, ""},
      {"large.jpeg", false, large, {}, "20000 x 20000 pixels is larger than the 16384 x 16384"},
      {"large.bmp", true, EncodeBmp(Solid(16385, 1, 0)), {}, "16385 x 1 pixels is larger"},
      {"notes.txt", true, "text", {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    folder.seams.boxes.clear();
    const QImage before = board().Picture().copy();
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/") + QFileInfo(c.name).suffix(), c.bytes);
    QGuiApplication::clipboard()->setMimeData(data);
    folder.Write(QString::fromUtf8(c.name), c.bytes);
    const bool taken =
        c.drop ? Drop(QString::fromUtf8(c.name)) : (Key(Qt::Key_V, Qt::ControlModifier), true);
    EXPECT_EQ(taken, c.refusal != nullptr);
    const QString box = folder.seams.boxes.empty() ? QString() : folder.seams.boxes[0].Text;
    EXPECT_EQ(folder.seams.boxes.size(), c.board.isNull() && c.refusal ? 1u : 0u);
    EXPECT_TRUE(SamePixels(board().Picture(), c.board.isNull() ? before : c.board));
    EXPECT_TRUE(c.board.isNull() ? !c.refusal || (box.startsWith("Cannot read the bitmap") &&
                                                  box.contains(c.refusal))
                                 : board().Undo() && board().Picture() == before)
        << box.toStdString();
  }
}

// Ctrl+R replays the story; a key (Esc too) or a click ends the replay and does nothing else:
// the window stays open and the click draws nothing; the board, its history and its story stay.
TEST_F(MainWindowTest, CtrlRReplaysAndTheKeyOrClickThatEndsItDoesNothingElse) {
  window.show();
  QWidget* surface = &window.Surface();
  test.clock.ms = 1000;
  Mouse(surface, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {100, 100});
  for (int x = 110; x < 200; x += 10) {
    Mouse(surface, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {x, 100});
    *test.clock.ms += 10;
    board().Tick();
  }
  Mouse(surface, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {200, 100});
  const QImage before = board().Picture().copy();
  const std::uint64_t steps = board().History().StepsMade();
  Key(Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(board().Replaying());
  Key(Qt::Key_Escape, Qt::NoModifier);
  EXPECT_FALSE(board().Replaying());
  EXPECT_TRUE(window.isVisible());
  Key(Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(board().Replaying());
  Mouse(surface, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {300, 200});
  Mouse(surface, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {340, 220});
  Mouse(surface, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {340, 220});
  EXPECT_FALSE(board().Replaying());
  EXPECT_TRUE(board().Picture() == before && board().History().StepsMade() == steps);
  // Run to its end, it leaves the window as it was, and records nothing.
  board().Tick();  // the frame of the hand where the click left it
  const QImage shown = board().WindowPicture();
  const std::size_t events = board().CurrentStory().Events().size();
  Key(Qt::Key_R, Qt::ControlModifier);
  for (int i = 0; i < 400 && board().Replaying(); ++i) {  // the story: a pause of 2 s, a stroke
    *test.clock.ms += 10;
    board().Tick();
  }
  EXPECT_FALSE(board().Replaying());
  EXPECT_TRUE(SamePixels(board().WindowPicture(), shown));
  EXPECT_EQ(board().CurrentStory().Events().size(), events);
}

}  // namespace slatewick
