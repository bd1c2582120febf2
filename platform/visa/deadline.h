// A point in time an operation must finish by, from a VISA time-out in milliseconds.
#pragma once

#include <chrono>
#include <optional>

#include "platform/visa/visa_types.h"

namespace motqr::visa {

class Deadline {
 public:
  explicit Deadline(ViUInt32 timeout_ms)
      : infinite_(timeout_ms == VI_TMO_INFINITE),
        end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms)) {}

  // Milliseconds left for poll(): -1 waits for ever, 0 when expired; rounded up so a wait never
  // ends before the deadline.
  int RemainingMs() const {
    if (infinite_) return -1;
    const auto left = end_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
  }
  bool Expired() const { return !infinite_ && std::chrono::steady_clock::now() >= end_; }

 private:
  bool infinite_;
  std::chrono::steady_clock::time_point end_;
};

// A deadline whose clock starts when it is first asked for, at the first wait of
// a transfer: a transfer that completes without waiting reads no clock.
class DeadlineAtFirstWait {
 public:
  explicit DeadlineAtFirstWait(ViUInt32 timeout_ms) : timeout_ms_(timeout_ms) {}
  const Deadline& get() const {
    if (!deadline_) deadline_.emplace(timeout_ms_);
    return *deadline_;
  }

 private:
  ViUInt32 timeout_ms_;
  mutable std::optional<Deadline> deadline_;
};

}  // namespace motqr::visa
