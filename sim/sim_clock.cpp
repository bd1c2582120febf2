#include "sim/sim_clock.h"

namespace tqrsim {

SimClock::SimClock(Mode mode) : mode_(mode), start_(std::chrono::steady_clock::now()) {}

double SimClock::Now() const {
  double real = 0.0;
  if (mode_ == Mode::kRealTime) {
    real = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }
  return real + advanced_;
}

void SimClock::Advance(double seconds) {
  if (seconds > 0.0) advanced_ += seconds;
}

std::int64_t DaysFromCivil(CivilDate date) {
  std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t m = date.month;
  std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + date.day - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  std::int64_t doe = days - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

bool IsValidDate(CivilDate date) {
  if (date.month < 1 || date.month > 12 || date.day < 1) return false;
  CivilDate round_trip = CivilFromDays(DaysFromCivil(date));
  return round_trip.year == date.year && round_trip.month == date.month &&
         round_trip.day == date.day;
}

double HostEpochSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace tqrsim
