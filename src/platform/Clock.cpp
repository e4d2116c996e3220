#include "platform/Clock.h"

#include <chrono>

namespace slatewick {

std::uint32_t SystemClock::Milliseconds() const {
  using namespace std::chrono;
  return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QDateTime SystemClock::LocalNow() const {
  return QDateTime::currentDateTime();
}

}  // namespace slatewick
