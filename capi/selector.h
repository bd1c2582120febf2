// Channel selectors of the C functions: "OutputChannel1", "a, b", "A1-A3",
// "[OutputChannel1]" expand into the list of channel names they stand for.
//
//   SelectorExpansion e = ExpandSelector("Out1-Out3", RangeUse::kAllowed);
//   e.status == 0;  e.Names() == {"Out1", "Out2", "Out3"}
//   e.ForEachName([&](std::string_view name) { return Resolve(name); });
//
// A range is kept as its prefix and numbers and its names are made one at a
// time, so a range of any length costs no more memory than the selector text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace motqr::capi {

enum class RangeUse { kAllowed, kRefused };

// One element of a selector: a name, or a range of names (the first prefix
// as written followed by each number from `first` to `last`).
struct SelectorElement {
  std::string name;
  bool range = false;
  std::int64_t first = 0;
  std::int64_t last = 0;
};

struct SelectorExpansion {
  std::int32_t status = 0;  // 0, or one of the three selector statuses below
  std::vector<SelectorElement> elements;

  // Calls `visit(std::string_view name)` for each name in order and stops at
  // the first result that is not 0, which it returns.
  template <class Visit>
  auto ForEachName(Visit&& visit) const -> decltype(visit(std::string_view())) {
    for (const SelectorElement& e : elements) {
      if (!e.range) {
        if (auto r = visit(std::string_view(e.name)); r != 0) return r;
        continue;
      }
      std::string name = e.name;
      for (std::int64_t n = e.first; n <= e.last; ++n) {
        name.resize(e.name.size());
        name += std::to_string(n);
        if (auto r = visit(std::string_view(name)); r != 0) return r;
      }
    }
    return 0;
  }
  // Every name, in order.
  std::vector<std::string> Names() const;
};

inline constexpr std::int32_t kSelectorInvalidLevels = static_cast<std::int32_t>(0xBFFA0063u);
inline constexpr std::int32_t kSelectorInvalidRange = static_cast<std::int32_t>(0xBFFA0064u);
inline constexpr std::int32_t kSelectorBadlyFormed = static_cast<std::int32_t>(0xBFFA0066u);

// The empty selector names the only channel (one empty name). Every level of
// a selector is checked element by element; the output has a single level,
// so a well-formed selector with ":" levels is an invalid number of levels.
// Range numbers are 32-bit: a larger one is an invalid range.
SelectorExpansion ExpandSelector(std::string_view selector, RangeUse ranges);
// A selector that is one plain name or empty: it expands to itself.
bool IsSingleName(std::string_view selector);

// The message stored on the session with a selector status.
const char* SelectorStatusText(std::int32_t status);

}  // namespace motqr::capi
