#include "tools/scalar.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace motqr::cli {

std::string FormatReal(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc{} ? std::string(buffer, end) : std::string("nan");
}

std::string FormatEngineering(double value, std::string_view unit) {
  if (!std::isfinite(value)) return FormatReal(value) + " " + std::string(unit);
  if (value == 0) value = 0;  // no "-0.00000"
  static constexpr const char* kPrefixes[] = {"p", "n", "u", "m", "", "k", "M", "G", "T"};
  int exponent = 0;  // of the prefix, a multiple of 3
  if (value != 0) exponent = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3)) * 3;
  exponent = std::clamp(exponent, -12, 12);
  double mantissa = value / std::pow(10.0, exponent);
  // Rounding to six digits may reach the next prefix (999.9999 -> 1000.00).
  char text[64];
  const auto digits = [&](double m) {
    const double size = std::fabs(m);
    return size >= 100 ? 3 : size >= 10 ? 4 : 5;
  };
  std::snprintf(text, sizeof text, "%.*f", digits(mantissa), mantissa);
  if (std::fabs(std::strtod(text, nullptr)) >= 1000 && exponent < 12) {
    exponent += 3;
    mantissa = value / std::pow(10.0, exponent);
    std::snprintf(text, sizeof text, "%.*f", digits(mantissa), mantissa);
  }
  return std::string(text) + " " + kPrefixes[(exponent + 12) / 3] + std::string(unit);
}

Scalar Scalar::Number(double value, std::string unit) {
  // JSON has no text for infinities or NaN: those travel as strings.
  return {FormatReal(value), std::isfinite(value) ? Kind::kNumber : Kind::kText, std::move(unit)};
}

Scalar Scalar::Integer(std::int64_t value) { return {std::to_string(value), Kind::kNumber, {}}; }

Scalar Scalar::Boolean(bool value) { return {value ? "true" : "false", Kind::kBoolean, {}}; }

std::optional<double> ParseReal(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  text = Trim(text);
  for (std::string_view yes : {"on", "true", "yes", "1"})
    if (EqualsIgnoringCase(text, yes)) return true;
  for (std::string_view no : {"off", "false", "no", "0"})
    if (EqualsIgnoringCase(text, no)) return false;
  return std::nullopt;
}

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace motqr::cli
