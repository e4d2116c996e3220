#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "board/BoardFixture.h"
#include "board/Pixels.h"

namespace slatewick {

namespace {

class Strokes : public BoardTest {
 protected:
  // The chalk tools over a board, hand and dust of the test's own, drawing from the scripted
  // generator.
  QImage picture = QImage(800, 432, QImage::Format_RGB32);
  Hand toolHand;
  DustList toolDust;
  Settings toolSettings;
  ChalkTools tools{picture, toolHand, toolDust, toolSettings, test.env.random, BoardColour, [] {
                     return QSize(800, 480);
                   }};

  // A white chalk pressed at (100, 100) without dust and moved three times 5 pixels right:
  // nothing drawn yet.
  void FirstThreeMoves() {
    random.Push({1});  // the press drops no dust
    Press(MouseButton::Left, 100, 100);
    for (int x : {105, 110, 115}) {
      random.Push({0, 99});  // colour, dust check
      Move(x, 100);
    }
  }
  // The draws of the fourth move's piece before its dust check.
  void ScriptTheFourthPiece() {
    random.Push({0, 1});  // white, pen 6 wide
    random.Push(5, 26);   // 13 specks (d = 5), all at the new point itself
  }
};

}  // namespace

TEST(Shade, DarkensChannelsAndFloorsAtZero) {
  EXPECT_EQ(ShadeColor(Rgb(130, 200, 230), 10, 20, 30), Rgb(120, 180, 200));
  EXPECT_EQ(ShadeColor(Rgb(10, 90, 10), 20, 20, 20), Rgb(0, 70, 0));
  EXPECT_EQ(ShadeColor(Rgb(255, 255, 255), 0, 200, 0), Rgb(255, 55, 255));
}

TEST(Shade, YellowAndPinkKeepGreenAtEighty) {
  EXPECT_EQ(ShadeColor(Rgb(233, 135, 193), 100, 100, 100), Rgb(133, 80, 93));
  EXPECT_EQ(ShadeColor(Rgb(255, 252, 30), 0, 200, 0), Rgb(255, 80, 30));
  // Only those two colours exactly.
  EXPECT_EQ(ShadeColor(Rgb(233, 135, 192), 100, 100, 100), Rgb(133, 35, 92));
}

TEST(Shade, NearestRoundsHalvesToEven) {
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(3.5), 4);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(0.49), 0);
  EXPECT_EQ(Nearest(-0.51), -1);
}

TEST_F(Strokes, AngleOffsetsForTheChalkHalfLength) {
  const int cosines[] = {26, 26, 26, 25, 24, 24, 23, 21, 20, 18, 16, 15, 13, 11, 9, 7, 4, 3, 0};
  const int sines[] = {0, 3, 4, 7, 9, 11, 13, 15, 16, 18, 20, 21, 23, 24, 24, 25, 26, 26, 26};
  for (int i = 0; i <= 18; ++i) {
    EXPECT_EQ(CosOffset(26, 5 * i), cosines[i]) << 5 * i;
    EXPECT_EQ(SinOffset(26, 5 * i), sines[i]) << 5 * i;
    EXPECT_EQ(CosOffset(26, -5 * i), cosines[i]) << -5 * i;
    EXPECT_EQ(SinOffset(26, -5 * i), sines[i]) << -5 * i;
  }
}

TEST_F(Strokes, ChalkShadeRangesByTable) {
  struct Case {
    int chalk, rMax;
    Colour lightest, darkest;
  };
  const Case cases[] = {
      {0, 99, Rgb(191, 211, 191), Rgb(92, 112, 92)}, {1, 99, Rgb(191, 208, 0), Rgb(92, 109, 0)},
      {2, 99, Rgb(169, 91, 129), Rgb(70, 80, 30)},   {3, 59, Rgb(98, 178, 198), Rgb(39, 119, 139)},
      {4, 39, Rgb(140, 118, 43), Rgb(95, 90, 4)},    {5, 19, Rgb(41, 106, 41), Rgb(22, 87, 22)},
  };
  for (const Case& c : cases) {
    random.Clear();
    random.Push({0, c.rMax});
    EXPECT_EQ(tools.ChalkShade(c.chalk), c.lightest) << c.chalk;
    EXPECT_EQ(tools.ChalkShade(c.chalk), c.darkest) << c.chalk;
    EXPECT_EQ(random.asked, (std::vector<int>{c.rMax + 1, c.rMax + 1})) << c.chalk;
  }
  // Pink's green stops at 80 from r = 12 on.
  random.Push({11, 12, 50});
  EXPECT_EQ(GreenOf(tools.ChalkShade(2)), 80);
  EXPECT_EQ(tools.ChalkShade(2), Rgb(233 - 76, 80, 193 - 76));
  EXPECT_EQ(tools.ChalkShade(2), Rgb(233 - 114, 80, 193 - 114));
}

TEST_F(Strokes, PatternTakesOneShadePerPixelColumnByColumn) {
  random.fallback = [k = 0](int n) mutable { return k++ % n; };
  tools.BuildPattern(2);
  const QImage& p = tools.Pattern();
  ASSERT_EQ(p.size(), QSize(8, 8));
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const int r = 8 * x + y;
      EXPECT_EQ(FromQRgb(p.pixel(x, y)), Rgb(169 - r, std::max(91 - r, 80), 129 - r))
          << x << "," << y;
    }
  EXPECT_EQ(random.asked.size(), 64u);
}

TEST_F(Strokes, NormalWayDrawsFromTheFourthMoveOnFromTheThirdPoint) {
  FirstThreeMoves();
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(hand().strokeMoves, 3);
  EXPECT_EQ(hand().way, ChalkWay::Normal);

  ScriptTheFourthPiece();
  random.Push({99});  // dust check
  Move(120, 100);
  EXPECT_TRUE(random.Exhausted());
  EXPECT_EQ(random.asked,
            Concat({{2, 15, 100, 15, 100, 15, 100, 15, 3}, std::vector<int>(26, 10), {100}}));
  EXPECT_EQ(Px(113, 100), kWhite);  // the line starts at the third point
  EXPECT_EQ(Px(111, 100), kBoard);
  EXPECT_EQ(Px(119, 100), kWhite);
  EXPECT_EQ(Px(117, 97), kWhite);  // the square's corners
  EXPECT_EQ(Px(122, 102), kWhite);
  EXPECT_EQ(Px(120, 100), kBoard);  // a speck
  EXPECT_EQ(Px(123, 100), kBoard);
  EXPECT_EQ(Px(120, 104), kBoard);
  EXPECT_EQ(hand().chalkX, 120);
  EXPECT_EQ(hand().strokeMoves, 4);
  EXPECT_EQ(hand().movesSinceDust, 4);
  EXPECT_EQ(hand().pointerX, 120);
}

TEST_F(Strokes, QuickStartTurnsIntoACornerLine) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  random.Push({0, 99});
  Move(110, 100);  // 10 pixels among the first three moves
  EXPECT_EQ(hand().way, ChalkWay::Corner);
  EXPECT_TRUE(BoardClean());

  random.Push({0, 0, 99});  // colour, corner shade, dust check
  Move(120, 100);
  EXPECT_TRUE(AllOf(frm.Picture(), 110, 100, 120, 101, Rgb(191, 211, 191)));
  EXPECT_EQ(Px(120, 100), kBoard);
  EXPECT_EQ(Px(115, 99), kBoard);
  EXPECT_EQ(Px(115, 101), kBoard);
  EXPECT_EQ(random.asked, (std::vector<int>{2, 15, 100, 15, 100, 100}));
}

TEST_F(Strokes, CornerOnlyWithCtrlKeepsTheNormalWay) {
  settings().CornerOnlyWithCtrl = true;
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  random.Push({0, 99, 0, 99});
  Move(110, 100);
  Move(120, 100);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(hand().strokeMoves, 2);
}

TEST_F(Strokes, CtrlAtThePressDrawsCornerFromTheFirstMove) {
  keys.Ctrl = true;
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Corner);
  keys.Ctrl = false;  // letting go of Ctrl changes nothing
  random.Push({0, 99, 99});
  Move(100, 104);
  EXPECT_TRUE(AllOf(frm.Picture(), 100, 100, 101, 104, Rgb(92, 112, 92)));
  EXPECT_EQ(hand().way, ChalkWay::Corner);
}

TEST_F(Strokes, DistanceLimitEndsTheStrokeAfterDrawingItsPiece) {
  FirstThreeMoves();
  ScriptTheFourthPiece();
  Move(120, 115);  // 15.8 pixels
  EXPECT_TRUE(random.Exhausted());
  EXPECT_EQ(random.asked.back(), 10);  // no dust check
  EXPECT_EQ(Px(119, 115), kWhite);
  EXPECT_FALSE(hand().toolDown);
  EXPECT_EQ(hand().chalkX, 115);
  EXPECT_EQ(hand().chalkY, 100);
  EXPECT_EQ(hand().strokeMoves, 3);
  EXPECT_EQ(hand().movesSinceDust, 3);
  EXPECT_EQ(hand().pointerX, 115);
  EXPECT_EQ(hand().pointerY, 100);

  const QImage before = frm.Picture();
  Move(140, 115);
  EXPECT_EQ(frm.Picture(), before);
  EXPECT_EQ(hand().pointerX, 140);
}

TEST_F(Strokes, WithoutTheDistanceLimitAnyLengthIsDrawn) {
  settings().LimitStrokeLength = false;
  FirstThreeMoves();
  ScriptTheFourthPiece();
  random.Push({99});
  Move(200, 100);
  EXPECT_TRUE(hand().toolDown);
  EXPECT_EQ(Px(150, 100), kWhite);
  EXPECT_EQ(hand().chalkX, 200);
  EXPECT_EQ(hand().strokeMoves, 4);
}

TEST_F(Strokes, FingerAndEraserWipeWithTheSmudgeColourWithLeaveSmudge) {
  for (bool yogore : {true, false}) {
    settings().LeaveSmudge = yogore;
    const Colour wipe = yogore ? kSmudge : kBoard;
    FillBoard(kWhite);
    Move(200, 200);
    Press(MouseButton::Right, 200, 200);
    Move(240, 200);
    Release(MouseButton::Right, 240, 200);
    EXPECT_EQ(Px(220, 200), wipe);
    EXPECT_EQ(Px(220, 196), wipe);  // ten pixels wide
    EXPECT_EQ(Px(220, 204), wipe);
    EXPECT_EQ(Px(220, 194), kWhite);
    EXPECT_EQ(Px(220, 206), kWhite);

    PickUp(EraserSelected);
    Press(MouseButton::Left, 400, 300);
    Move(400, 300);
    Release(MouseButton::Left, 400, 300);
    EXPECT_EQ(Px(336, 282), wipe);
    EXPECT_EQ(Px(463, 335), wipe);
    EXPECT_EQ(Px(335, 300), kWhite);
    EXPECT_EQ(Px(464, 300), kWhite);
    EXPECT_EQ(Px(400, 281), kWhite);
    EXPECT_EQ(Px(400, 336), kWhite);
    PickUp(0);
  }
  EXPECT_TRUE(frm.Dust().Count() == 0);
}

TEST_F(Strokes, EraserAtTheLeftEdgeIsClipped) {
  FillBoard(kWhite);
  PickUp(EraserSelected);
  Press(MouseButton::Left, 0, 100);
  Move(0, 100);
  EXPECT_TRUE(AllOf(frm.Picture(), 0, 82, 64, 136, kSmudge));
  EXPECT_EQ(Px(64, 100), kWhite);
  EXPECT_EQ(Px(0, 81), kWhite);
  EXPECT_EQ(Px(0, 136), kWhite);
  EXPECT_EQ(hand().strokeMoves, 0);
  EXPECT_EQ(hand().movesSinceDust, 0);
}

TEST_F(Strokes, LaidChalkSweepsTheBandFromThePressPoint) {
  LayChalk();
  ASSERT_EQ(hand().way, ChalkWay::Laid);
  random.Push({1});  // no dust at the press
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(Ends(), (std::array{74, 100, 126, 100}));
  random.fallback = [](int n) { return n - 1; };
  Move(100, 110);
  const Colour shade = Rgb(92, 112, 92);  // the darkest white, every pixel of the pattern
  EXPECT_TRUE(AllOf(frm.Picture(), 74, 100, 126, 110, shade));
  EXPECT_TRUE(AllOf(frm.Picture(), 74, 99, 126, 100, kBoard));
  EXPECT_TRUE(AllOf(frm.Picture(), 74, 110, 126, 111, kBoard));
  EXPECT_EQ(Px(73, 105), kBoard);
  EXPECT_EQ(Px(126, 105), kBoard);
  EXPECT_EQ(hand().chalkY, 110);
  EXPECT_EQ(hand().strokeMoves, 1);
  EXPECT_EQ(hand().movesSinceDust, 1);
}

TEST_F(Strokes, LaidChalkAtAPositiveAngle) {
  LayChalk(9);
  ASSERT_EQ(hand().chalkAngle, 45);
  random.Push({1});
  Press(MouseButton::Left, 300, 300);
  EXPECT_EQ(Ends(), (std::array{282, 282, 318, 318}));
  Move(310, 300);
  for (int x = 300; x < 310; ++x) EXPECT_NE(Px(x, 300), kBoard) << x;
  EXPECT_EQ(Px(299, 300), kBoard);
  EXPECT_EQ(Px(310, 300), kBoard);
}

// The pink chalk laid upright at (200, 200), turned past 90 degrees: its ends were exchanged
// (A below, B above) and the fill joins them to the new ends, A below and left, B above and right.
TEST_F(Strokes, TurningFromNinetyToMinusEightyFiveFillsTwoThinTriangles) {
  picture.fill(ToQRgb(kBoard));
  toolHand.tool = 2;
  toolHand.way = ChalkWay::Laid;
  toolHand.chalkAngle = -85;
  toolHand.chalkX = toolHand.chalkY = 200;
  toolHand.ends = {200, 226, 200, 174};
  random.fallback = [k = 0](int n) mutable { return k++ % n; };
  tools.LaidChalkStep(200, 200);
  EXPECT_EQ(toolHand.ends, (LaidChalkEnds{197, 174, 203, 226}));
  const QImage& pattern = tools.Pattern();
  auto patternAt = [&](int x, int y) { return FromQRgb(pattern.pixel(x % 8, y % 8)); };
  const auto at = [&](int x, int y) { return At(picture, x, y); };
  for (auto [x, y] : {std::pair{199, 190}, {201, 190}, {198, 210}, {200, 210}})
    EXPECT_EQ(at(x, y), patternAt(x, y)) << x << "," << y;
  EXPECT_EQ(at(200, 190), kBoard);  // the crossing leaves a gap between the triangles
  EXPECT_EQ(at(199, 210), kBoard);
  for (int y = 0; y < 432; ++y)
    for (int x = 0; x < 800; ++x) {
      const Colour c = at(x, y);
      if (c == kBoard) continue;
      ASSERT_TRUE(x >= 197 && x < 203 && y >= 174 && y < 226) << x << "," << y;
      ASSERT_GE(GreenOf(c), 80);
    }
}

// After five moves a check passes with 4 of 5 and drops 1 + 3 + 1 particles in the normal way,
// 2 in the corner way, 1 laid; the checks run in turn on one board.
TEST_F(Strokes, DustCheckDropsDustByWayAndResetsTheCount) {
  const struct {
    const char* name;
    ChalkWay way;
    int x;
    std::vector<int> draws;
    int dust, moveCount;
  } checks[] = {
      {"normal way: passes, drops, 1 + 3 + 1 particles", ChalkWay::Normal, 300, {4, 0, 1}, 5, 0},
      {"corner way", ChalkWay::Corner, 300, {4, 0, 0}, 7, 0},
      {"laid way", ChalkWay::Laid, 300, {4, 0, 0}, 8, 0},
      {"on the board's edge nothing falls, but the count starts again",
       ChalkWay::Laid,
       0,
       {4, 0},
       8,
       0},
      {"a failed test keeps counting", ChalkWay::Laid, 300, {5}, 8, 5},
  };
  for (const auto& c : checks) {
    SCOPED_TRACE(c.name);
    toolHand.way = c.way;
    toolHand.movesSinceDust = 5;
    for (int d : c.draws) random.Push(d, 1);
    tools.DustCheck(c.x, 200);
    EXPECT_TRUE(random.Exhausted());
    EXPECT_EQ(toolDust.Count(), c.dust);
    EXPECT_EQ(toolHand.movesSinceDust, c.moveCount);
  }
  for (const DustParticle& k : toolDust.Particles()) EXPECT_EQ(k, (DustParticle{300, 200, 0}));
}

TEST_F(Strokes, WithoutDustTheMoveCountWraps) {
  settings().ShowDust = false;
  Press(MouseButton::Left, 100, 100);
  random.fallback = [](int) { return 0; };
  for (int i = 0; i < 257; ++i) Move(100, 100 + i % 2);
  EXPECT_EQ(hand().movesSinceDust, 1);
  EXPECT_EQ(hand().strokeMoves, 257);
  EXPECT_EQ(frm.Dust().Count(), 0);
}

}  // namespace slatewick
