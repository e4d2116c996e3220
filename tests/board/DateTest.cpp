// Writing the date into the board's right-hand column, and clearing the board.
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <vector>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

// One glyph cell of the sheet copied to a place on the board.
struct Stamp {
  int srcX, srcY, width, height, x, y;
};

Stamp Digit(int d, int x, int y) {
  return {32 * d, 0, 32, 64, x, y};
}
Stamp MonthMark(int W) {
  return {320, 0, 64, 64, W - 80, 88};
}
Stamp DayMark(int W) {
  return {384, 0, 64, 64, W - 80, 232};
}
Stamp Weekday(int w, int W) {
  return {64 * (w - 1), 64, 64, 64, W - 80, 312};
}

// What the board must look like: the glyph's ink replaces the board pixel, its black leaves
// the board pixel; only pixels inside the board count.
QImage Stamped(QImage board, const QImage& sheet, const std::vector<Stamp>& stamps) {
  for (const Stamp& s : stamps)
    board = MaskedCopy(board, s.x, s.y, s.width, s.height, sheet, s.srcX, s.srcY);
  return board;
}

// A cell holds both ink and black, so the comparison shows that black is left out.
bool HasInkAndBlack(const QImage& sheet, const Stamp& s) {
  bool ink = false, black = false;
  for (int dy = 0; dy < s.height; ++dy)
    for (int dx = 0; dx < s.width; ++dx)
      ((sheet.pixel(s.srcX + dx, s.srcY + dy) & 0xFFFFFF) ? ink : black) = true;
  return ink && black;
}

// A started program with the real glyph sheet, in an 800 x 480 window, without the date of
// start-up; the board carries chalk of every colour under the date column.
class DateTest : public StartedBoardTest {
 protected:
  void SetUp() override {
    StartedBoardTest::SetUp();
    folder.messages.clear();
    questions.clear();
    folder.seams.answer = [this](const MessageBoxRequest&) { return answer; };
    ChalkUnderTheColumn();
  }

  void Today(int year, int month, int day) {
    test.clock.now = QDateTime(QDate(year, month, day), QTime(9, 30));
  }
  // Stripes of the six chalk colours across the whole board.
  void ChalkUnderTheColumn() {
    Canvas c(frm.BoardPicture());
    for (int y = 0; y < frm.Picture().height(); y += 6) {
      c.brush.Color = ChalkColours[std::size_t((y / 6) % 6)];
      c.FillRect({0, y, frm.Picture().width(), y + 3});
    }
  }
  void ExpectDate(const QImage& before, const std::vector<Stamp>& stamps) {
    for (const Stamp& s : stamps) ASSERT_TRUE(HasInkAndBlack(glyphs(), s));
    EXPECT_TRUE(SamePixels(frm.Picture(), Stamped(before, glyphs(), stamps)));
  }
  const QImage& glyphs() const { return frm.Pictures().glyphs; }

  BoxAnswer answer = BoxAnswer::Yes;
  std::vector<MessageBoxRequest>& questions = folder.seams.boxes;
};

}  // namespace

// The column stands 80 pixels left of the window's right edge, whatever the board's width:
// one-digit numbers are centred, two-digit ones fill it; the weekday cells run from Sunday.
TEST_F(DateTest, LayoutOfTheColumnByDateAndWindowWidth) {
  const struct {
    const char* name;
    int width, year, month, day;
    std::vector<Stamp> stamps;
  } dates[] = {
      {"1 January 2025, a Wednesday: one digit each, centred",
       800,
       2025,
       1,
       1,
       {Digit(1, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800), Weekday(4, 800)}},
      {"31 December 2024, a Tuesday: two digits each",
       800,
       2024,
       12,
       31,
       {Digit(1, 720, 16), Digit(2, 752, 16), MonthMark(800), Digit(3, 720, 168),
        Digit(1, 752, 168), DayMark(800), Weekday(3, 800)}},
      {"2 March 2025: Sunday takes the first weekday cell",
       800,
       2025,
       3,
       2,
       {Digit(3, 736, 16), MonthMark(800), Digit(2, 736, 168), DayMark(800), Weekday(1, 800)}},
      {"1 March 2025: Saturday takes the last weekday cell",
       800,
       2025,
       3,
       1,
       {Digit(3, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800), Weekday(7, 800)}},
      {"a narrower window: the column follows it",
       700,
       2024,
       12,
       31,
       {Digit(1, 620, 16), Digit(2, 652, 16), MonthMark(700), Digit(3, 620, 168),
        Digit(1, 652, 168), DayMark(700), Weekday(3, 700)}},
      {"a wider window: the column at x 750..813 is cut at the board's edge (799)",
       830,
       2024,
       12,
       31,
       {Digit(1, 750, 16), Digit(2, 782, 16), MonthMark(830), Digit(3, 750, 168),
        Digit(1, 782, 168), DayMark(830), Weekday(3, 830)}},
      {"a window so wide the column lies beyond the board: nothing drawn", 1000, 2024, 12, 31, {}},
  };
  const QImage before = frm.Picture();
  for (const auto& d : dates) {
    SCOPED_TRACE(d.name);
    frm.BoardPicture() = before;
    host.size = {d.width, 480};
    Today(d.year, d.month, d.day);
    frm.WriteDate();
    ExpectDate(before, d.stamps);
  }
}

TEST_F(DateTest, OctoberOverSeptemberKeepsTheOldInkUnderBlack) {
  Today(2025, 9, 30);  // a Tuesday
  const QImage before = frm.Picture();
  frm.WriteDate();
  const std::vector<Stamp> september = {Digit(9, 736, 16),  MonthMark(800), Digit(3, 720, 168),
                                        Digit(0, 752, 168), DayMark(800),   Weekday(3, 800)};
  ExpectDate(before, september);

  const QImage withSeptember = frm.Picture();
  Today(2025, 10, 1);  // a Wednesday
  frm.WriteDate();
  const std::vector<Stamp> october = {Digit(1, 720, 16),  Digit(0, 752, 16), MonthMark(800),
                                      Digit(1, 736, 168), DayMark(800),      Weekday(4, 800)};
  ExpectDate(withSeptember, october);
  // The centred 9 still shows where the two new digits are black.
  const QImage onlyOctober = Stamped(before, glyphs(), october);
  EXPECT_FALSE(frm.Picture() == onlyOctober);
}

TEST_F(DateTest, WriteDateCommandOfTheMenuShowsWithTheNextFrame) {
  Today(2025, 1, 1);
  const QImage before = frm.Picture();
  frm.RunMenuCommand(int(MenuItem::WriteDate));
  ExpectDate(before, {Digit(1, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800),
                      Weekday(4, 800)});
  EXPECT_TRUE(questions.empty());
  frm.Compose();
  EXPECT_TRUE(SamePixels(frm.Surface().FrontBuffer().copy(700, 0, 100, 400),
                         frm.Picture().copy(700, 0, 100, 400)));
}

// The date is on the board before the first frame is shown.
TEST(DateAtStartUp, RunWithDayWritesTheDateOnTheFreshBoardBeforeTheFirstFrame) {
  ProgramFolder folder;
  TestEnvironment test;
  test.clock.now = QDateTime(QDate(2025, 3, 1), QTime(8, 0));
  Board frm(test.env);
  frm.Start();
  // The fresh board: BoardColor inside a black line along the top, left and right edges.
  QImage fresh(800, 432, QImage::Format_RGB32);
  fresh.fill(ToQRgb(kBoard));
  Canvas c(fresh);
  c.brush.Color = kBoard;
  c.Rectangle(0, 0, 800, 480);
  const QImage expected = Stamped(
      fresh, frm.Pictures().glyphs,
      {Digit(3, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800), Weekday(7, 800)});
  EXPECT_TRUE(SamePixels(frm.Picture(), expected));
  EXPECT_TRUE(SamePixels(frm.Surface().FrontBuffer().copy(700, 0, 100, 400),
                         expected.copy(700, 0, 100, 400)));
}

TEST_F(DateTest, ClearAsksAndYesLeavesOnlyBoardColour) {
  settings().DateAfterClear = false;
  frm.BoardPicture().setPixel(0, 0, 0xFF000000);  // the black edge of a fresh board
  const int dust = frm.Dust().Count();
  PickUp(2);
  Press(MouseButton::Right, 10, 10);  // the finger: the corner way
  Release(MouseButton::Right, 10, 10);
  answer = BoxAnswer::Yes;
  frm.ClearBoard();

  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].Text, frm.ClearQuestion());
  EXPECT_TRUE(questions[0].YesNo);
  EXPECT_EQ(questions[0].Icon, BoxIcon::Question);
  EXPECT_TRUE(AllOf(frm.Picture(), 0, 0, 800, 432, kBoard));
  EXPECT_EQ(frm.Dust().Count(), dust);
  EXPECT_EQ(hand().tool, 2);
  EXPECT_EQ(hand().way, ChalkWay::Corner);
  // The cleared board is on screen at once (the eraser and the menu button in the tray reach
  // up into its last rows, the chalk in hand lies at the top left).
  EXPECT_TRUE(AllOf(frm.Surface().FrontBuffer(), 40, 0, 800, 400, kBoard));
}

TEST_F(DateTest, ClearWithTheDateAfterClearWritesItOnTheFreshBoard) {
  settings().DateAfterClear = true;
  Today(2025, 10, 5);  // a Sunday
  frm.RunMenuCommand(int(MenuItem::ClearAll));
  QImage plain(800, 432, QImage::Format_RGB32);
  plain.fill(ToQRgb(kBoard));
  const QImage expected = Stamped(plain, glyphs(),
                                  {Digit(1, 720, 16), Digit(0, 752, 16), MonthMark(800),
                                   Digit(5, 736, 168), DayMark(800), Weekday(1, 800)});
  EXPECT_TRUE(SamePixels(frm.Picture(), expected));
  EXPECT_TRUE(SamePixels(frm.Surface().FrontBuffer().copy(700, 0, 100, 400),
                         expected.copy(700, 0, 100, 400)));
}

TEST_F(DateTest, NoEscapeAndTheCloseBoxKeepTheBoard) {
  settings().DateAfterClear = true;
  Today(2025, 1, 1);
  frm.Compose();
  const QImage board = frm.Picture();
  const QImage frame = frm.Surface().FrontBuffer();
  // Esc answers No; the close box is no answer at all, and an unanswered question loses
  // no board.
  for (BoxAnswer a : {BoxAnswer::No, BoxAnswer::Closed, BoxAnswer::Cancel}) {
    answer = a;
    frm.ClearBoard();
    EXPECT_TRUE(SamePixels(frm.Picture(), board));
    EXPECT_TRUE(SamePixels(frm.Surface().FrontBuffer(), frame));
  }
  EXPECT_EQ(questions.size(), 3u);
}

TEST_F(DateTest, ExitClosesTheWindowAndStoresNothing) {
  folder.Remove(QStringLiteral("VezozazOption.ini"));
  settings().ShowDebug = true;
  frm.RunMenuCommand(int(MenuItem::Quit));
  EXPECT_TRUE(host.closed);
  EXPECT_FALSE(QFile::exists(folder.Path(QStringLiteral("VezozazOption.ini"))));
  EXPECT_TRUE(questions.empty());
}

}  // namespace slatewick
