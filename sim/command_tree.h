// The instrument's command tree: header patterns such as
// "[:SOURce]:VOLTage[:LEVel][:IMMediate][:AMPLitude]" or "PROGram:STEP#:DWELl", each with
// a set handler and/or a query handler. Upper-case letters of a node give its short form;
// the whole node is the long form; either is accepted, in any case, and nothing in between.
// "[...]" marks an optional node and "#" a node that takes a numeric suffix (default 1).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/scpi_types.h"

namespace tqrsim {

class Exec;
using Handler = std::function<void(Exec&)>;

struct PatternNode {
  std::string short_form;
  std::string long_form;
  bool optional = false;
  bool takes_suffix = false;
};

struct CommandEntry {
  std::string pattern;
  std::vector<PatternNode> nodes;
  Handler set;
  Handler query;
};

class CommandTree {
 public:
  // Adds a pattern; either handler may be empty (no set form or no query form).
  void Add(std::string_view pattern, Handler set, Handler query);

  // Finds the entry for a resolved header. `suffixes` receives one value per suffix node
  // of the pattern (1 where the header left the suffix out). Null when nothing matches.
  const CommandEntry* Find(const ProgramUnit& unit, std::vector<int>& suffixes) const;

  std::size_t size() const { return entries_.size(); }

  static std::vector<PatternNode> ParsePattern(std::string_view pattern);

 private:
  std::vector<CommandEntry> entries_;
};

}  // namespace tqrsim
