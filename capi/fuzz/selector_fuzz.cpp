// libFuzzer target: channel selectors from arbitrary bytes. An expansion either
// fails with one of the three selector statuses and no names, or succeeds with
// between 1 and the bound of names, each a non-empty run of name characters
// (or the single empty name of the empty selector).
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
    if (!e.names.empty()) std::abort();
    return;
  }
  if (e.names.empty() || e.names.size() > motqr::capi::kMaxSelectorNames) std::abort();
  if (selector.empty()) return;
  for (const std::string& name : e.names) {
    if (name.empty()) std::abort();
    for (char c : name) {
      if (!IsNameChar(c)) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view selector(reinterpret_cast<const char*>(data), size);
  Check(selector, RangeUse::kAllowed);
  Check(selector, RangeUse::kRefused);
  return 0;
}
