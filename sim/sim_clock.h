// Time as the simulated instrument sees it: seconds since start, running with the host's
// monotonic clock (or frozen, for tests) plus whatever was advanced by hand.
#pragma once

#include <chrono>
#include <cstdint>

namespace tqrsim {

class SimClock {
 public:
  enum class Mode { kRealTime, kManual };

  explicit SimClock(Mode mode = Mode::kRealTime);

  double Now() const;
  // Moves simulated time forward (negative values are ignored).
  void Advance(double seconds);
  double advanced() const { return advanced_; }

 private:
  Mode mode_;
  std::chrono::steady_clock::time_point start_;
  double advanced_ = 0.0;
};

struct CivilDate {
  int year;
  int month;
  int day;
};

// Proleptic Gregorian calendar conversions for the real-time clock.
std::int64_t DaysFromCivil(CivilDate date);
CivilDate CivilFromDays(std::int64_t days);
bool IsValidDate(CivilDate date);
// Seconds since 1970-01-01 UTC on the host's wall clock.
double HostEpochSeconds();

}  // namespace tqrsim
