#include "sim/iv_map.h"

#include <cmath>
#include <cstdint>

#include "sim/scpi_errors.h"

namespace tqrsim {
namespace {

constexpr double kMicro = 1e6;

bool InLimits(double volts, double amperes, const IvLimits& limits) {
  return std::fabs(volts) <= limits.max_volts && std::fabs(amperes) <= limits.max_amperes;
}

void AppendWord(std::string& out, double value) {
  auto word = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * kMicro)));
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<char>((word >> shift) & 0xffu));
  }
}

double ReadWord(std::string_view bytes, std::size_t offset) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return static_cast<double>(static_cast<std::int32_t>(word)) / kMicro;
}

}  // namespace

int IvMap::SetPoint(int number, double volts, double amperes, const IvLimits& limits) {
  if (number < 1 || static_cast<std::size_t>(number) > points_.size()) {
    return kHeaderSuffixOutOfRange;
  }
  if (!InLimits(volts, amperes, limits)) return kDataOutOfRange;
  points_[static_cast<std::size_t>(number - 1)] = {volts, amperes};
  return 0;
}

int IvMap::Insert(int number) {
  if (number < 1 || static_cast<std::size_t>(number) > points_.size() + 1) {
    return kHeaderSuffixOutOfRange;
  }
  if (points_.size() >= max_points_) return kOutOfMemory;
  points_.insert(points_.begin() + (number - 1), IvPoint{});
  return 0;
}

int IvMap::Delete(int number) {
  if (number < 1 || static_cast<std::size_t>(number) > points_.size()) {
    return kHeaderSuffixOutOfRange;
  }
  points_.erase(points_.begin() + (number - 1));
  return 0;
}

int IvMap::SetCount(int count) {
  if (count < 0 || static_cast<std::size_t>(count) > max_points_) return kDataOutOfRange;
  points_.resize(static_cast<std::size_t>(count));
  return 0;
}

std::string IvMap::EncodeBlockData() const {
  std::string out;
  out.reserve(points_.size() * 8);
  for (const IvPoint& point : points_) {
    AppendWord(out, point.volts);
    AppendWord(out, point.amperes);
  }
  return out;
}

int IvMap::DecodeBlockData(std::string_view bytes, const IvLimits& limits) {
  if (bytes.size() % 8 != 0) return kIllegalParameterValue;  // whole points only
  if (bytes.size() / 8 > max_points_) return kTooMuchData;
  std::vector<IvPoint> points;
  for (std::size_t offset = 0; offset < bytes.size(); offset += 8) {
    IvPoint point{ReadWord(bytes, offset), ReadWord(bytes, offset + 4)};
    if (!InLimits(point.volts, point.amperes, limits)) return kDataOutOfRange;
    points.push_back(point);
  }
  points_ = std::move(points);
  return 0;
}

}  // namespace tqrsim
