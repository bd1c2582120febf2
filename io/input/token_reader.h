// Reads one text field of a reply by the rules of its class:
//
// | class     | leading space | stops before           | stop char       | when `max` is reached |
// |-----------|---------------|------------------------|-----------------|----------------------------------|
// | `s`       | skipped       | a space character      | given back      | rest of the field and
// the space  | |           |               |                        |                 | after it
// are read and dropped    | | `t`       | kept          | end of the response    | - | rest of the
// response dropped     | | `T`       | kept          | a line feed            | stored, consumed|
// rest of the line dropped         | | `[set]`   | kept          | a char outside the set | given
// back      | nothing more is read             |
//
// Every field also ends at the end of the response. List elements also stop
// before a separator of the list. With a quote character, a quoted part may
// hold stop characters; the quotes are not stored and a doubled quote inside
// a quoted part stands for one quote.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "io/input/reply_reader.h"
#include "io/input/scan_format.h"

namespace motqr::io {

// Longest text field kept without a width: a longer one fails with
// E_OUTOFMEMORY rather than growing without bound.
inline constexpr std::int64_t kMaxTextField = 16 * 1024 * 1024;

// The characters of a `[set]` (ranges such as `0-9` included), already
// inverted for `[^...]`: true means "belongs to the field".
using CharTable = std::array<bool, 256>;
CharTable MakeCharTable(std::string_view set, bool negated);

struct TokenRules {
  ScanClass kind = ScanClass::kString;  // kString, kRest, kLine or kCharSet
  const CharTable* set = nullptr;       // kCharSet
  const ScanDirective* list = nullptr;  // list element: its separators also stop
  char quote = 0;                       // 0, '\'' or '"'
  std::int64_t max = -1;                // characters stored at most; -1: no maximum
};

// Appends the field to *text (which the caller clears). S_OK, a failure of
// the buffer, or E_OUTOFMEMORY past kMaxTextField.
HRESULT ReadToken(ReplyReader& reader, const TokenRules& rules, std::string* text);

}  // namespace motqr::io
