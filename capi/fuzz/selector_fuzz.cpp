// libFuzzer target: channel selectors from arbitrary bytes. An expansion either
// fails with one of the three selector statuses and no names, or succeeds with
// at least one name, each a non-empty run of name characters (or the single
// empty name of the empty selector); the first names of a range are made.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "capi/selector.h"

using motqr::capi::ExpandSelector;
using motqr::capi::RangeUse;

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '!';
}

void Check(std::string_view selector, RangeUse ranges) {
  const motqr::capi::SelectorExpansion e = ExpandSelector(selector, ranges);
  if (e.status != 0) {
    if (e.status != motqr::capi::kSelectorBadlyFormed &&
        e.status != motqr::capi::kSelectorInvalidRange &&
        e.status != motqr::capi::kSelectorInvalidLevels) {
      std::abort();
    }
    if (!e.elements.empty()) std::abort();
    return;
  }
  if (e.elements.empty()) std::abort();
  std::size_t visited = 0;
  e.ForEachName([&](std::string_view name) {
    if (name.empty() && !selector.empty()) std::abort();
    for (char c : name) {
      if (!IsNameChar(c)) std::abort();
    }
    return ++visited < 4096 ? 0 : 1;  // a long range is not walked to its end
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view selector(reinterpret_cast<const char*>(data), size);
  Check(selector, RangeUse::kAllowed);
  Check(selector, RangeUse::kRefused);
  return 0;
}
