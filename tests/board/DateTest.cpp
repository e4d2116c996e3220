// Writing the date into the board's right-hand column, and clearing the board.
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <vector>

#include "board/BoardFixture.h"
#include "board/StartedBoard.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"

namespace {

constexpr TColor kBoard = RGB(0, 80, 0);

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
    for (int dy = 0; dy < s.height; ++dy)
      for (int dx = 0; dx < s.width; ++dx) {
        const QRgb ink = sheet.pixel(s.srcX + dx, s.srcY + dy);
        const int x = s.x + dx, y = s.y + dy;
        if ((ink & 0xFFFFFF) != 0 && board.rect().contains(x, y)) board.setPixel(x, y, ink);
      }
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
class DateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentKeys() = {};
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
    frm.FormCreate();
    folder.messages.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      questions.push_back(r);
      return answer;
    });
    st().ClearConfirmText = QStringLiteral("Erase everything?");
    ChalkUnderTheColumn();
  }
  void TearDown() override {
    PinLocalTime(std::nullopt);
    CurrentKeys() = {};
  }

  BoardState& st() { return frm.st; }
  void Today(int year, int month, int day) {
    PinLocalTime(QDateTime(QDate(year, month, day), QTime(9, 30)));
  }
  // Stripes of the six chalk colours across the whole board.
  void ChalkUnderTheColumn() {
    Canvas c(st().BoardBitmap);
    for (int y = 0; y < st().BoardBitmap.height(); y += 6) {
      c.brush.Color = st().ChalkColors[std::size_t((y / 6) % 6)];
      c.FillRect({0, y, st().BoardBitmap.width(), y + 3});
    }
  }
  void ExpectDate(const QImage& before, const std::vector<Stamp>& stamps) {
    for (const Stamp& s : stamps) ASSERT_TRUE(HasInkAndBlack(st().GlyphBitmap, s));
    const QImage expected = Stamped(before, st().GlyphBitmap, stamps);
    EXPECT_TRUE(st().BoardBitmap == expected);
  }
  bool BoardIs(TColor c) const {
    QImage plain(frm.st.BoardBitmap.size(), QImage::Format_RGB32);
    plain.fill(ToQRgb(c));
    return frm.st.BoardBitmap == plain;
  }

  ProgramFolder folder;
  FakeBoardHost host;
  TfrmMain frm{&host};
  BoxAnswer answer = BoxAnswer::Yes;
  std::vector<MessageBoxRequest> questions;
};

}  // namespace

TEST_F(DateTest, FirstOfJanuaryCentresOneDigitForMonthAndDay) {
  Today(2025, 1, 1);  // a Wednesday
  const QImage before = st().BoardBitmap;
  frm.mnuWriteDateClick();
  ExpectDate(before, {Digit(1, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800),
                      Weekday(4, 800)});
}

TEST_F(DateTest, ThirtyFirstOfDecemberWritesTwoDigitsEach) {
  Today(2024, 12, 31);  // a Tuesday
  const QImage before = st().BoardBitmap;
  frm.mnuWriteDateClick();
  ExpectDate(before, {Digit(1, 720, 16), Digit(2, 752, 16), MonthMark(800), Digit(3, 720, 168),
                      Digit(1, 752, 168), DayMark(800), Weekday(3, 800)});
}

TEST_F(DateTest, SundayTakesTheFirstWeekdayCell) {
  Today(2025, 3, 2);
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  ExpectDate(before, {Digit(3, 736, 16), MonthMark(800), Digit(2, 736, 168), DayMark(800),
                      Weekday(1, 800)});
  EXPECT_EQ(Weekday(1, 800).srcX, 0);
}

TEST_F(DateTest, SaturdayTakesTheLastWeekdayCell) {
  Today(2025, 3, 1);
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  ExpectDate(before, {Digit(3, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800),
                      Weekday(7, 800)});
  EXPECT_EQ(Weekday(7, 800).srcX, 384);
}

TEST_F(DateTest, OctoberOverSeptemberKeepsTheOldInkUnderBlack) {
  Today(2025, 9, 30);  // a Tuesday
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  const std::vector<Stamp> september = {Digit(9, 736, 16),  MonthMark(800), Digit(3, 720, 168),
                                        Digit(0, 752, 168), DayMark(800),   Weekday(3, 800)};
  ExpectDate(before, september);

  const QImage withSeptember = st().BoardBitmap;
  Today(2025, 10, 1);  // a Wednesday
  frm.DrawDate();
  const std::vector<Stamp> october = {Digit(1, 720, 16),  Digit(0, 752, 16), MonthMark(800),
                                      Digit(1, 736, 168), DayMark(800),      Weekday(4, 800)};
  ExpectDate(withSeptember, october);
  // The centred 9 still shows where the two new digits are black.
  const QImage onlyOctober = Stamped(before, st().GlyphBitmap, october);
  EXPECT_FALSE(st().BoardBitmap == onlyOctober);
}

TEST_F(DateTest, WritingTwiceOnOneDayPaintsTheSamePixels) {
  Today(2025, 3, 2);
  frm.DrawDate();
  const QImage once = st().BoardBitmap;
  frm.DrawDate();
  EXPECT_TRUE(st().BoardBitmap == once);
}

TEST_F(DateTest, ColumnFollowsANarrowerClient) {
  host.size = {700, 480};
  Today(2024, 12, 31);
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  ExpectDate(before, {Digit(1, 620, 16), Digit(2, 652, 16), MonthMark(700), Digit(3, 620, 168),
                      Digit(1, 652, 168), DayMark(700), Weekday(3, 700)});
  // Right of the column the board is untouched.
  EXPECT_TRUE(st().BoardBitmap.copy(684, 0, 116, 432) == before.copy(684, 0, 116, 432));
}

TEST_F(DateTest, ColumnOnAWiderClientIsCutAtTheBoardsEdge) {
  host.size = {830, 480};
  Today(2024, 12, 31);
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  // The column stands at x 750..813; the board ends at 799.
  ExpectDate(before, {Digit(1, 750, 16), Digit(2, 782, 16), MonthMark(830), Digit(3, 750, 168),
                      Digit(1, 782, 168), DayMark(830), Weekday(3, 830)});
  EXPECT_EQ(st().BoardBitmap.size(), QSize(800, 432));
  EXPECT_TRUE(st().BoardBitmap.copy(0, 0, 750, 432) == before.copy(0, 0, 750, 432));
}

TEST_F(DateTest, ColumnBeyondTheBoardDrawsNothing) {
  host.size = {1000, 480};
  Today(2024, 12, 31);
  const QImage before = st().BoardBitmap;
  frm.DrawDate();
  EXPECT_TRUE(st().BoardBitmap == before);
}

TEST_F(DateTest, WriteDateCommandOfTheMenuShowsWithTheNextFrame) {
  Today(2025, 1, 1);
  const QImage before = st().BoardBitmap;
  frm.RunMenuCommand(int(MenuItem::WriteDate));
  ExpectDate(before, {Digit(1, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800),
                      Weekday(4, 800)});
  EXPECT_TRUE(questions.empty());
  frm.AllRewrite();
  EXPECT_TRUE(frm.DXDraw.FrontBuffer().copy(700, 0, 100, 400) ==
              st().BoardBitmap.copy(700, 0, 100, 400));
}

TEST(DateAtStartUp, RunWithDayWritesTheDateOnTheFreshBoard) {
  ProgramFolder folder;
  PinLocalTime(QDateTime(QDate(2025, 3, 1), QTime(8, 0)));
  TfrmMain frm;
  frm.FormCreate();
  PinLocalTime(std::nullopt);
  // The fresh board: BoardColor inside a black line along the top, left and right edges.
  QImage fresh(800, 432, QImage::Format_RGB32);
  fresh.fill(ToQRgb(kBoard));
  Canvas c(fresh);
  c.brush.Color = kBoard;
  c.Rectangle(0, 0, 800, 480);
  const QImage expected = Stamped(
      fresh, frm.st.GlyphBitmap,
      {Digit(3, 736, 16), MonthMark(800), Digit(1, 736, 168), DayMark(800), Weekday(7, 800)});
  EXPECT_TRUE(frm.st.BoardBitmap == expected);
}

TEST_F(DateTest, ClearAsksAndYesLeavesOnlyBoardColour) {
  st().Opt.NewWithDay = false;
  st().BoardBitmap.setPixel(0, 0, 0xFF000000);  // the black edge of a fresh board
  const int dust = st().DustList.Count();
  st().SelectedChalk = 2;
  st().ToolMode = CornerWay;
  answer = BoxAnswer::Yes;
  frm.mnuAllDelClick();

  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].Text, QStringLiteral("Erase everything?"));
  EXPECT_TRUE(questions[0].YesNo);
  EXPECT_EQ(questions[0].Icon, BoxIcon::Question);
  EXPECT_TRUE(BoardIs(kBoard));
  EXPECT_EQ(st().DustList.Count(), dust);
  EXPECT_EQ(st().SelectedChalk, 2);
  EXPECT_EQ(st().ToolMode, CornerWay);
  // The cleared board is on screen at once (the eraser and the menu button in the tray reach
  // up into its last rows, the chalk in hand lies at the top left).
  const QImage frame = frm.DXDraw.FrontBuffer();
  for (int y = 0; y < 400; ++y)
    for (int x = 40; x < 800; ++x) ASSERT_EQ(FromQRgb(frame.pixel(x, y)), kBoard) << x << "," << y;
}

TEST_F(DateTest, ClearWithNewWithDayWritesTheDateOnTheFreshBoard) {
  st().Opt.NewWithDay = true;
  Today(2025, 10, 5);  // a Sunday
  frm.RunMenuCommand(int(MenuItem::AllDel));
  QImage plain(800, 432, QImage::Format_RGB32);
  plain.fill(ToQRgb(kBoard));
  const QImage expected = Stamped(plain, st().GlyphBitmap,
                                  {Digit(1, 720, 16), Digit(0, 752, 16), MonthMark(800),
                                   Digit(5, 736, 168), DayMark(800), Weekday(1, 800)});
  EXPECT_TRUE(st().BoardBitmap == expected);
  EXPECT_TRUE(frm.DXDraw.FrontBuffer().copy(700, 0, 100, 400) == expected.copy(700, 0, 100, 400));
}

TEST_F(DateTest, NoEscapeAndTheCloseBoxKeepTheBoard) {
  st().Opt.NewWithDay = true;
  Today(2025, 1, 1);
  frm.AllRewrite();
  const QImage board = st().BoardBitmap;
  const QImage frame = frm.DXDraw.FrontBuffer();
  // Esc answers No; the close box is no answer at all, and an unanswered question loses
  // no board.
  for (BoxAnswer a : {BoxAnswer::No, BoxAnswer::Closed, BoxAnswer::Cancel}) {
    answer = a;
    frm.mnuAllDelClick();
    EXPECT_TRUE(st().BoardBitmap == board);
    EXPECT_TRUE(frm.DXDraw.FrontBuffer() == frame);
  }
  EXPECT_EQ(questions.size(), 3u);
}

TEST_F(DateTest, ExitClosesTheWindowAndStoresNothing) {
  folder.Remove(QStringLiteral("VezozazOption.ini"));
  st().Opt.ShowDebug = true;
  frm.RunMenuCommand(int(MenuItem::Exit));
  EXPECT_TRUE(host.closed);
  EXPECT_FALSE(QFile::exists(folder.Path(QStringLiteral("VezozazOption.ini"))));
  EXPECT_TRUE(questions.empty());
}
