#include "errors/message_format.h"

#include <charconv>

namespace motqr::errors {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string DecimalText(std::size_t value) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

}  // namespace

bool ExpandInserts(std::string_view pattern, std::span<const std::string_view> inserts,
                   std::string* out, std::string* reason) {
  std::size_t i = 0;
  while (i < pattern.size()) {
    const std::size_t percent = pattern.find('%', i);
    out->append(pattern.substr(i, percent - i));
    if (percent == std::string_view::npos) break;
    i = percent + 1;
    if (i < pattern.size() && pattern[i] == '%') {
      out->push_back('%');
      ++i;
      continue;
    }
    if (i >= pattern.size() || !IsDigit(pattern[i]) || pattern[i] == '0') {
      out->push_back('%');
      continue;
    }
    // One or two digits: %1 to %99.
    std::size_t number = static_cast<std::size_t>(pattern[i++] - '0');
    if (i < pattern.size() && IsDigit(pattern[i])) {
      number = number * 10 + static_cast<std::size_t>(pattern[i++] - '0');
    }
    if (number > inserts.size()) {
      *reason = "The text refers to insert %" + DecimalText(number) + " but only " +
                DecimalText(inserts.size()) + " insert(s) were given.";
      return false;
    }
    // An insert that ends a sentence the text goes on to end ("I/O error: %1.")
    // brings no period of its own: the text ends in one.
    std::string_view insert = inserts[number - 1];
    if (i < pattern.size() && pattern[i] == '.' && insert.ends_with('.')) insert.remove_suffix(1);
    out->append(insert);
  }
  return true;
}

std::string_view TrimWhiteSpace(std::string_view text) {
  constexpr std::string_view kWhite = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kWhite);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kWhite);
  return text.substr(first, last - first + 1);
}

}  // namespace motqr::errors
