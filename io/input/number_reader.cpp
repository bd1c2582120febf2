#include "io/input/number_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace motqr::io {
namespace {

using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

int BaseOf(char numeric_or_conversion) {
  switch (numeric_or_conversion) {
    case 'H':
    case 'x':
      return 16;
    case 'Q':
    case 'o':
      return 8;
    case 'B':
      return 2;
    default:
      return 10;
  }
}

// Magnitude of the digits read so far, with overflow noted.
struct Magnitude {
  std::uint64_t value = 0;
  std::int32_t digits = 0;
  bool overflow = false;

  void Add(int digit, int base) {
    ++digits;
    const auto b = static_cast<std::uint64_t>(base);
    const auto d = static_cast<std::uint64_t>(digit);
    if (value > (std::numeric_limits<std::uint64_t>::max() - d) / b) {
      overflow = true;
      return;
    }
    value = value * b + d;
  }
};

HRESULT TooLong(const ReplyField& field) {
  return field.taken() > kMaxNumberField ? E_UNEXPECTED : S_OK;
}

// Takes the characters that are digits of `base`.
HRESULT ReadDigits(ReplyField& field, int base, Magnitude* m) {
  for (;;) {
    char c = 0;
    bool got = false;
    const HRESULT hr = field.Peek(&c, &got);
    if (Failed(hr) || !got) return hr;
    const int digit = DigitValue(c);
    if (digit >= base) return S_OK;
    field.Take();
    m->Add(digit, base);
    if (Failed(TooLong(field))) return E_UNEXPECTED;
  }
}

// Takes the next character when it is `a` or `b`; *taken tells.
HRESULT TakeIf(ReplyField& field, char a, char b, char* which) {
  *which = 0;
  char c = 0;
  bool got = false;
  const HRESULT hr = field.Peek(&c, &got);
  if (Failed(hr) || !got || (c != a && c != b)) return hr;
  field.Take();
  *which = c;
  return S_OK;
}

HRESULT SignedValue(bool negative, const Magnitude& m, std::int64_t* value) {
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
  if (m.digits == 0 || m.overflow) return E_UNEXPECTED;
  if (!negative) {
    if (m.value > kMaxPositive) return E_UNEXPECTED;
    *value = static_cast<std::int64_t>(m.value);
    return S_OK;
  }
  if (m.value > kMaxPositive + 1) return E_UNEXPECTED;
  *value = m.value == kMaxPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                       : -static_cast<std::int64_t>(m.value);
  return S_OK;
}

// [+|-] digits of the conversion's base; hexadecimal may start with "0x".
HRESULT ReadPlainInteger(ReplyField& field, char conversion, std::int64_t* value) {
  const int base = BaseOf(conversion);
  char sign = 0;
  HRESULT hr = TakeIf(field, '+', '-', &sign);
  if (Failed(hr)) return hr;
  Magnitude m;
  if (base == 16) {
    char zero = 0;
    hr = TakeIf(field, '0', '0', &zero);
    if (Failed(hr)) return hr;
    if (zero != 0) {
      m.Add(0, base);
      char x = 0;
      hr = TakeIf(field, 'x', 'X', &x);
      if (Failed(hr)) return hr;
    }
  }
  hr = ReadDigits(field, base, &m);
  if (Failed(hr)) return hr;
  return SignedValue(sign == '-', m, value);
}

// "#H1A", "#Q17", "#B101" (the letter in either case).
HRESULT ReadBasedInteger(ReplyField& field, char numeric, std::int64_t* value) {
  char hash = 0;
  HRESULT hr = TakeIf(field, '#', '#', &hash);
  if (Failed(hr)) return hr;
  if (hash == 0) return E_UNEXPECTED;
  const char lower = static_cast<char>(numeric - 'A' + 'a');
  char letter = 0;
  hr = TakeIf(field, numeric, lower, &letter);
  if (Failed(hr)) return hr;
  if (letter == 0) return E_UNEXPECTED;
  Magnitude m;
  hr = ReadDigits(field, BaseOf(numeric), &m);
  if (Failed(hr)) return hr;
  return SignedValue(false, m, value);
}

// The text of a decimal number: [+|-] digits [. digits] [(e|E) [+|-] digits],
// with at least one mantissa digit; `order` is the decimal exponent of its
// leading significant digit plus one (the number lies below 10^order).
struct DecimalText {
  char text[kMaxNumberField + 1];  // the first `length` characters are set
  std::int32_t length = 0;
  bool negative = false;
  std::int64_t order = 0;
};

class DecimalReader {
 public:
  explicit DecimalReader(ReplyField& field) : field_(field) {}

  HRESULT Read(DecimalText* out) {
    out_ = out;
    HRESULT hr = Sign();
    if (Failed(hr)) return hr;
    out_->negative = out_->length > 0 && out_->text[0] == '-';
    hr = Mantissa();
    if (Failed(hr)) return hr;
    if (int_digits_ + frac_digits_ == 0) return E_UNEXPECTED;
    char e = 0;
    hr = Take('e', 'E', &e);
    if (Failed(hr)) return hr;
    std::int64_t exponent = 0;
    if (e != 0) {
      hr = Exponent(&exponent);
      if (Failed(hr)) return hr;
    }
    out_->order = (significant_int_digits_ > 0 ? significant_int_digits_ : -frac_zeros_) + exponent;
    return S_OK;
  }

 private:
  HRESULT Take(char a, char b, char* which) {
    const HRESULT hr = TakeIf(field_, a, b, which);
    if (Failed(hr) || *which == 0) return hr;
    if (out_->length >= kMaxNumberField) return E_UNEXPECTED;
    out_->text[out_->length++] = *which;
    return S_OK;
  }
  HRESULT Sign() {
    char s = 0;
    return Take('+', '-', &s);
  }
  // Digits, then optionally a point and more digits.
  HRESULT Mantissa() {
    bool after_point = false;
    bool seen_nonzero = false;
    for (;;) {
      char c = 0;
      bool got = false;
      const HRESULT hr = field_.Peek(&c, &got);
      if (Failed(hr) || !got) return hr;
      if (c == '.' && !after_point) {
        after_point = true;
      } else if (c >= '0' && c <= '9') {
        seen_nonzero = seen_nonzero || c != '0';
        if (after_point) {
          ++frac_digits_;
          if (!seen_nonzero && significant_int_digits_ == 0) ++frac_zeros_;
        } else {
          ++int_digits_;
          if (seen_nonzero) ++significant_int_digits_;
        }
      } else {
        return S_OK;
      }
      if (out_->length >= kMaxNumberField) return E_UNEXPECTED;
      field_.Take();
      out_->text[out_->length++] = c;
    }
  }
  // After the `e`: a sign and at least one digit.
  HRESULT Exponent(std::int64_t* exponent) {
    char s = 0;
    HRESULT hr = Take('+', '-', &s);
    if (Failed(hr)) return hr;
    std::int32_t digits = 0;
    std::int64_t value = 0;
    for (;;) {
      char c = 0;
      bool got = false;
      hr = field_.Peek(&c, &got);
      if (Failed(hr)) return hr;
      if (!got || c < '0' || c > '9') break;
      if (out_->length >= kMaxNumberField) return E_UNEXPECTED;
      field_.Take();
      out_->text[out_->length++] = c;
      value = std::min<std::int64_t>(value * 10 + (c - '0'), 1'000'000'000);
      ++digits;
    }
    if (digits == 0) return E_UNEXPECTED;
    *exponent = s == '-' ? -value : value;
    return S_OK;
  }

  ReplyField& field_;
  DecimalText* out_ = nullptr;
  std::int64_t int_digits_ = 0;
  std::int64_t significant_int_digits_ = 0;
  std::int64_t frac_digits_ = 0;
  std::int64_t frac_zeros_ = 0;
};

template <class T>
HRESULT ConvertDecimal(const DecimalText& d, T* value) {
  const char* first = d.text;
  const char* last = d.text + d.length;
  if (first != last && *first == '+') ++first;
  T v{};
  const auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (d.order > 0) return E_UNEXPECTED;  // too large for T
    *value = d.negative ? -T{0} : T{0};    // too small: zero
    return S_OK;
  }
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return E_UNEXPECTED;
  *value = v;
  return S_OK;
}

bool IsBased(char numeric) { return numeric == 'H' || numeric == 'Q' || numeric == 'B'; }

template <class T>
HRESULT ReadReal(ReplyReader& reader, const NumberForm& form, T* value, std::int32_t* chars) {
  ReplyField field(reader, form.width);
  HRESULT hr = field.SkipSpace();
  if (Failed(hr)) return hr;
  if (IsBased(form.numeric)) {
    std::int64_t integer = 0;
    hr = ReadBasedInteger(field, form.numeric, &integer);
    if (com::Succeeded(hr)) *value = static_cast<T>(integer);
  } else {
    DecimalText text;
    hr = DecimalReader(field).Read(&text);
    if (com::Succeeded(hr)) hr = ConvertDecimal(text, value);
  }
  *chars = field.taken();
  const HRESULT give_back = field.Finish();
  if (Failed(hr)) return hr;
  return give_back;
}

}  // namespace

HRESULT ReadIntegerField(ReplyReader& reader, const NumberForm& form, std::int64_t* value,
                         std::int32_t* chars) {
  ReplyField field(reader, form.width);
  HRESULT hr = field.SkipSpace();
  if (Failed(hr)) return hr;
  if (IsBased(form.numeric)) {
    hr = ReadBasedInteger(field, form.numeric, value);
  } else if (form.numeric != 0) {
    DecimalText text;
    double real = 0;
    hr = DecimalReader(field).Read(&text);
    if (com::Succeeded(hr)) hr = ConvertDecimal(text, &real);
    // Truncated toward zero; the magnitude must fit a signed 64-bit integer.
    if (com::Succeeded(hr) && !(std::fabs(real) < 9.2233720368547758e18)) hr = E_UNEXPECTED;
    if (com::Succeeded(hr)) *value = static_cast<std::int64_t>(real);
  } else {
    hr = ReadPlainInteger(field, form.conversion, value);
  }
  *chars = field.taken();
  const HRESULT give_back = field.Finish();
  if (Failed(hr)) return hr;
  return give_back;
}

HRESULT ReadRealField(ReplyReader& reader, const NumberForm& form, double* value,
                      std::int32_t* chars) {
  return ReadReal(reader, form, value, chars);
}

HRESULT ReadRealField(ReplyReader& reader, const NumberForm& form, float* value,
                      std::int32_t* chars) {
  return ReadReal(reader, form, value, chars);
}

namespace {

// [-]digits[.digits][(e|E)[+|-]digits] with at most 15 significant digits and a
// power of ten within 10^±22: the mantissa and the power are both exact
// doubles, so one multiplication or division rounds the value correctly, to
// what std::from_chars gives. False for anything else.
bool ExactShortDecimal(const char* first, const char* last, double* value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kMaxPower = 22;
  constexpr int kMaxSignificant = 15;
  const bool negative = first != last && *first == '-';
  if (negative) ++first;
  std::uint64_t mantissa = 0;
  int significant = 0;
  int exponent = 0;
  bool digits = false;
  bool point = false;
  for (; first != last; ++first) {
    const char c = *first;
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    digits = true;
    if (mantissa != 0 || c != '0') {
      if (++significant > kMaxSignificant) return false;
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (point) --exponent;
  }
  if (!digits) return false;
  if (first != last) {
    if (*first != 'e' && *first != 'E') return false;
    ++first;
    const bool minus = first != last && *first == '-';
    if (first != last && (*first == '+' || *first == '-')) ++first;
    if (first == last) return false;
    int power = 0;
    for (; first != last; ++first) {
      if (*first < '0' || *first > '9') return false;
      power = power * 10 + (*first - '0');
      if (power > 2 * kMaxPower + kMaxSignificant) return false;
    }
    exponent += minus ? -power : power;
  }
  if (exponent < -kMaxPower || exponent > kMaxPower) return false;
  double v = static_cast<double>(mantissa);
  v = exponent < 0 ? v / kPowersOfTen[-exponent] : v * kPowersOfTen[exponent];
  *value = negative ? -v : v;
  return true;
}

}  // namespace

bool ParseWholeReal(std::string_view text, double* value) {
  // Short texts only: a longer one is left to the reader and its field limit.
  constexpr std::size_t kLongest = 64;
  if (text.empty() || text.size() > kLongest) return false;
  // The reader takes one sign; std::from_chars takes a minus only. What from_chars
  // reads whole and finite besides is [-]digits[.digits][(e|E)[+|-]digits] with a
  // mantissa digit, which the reader takes the same way (and converts with it).
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') {
    ++first;
    if (first == last || *first == '-' || *first == '+') return false;
  }
  if (ExactShortDecimal(first, last, value)) return true;
  double v = 0;
  const auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

}  // namespace motqr::io
