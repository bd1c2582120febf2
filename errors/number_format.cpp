#include "errors/number_format.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace motqr::errors {
namespace {

constexpr int kMaxPrecision = 100;
constexpr int kMaxWidth = 200;

struct Conversion {
  std::string prefix_text;  // literal text before the conversion, %% already resolved
  std::string suffix_text;  // literal text after it
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = 0;
  int precision = -1;  // -1: none given
  char conv = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number; values past the limits below stay past them without overflowing.
int ReadNumber(std::string_view f, std::size_t* i) {
  int n = 0;
  while (*i < f.size() && IsDigit(f[*i])) {
    if (n <= 10000) n = n * 10 + (f[*i] - '0');
    ++*i;
  }
  return n;
}

// Copies literal text, turning %% into %; stops at a lone '%' (returns its index).
std::size_t CopyLiteral(std::string_view f, std::size_t i, std::string* out) {
  while (i < f.size()) {
    if (f[i] != '%') {
      out->push_back(f[i++]);
    } else if (i + 1 < f.size() && f[i + 1] == '%') {
      out->push_back('%');
      i += 2;
    } else {
      return i;
    }
  }
  return i;
}

std::optional<Conversion> Parse(const char* format, std::string_view convs) {
  if (!format) return std::nullopt;
  const std::string_view f(format);
  Conversion c;
  std::size_t i = CopyLiteral(f, 0, &c.prefix_text);
  if (i >= f.size()) return std::nullopt;  // no conversion at all
  ++i;
  for (; i < f.size(); ++i) {
    const char flag = f[i];
    if (flag == '-')
      c.left = true;
    else if (flag == '+')
      c.plus = true;
    else if (flag == ' ')
      c.space = true;
    else if (flag == '0')
      c.zero = true;
    else if (flag == '#')
      c.alt = true;
    else
      break;
  }
  c.width = ReadNumber(f, &i);
  if (i < f.size() && f[i] == '.') {
    ++i;
    c.precision = ReadNumber(f, &i);
  }
  while (i < f.size() && (f[i] == 'h' || f[i] == 'l' || f[i] == 'L' || f[i] == 'q' || f[i] == 'j' ||
                          f[i] == 'z' || f[i] == 't')) {
    ++i;
  }
  if (i >= f.size() || convs.find(f[i]) == std::string_view::npos) return std::nullopt;
  c.conv = f[i++];
  if (c.width > kMaxWidth || c.precision > kMaxPrecision) return std::nullopt;
  if (CopyLiteral(f, i, &c.suffix_text) != f.size()) return std::nullopt;  // a second conversion
  return c;
}

// Sign, optional zero padding up to the width, digits; then the field padding.
std::string Assemble(const Conversion& c, std::string_view sign, std::string_view prefix,
                     std::string_view digits, bool zero_pad) {
  const std::size_t body = sign.size() + prefix.size() + digits.size();
  const std::size_t width = static_cast<std::size_t>(c.width);
  const std::size_t pad = width > body ? width - body : 0;
  std::string out = c.prefix_text;
  if (!c.left && !zero_pad) out.append(pad, ' ');
  out.append(sign);
  out.append(prefix);
  if (!c.left && zero_pad) out.append(pad, '0');
  out.append(digits);
  if (c.left) out.append(pad, ' ');
  out.append(c.suffix_text);
  return out;
}

std::string_view SignOf(const Conversion& c, bool negative) {
  if (negative) return "-";
  if (c.plus) return "+";
  if (c.space) return " ";
  return {};
}

std::string FormatInt(const Conversion& c, std::int32_t value) {
  const bool is_signed = c.conv == 'd' || c.conv == 'i';
  const bool negative = is_signed && value < 0;
  std::uint64_t magnitude = 0;
  if (is_signed) {
    magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(std::int64_t{value})
                         : static_cast<std::uint64_t>(value);
  } else {
    magnitude = static_cast<std::uint32_t>(value);
  }
  int base = 10;
  if (c.conv == 'x' || c.conv == 'X') base = 16;
  if (c.conv == 'o') base = 8;

  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, base);
  std::string digits(buf, end);
  if (c.conv == 'X') {
    for (char& ch : digits) {
      if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
    }
  }
  if (c.precision == 0 && magnitude == 0) digits.clear();
  if (c.precision > 0 && digits.size() < static_cast<std::size_t>(c.precision)) {
    digits.insert(0, static_cast<std::size_t>(c.precision) - digits.size(), '0');
  }
  std::string_view prefix;
  if (c.alt && magnitude != 0 && base == 16) prefix = c.conv == 'X' ? "0X" : "0x";
  if (c.alt && base == 8 && (digits.empty() || digits[0] != '0')) prefix = "0";
  const std::string_view sign = is_signed ? SignOf(c, negative) : std::string_view();
  return Assemble(c, sign, prefix, digits, c.zero && c.precision < 0);
}

std::string FormatReal(const Conversion& c, double value) {
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  const bool finite = std::isfinite(value);
  const bool upper = c.conv == 'F' || c.conv == 'E' || c.conv == 'G';
  std::string digits;
  if (!finite) {
    digits = std::isnan(value) ? "nan" : "inf";
  } else {
    std::chars_format fmt = std::chars_format::general;
    if (c.conv == 'f' || c.conv == 'F') fmt = std::chars_format::fixed;
    if (c.conv == 'e' || c.conv == 'E') fmt = std::chars_format::scientific;
    const int precision = c.precision < 0 ? 6 : c.precision;
    // Largest fixed text: 309 integer digits, a point and the precision.
    char buf[320 + kMaxPrecision];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, fmt, precision);
    if (ec == std::errc()) digits.assign(buf, end);
  }
  if (upper) {
    for (char& ch : digits) {
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
  }
  return Assemble(c, SignOf(c, negative), {}, digits, c.zero && finite);
}

}  // namespace

std::string FormatInt32(const char* format, std::int32_t value) {
  std::optional<Conversion> c = Parse(format, "diuoxX");
  if (!c || (c->alt && c->conv != 'o' && c->conv != 'x' && c->conv != 'X')) c = Parse("%d", "d");
  return FormatInt(*c, value);
}

std::string FormatDouble(const char* format, double value) {
  std::optional<Conversion> c = Parse(format, "fFeEgG");
  if (!c || c->alt) c = Parse("%.15g", "g");
  return FormatReal(*c, value);
}

}  // namespace motqr::errors
