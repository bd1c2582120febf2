// Splits one SCPI program message into program message units (header and parameters).
//
// The lexer knows the IEEE 488.2 data elements: mnemonics with numeric suffixes, decimal
// numbers with exponents, #H/#Q/#B numbers, quoted strings with either quote and doubled
// quotes, definite blocks (#<n><len><data>, binary-safe) and indefinite blocks (#0...).
// It does not resolve the SCPI path; see scpi_parser.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "sim/scpi_types.h"

namespace tqrsim {

class ScpiLexer {
 public:
  explicit ScpiLexer(std::string_view message) : text_(message) {}

  // Reads the next unit. Returns false at the end of the message. On a syntax error
  // `error` receives the SCPI error number and the rest of the message is dropped.
  // Empty units (";;" or a trailing ";") are skipped.
  bool Next(ProgramUnit& unit, int& error);

 private:
  int LexHeader(ProgramUnit& unit);
  int LexParams(ProgramUnit& unit);
  int LexParam(Param& param);
  int LexNumber(Param& param);
  int LexNonDecimal(Param& param);
  int LexString(Param& param);
  int LexBlock(Param& param);
  int LexWord(Param& param);
  int LexExpression(Param& param);
  int LexMnemonic(std::string& name, int& suffix, bool split_suffix);
  void SkipBlanks();
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace tqrsim
