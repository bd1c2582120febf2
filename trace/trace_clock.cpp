#include "trace/trace_clock.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

namespace motqr::trace {

std::uint64_t CounterNow() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(ts.tv_nsec);
}

std::string LocalTimeOfDay() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  char buf[32];
  // Integers only, so the process locale plays no part.
  const int n = std::snprintf(buf, sizeof buf, "%d:%d:%d:%d", local.tm_hour, local.tm_min,
                              local.tm_sec, static_cast<int>(ts.tv_nsec / 1000000));
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string LocalTimeText(std::time_t t, const char* format) {
  tm local{};
  localtime_r(&t, &local);
  char buf[64];
  const std::size_t n = std::strftime(buf, sizeof buf, format, &local);
  return std::string(buf, n);
}

std::int32_t CurrentThreadId() {
  thread_local const auto id = static_cast<std::int32_t>(syscall(SYS_gettid));
  return id;
}

}  // namespace motqr::trace
