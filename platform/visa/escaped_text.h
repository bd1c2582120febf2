// Bytes as a C string literal writes them, for messages and logs that quote
// what came over the wire: "\n", "\r", "\t", "\"" and "\\" escaped, other
// control and non-ASCII bytes as "\xHH", the rest as they are.
//
//   std::string out;
//   AppendEscaped(&out, '\x01');  // out == "\\x01"
#pragma once

#include <string>

namespace motqr::visa {

inline void AppendEscaped(std::string* out, unsigned char c) {
  switch (c) {
    case '\n':
      *out += "\\n";
      break;
    case '\r':
      *out += "\\r";
      break;
    case '\t':
      *out += "\\t";
      break;
    case '"':
    case '\\':
      *out += '\\';
      *out += static_cast<char>(c);
      break;
    default:
      if (c < 0x20 || c >= 0x7F) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        *out += "\\x";
        *out += kHex[c >> 4];
        *out += kHex[c & 0xF];
      } else {
        *out += static_cast<char>(c);
      }
  }
}

}  // namespace motqr::visa
