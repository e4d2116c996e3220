#include "platform/Clock.h"

#include <chrono>

namespace slatewick {

namespace {
std::optional<std::uint32_t> pinnedTicks;
std::optional<QDateTime> pinnedTime;
}  // namespace

std::uint32_t timeGetTime() {
  if (pinnedTicks) return *pinnedTicks;
  using namespace std::chrono;
  return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QDateTime LocalNow() {
  return pinnedTime ? *pinnedTime : QDateTime::currentDateTime();
}

void PinTickCount(std::optional<std::uint32_t> ms) {
  pinnedTicks = ms;
}
void PinLocalTime(std::optional<QDateTime> when) {
  pinnedTime = std::move(when);
}

}  // namespace slatewick
