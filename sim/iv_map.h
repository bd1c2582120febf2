// One I-V characteristic: an indexed list of (voltage, current) points, numbered from 1,
// and its bulk form, a block of 32-bit words in micro-units, least significant byte first,
// voltage and current of each point in turn.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tqrsim {

struct IvPoint {
  double volts = 0.0;
  double amperes = 0.0;
};

struct IvLimits {
  double max_volts;
  double max_amperes;
};

class IvMap {
 public:
  static constexpr std::size_t kDefaultMaxPoints = 1024;

  explicit IvMap(std::size_t max_points = kDefaultMaxPoints) : max_points_(max_points) {}

  int SetPoint(int number, double volts, double amperes, const IvLimits& limits);
  int Insert(int number);
  int Delete(int number);
  int SetCount(int count);
  void Clear() { points_.clear(); }
  const std::vector<IvPoint>& points() const { return points_; }
  std::size_t max_points() const { return max_points_; }

  std::string EncodeBlockData() const;
  int DecodeBlockData(std::string_view bytes, const IvLimits& limits);

 private:
  std::size_t max_points_;
  std::vector<IvPoint> points_;
};

}  // namespace tqrsim
