#include "platform/FrameTimer.h"

#include <algorithm>
#include <cmath>

namespace slatewick {

void FrameTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateRunning();
}

void FrameTimer::SetApplicationActive(bool active) {
  active_ = active;
  UpdateRunning();
}

void FrameTimer::SetRefreshRate(double hertz) {
  refreshPeriod_ = hertz >= 1 && hertz <= 1000 ? 1000.0 / hertz : 0;
  refreshPhase_ = 0;
}

void FrameTimer::UpdateRunning() {
  const bool run = enabled_ && (!ActiveOnly || active_);
  if (run && !running_) {
    lastTick_ = clock_.Milliseconds();
    windowStart_ = lastTick_;
    refreshPhase_ = 0;
  }
  const bool changed = run != running_;
  running_ = run;
  asleep_ = false;
  if (changed && OnRunningChanged) OnRunningChanged();
}

double FrameTimer::DueAfterLastTick() const {
  const double interval = std::max(Interval, 0);
  if (refreshPeriod_ <= 0) return interval;
  // The frame of the last tick was shown at the next refresh; none comes sooner.
  return std::max(interval, refreshPeriod_ - refreshPhase_);
}

bool FrameTimer::Stir(std::uint32_t now) {
  if (!asleep_ || (Still && Still())) return false;
  asleep_ = false;
  // The tick is due now, as soon after a notional last one as it may come; the frame count
  // starts over.
  refreshPhase_ = 0;
  lastTick_ = now - std::uint32_t(std::ceil(DueAfterLastTick()));
  windowStart_ = now;
  frameCount_ = 0;
  return true;
}

void FrameTimer::Idle(std::uint32_t now) {
  if (!running_) return;
  if (asleep_ && !Stir(now)) return;
  const std::uint32_t elapsed = now - lastTick_;
  if (double(elapsed) < DueAfterLastTick()) return;
  // Whole intervals since the last tick, however the refreshes paced it.
  const std::uint32_t intervals = elapsed / std::uint32_t(std::max(Interval, 1));
  const int lagCount = int(std::clamp<std::uint32_t>(intervals, 1, INT32_MAX));
  if (refreshPeriod_ > 0) refreshPhase_ = std::fmod(refreshPhase_ + elapsed, refreshPeriod_);
  lastTick_ = now;
  ++frameCount_;
  const std::uint32_t window = std::max<std::uint32_t>(now - windowStart_, 1);
  if (window >= 1000) {
    framesPerSecond_ = int(std::lround(double(frameCount_) * 1000.0 / double(window)));
    frameCount_ = 0;
    windowStart_ = now;
  }
  if (OnTick) OnTick(lagCount);
  asleep_ = running_ && Still && Still();
}

int FrameTimer::MillisecondsToNextTick(std::uint32_t now) const {
  if (!running_ || asleep_) return -1;
  const std::uint32_t elapsed = now - lastTick_;
  const auto due = std::uint32_t(std::ceil(DueAfterLastTick()));
  return elapsed >= due ? 0 : int(due - elapsed);
}

}  // namespace slatewick
