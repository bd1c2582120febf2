// The clocks of a trace record: the local wall-clock time a call started, the
// calling thread, and a high-resolution counter for timestamps and execution
// times.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace motqr::trace {

// The monotonic counter (nanoseconds since an arbitrary start) and its
// ticks per second.
std::uint64_t CounterNow();
inline constexpr double kCounterFrequency = 1e9;

// The local time of day as "hour:minute:second:millisecond", no padding.
std::string LocalTimeOfDay();
// The local time `t` formatted with strftime `format`.
std::string LocalTimeText(std::time_t t, const char* format);
// The kernel's identifier of the calling thread.
std::int32_t CurrentThreadId();

}  // namespace motqr::trace
