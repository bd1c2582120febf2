// The driver's string hash: h = h * 33 + c over the bytes (c as a signed char,
// h an unsigned 32-bit value starting at 0). The simulation stores and the
// model table key their hash maps with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace motqr::driver {

struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept {
    std::uint32_t h = 0;
    for (char c : s) h = h * 33u + static_cast<std::uint32_t>(static_cast<signed char>(c));
    return h;
  }
};

struct StringEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};

}  // namespace motqr::driver
