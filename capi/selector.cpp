#include "capi/selector.h"

#include <charconv>

#include "repcap/channel_names.h"

namespace motqr::capi {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsPrefixChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '!';
}
constexpr bool IsNameChar(char c) { return IsPrefixChar(c) || IsDigit(c); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// One end of a range: letters, '_' or '!', then digits, nothing else.
struct RangeEnd {
  std::string_view prefix;
  std::string_view digits;
};

bool ParseRangeEnd(std::string_view s, RangeEnd* end) {
  s = Trim(s);
  std::size_t i = 0;
  while (i < s.size() && IsPrefixChar(s[i])) ++i;
  if (i == 0 || i == s.size()) return false;
  for (std::size_t j = i; j < s.size(); ++j) {
    if (!IsDigit(s[j])) return false;
  }
  *end = {s.substr(0, i), s.substr(i)};
  return true;
}

bool IsPlainName(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!IsNameChar(c)) return false;
  }
  return true;
}

// Appends one element; returns a selector status.
std::int32_t ParseElement(std::string_view element, RangeUse ranges,
                          std::vector<SelectorElement>* elements) {
  const std::size_t dash = element.find('-');
  if (dash == std::string_view::npos) {
    const std::string_view name = Trim(element);
    if (!IsPlainName(name)) return kSelectorBadlyFormed;
    elements->push_back({std::string(name)});
    return 0;
  }
  RangeEnd first, last;
  if (!ParseRangeEnd(element.substr(0, dash), &first) ||
      !ParseRangeEnd(element.substr(dash + 1), &last)) {
    return kSelectorBadlyFormed;
  }
  if (ranges == RangeUse::kRefused) return kSelectorBadlyFormed;
  if (!repcap::EqualsIgnoringCase(first.prefix, last.prefix)) return kSelectorInvalidRange;
  std::int64_t from = 0, to = 0;
  // Numbers beyond 32 bits cannot name a channel.
  auto parse = [](std::string_view digits, std::int64_t* value) {
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), *value);
    return ec == std::errc() && end == digits.data() + digits.size() && *value <= INT32_MAX;
  };
  if (!parse(first.digits, &from) || !parse(last.digits, &to) || to < from) {
    return kSelectorInvalidRange;
  }
  elements->push_back({std::string(first.prefix), true, from, to});
  return 0;
}

// Appends the elements of one level (brackets removed, cut at commas);
// returns a selector status.
std::int32_t ParseLevel(std::string_view level, RangeUse ranges,
                        std::vector<SelectorElement>* elements) {
  level = Trim(level);
  if (!level.empty() && level.front() == '[') {
    if (level.size() < 2 || level.back() != ']') return kSelectorBadlyFormed;
    level = level.substr(1, level.size() - 2);
  }
  while (true) {
    const std::size_t comma = level.find(',');
    if (std::int32_t s = ParseElement(level.substr(0, comma), ranges, elements); s != 0) return s;
    if (comma == std::string_view::npos) return 0;
    level.remove_prefix(comma + 1);
  }
}

}  // namespace

std::vector<std::string> SelectorExpansion::Names() const {
  std::vector<std::string> names;
  ForEachName([&](std::string_view name) {
    names.emplace_back(name);
    return 0;
  });
  return names;
}

bool IsSingleName(std::string_view selector) { return selector.empty() || IsPlainName(selector); }

SelectorExpansion ExpandSelector(std::string_view selector, RangeUse ranges) {
  SelectorExpansion result;
  // The empty selector and a single plain name, the common cases, need no parsing.
  if (IsSingleName(selector)) {
    result.elements.push_back({std::string(selector)});
    return result;
  }
  // Every level is checked, element by element, before the number of levels.
  std::size_t levels = 0;
  std::string_view rest = selector;
  while (true) {
    const std::size_t colon = rest.find(':');
    ++levels;
    result.status = ParseLevel(rest.substr(0, colon), ranges, &result.elements);
    if (result.status != 0) break;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  if (result.status == 0 && levels > 1) result.status = kSelectorInvalidLevels;
  if (result.status != 0) result.elements.clear();
  return result;
}

const char* SelectorStatusText(std::int32_t status) {
  switch (status) {
    case kSelectorInvalidLevels:
      return "Invalid or inconsistent number of levels specified in repeated capability selector.";
    case kSelectorInvalidRange:
      return "Invalid range specified in repeated capability selector.";
    case kSelectorBadlyFormed:
      return "The repeated capability selector is badly-formed.";
    default:
      return "";
  }
}

}  // namespace motqr::capi
