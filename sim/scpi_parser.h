// Walks a program message unit by unit and applies the SCPI path rules: a header with a
// leading colon starts at the root; a header without one continues from the path of the
// previous header (that header without its last node); common commands (*XXX) leave the
// path alone; each new message starts at the root.
#pragma once

#include <string_view>
#include <vector>

#include "sim/scpi_lexer.h"
#include "sim/scpi_types.h"

namespace tqrsim {

class ScpiParser {
 public:
  explicit ScpiParser(std::string_view message) : lexer_(message) {}

  // Next unit with `nodes` holding the full path from the root. Returns false at the end.
  // A syntax error comes back as `error` (the unit is then not usable) and ends the message.
  bool Next(ProgramUnit& unit, int& error);

 private:
  ScpiLexer lexer_;
  std::vector<HeaderNode> path_;
};

}  // namespace tqrsim
