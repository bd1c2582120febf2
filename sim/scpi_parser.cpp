#include "sim/scpi_parser.h"

namespace tqrsim {

bool ScpiParser::Next(ProgramUnit& unit, int& error) {
  if (!lexer_.Next(unit, error)) return false;
  if (error != 0 || unit.common) return true;
  if (!unit.absolute) {
    unit.nodes.insert(unit.nodes.begin(), path_.begin(), path_.end());
    unit.absolute = true;
  }
  path_.assign(unit.nodes.begin(), unit.nodes.end() - 1);
  return true;
}

}  // namespace tqrsim
