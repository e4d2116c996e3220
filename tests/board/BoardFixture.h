#pragma once
// Boards started the way the program starts them, in a program folder of their own, driven as the
// window drives them: the key state of each input first, then the handler.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "board/Board.h"
#include "board/Tray.h"
#include "support/ProcessSeams.h"
#include "support/TestEnvironment.h"

namespace slatewick {

// The folder of the program with every data file copied from the assets, the current folder
// and the executable's; tests remove or replace files in it before start-up. Message boxes are
// recorded and answered by `seams`.
class ProgramFolder {
 public:
  ProgramFolder() {
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Path(name));
    seams.SetCurrentFolder(dir_.path());
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  void Remove(const QString& name) const { QFile::remove(Path(name)); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  }

 private:
  QTemporaryDir dir_;

 public:
  ProcessSeams seams{dir_.path()};
  std::vector<QString>& messages = seams.messages;
};

// The window around the board: 800 x 480 unless resized; remembers whether it was closed and
// which captions its popup menu showed, and answers the menu with `choice`.
class FakeBoardHost : public BoardHost {
 public:
  QSize size{800, 480};
  bool closed = false;
  int menusShown = 0;
  QStringList menuCaptions;
  int choice = -1;

  QSize ClientSize() const override { return size; }
  void Close() override { closed = true; }
  int PopupMenu(const QStringList& captions) override {
    ++menusShown;
    menuCaptions = captions;
    return choice;
  }
};

// The parts one after the other: the draws a step asks for, in order.
inline std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// A board started by the program's own start-up in an 800 x 480 window, without the date.
class StartedBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
    frm.Start();
  }

  const Hand& hand() const { return frm.HandState(); }
  Settings& settings() { return frm.SettingsInUse(); }
  // Composes a frame now and returns it.
  const QImage& Frame() {
    frm.Compose();
    return frm.Surface().FrontBuffer();
  }

  // Input as the shell delivers it: the key state of the event first, then the handler.
  void Hold(MouseButton b, bool down) {
    (b == MouseButton::Left    ? keys.Left
     : b == MouseButton::Right ? keys.Right
                               : keys.Middle) = down;
  }
  void Press(MouseButton b, int x, int y) {
    Hold(b, true);
    frm.Press(b, x, y);
  }
  void Release(MouseButton b, int x, int y) {
    Hold(b, false);
    frm.Release(b, x, y);
  }
  void Move(int x, int y) { frm.Move(x, y); }
  // Picks up a chalk (0..5) or the eraser (EraserSelected) from the tray with a click.
  void PickUp(int tool) {
    const TrayGeometry tray{800, 480, 432};
    const Rect r = tool == EraserSelected ? tray.EraserHit() : tray.ChalkSlot(tool);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    Press(MouseButton::Left, x, y);
    Release(MouseButton::Left, x, y);
  }
  // Enter lays the chalk down; each press of the right arrow then turns it by 5 degrees.
  void LayChalk(int turns = 0) {
    frm.KeyUp(Key::Enter);
    for (int i = 0; i < turns; ++i) frm.KeyDown(Key::RightArrow, false);
  }

  ProgramFolder folder;
  TestEnvironment test;
  KeyState& keys = test.env.keys;
  FakeBoardHost host;
  Board frm{test.env, &host};
};

// A started board whose generator is scripted, and whose frame steps compose no frame.
class BoardTest : public StartedBoardTest {
 protected:
  void SetUp() override {
    StartedBoardTest::SetUp();
    frm.Surface().StopSurface();
    FillBoard(BoardColour);  // without the fresh board's black edges
  }

  Colour Px(int x, int y) const { return FromQRgb(frm.Picture().pixel(x, y)); }
  bool BoardClean() const {
    QImage clean(frm.Picture().size(), QImage::Format_RGB32);
    clean.fill(ToQRgb(BoardColour));
    return frm.Picture() == clean;
  }
  // The board as a loaded board file would leave it.
  void FillBoard(Colour c) { frm.BoardPicture().fill(ToQRgb(c)); }
  // The ends of the laid chalk: A x, A y, B x, B y.
  std::array<int, 4> Ends() const {
    const LaidChalkEnds& e = hand().ends;
    return {e.ax, e.ay, e.bx, e.by};
  }

  // A stroke of the chalk in the hand from (x, y): `moves` moves of 2 pixels to the right, then the
  // release. Its draws take the largest value, so that no dust falls.
  void Stroke(int x, int y, int moves) {
    const auto fallback = std::exchange(random.fallback, [](int n) { return n - 1; });
    Press(MouseButton::Left, x, y);
    for (int i = 1; i <= moves; ++i) Move(x + 2 * i, y);
    Release(MouseButton::Left, x + 2 * moves, y);
    random.fallback = fallback;
  }
  // Tapping that the frame step entered while both buttons were held after a move, with the
  // buttons released again.
  void EnterTapping() {
    const auto fallback = std::exchange(random.fallback, [](int n) { return n - 1; });
    Press(MouseButton::Left, 100, 100);
    Move(102, 100);
    Press(MouseButton::Right, 102, 100);
    frm.Tick();
    Release(MouseButton::Right, 102, 100);
    Release(MouseButton::Left, 102, 100);
    random.fallback = fallback;
  }

  RandomScript random{test.env.random};
};

}  // namespace slatewick
