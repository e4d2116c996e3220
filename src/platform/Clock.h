#pragma once
#include <QDateTime>
#include <cstdint>
#include <optional>

namespace slatewick {

// Milliseconds since an arbitrary start, wrapping as an unsigned 32-bit count.
std::uint32_t timeGetTime();
// The local date and time.
QDateTime LocalNow();
// Tests pin the clock; std::nullopt returns to the system clock.
void PinTickCount(std::optional<std::uint32_t> ms);
void PinLocalTime(std::optional<QDateTime> when);

}  // namespace slatewick
