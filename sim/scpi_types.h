// Parsed form of one SCPI program message unit: header nodes, query mark and parameters.
#pragma once

#include <string>
#include <vector>

namespace tqrsim {

enum class ParamKind {
  kNumeric,    // decimal or #H/#Q/#B non-decimal numeric data; `number` holds the value
  kCharacter,  // a mnemonic-like word such as MIN, ON or PULS (at most 12 characters)
  kText,       // unquoted free text such as Asia/Tokyo or UTC+09:00
  kString,     // quoted string; `text` holds the contents with doubled quotes undone
  kBlock,      // definite or indefinite block; `text` holds the raw bytes
  kEmpty,      // nothing between two commas
};

struct Param {
  ParamKind kind = ParamKind::kEmpty;
  std::string text;
  double number = 0.0;
};

struct HeaderNode {
  std::string name;  // upper case, without the numeric suffix
  int suffix = -1;   // -1 when the node carries no numeric suffix
};

struct ProgramUnit {
  bool common = false;    // an IEEE 488.2 common command such as *IDN?
  bool absolute = false;  // the header started with a colon
  bool query = false;
  std::vector<HeaderNode> nodes;  // after path resolution: the full path from the root
  std::vector<Param> params;
};

}  // namespace tqrsim
