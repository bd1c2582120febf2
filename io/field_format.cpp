#include "io/field_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace motqr::io {
namespace {

// Pads `sign` + `body` to the width: blanks on the right with `-`, zeros after
// the sign when `zero_pad`, else blanks on the left.
void AppendPadded(std::string* out, const FieldSpec& spec, std::string_view sign,
                  std::string_view body, bool zero_pad) {
  const std::size_t length = sign.size() + body.size();
  const std::size_t width = spec.width > 0 ? static_cast<std::size_t>(spec.width) : 0;
  const std::size_t pad = width > length ? width - length : 0;
  if (spec.minus) {
    out->append(sign).append(body).append(pad, ' ');
  } else if (zero_pad) {
    out->append(sign).append(pad, '0').append(body);
  } else {
    out->append(pad, ' ').append(sign).append(body);
  }
}

std::string_view PositiveSign(const FieldSpec& spec) {
  if (spec.plus) return "+";
  if (spec.space) return " ";
  return "";
}

}  // namespace

void AppendInteger(std::string* out, const FieldSpec& spec, std::int64_t value, int bits) {
  const char conv = spec.conversion;
  const bool is_signed = conv == 'd' || conv == 'i';
  std::string_view sign;
  std::uint64_t magnitude;
  if (is_signed) {
    if (value < 0) {
      sign = "-";
      magnitude = 0 - static_cast<std::uint64_t>(value);
    } else {
      sign = PositiveSign(spec);
      magnitude = static_cast<std::uint64_t>(value);
    }
  } else {
    magnitude = static_cast<std::uint64_t>(value);
    if (bits < 64) magnitude &= (std::uint64_t{1} << bits) - 1;
  }
  const int base = conv == 'o' ? 8 : (conv == 'x' || conv == 'X') ? 16 : 10;

  std::array<char, 72> digits;
  char* end = digits.data();
  if (!(spec.precision == 0 && magnitude == 0)) {
    end = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude, base).ptr;
  }
  if (conv == 'X')
    std::transform(digits.data(), end, digits.data(), [](char c) {
      return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    });
  const std::size_t count = static_cast<std::size_t>(end - digits.data());
  std::string body;
  if (spec.precision > 0 && static_cast<std::size_t>(spec.precision) > count) {
    body.assign(static_cast<std::size_t>(spec.precision) - count, '0');
  }
  body.append(digits.data(), count);
  AppendPadded(out, spec, sign, body, spec.zero && spec.precision < 0);
}

void AppendReal(std::string* out, const FieldSpec& spec, double value) {
  const char conv = spec.conversion;
  const bool upper = conv == 'E' || conv == 'G';
  const std::string_view sign = std::signbit(value) ? "-" : PositiveSign(spec);
  const double magnitude = std::fabs(value);

  // Fixed notation of the largest double with the largest precision fits.
  std::array<char, 320 + kMaxFieldWidth + 16> text;
  char* end;
  if (std::isnan(magnitude)) {
    end = std::copy_n("nan", 3, text.data());
  } else if (std::isinf(magnitude)) {
    end = std::copy_n("inf", 3, text.data());
  } else {
    const int precision = std::min(spec.precision < 0 ? 6 : spec.precision, kMaxFieldWidth);
    std::chars_format format = std::chars_format::general;
    if (conv == 'f') format = std::chars_format::fixed;
    if (conv == 'e' || conv == 'E') format = std::chars_format::scientific;
    end = std::to_chars(text.data(), text.data() + text.size(), magnitude, format, precision).ptr;
  }
  if (upper)
    std::transform(text.data(), end, text.data(), [](char c) {
      return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
  const bool finite = std::isfinite(magnitude);
  AppendPadded(out, spec, sign,
               std::string_view(text.data(), static_cast<std::size_t>(end - text.data())),
               spec.zero && finite);
}

void AppendText(std::string* out, const FieldSpec& spec, std::string_view text) {
  if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < text.size()) {
    text = text.substr(0, static_cast<std::size_t>(spec.precision));
  }
  AppendPadded(out, spec, "", text, false);
}

}  // namespace motqr::io
