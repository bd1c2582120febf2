// Locale-free printf-style conversion of one value into text: the flags
// `-` `+` space `0`, a width, a precision and one conversion character, with
// the results the standard printf family gives in the "C" locale. A caller
// running under a decimal-comma locale still gets "1.5".
//
//   FieldSpec spec;  spec.zero = true;  spec.precision = 6;  spec.conversion = 'g';
//   std::string out;  AppendReal(&out, spec, 0.25);   // "0.25"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace motqr::io {

// Widths and precisions above this are refused by the engine, so one field
// never grows without bound.
inline constexpr std::int32_t kMaxFieldWidth = 1024;

struct FieldSpec {
  bool minus = false;           // left-justify
  bool plus = false;            // sign on positive numbers
  bool space = false;           // blank in place of a plus sign
  bool zero = false;            // pad numbers with zeros after the sign
  std::int32_t width = -1;      // -1: none
  std::int32_t precision = -1;  // -1: none
  char conversion = 'd';
};

// `d` `i`: the value as signed; `o` `u` `x` `X`: `bits` low bits as unsigned.
void AppendInteger(std::string* out, const FieldSpec& spec, std::int64_t value, int bits);
// `f` `e` `E` `g` `G`.
void AppendReal(std::string* out, const FieldSpec& spec, double value);
// `s`: the precision cuts the text, the width pads it.
void AppendText(std::string* out, const FieldSpec& spec, std::string_view text);

}  // namespace motqr::io
