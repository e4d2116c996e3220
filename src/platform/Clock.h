#pragma once
#include <QDateTime>
#include <cstdint>

namespace slatewick {

// The clock: a tick count in milliseconds since an arbitrary start, wrapping as an unsigned 32-bit
// count, and the local date and time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t Milliseconds() const = 0;
  virtual QDateTime LocalNow() const = 0;
};

// The system's clocks: the monotonic clock and the local time.
class SystemClock final : public Clock {
 public:
  std::uint32_t Milliseconds() const override;
  QDateTime LocalNow() const override;
};

}  // namespace slatewick
