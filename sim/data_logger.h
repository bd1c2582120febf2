// Integration of the output (elapsed time, charge, energy) over the gate, and the logger
// that records the integrated charge once per logging period, oldest first.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

namespace tqrsim {

struct Integrals {
  double elapsed_seconds = 0.0;
  double ampere_hours = 0.0;
  double watt_hours = 0.0;

  void Accumulate(double seconds, double volts, double amperes) {
    elapsed_seconds += seconds;
    ampere_hours += amperes * seconds / 3600.0;
    watt_hours += volts * amperes * seconds / 3600.0;
  }
};

class DataLogger {
 public:
  static constexpr std::size_t kDefaultCapacity = 10000;

  explicit DataLogger(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Records a value; when full, the oldest value is dropped.
  void Record(double value) {
    if (values_.size() >= capacity_) values_.pop_front();
    values_.push_back(value);
  }
  // Hands over and forgets up to `count` of the oldest values.
  std::vector<double> Remove(std::size_t count) {
    std::vector<double> taken;
    while (count-- > 0 && !values_.empty()) {
      taken.push_back(values_.front());
      values_.pop_front();
    }
    return taken;
  }
  std::size_t size() const { return values_.size(); }
  std::size_t capacity() const { return capacity_; }
  void Clear() { values_.clear(); }

 private:
  std::size_t capacity_;
  std::deque<double> values_;
};

}  // namespace tqrsim
