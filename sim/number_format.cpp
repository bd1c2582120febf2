#include "sim/number_format.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tqrsim {

std::string FormatReal(double value) {
  if (!std::isfinite(value)) return value > 0 ? "9.9e+37" : (value < 0 ? "-9.9e+37" : "9.91e+37");
  if (value == 0.0) value = 0.0;  // no "-0"
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::general, 12);
  if (ec != std::errc{}) return "0";
  return std::string(buffer.data(), end);
}

std::string FormatInt(long long value) {
  std::array<char, 32> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (ec != std::errc{}) return "0";
  return std::string(buffer.data(), end);
}

}  // namespace tqrsim
