#pragma once
#include <cstdint>
#include <functional>

// The frame timer: ticks at most once per Interval while enabled (and, with ActiveOnly, while
// the application is active). It does not keep time itself: the shell calls Idle() whenever
// the event queue is empty or a tick is due, and sleeps for MillisecondsToNextTick() between.
class TDXTimer {
 public:
  int Interval = 10;  // milliseconds, never below 0
  bool ActiveOnly = true;
  std::function<void(int LagCount)> OnTimer;
  // Told whenever the timer starts or stops running (the shell reschedules its wake-up).
  std::function<void()> OnRunningChanged;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetApplicationActive(bool active);
  bool ApplicationActive() const { return active_; }

  // True while the idle handler is installed: enabled, and active unless ActiveOnly is off.
  bool Running() const { return running_; }
  // One pass of the idle handler at the tick count now; raises OnTimer when a tick is due.
  void Idle(std::uint32_t now);
  // How long the shell may sleep before the next tick is due (0 when due; -1 when stopped).
  int MillisecondsToNextTick(std::uint32_t now) const;

  int FramesPerSecond() const { return framesPerSecond_; }

 private:
  void UpdateRunning();

  bool enabled_ = false;
  bool active_ = true;
  bool running_ = false;
  std::uint32_t lastTick_ = 0;
  std::uint32_t windowStart_ = 0;
  std::uint32_t frameCount_ = 0;
  int framesPerSecond_ = 0;
};
