#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "platform/Sound.h"

namespace slatewick {

namespace {

class FrameStep : public BoardTest {
 protected:
  void TearDown() override {
    SetSoundObserver({});
    BoardTest::TearDown();
  }

  void AddParticle(int x, int y, int chalk = 0) {
    TKona& k = st().DustList.Add();
    k.X = x;
    k.Y = y;
    k.ChalkIndex = chalk;
  }

  // Holds both buttons and moves one step right before every tick; the ticks that tapped,
  // told by the mark left at the point of that tick.
  std::vector<int> TapTicks(int ticks, bool ctrl) {
    CurrentKeys().Left = CurrentKeys().Right = true;
    CurrentKeys().Ctrl = ctrl;
    std::vector<int> taps;
    for (int t = 0; t < ticks; ++t) {
      const int x = 20 + 10 * t;
      Move(x, 100);
      frm.Tick(0);
      if (Px(x, 100) != kBoard) taps.push_back(t);
    }
    return taps;
  }
};

}  // namespace

TEST_F(FrameStep, RemovesAtMostOneParticleAndStopsTheMotionThere) {
  AddParticle(50, 430);
  AddParticle(60, 432);
  AddParticle(70, 100);
  random.Push({0, 2, 4, 0});  // drift right; fall 4 to 436
  frm.Tick(0);
  EXPECT_EQ(random.asked, (std::vector<int>{5, 3, 5, 4}));
  ASSERT_EQ(st().DustList.Count(), 2);
  EXPECT_EQ(st().DustList[0].X, 51);
  EXPECT_EQ(st().DustList[0].Y, 430);
  EXPECT_EQ(st().DustList[1].X, 70);  // after the removed one: untouched
  EXPECT_EQ(st().DustList[1].Y, 100);

  random.Clear();
  random.Push({1, 0, 3, 3});
  frm.Tick(0);
  EXPECT_EQ(random.asked, (std::vector<int>{5, 3, 5, 4}));
  EXPECT_EQ(st().DustList[0].X, 50);
  EXPECT_EQ(st().DustList[1].Y, 107);
}

TEST_F(FrameStep, ParticleOnTheTraysFirstRowStaysUntilItFalls) {
  AddParticle(10, 432);
  random.Push({2, 0});
  frm.Tick(0);
  ASSERT_EQ(st().DustList.Count(), 1);
  EXPECT_EQ(st().DustList[0].X, 9);
  EXPECT_EQ(st().DustList[0].Y, 432);
  random.Push({3, 0});
  frm.Tick(0);
  EXPECT_EQ(st().DustList.Count(), 0);
}

TEST_F(FrameStep, TapMarksASquareWithRoughDotsYOffsetFirst) {
  CurrentKeys().Left = CurrentKeys().Right = true;
  Move(100, 100);
  random.Push({0});     // shade: white itself
  random.Push({5, 2});  // first dot: y offset 0, x offset -3
  random.Push(0, 12);   // the other six dots at (95, 95)
  random.Push({99});    // no dust
  frm.Tick(0);
  EXPECT_TRUE(random.Exhausted());
  EXPECT_EQ(random.asked, Concat({{15}, std::vector<int>(14, 10), {100}}));

  for (int y = 97; y < 103; ++y)
    for (int x = 97; x < 103; ++x) {
      if (x == 97 && y == 100) continue;
      EXPECT_EQ(Px(x, y), RGB(255, 255, 255)) << x << "," << y;
    }
  EXPECT_EQ(Px(97, 100), kBoard);
  EXPECT_EQ(Px(95, 95), kBoard);
  EXPECT_EQ(Px(103, 100), kBoard);
  EXPECT_EQ(Px(100, 103), kBoard);
  EXPECT_EQ(Px(96, 100), kBoard);
  EXPECT_EQ(st().StrokeCount, 1);
  EXPECT_EQ(st().ToolMode, NormalWay);
  EXPECT_EQ(st().DustList.Count(), 0);
}

TEST_F(FrameStep, TapDropsDustEvenWithoutShowDust) {
  st().Opt.ShowDust = false;
  st().SelectedChalk = 3;
  CurrentKeys().Left = CurrentKeys().Right = true;
  Move(300, 200);
  random.Push(0, 15);
  random.Push({4, 1});
  frm.Tick(0);
  ASSERT_EQ(st().DustList.Count(), 5);
  for (const TKona& k : st().DustList.Items()) {
    EXPECT_EQ(k.X, 300);
    EXPECT_EQ(k.Y, 200);
    EXPECT_EQ(k.ChalkIndex, 3);
  }
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
    FillBoard(kBoard);
    st().DustList = {};
    st().StrokeCount = 0;
    st().ToolMode = NormalWay;
    random.fallback = [longest = r.longest](int n) { return longest ? n - 1 : 0; };
    EXPECT_EQ(TapTicks(r.ticks, r.ctrl), r.taps);
    EXPECT_EQ(st().ToolMode, TapState);
  }
}

TEST_F(FrameStep, CtrlQuickensTheRhythmAtOnce) {
  EXPECT_EQ(TapTicks(4, false), (std::vector<int>{0}));
  EXPECT_EQ(st().StrokeCount, 4);
  CurrentKeys().Ctrl = true;
  frm.Tick(0);
  EXPECT_EQ(st().StrokeCount, 0);
}

TEST_F(FrameStep, EraserInHandCountsWithoutMarking) {
  st().SelectedChalk = EraserSelected;
  CurrentKeys().Left = CurrentKeys().Right = true;
  std::vector<int> counts;
  for (int t = 0; t < 7; ++t) {
    frm.Tick(0);
    counts.push_back(st().StrokeCount);
  }
  EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
  EXPECT_EQ(st().ToolMode, TapState);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(st().DustList.Count(), 0);
}

TEST_F(FrameStep, BothButtonsRightAfterALeftPressTapAtOnce) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Hold(MouseButton::Right, true);
  frm.Tick(0);
  EXPECT_NE(Px(100, 100), kBoard);
  EXPECT_EQ(st().StrokeCount, 1);
}

TEST_F(FrameStep, OneButtonDoesNotTap) {
  CurrentKeys().Left = true;
  Move(100, 100);
  for (int t = 0; t < 3; ++t) frm.Tick(0);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(st().StrokeCount, 0);
  EXPECT_EQ(st().ToolMode, NormalWay);
}

TEST_F(FrameStep, BeforeTheGateOpensOnlyMessagesAreHandled) {
  st().BoardReady = false;
  int handled = 0;
  frm.processMessages = [&] { ++handled; };
  AddParticle(10, 10);
  CurrentKeys().Left = CurrentKeys().Right = true;
  frm.Tick(0);
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(st().DustList[0].X, 10);
  EXPECT_EQ(st().StrokeCount, 0);
  EXPECT_TRUE(BoardClean());
  EXPECT_TRUE(random.asked.empty());
}

TEST_F(FrameStep, MessagesComeFirstAndMayRunANestedStep) {
  AddParticle(10, 10);
  int handled = 0;
  frm.processMessages = [&] {
    if (handled++ == 0) {
      EXPECT_EQ(st().DustList[0].X, 10);  // the outer step has not moved anything yet
      frm.Tick(0);
    }
  };
  frm.Tick(0);
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(st().DustList[0].X, 8);  // moved by the nested step and by the outer one
}

TEST_F(FrameStep, NoStepRunsInsideAnotherOnesDrawing) {
  AddParticle(10, 10);
  int handled = 0;
  frm.processMessages = [&] { ++handled; };
  SetSoundObserver([&](const void*, unsigned) { frm.Tick(0); });
  CurrentKeys().Left = CurrentKeys().Right = true;
  Move(100, 100);
  frm.Tick(0);  // taps, and the tap sound tries to run a step
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(st().DustList[0].X, 9);
  EXPECT_EQ(st().StrokeCount, 1);

  SetSoundObserver({});
  frm.Tick(0);  // the guard has been let go
  EXPECT_EQ(handled, 2);
}

TEST_F(FrameStep, ComposesTheFrameWhenTheSurfaceIsReady) {
  AddParticle(400, 300, 1);
  random.Push({0, 1});  // drifts to (400, 300)
  frm.DXDraw.StartSurface();
  frm.Tick(0);
  const QImage& frame = frm.DXDraw.FrontBuffer();
  ASSERT_EQ(frame.size(), QSize(800, 480));
  EXPECT_EQ(FromQRgb(frame.pixel(400, 300)), st().ChalkColors[1]);
  EXPECT_EQ(FromQRgb(frame.pixel(401, 300)), kBoard);

  frm.DXDraw.StopSurface();
  random.Push({0, 2});
  frm.Tick(0);
  EXPECT_EQ(st().DustList[0].X, 401);
  EXPECT_EQ(FromQRgb(frm.DXDraw.FrontBuffer().pixel(400, 300)), st().ChalkColors[1]);
}

TEST_F(FrameStep, StillOnlyWhileAFrameStepWouldChangeNothing) {
  frm.DXDraw.StartSurface();
  const struct {
    const char* name;
    std::function<void()> change;
  } cases[] = {
      {"the pointer moves", [&] { Move(300, 200); }},
      {"dust is in flight", [&] { AddParticle(400, 300); }},
      {"both buttons are held", [&] { CurrentKeys().Left = CurrentKeys().Right = true; }},
      {"the overlay counts frames", [&] { st().Opt.ShowDebug = true; }},
      {"the board is drawn on untold", [&] { st().BoardBitmap.setPixel(5, 5, 0xFFFFFFFF); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CurrentKeys() = {};
    st().Opt.ShowDebug = false;
    while (st().DustList.Count() > 0) st().DustList.Delete(0);
    frm.Tick(0);
    EXPECT_TRUE(frm.Still());
    c.change();
    EXPECT_FALSE(frm.Still());
  }
}

}  // namespace slatewick
