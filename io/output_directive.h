// The directives of an output format: the classes a format is cut into and
// what each directive says (flags, width, precision, size, list mark, count,
// array and string markers), read once when the format is first seen.
//
//   ParsedOutputFormat scratch;
//   const ParsedOutputFormat* parsed;
//   if (ParseOutputFormatCached(":PROG:STEP%d:DWEL %0.6lg", &scratch, &parsed) == S_OK)
//     for (const OutputDirective& d : parsed->directives) ...
//
// At each position of the format the classes are tried in the order of
// OutputDirectiveClass; the first that matches there wins. A format that
// cannot be cut to its end is refused whole with E_UNEXPECTED.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/io_status.h"

namespace motqr::io {

enum class OutputDirectiveClass : std::uint8_t {
  kLiteral = 0,
  kInteger = 1,
  kIntegerList = 2,
  kReal = 3,
  kRealList = 4,
  kBlock = 5,
  kIndefiniteBlock = 6,
  kRawBinary = 7,
  kChar = 8,
  kString = 9,
  kStringList = 10,
  kEnum = 11,
  kEnumList = 12,
};

inline constexpr int kOutputDirectiveClassCount = 13;

struct OutputDirective {
  OutputDirectiveClass directive_class = OutputDirectiveClass::kLiteral;
  std::uint32_t start = 0;   // of the directive text in the format
  std::uint32_t length = 0;  // of the directive text
  // printf part
  bool minus = false;
  bool plus = false;
  bool space = false;
  bool zero = false;
  char numeric = 0;  // IEEE 488.2 numeric format after `@`: '1' '2' '3' 'H' 'Q' 'B'
  bool width_star = false;
  bool precision_star = false;
  std::int32_t width = -1;
  std::int32_t precision = -1;
  char size = 0;  // 'l' 'h' 'b' 'I' 'L' 'z' 'Z' or 0
  char conversion = 0;
  // lists, blocks, raw binary
  char separator = 0;  // list separator; 0 for a directive that is not a list
  bool count_star = false;
  std::int32_t count = -1;     // -1: none given
  bool safe_array = false;     // $S
  bool little_endian = false;  // !ol
  // strings and enumerations
  char string_kind = 0;          // 'B' ($B) or 'C' ($C)
  char quote = 0;                // 'q' or 'Q'
  std::uint32_t name_start = 0;  // enumeration type name in the format
  std::uint32_t name_length = 0;

  bool IsList() const { return separator != 0; }
};

struct ParsedOutputFormat {
  std::string format;
  std::vector<OutputDirective> directives;

  std::string_view Text(const OutputDirective& d) const {
    return std::string_view(format).substr(d.start, d.length);
  }
  std::string_view EnumName(const OutputDirective& d) const {
    return std::string_view(format).substr(d.name_start, d.name_length);
  }
};

// Cuts `format` into directives. E_UNEXPECTED when some text matches no class.
HRESULT ParseOutputFormat(std::string_view format, ParsedOutputFormat* parsed);

// As ParseOutputFormat, remembering each distinct format so that it is cut
// only once per process (thread-safe). `*parsed` points at the remembered form,
// which lives until the module unloads; once the cache holds its maximum
// number of formats, new ones are cut into `*scratch` on every call.
HRESULT ParseOutputFormatCached(std::string_view format, ParsedOutputFormat* scratch,
                                const ParsedOutputFormat** parsed);

}  // namespace motqr::io
