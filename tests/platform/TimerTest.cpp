#include <gtest/gtest.h>

#include <vector>

#include "platform/Clock.h"
#include "platform/DXTimer.h"

namespace {

// A started timer at a pinned tick count that records the LagCount of every tick.
struct TimerTest : ::testing::Test {
  TDXTimer timer;
  std::vector<int> lags;

  void SetUp() override {
    PinTickCount(1000);
    timer.OnTimer = [this](int lag) { lags.push_back(lag); };
    timer.SetEnabled(true);
  }
  void TearDown() override { PinTickCount(std::nullopt); }
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
  PinTickCount(0xFFFFFFF8u);
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

  PinTickCount(5000);
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
