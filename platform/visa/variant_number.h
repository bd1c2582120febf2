// The number a VARIANT holds, read one way by every VISA object: the value
// handed to SetAttribute and the numbers the formatted writer writes. A boolean
// counts as 1 or 0 (not COM's -1); an unsigned 64-bit value must fit the signed
// range. Where the callers differ is a rule they pass: which reals count, and
// what becomes of a fraction when a whole number is wanted.
//
//   std::int64_t n = 0;
//   VariantToInteger(v, kAttributeNumbers, INT64_MIN, INT64_MAX, &n);  // 2.0 -> 2, 2.5 refused
//   VariantToInteger(v, kFormattedNumbers, INT16_MIN, INT16_MAX, &n);  // 2.5 -> 2, 3.5 -> 4
#pragma once

#include <cstdint>

#include "platform/com/variant.h"

namespace motqr::visa {

using com::HRESULT;

enum class Fraction {
  kRefused,
  // To the nearest whole number, a tie to the even one (2.5 -> 2, -3.5 -> -4), whatever the
  // floating-point rounding mode of the process.
  kRoundedHalfToEven,
};

struct NumberRule {
  Fraction fraction;
  // VT_R4 and number text (VT_BSTR) count, besides the integer types and VT_R8.
  bool takes_single_and_text;
};

// SetAttribute: integer types, and a VT_R8 only when it is a whole number.
inline constexpr NumberRule kAttributeNumbers{Fraction::kRefused, false};
// The formatted writer: integer types, reals and number text; fractions round.
inline constexpr NumberRule kFormattedNumbers{Fraction::kRoundedHalfToEven, true};

// A number as a VARIANT holds it: a whole number of an integer type (or integer text), or a
// real.
struct VariantNumber {
  bool is_integer = false;
  std::int64_t integer = 0;
  double real = 0;
};

// The number `v` holds; DISP_E_TYPEMISMATCH when it holds none that `rule` takes (any
// VT_BYREF or VT_ARRAY value, VT_EMPTY, text that is not a number, ...).
HRESULT ReadVariantNumber(const com::VARIANT& v, NumberRule rule, VariantNumber* n);

// `n` as a whole number in [low, high]: DISP_E_TYPEMISMATCH for a fraction the rule refuses,
// DISP_E_OVERFLOW outside the range (a real beyond +-9e18, a NaN or an infinity always).
HRESULT WholeNumber(const VariantNumber& n, Fraction fraction, std::int64_t low, std::int64_t high,
                    std::int64_t* value);

// Both: the whole number `v` holds under `rule`, in [low, high].
HRESULT VariantToInteger(const com::VARIANT& v, NumberRule rule, std::int64_t low,
                         std::int64_t high, std::int64_t* value);

}  // namespace motqr::visa
