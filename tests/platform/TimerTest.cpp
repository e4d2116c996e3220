#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/FrameTimer.h"
#include "support/TestEnvironment.h"

namespace slatewick {

namespace {

// A started timer at a pinned tick count that records the LagCount of every tick.
struct TimerTest : ::testing::Test {
  PinnedClock clock;
  FrameTimer timer{clock};
  std::vector<int> lags;

  void SetUp() override {
    clock.ms = 1000;
    timer.OnTick = [this](int lag) { lags.push_back(lag); };
    timer.SetEnabled(true);
  }
};

}  // namespace

TEST_F(TimerTest, LagCountCountsWholeIntervalsAndEarlyTicksAreSkipped) {
  timer.Idle(1009);
  EXPECT_TRUE(lags.empty()) << "9 ms after the start is too early";
  timer.Idle(1010);
  timer.Idle(1045);
  EXPECT_EQ(lags, (std::vector<int>{1, 3}));
  EXPECT_EQ(timer.MillisecondsToNextTick(1050), 5);
  EXPECT_EQ(timer.MillisecondsToNextTick(1060), 0);
}

TEST_F(TimerTest, TickCountWrapsAsUnsigned) {
  clock.ms = 0xFFFFFFF8u;
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.Idle(0x00000002u);  // 10 ms later, across the wrap
  EXPECT_EQ(lags, (std::vector<int>{1}));
}

TEST_F(TimerTest, FramesPerSecondIsZeroInTheFirstSecondThenTheRate) {
  std::uint32_t now = 1000;
  for (int i = 0; i < 99; ++i) timer.Idle(now += 10);
  EXPECT_EQ(timer.FramesPerSecond(), 0);
  timer.Idle(now += 10);  // the hundredth tick closes a window of 1000 ms
  EXPECT_EQ(timer.FramesPerSecond(), 100);
  for (int i = 0; i < 50; ++i) timer.Idle(now += 20);
  EXPECT_EQ(timer.FramesPerSecond(), 50);
}

TEST_F(TimerTest, ActiveOnlyPausesWhileAnotherApplicationIsActive) {
  timer.SetApplicationActive(false);
  EXPECT_FALSE(timer.Running());
  timer.Idle(2000);
  EXPECT_TRUE(lags.empty());
  EXPECT_EQ(timer.MillisecondsToNextTick(2000), -1);

  clock.ms = 5000;
  timer.SetApplicationActive(true);  // restarting counts from now, not from the pause
  timer.Idle(5010);
  EXPECT_EQ(lags, (std::vector<int>{1}));

  timer.ActiveOnly = false;
  timer.SetApplicationActive(false);
  timer.Idle(5020);
  EXPECT_EQ(lags.size(), 2u);
}

TEST_F(TimerTest, DisablingStopsTicksAndReportsTheChange) {
  int changes = 0;
  timer.OnRunningChanged = [&] { ++changes; };
  timer.SetEnabled(false);
  timer.Idle(3000);
  EXPECT_TRUE(lags.empty());
  timer.SetEnabled(true);
  EXPECT_EQ(changes, 2);
}

TEST_F(TimerTest, ZeroIntervalTicksOnEveryPass) {
  timer.Interval = 0;
  timer.Idle(1000);
  timer.Idle(1000);
  EXPECT_EQ(lags, (std::vector<int>{1, 1}));
}

// Frames are shown at the display's refreshes: a tick per refresh where refreshes come slower
// than Interval, a tick per Interval where they come faster; the counters tell what ran, and
// LagCount the whole Intervals between ticks (two at 50 Hz, where ticks are 20 ms apart).
TEST_F(TimerTest, TheDisplaysRefreshRateBoundsTheTicks) {
  const struct {
    double hertz;
    int framesPerSecond;
    int lagCount;
  } displays[] = {{60, 60, 1}, {50, 50, 2}, {144, 100, 1}, {0, 100, 1}, {75, 75, 1}};
  std::uint32_t now = 1000;
  for (const auto& display : displays) {
    timer.SetRefreshRate(display.hertz);
    lags.clear();
    for (int i = 0; i < 3000; ++i) timer.Idle(++now);  // three seconds, polled every millisecond
    EXPECT_NEAR(double(lags.size()), 3 * display.framesPerSecond, 1) << display.hertz << " Hz";
    EXPECT_EQ(timer.FramesPerSecond(), display.framesPerSecond) << display.hertz << " Hz";
    EXPECT_EQ(std::count(lags.begin(), lags.end(), display.lagCount), std::ptrdiff_t(lags.size()))
        << display.hertz << " Hz: every tick came on time";
  }
}

// LagCount counts Intervals of elapsed time, not the refreshes that went by.
TEST_F(TimerTest, ALateTickCountsTheIntervalsItMissed) {
  timer.SetRefreshRate(60);
  timer.Idle(1017);
  EXPECT_EQ(timer.MillisecondsToNextTick(1017), 17);  // the refresh at 1033.3
  EXPECT_EQ(timer.MillisecondsToNextTick(1030), 4);
  timer.Idle(1090);  // 73 ms later, four refreshes went by
  EXPECT_EQ(lags, (std::vector<int>{1, 7}));
}

TEST_F(TimerTest, AStillTimerSleepsUntilStirredAndThenTicksAtOnce) {
  bool still = true;
  timer.Still = [&still] { return still; };
  timer.Idle(1010);
  EXPECT_TRUE(timer.Asleep());
  EXPECT_EQ(timer.MillisecondsToNextTick(1030), -1);
  timer.Idle(1030);
  EXPECT_FALSE(timer.Stir(1040)) << "nothing changed";
  EXPECT_EQ(lags, (std::vector<int>{1}));

  still = false;
  EXPECT_TRUE(timer.Stir(5000));
  EXPECT_EQ(timer.MillisecondsToNextTick(5000), 0);
  timer.Idle(5000);
  EXPECT_EQ(lags, (std::vector<int>{1, 1})) << "the sleep counts as no lag";
  EXPECT_FALSE(timer.Asleep());
}

}  // namespace slatewick
