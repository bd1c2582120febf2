// Reads one number field of a reply: an integer in base 8, 10 or 16, an
// IEEE 488.2 non-decimal number ("#H1A", "#Q17", "#B101"), or a decimal number
// with optional fraction and exponent ("-1.5E+03"). Conversion never depends
// on the process locale.
#pragma once

#include <cstdint>
#include <string_view>

#include "io/input/reply_field.h"

namespace motqr::io {

// Longest number field accepted (sign, digits, point and exponent); a longer
// field is refused rather than buffered.
inline constexpr std::int32_t kMaxNumberField = 512;

// How the field is written: the conversion character (`d` `i` `u`: decimal,
// `o`: octal, `x`: hexadecimal) and the numeric format (0, `1` `2` `3`: decimal
// real, `H` `Q` `B`: "#H"/"#Q"/"#B" prefixed).
struct NumberForm {
  char conversion = 'd';
  char numeric = 0;
  std::int32_t width = 0;  // at most this many characters; 0: no limit
};

// Leading white space is skipped. On S_OK *value holds the number (a decimal
// real is truncated toward zero) and *chars the characters of the field. A
// field without digits, malformed, or outside the signed 64-bit range gives
// E_UNEXPECTED; a failure of the buffer is returned as it is.
HRESULT ReadIntegerField(ReplyReader& reader, const NumberForm& form, std::int64_t* value,
                         std::int32_t* chars);

// As ReadIntegerField for a real: `H` `Q` `B` forms read an integer and give
// it as a real; every other form reads a decimal real. A magnitude beyond the
// destination's range gives E_UNEXPECTED; one below its smallest value gives 0.
HRESULT ReadRealField(ReplyReader& reader, const NumberForm& form, double* value,
                      std::int32_t* chars);
HRESULT ReadRealField(ReplyReader& reader, const NumberForm& form, float* value,
                      std::int32_t* chars);

// A whole reply that is one decimal real and nothing else ("+1.500000E+00", no
// white space, sign, digits, point and exponent as ReadRealField takes them):
// true and its value, the same as ReadRealField reads. False for anything
// else, also for a number ReadRealField would refuse or take as 0: the caller
// then reads the reply the general way.
bool ParseWholeReal(std::string_view text, double* value);

}  // namespace motqr::io
