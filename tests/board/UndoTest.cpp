// Undo and redo of the board: every kind of change is one step, restored pixel for pixel.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QHashFunctions>
#include <functional>
#include <vector>

#include "board/BoardFixture.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

namespace {

// A started board with the real date glyphs, questions answered Yes, the clock pinned.
class UndoTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    folder.seams.answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
    test.clock.now = QDateTime(QDate(2025, 3, 14), QTime(9, 0));
  }
  // Presses at (x, y), moves `count` times by (4, 1), releases.
  void Stroke(MouseButton b, int x, int y, int count = 30) {
    Press(b, x, y);
    Drag(x, y, 4, 1, count);
    Release(b, x + 4 * count, y + count);
  }
  void Drag(int x, int y, int dx, int dy, int count) {
    for (int i = 1; i <= count; ++i) Move(x + i * dx, y + i * dy);
  }
  const QImage& Board() { return frm.Picture(); }
  // Everything but the board that undo must leave alone.
  auto HandAndDust() { return std::tuple(hand(), frm.Dust().Count(), settings().DateAfterClear); }
};

}  // namespace

TEST_F(UndoTest, EveryKindOfChangeIsOneStepUndoneAndRedonePixelForPixel) {
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"chalk stroke", [this] { Stroke(MouseButton::Left, 40, 40); }},
      {"corner stroke",
       [this] {
         keys.Ctrl = true;
         Stroke(MouseButton::Left, 40, 80);
         keys.Ctrl = false;
       }},
      {"laid chalk swept and turned by wheel and arrow",
       [this] {
         LayChalk();
         Press(MouseButton::Left, 100, 200);
         Drag(100, 200, 3, 2, 10);
         frm.WheelTowardsUser();
         frm.KeyDown(Key::RightArrow, false);
         Release(MouseButton::Left, 130, 220);
       }},
      {"finger smudge", [this] { Stroke(MouseButton::Right, 30, 45); }},
      {"eraser wipe",
       [this] {
         PickUp(EraserSelected);
         Stroke(MouseButton::Left, 60, 100, 5);
         PickUp(2);
       }},
      {"tap marks of one hold, the chalk moved between them",
       [this] {
         Press(MouseButton::Left, 400, 300);
         Press(MouseButton::Right, 400, 300);
         for (int i = 0; i < 40; ++i) frm.Tick();
         Move(450, 320);
         for (int i = 0; i < 40; ++i) frm.Tick();
         Release(MouseButton::Right, 450, 320);
         Release(MouseButton::Left, 450, 320);
       }},
      {"finger, then a chalk stroke over it, released in turn",
       [this] {
         Press(MouseButton::Right, 300, 50);
         Drag(300, 50, 5, 0, 10);
         Press(MouseButton::Left, 350, 60);
         Drag(350, 60, 3, 1, 10);
         Release(MouseButton::Right, 380, 70);
         Drag(380, 70, 3, 1, 10);
         Release(MouseButton::Left, 410, 80);
       }},
      {"date", [this] { frm.WriteDate(); }},
      {"clear with the date",
       [this] {
         settings().DateAfterClear = true;
         frm.ClearBoard();
       }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const QImage before = Board().copy();
    const int steps = frm.History().UndoCount();
    change();
    const QImage after = Board().copy();
    ASSERT_FALSE(after == before);
    EXPECT_EQ(frm.History().UndoCount(), steps + 1);
    const auto hand = HandAndDust();

    EXPECT_TRUE(frm.Undo());
    EXPECT_TRUE(Board() == before);
    EXPECT_TRUE(frm.Redo());
    EXPECT_TRUE(Board() == after);
    EXPECT_TRUE(frm.Undo());
    EXPECT_TRUE(frm.Redo());
    EXPECT_TRUE(Board() == after);
    EXPECT_EQ(HandAndDust(), hand);
  }
}

TEST_F(UndoTest, APressThatChangesNothingKeepsRedoAndANewChangeDropsIt) {
  const QImage clean = Board().copy();
  Stroke(MouseButton::Left, 100, 100);
  const QImage drawn = Board().copy();
  ASSERT_TRUE(frm.Undo());
  Press(MouseButton::Left, 141, 455);  // picks up the yellow chalk in the tray
  Release(MouseButton::Left, 141, 455);
  Press(MouseButton::Middle, 200, 200);
  Release(MouseButton::Middle, 200, 200);
  EXPECT_EQ(frm.History().RedoCount(), 1);
  ASSERT_TRUE(frm.Redo());
  EXPECT_TRUE(Board() == drawn);

  ASSERT_TRUE(frm.Undo());
  LayChalk();  // the middle press laid it: upright again
  Stroke(MouseButton::Left, 100, 200);
  EXPECT_FALSE(frm.Redo());
  ASSERT_TRUE(frm.Undo());
  EXPECT_TRUE(Board() == clean);
  EXPECT_FALSE(frm.Undo());
}

TEST_F(UndoTest, TheKeysDoNothingWhileAnyButtonIsHeld) {
  Stroke(MouseButton::Left, 100, 100);
  const QImage drawn = Board().copy();
  for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    Hold(b, true);
    EXPECT_FALSE(frm.Undo());
    EXPECT_FALSE(frm.Redo());
    EXPECT_TRUE(Board() == drawn);
    Hold(b, false);
  }
  EXPECT_TRUE(frm.Undo());
}

TEST_F(UndoTest, TheFirstFrameAfterAnUndoShowsIt) {
  frm.Surface().StartSurface();
  settings().ShowDust = false;  // no dust, so an unchanged frame is not composed again
  Stroke(MouseButton::Left, 100, 100);
  Move(600, 600);
  frm.Compose();
  const QRgb chalk = frm.Surface().FrontBuffer().pixel(160, 115);
  ASSERT_NE(FromQRgb(chalk), BoardColour);
  ASSERT_TRUE(frm.Undo());
  frm.Compose();
  EXPECT_EQ(FromQRgb(frm.Surface().FrontBuffer().pixel(160, 115)), BoardColour);
  ASSERT_TRUE(frm.Redo());
  frm.Compose();
  EXPECT_EQ(frm.Surface().FrontBuffer().pixel(160, 115), chalk);
}

TEST(BoardHistory, ManyWholeBoardStepsStayWithinTheLimitAndTheLastStrokesAllStay) {
  QImage board(800, 432, QImage::Format_RGB32);
  board.fill(0u);
  BoardHistory history;
  history.Watch(board);
  // Noise: boards that do not pack, so each step keeps about its true size.
  std::uint32_t noise = 12345;
  for (int i = 1; i <= 60; ++i) {
    auto* pixels = reinterpret_cast<QRgb*>(board.bits());
    for (qsizetype p = 0; p < board.sizeInBytes() / 4; ++p) {
      noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
      pixels[p] = noise;
    }
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

// However small the steps, only the newest DefaultStepLimit of them stay.
TEST(BoardHistory, OnlyTheNewestStepsWithinTheStepLimitStay) {
  QImage board(64, 32, QImage::Format_RGB32);
  board.fill(0u);
  BoardHistory history;
  history.Watch(board);
  const int made = int(BoardHistory::DefaultStepLimit) + 5;
  for (int i = 1; i <= made; ++i) {
    board.setPixel(i % 64, i / 64, qRgb(255, 255, 255));
    ASSERT_TRUE(history.Record(board));
  }
  EXPECT_EQ(history.UndoCount(), int(BoardHistory::DefaultStepLimit));
  while (history.Undo(board)) {
  }
  for (int i = 1; i <= made; ++i)  // the five oldest pixels stay drawn
    EXPECT_EQ(board.pixel(i % 64, i / 64), i <= 5 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << i;
}

// A history may start with steps from earlier pictures (the kept boards), the most recent one
// undo away: undo shows them in turn, redo leaves them, an equal neighbour makes no step, and
// later changes stack on them as on any other step.
TEST(BoardHistory, StartWithStepsPutsTheEarlierPicturesBehindTheBoard) {
  QImage board(800, 432, QImage::Format_RGB32);
  board.fill(qRgb(0, 80, 0));
  const QImage clean = board.copy();
  QImage earlier = board.copy(), earliest = board.copy();
  earlier.fill(qRgb(255, 255, 255));  // a drawing everywhere but the edges
  for (int y = 1; y < 432; ++y) earlier.setPixel(0, y, qRgb(0, 0, 0));
  earliest.setPixel(5, 5, qRgb(255, 255, 255));

  BoardHistory history;
  history.Watch(board);
  board.setPixel(9, 9, qRgb(1, 2, 3));
  ASSERT_TRUE(history.Record(board));  // a step that the fresh start drops
  board = clean.copy();
  EXPECT_EQ(history.StartWithSteps({clean}, board), 0);
  EXPECT_EQ(history.UndoCount() + history.RedoCount(), 0);

  ASSERT_EQ(history.StartWithSteps({earlier, earlier, earliest}, board), 2);
  EXPECT_EQ(history.RedoCount(), 0);
  ASSERT_TRUE(history.Undo(board));
  EXPECT_TRUE(board == earlier);
  ASSERT_TRUE(history.Undo(board));
  EXPECT_TRUE(board == earliest);
  EXPECT_FALSE(history.Undo(board));
  ASSERT_TRUE(history.Redo(board));
  ASSERT_TRUE(history.Redo(board));
  EXPECT_TRUE(board == clean);

  board.setPixel(400, 200, qRgb(255, 252, 30));
  ASSERT_TRUE(history.Record(board));
  ASSERT_TRUE(history.Undo(board));
  EXPECT_TRUE(board == clean);
  ASSERT_TRUE(history.Undo(board));
  EXPECT_TRUE(board == earlier);
}

}  // namespace slatewick
