#include "platform/DXTimer.h"

#include <algorithm>
#include <cmath>

#include "platform/Clock.h"

void TDXTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateRunning();
}

void TDXTimer::SetApplicationActive(bool active) {
  active_ = active;
  UpdateRunning();
}

void TDXTimer::UpdateRunning() {
  const bool run = enabled_ && (!ActiveOnly || active_);
  if (run && !running_) {
    lastTick_ = timeGetTime();
    windowStart_ = lastTick_;
  }
  const bool changed = run != running_;
  running_ = run;
  if (changed && OnRunningChanged) OnRunningChanged();
}

void TDXTimer::Idle(std::uint32_t now) {
  if (!running_) return;
  const int interval = std::max(Interval, 0);
  const std::uint32_t elapsed = now - lastTick_;
  if (elapsed < std::uint32_t(interval)) return;
  const int lagCount = std::max(int(elapsed / std::uint32_t(std::max(interval, 1))), 1);
  lastTick_ = now;
  ++frameCount_;
  const std::uint32_t window = std::max<std::uint32_t>(now - windowStart_, 1);
  if (window >= 1000) {
    framesPerSecond_ = int(std::lround(double(frameCount_) * 1000.0 / double(window)));
    frameCount_ = 0;
    windowStart_ = now;
  }
  if (OnTimer) OnTimer(lagCount);
}

int TDXTimer::MillisecondsToNextTick(std::uint32_t now) const {
  if (!running_) return -1;
  const std::uint32_t elapsed = now - lastTick_;
  const auto interval = std::uint32_t(std::max(Interval, 0));
  return elapsed >= interval ? 0 : int(interval - elapsed);
}
