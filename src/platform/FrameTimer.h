#pragma once
#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace slatewick {

// The frame timer: ticks at most once per Interval while enabled (and, with ActiveOnly, while
// the application is active). It does not keep time itself: the shell calls Idle() whenever
// the event queue is empty or a tick is due, and sleeps for MillisecondsToNextTick() between.
// Where the display's refresh rate is known, each frame is shown at a refresh: a tick then
// comes at the first refresh after the previous tick, and never sooner than Interval after it.
class FrameTimer {
 public:
  // The clock gives the tick count when the timer starts running.
  explicit FrameTimer(const Clock& clock) : clock_(clock) {}
  const Clock& TheClock() const { return clock_; }

  int Interval = 10;  // milliseconds, never below 0
  bool ActiveOnly = true;
  std::function<void(int LagCount)> OnTick;
  // Told whenever the timer starts or stops running (the shell reschedules its wake-up).
  std::function<void()> OnRunningChanged;
  // Asked after each tick, when set: true when a tick now would change nothing. The timer then
  // sleeps, with no tick due, until Stir finds it false.
  std::function<bool()> Still;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetApplicationActive(bool active);
  bool ApplicationActive() const { return active_; }

  // The refresh rate of the display that shows the frames, in hertz; 0 (or anything outside
  // 1..1000) when unknown, and then only Interval paces the ticks.
  void SetRefreshRate(double hertz);
  double RefreshRate() const { return refreshPeriod_ > 0 ? 1000.0 / refreshPeriod_ : 0; }

  // True while the idle handler is installed: enabled, and active unless ActiveOnly is off.
  bool Running() const { return running_; }
  // One pass of the idle handler at the tick count now; raises OnTick when a tick is due, with
  // LagCount the whole Intervals since the previous tick (elapsed ms div Interval), at least 1,
  // whatever pacing the refresh rate imposes.
  void Idle(std::uint32_t now);
  // How long the shell may sleep before the next tick is due (0 when due; -1 when stopped or
  // asleep).
  int MillisecondsToNextTick(std::uint32_t now) const;
  bool Asleep() const { return asleep_; }
  // Ends a sleep once Still no longer holds, with a tick due at once; true when it did. The
  // shell calls it whenever its event loop turns; Idle calls it too.
  bool Stir(std::uint32_t now);

  // Ticks counted over the last window of at least one second, scaled to one second.
  int FramesPerSecond() const { return framesPerSecond_; }

 private:
  void UpdateRunning();
  const Clock& clock_;
  // Milliseconds after the last tick at which the next one is due.
  double DueAfterLastTick() const;

  bool enabled_ = false;
  bool active_ = true;
  bool running_ = false;
  bool asleep_ = false;
  double refreshPeriod_ = 0;  // milliseconds, 0 when unknown
  double refreshPhase_ = 0;   // milliseconds from the last refresh to the last tick
  std::uint32_t lastTick_ = 0;
  std::uint32_t windowStart_ = 0;
  std::uint32_t frameCount_ = 0;
  int framesPerSecond_ = 0;
};

// Stops the frame timer for its lifetime (while a dialog waits for the user); it runs again
// however the scope is left.
class FrameTimerPause {
 public:
  explicit FrameTimerPause(FrameTimer& timer) : timer_(timer) { timer_.SetEnabled(false); }
  ~FrameTimerPause() { timer_.SetEnabled(true); }
  FrameTimerPause(const FrameTimerPause&) = delete;
  FrameTimerPause& operator=(const FrameTimerPause&) = delete;

 private:
  FrameTimer& timer_;
};

}  // namespace slatewick
