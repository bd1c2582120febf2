// Cuts a reply format ("%lf;%lf", "%$C[^,], %d", "%,$Slf", "%{VARIANT_BOOL}[^\n]", ...)
// into directive records, one per literal run or `%` directive, with the parts
// of each directive already taken apart. A format that cannot be cut to its end
// is refused whole.
//
//   std::vector<ScanDirective> records;
//   if (CutScanFormat("%d,%$Ct", &records) != S_OK) ...   // E_UNEXPECTED
//   records[0].cls == ScanClass::kInteger
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "io/io_status.h"

namespace motqr::io {

// Directive classes of the reply parser, in the order they are tried.
enum class ScanClass : std::uint32_t {
  kLiteral = 0,
  kInteger = 1,
  kIntegerList = 2,
  kReal = 3,
  kRealList = 4,
  kBlock = 5,
  kRawBinary = 6,
  kChar = 7,
  kLine = 8,
  kRest = 9,
  kString = 10,
  kCharSet = 11,
  kStringList = 12,
  kEnum = 13,
  kEnumSet = 14,
  kEnumList = 15,
};

// A width or count: absent, written as digits, or taken from a `#` argument.
struct ScanField {
  enum class Kind : std::uint8_t { kNone, kDigits, kArgument };
  Kind kind = Kind::kNone;
  std::int32_t digits = 0;  // kDigits: the value (saturated at INT32_MAX)

  bool present() const { return kind != Kind::kNone; }
};

struct ScanDirective {
  ScanClass cls = ScanClass::kLiteral;
  std::uint32_t start = 0;  // directive text in the format
  std::uint32_t length = 0;

  bool suppress = false;    // `*`
  char numeric = 0;         // `@1` `@2` `@3` `@H` `@Q` `@B`: the character after `@`
  ScanField width;          // element width; for blocks and raw binary the count
  ScanField count;          // list count (after the list mark)
  char separators[8] = {};  // list mark characters, as they appear in the reply
  std::uint8_t separator_count = 0;
  bool little_endian = false;  // `!ol`
  bool safe_array = false;     // `$S`
  char text_kind = 0;          // `B` (wide string) or `C` (string object), else 0
  char quote = 0;              // `'` for `q`, `"` for `Q`
  char size = 0;               // `l` `L` `h` `b` `I` `z` `Z`, else 0
  char conversion = 0;         // `d` `f` `b` `y` `c` `T` `t` `s`, or `[` for a set
  bool set_negated = false;    // `[^...]`
  std::string_view set;        // characters between `[` (or `[^`) and `]`
  std::string_view type_name;  // `{Type}`, blanks trimmed
  std::string_view text;       // the directive's text (the literal for kLiteral)

  bool IsList() const { return separator_count > 0; }
  bool IsSeparator(char c) const {
    for (std::uint8_t i = 0; i < separator_count; ++i) {
      if (separators[i] == c) return true;
    }
    return false;
  }
};

// S_OK and the records, or E_UNEXPECTED (records cleared) when some text of
// the format matches no directive class.
HRESULT CutScanFormat(std::string_view format, std::vector<ScanDirective>* records);

// The same, cut once per thread and kept: the driver reads its replies with a few dozen
// formats over and over. *records points at the kept records (never changed afterwards, so a
// scan nested in another may use them), or at *scratch for a format past the thread's limit
// of kept formats or too long to keep. A format that cannot be cut is not kept, and *records
// is left as it was.
HRESULT CutScanFormatCached(std::string_view format, std::vector<ScanDirective>* scratch,
                            const std::vector<ScanDirective>** records);

}  // namespace motqr::io
