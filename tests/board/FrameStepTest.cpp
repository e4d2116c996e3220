#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "board/BoardFixture.h"
#include "board/Pixels.h"

namespace slatewick {

namespace {

class FrameStep : public BoardTest {
 protected:
  // Four particles of the chalk in the hand at (x, y), dropped by a left press whose button is
  // then let go (the stroke stays down; only the key state matters to a frame step).
  void DropDust(Board& board, int x, int y) {
    random.Push({0, 0});
    keys.Left = true;
    board.Press(MouseButton::Left, x, y);
    keys.Left = false;
  }
  // A board of its own, started in this folder, its picture clean.
  std::unique_ptr<Board> Fresh() {
    auto board = std::make_unique<Board>(test.env, &host);
    board->Start();
    board->BoardPicture().fill(ToQRgb(kBoard));
    return board;
  }

  // Holds both buttons and moves one step right before every tick; the ticks that tapped,
  // told by the mark left at the point of that tick.
  std::vector<int> TapTicks(Board& board, int ticks, bool ctrl) {
    keys = {.Left = true, .Right = true, .Ctrl = ctrl};
    std::vector<int> taps;
    for (int t = 0; t < ticks; ++t) {
      const int x = 20 + 10 * t;
      board.Move(x, 100);
      board.Tick();
      if (At(board.Picture(), x, 100) != kBoard) taps.push_back(t);
    }
    return taps;
  }
};

}  // namespace

TEST_F(FrameStep, TapMarksASquareWithRoughDotsYOffsetFirst) {
  keys.Left = keys.Right = true;
  Move(100, 100);
  random.Push({0});     // shade: white itself
  random.Push({5, 2});  // first dot: y offset 0, x offset -3
  random.Push(0, 12);   // the other six dots at (95, 95)
  random.Push({99});    // no dust
  frm.Tick();
  EXPECT_TRUE(random.Exhausted());
  EXPECT_EQ(random.asked, Concat({{15}, std::vector<int>(14, 10), {100}}));

  for (int y = 97; y < 103; ++y)
    for (int x = 97; x < 103; ++x) {
      if (x == 97 && y == 100) continue;
      EXPECT_EQ(Px(x, y), Rgb(255, 255, 255)) << x << "," << y;
    }
  EXPECT_EQ(Px(97, 100), kBoard);
  EXPECT_EQ(Px(95, 95), kBoard);
  EXPECT_EQ(Px(103, 100), kBoard);
  EXPECT_EQ(Px(100, 103), kBoard);
  EXPECT_EQ(Px(96, 100), kBoard);
  EXPECT_EQ(hand().strokeMoves, 1);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  EXPECT_EQ(frm.Dust().Count(), 0);
  EXPECT_EQ(test.sound.calls.back(), "play -1");  // the tap sound, silent before it is ready
}

TEST_F(FrameStep, TapDropsDustEvenWithoutShowDust) {
  settings().ShowDust = false;
  PickUp(3);
  keys.Left = keys.Right = true;
  Move(300, 200);
  random.Push(0, 15);
  random.Push({4, 1});
  frm.Tick();
  EXPECT_EQ(frm.Dust().Particles(), std::vector<DustParticle>(5, {300, 200, 3}));
}

// Both buttons held tap at the first tick and again each time the ticks since the last tap
// reach a threshold drawn at every tick: 6 to 9 ticks, 2 to 5 with Ctrl.
TEST_F(FrameStep, TapRhythmWithAndWithoutCtrl) {
  const struct {
    const char* name;
    bool ctrl, longest;
    int ticks;
    std::vector<int> taps;
  } rhythms[] = {
      {"without Ctrl, the shortest threshold", false, false, 20, {0, 6, 12, 18}},
      {"without Ctrl, the longest threshold", false, true, 20, {0, 9, 18}},
      {"with Ctrl, the shortest threshold", true, false, 9, {0, 2, 4, 6, 8}},
      {"with Ctrl, the longest threshold", true, true, 12, {0, 5, 10}},
  };
  for (const auto& r : rhythms) {
    SCOPED_TRACE(r.name);
    const auto board = Fresh();
    board->Surface().StopSurface();
    random.fallback = [longest = r.longest](int n) { return longest ? n - 1 : 0; };
    EXPECT_EQ(TapTicks(*board, r.ticks, r.ctrl), r.taps);
    EXPECT_EQ(board->HandState().way, ChalkWay::Tapping);
  }
}

TEST_F(FrameStep, CtrlQuickensTheRhythmAtOnce) {
  EXPECT_EQ(TapTicks(frm, 4, false), (std::vector<int>{0}));
  EXPECT_EQ(hand().strokeMoves, 4);
  keys.Ctrl = true;
  frm.Tick();
  EXPECT_EQ(hand().strokeMoves, 0);
}

TEST_F(FrameStep, EraserInHandCountsWithoutMarking) {
  PickUp(EraserSelected);
  keys.Left = keys.Right = true;
  std::vector<int> counts;
  for (int t = 0; t < 7; ++t) {
    frm.Tick();
    counts.push_back(hand().strokeMoves);
  }
  EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
  EXPECT_EQ(hand().way, ChalkWay::Tapping);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(frm.Dust().Count(), 0);
}

TEST_F(FrameStep, BothButtonsRightAfterALeftPressTapAtOnce) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Hold(MouseButton::Right, true);
  frm.Tick();
  EXPECT_NE(Px(100, 100), kBoard);
  EXPECT_EQ(hand().strokeMoves, 1);
}

TEST_F(FrameStep, OneButtonDoesNotTap) {
  keys.Left = true;
  Move(100, 100);
  for (int t = 0; t < 3; ++t) frm.Tick();
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(hand().strokeMoves, 0);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
}

TEST_F(FrameStep, BeforeStartUpHasFinishedOnlyMessagesAreHandled) {
  Board idle(test.env, &host);
  int handled = 0;
  idle.SetMessagePump([&] { ++handled; });
  keys.Left = keys.Right = true;
  idle.Tick();
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(idle.HandState(), Hand{});
  EXPECT_TRUE(random.asked.empty());
}

TEST_F(FrameStep, MessagesComeFirstAndMayRunANestedStep) {
  DropDust(frm, 10, 10);
  int handled = 0;
  frm.SetMessagePump([&] {
    if (handled++ == 0) {
      EXPECT_EQ(frm.Dust().Particles()[0].x, 10);  // the outer step has not moved anything yet
      frm.Tick();
    }
  });
  frm.Tick();
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(frm.Dust().Particles()[0].x, 8);  // moved by the nested step and by the outer one
}

TEST_F(FrameStep, NoStepRunsInsideAnotherOnesDrawing) {
  DropDust(frm, 10, 10);
  int handled = 0;
  frm.SetMessagePump([&] { ++handled; });
  test.sound.whilePlaying = [&] { frm.Tick(); };
  keys.Left = keys.Right = true;
  Move(100, 100);
  frm.Tick();  // taps, and the tap sound tries to run a step
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(frm.Dust().Particles()[0].x, 9);
  EXPECT_EQ(hand().strokeMoves, 1);

  test.sound.whilePlaying = nullptr;
  frm.Tick();  // the guard has been let go
  EXPECT_EQ(handled, 2);
}

TEST_F(FrameStep, ComposesTheFrameWhenTheSurfaceIsReady) {
  PickUp(1);
  DropDust(frm, 400, 300);
  random.Push({0, 1});  // the first drifts to (400, 300), the others to (399, 300)
  frm.Surface().StartSurface();
  frm.Tick();
  const QImage& frame = frm.Surface().FrontBuffer();
  ASSERT_EQ(frame.size(), QSize(800, 480));
  EXPECT_EQ(FromQRgb(frame.pixel(400, 300)), ChalkColours[1]);
  EXPECT_EQ(FromQRgb(frame.pixel(401, 300)), kBoard);

  frm.Surface().StopSurface();
  random.Push({0, 2});
  frm.Tick();
  EXPECT_EQ(frm.Dust().Particles()[0].x, 401);
  EXPECT_EQ(FromQRgb(frm.Surface().FrontBuffer().pixel(400, 300)), ChalkColours[1]);
}

TEST_F(FrameStep, StillOnlyWhileAFrameStepWouldChangeNothing) {
  const struct {
    const char* name;
    std::function<void(Board&)> change;
  } cases[] = {
      {"the pointer moves", [&](Board& b) { b.Move(300, 200); }},
      {"dust is in flight", [&](Board& b) { DropDust(b, 400, 300); }},
      {"both buttons are held", [&](Board&) { keys.Left = keys.Right = true; }},
      {"the overlay counts frames", [&](Board& b) { b.SettingsInUse().ShowDebug = true; }},
      {"the board is drawn on untold",
       [&](Board& b) { b.BoardPicture().setPixel(5, 5, 0xFFFFFFFF); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    keys = {};
    const auto board = Fresh();
    board->Tick();
    EXPECT_TRUE(board->Still());
    c.change(*board);
    EXPECT_FALSE(board->Still());
  }
}

}  // namespace slatewick
