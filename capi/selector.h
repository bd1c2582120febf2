// Channel selectors of the C functions: "OutputChannel1", "a, b", "A1-A3",
// "[OutputChannel1]" expand into the list of channel names they stand for.
//
//   SelectorExpansion e = ExpandSelector("Out1-Out3", RangeUse::kAllowed);
//   e.status == 0;  e.names == {"Out1", "Out2", "Out3"}
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace motqr::capi {

enum class RangeUse { kAllowed, kRefused };

struct SelectorExpansion {
  std::int32_t status = 0;  // 0, or one of the three selector statuses below
  std::vector<std::string> names;
};

inline constexpr std::int32_t kSelectorInvalidLevels = static_cast<std::int32_t>(0xBFFA0063u);
inline constexpr std::int32_t kSelectorInvalidRange = static_cast<std::int32_t>(0xBFFA0064u);
inline constexpr std::int32_t kSelectorBadlyFormed = static_cast<std::int32_t>(0xBFFA0066u);

// A range never expands to more names than this; a longer one is an invalid range.
inline constexpr std::size_t kMaxSelectorNames = 1024;

// The empty selector names the only channel (one empty name). The output has a
// single level, so a selector with ":" levels is an invalid number of levels.
SelectorExpansion ExpandSelector(std::string_view selector, RangeUse ranges);

// The message stored on the session with a selector status.
const char* SelectorStatusText(std::int32_t status);

}  // namespace motqr::capi
