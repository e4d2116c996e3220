// Undo and redo of the board: every kind of change is one step, restored pixel for pixel.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QHashFunctions>
#include <functional>
#include <vector>

#include "board/BoardFixture.h"
#include "board/StartedBoard.h"
#include "platform/Clock.h"

namespace {

// A started program with the real pictures, no date at start-up, questions answered Yes.
class UndoTest : public ::testing::Test {
 public:  // the table of changes acts through these
  void SetUp() override {
    CurrentKeys() = {};
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
    frm.FormCreate();
    frm.DXDraw.StopSurface();
    SetMessageBoxHandler([](const MessageBoxRequest&) { return BoxAnswer::Yes; });
    PinLocalTime(QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
  }
  void TearDown() override {
    PinLocalTime(std::nullopt);
    CurrentKeys() = {};
  }

  void Hold(MouseButton b, bool down) {
    KeyState& k = CurrentKeys();
    (b == MouseButton::Left ? k.Left : b == MouseButton::Right ? k.Right : k.Middle) = down;
  }
  void Press(MouseButton b, int x, int y) {
    Hold(b, true);
    frm.DXDrawMouseDown(b, x, y);
  }
  void Release(MouseButton b, int x, int y) {
    Hold(b, false);
    frm.DXDrawMouseUp(b, x, y);
  }
  // Moves from (x, y) in `count` steps of (dx, dy).
  void Drag(int x, int y, int dx, int dy, int count) {
    for (int i = 1; i <= count; ++i) frm.DXDrawMouseMove(x + i * dx, y + i * dy);
  }
  void Stroke(MouseButton b, int x, int y, int count = 30) {
    Press(b, x, y);
    Drag(x, y, 4, 1, count);
    Release(b, x + 4 * count, y + count);
  }

  ProgramFolder folder;
  FakeBoardHost host;
  TfrmMain frm{&host};
  BoardState& st = frm.st;
};

struct Change {
  const char* name;
  std::function<void(UndoTest&)> make;
};

// Everything but the board that undo must leave alone.
auto HandAndDust(const BoardState& s) {
  return std::tuple(s.SelectedChalk, s.ToolMode, s.ChalkAngle, s.PenX, s.PenY, s.ChalkX, s.ChalkY,
                    s.PenDown, s.FingerDown, s.DustList.Count(), s.Opt.NewWithDay);
}

}  // namespace

TEST_F(UndoTest, EveryKindOfChangeIsOneStepUndoneAndRedonePixelForPixel) {
  const std::vector<Change> changes = {
      {"chalk stroke", [](UndoTest& t) { t.Stroke(MouseButton::Left, 40, 40); }},
      {"corner stroke",
       [](UndoTest& t) {
         CurrentKeys().Ctrl = true;
         t.Stroke(MouseButton::Left, 40, 80);
         CurrentKeys().Ctrl = false;
       }},
      {"laid chalk swept and turned by wheel and arrow",
       [](UndoTest& t) {
         t.st.ToolMode = LaidWay;
         t.Press(MouseButton::Left, 100, 200);
         t.Drag(100, 200, 3, 2, 10);
         t.frm.FormMouseWheelDown();
         t.frm.FormKeyDown(VK_RIGHT, false);
         t.Release(MouseButton::Left, 130, 220);
       }},
      {"finger smudge", [](UndoTest& t) { t.Stroke(MouseButton::Right, 30, 45); }},
      {"eraser wipe",
       [](UndoTest& t) {
         t.st.SelectedChalk = EraserSelected;
         t.Stroke(MouseButton::Left, 60, 100, 5);
         t.st.SelectedChalk = 2;
       }},
      {"tap marks of one hold",
       [](UndoTest& t) {
         t.st.ToolMode = NormalWay;
         t.Press(MouseButton::Left, 400, 300);
         t.Press(MouseButton::Right, 400, 300);
         for (int i = 0; i < 40; ++i) t.frm.TimerTimer(0);
         t.frm.DXDrawMouseMove(450, 320);
         for (int i = 0; i < 40; ++i) t.frm.TimerTimer(0);
         t.Release(MouseButton::Right, 450, 320);
         t.Release(MouseButton::Left, 450, 320);
       }},
      {"finger, then a chalk stroke over it, released in turn",
       [](UndoTest& t) {
         t.Press(MouseButton::Right, 300, 50);
         t.Drag(300, 50, 5, 0, 10);
         t.Press(MouseButton::Left, 350, 60);
         t.Drag(350, 60, 3, 1, 10);
         t.Release(MouseButton::Right, 380, 70);
         t.Drag(380, 70, 3, 1, 10);
         t.Release(MouseButton::Left, 410, 80);
       }},
      {"date", [](UndoTest& t) { t.frm.mnuWriteDateClick(); }},
      {"clear with the date",
       [](UndoTest& t) {
         t.st.Opt.NewWithDay = true;
         t.frm.mnuAllDelClick();
       }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    const QImage before = st.BoardBitmap.copy();
    const int steps = st.History.UndoCount();
    change.make(*this);
    const QImage after = st.BoardBitmap.copy();
    ASSERT_FALSE(after == before);
    EXPECT_EQ(st.History.UndoCount(), steps + 1);
    const auto hand = HandAndDust(st);

    EXPECT_TRUE(frm.Undo());
    EXPECT_TRUE(st.BoardBitmap == before);
    EXPECT_TRUE(frm.Redo());
    EXPECT_TRUE(st.BoardBitmap == after);
    EXPECT_TRUE(frm.Undo());
    EXPECT_TRUE(frm.Redo());
    EXPECT_TRUE(st.BoardBitmap == after);
    EXPECT_EQ(HandAndDust(st), hand);
  }
}

TEST_F(UndoTest, APressThatChangesNothingKeepsRedoAndANewChangeDropsIt) {
  const QImage clean = st.BoardBitmap.copy();
  Stroke(MouseButton::Left, 100, 100);
  const QImage drawn = st.BoardBitmap.copy();
  ASSERT_TRUE(frm.Undo());
  Press(MouseButton::Left, 141, 455);  // picks up the yellow chalk in the tray
  Release(MouseButton::Left, 141, 455);
  Press(MouseButton::Middle, 200, 200);
  Release(MouseButton::Middle, 200, 200);
  EXPECT_EQ(st.History.RedoCount(), 1);
  ASSERT_TRUE(frm.Redo());
  EXPECT_TRUE(st.BoardBitmap == drawn);

  ASSERT_TRUE(frm.Undo());
  st.ToolMode = NormalWay;
  Stroke(MouseButton::Left, 100, 200);
  EXPECT_FALSE(frm.Redo());
  ASSERT_TRUE(frm.Undo());
  EXPECT_TRUE(st.BoardBitmap == clean);
  EXPECT_FALSE(frm.Undo());
}

TEST_F(UndoTest, TheKeysDoNothingWhileAnyButtonIsHeld) {
  Stroke(MouseButton::Left, 100, 100);
  const QImage drawn = st.BoardBitmap.copy();
  for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    Hold(b, true);
    EXPECT_FALSE(frm.Undo());
    EXPECT_FALSE(frm.Redo());
    EXPECT_TRUE(st.BoardBitmap == drawn);
    Hold(b, false);
  }
  EXPECT_TRUE(frm.Undo());
}

TEST_F(UndoTest, TheFirstFrameAfterAnUndoShowsIt) {
  frm.DXDraw.StartSurface();
  st.Opt.ShowKona = false;  // no dust, so an unchanged frame is not recomposed
  Stroke(MouseButton::Left, 100, 100);
  st.PenX = st.PenY = 600;
  frm.AllRewrite();
  const QRgb chalk = frm.DXDraw.FrontBuffer().pixel(160, 115);
  ASSERT_NE(FromQRgb(chalk), st.BoardColor);
  ASSERT_TRUE(frm.Undo());
  frm.AllRewrite();
  EXPECT_EQ(FromQRgb(frm.DXDraw.FrontBuffer().pixel(160, 115)), st.BoardColor);
  ASSERT_TRUE(frm.Redo());
  frm.AllRewrite();
  EXPECT_EQ(frm.DXDraw.FrontBuffer().pixel(160, 115), chalk);
}

TEST(BoardHistory, ManyWholeBoardStepsStayWithinTheLimitAndTheLastStrokesAllStay) {
  QImage board(800, 432, QImage::Format_RGB32);
  board.fill(0u);
  BoardHistory history;
  history.Watch(board);
  for (int i = 1; i <= 60; ++i) {
    board.fill(QRgb(i));
    ASSERT_TRUE(history.Record(board));
  }
  EXPECT_LE(history.Bytes(), BoardHistory::DefaultLimit);
  EXPECT_LT(history.UndoCount(), 60);
  EXPECT_GT(history.UndoCount(), 40);  // each holds one side of the board, at its true size

  // Stroke-sized changes: a band 300 x 7 pixels each.
  const QImage wholeBoards = board.copy();
  const auto sum = [&board] {
    return qHashBits(board.constBits(), std::size_t(board.sizeInBytes()));
  };
  std::vector<std::size_t> befores;
  for (int i = 0; i < 300; ++i) {
    befores.push_back(sum());
    const int y = 7 * (i % 60);
    for (int x = 100 + i; x < 400 + i; ++x)
      for (int dy = 0; dy < 7; ++dy) board.setPixel(x, y + dy, qRgb(i, 255 - i % 256, 9));
    ASSERT_TRUE(history.Record(board));
  }
  EXPECT_LE(history.Bytes(), BoardHistory::DefaultLimit);
  for (int i = 299; i >= 0; --i) {
    ASSERT_TRUE(history.Undo(board));
    ASSERT_EQ(sum(), befores[std::size_t(i)]) << i;
  }
  EXPECT_TRUE(board == wholeBoards);
}
