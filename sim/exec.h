// What a command handler sees: the parsed unit, its header suffixes, typed access to its
// parameters (each failure reported once with the right SCPI error), and the reply.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/scpi_types.h"
#include "sim/setting_tables.h"
#include "sim/tokens.h"

namespace tqrsim {

class Instrument;
class InstrumentModel;

class Exec {
 public:
  Exec(Instrument& instrument, const ProgramUnit& unit, std::vector<int> suffixes)
      : instrument_(instrument), unit_(unit), suffixes_(std::move(suffixes)) {}

  Instrument& instrument() { return instrument_; }
  InstrumentModel& model();
  const ProgramUnit& unit() const { return unit_; }
  // The numeric suffix of the i-th suffix node of the pattern (1 when left out).
  int suffix(std::size_t i = 0) const { return i < suffixes_.size() ? suffixes_[i] : 1; }
  std::size_t param_count() const { return unit_.params.size(); }

  // Checks the parameter count: -109 when too few or when an item is empty (unless
  // `allow_empty`), -108 when too many.
  bool ExpectParams(std::size_t min, std::size_t max, bool allow_empty = false);
  bool NoParams() { return ExpectParams(0, 0); }

  // A number within limits; MINimum, MAXimum and DEFault name the limits themselves.
  std::optional<double> Real(std::size_t i, const Limits& limits);
  std::optional<int> Integer(std::size_t i, int min, int max, int def);
  // ON, OFF or a number (non-zero after rounding is ON).
  std::optional<bool> Boolean(std::size_t i);
  // One of `tokens`, compared without regard to case; the index in the list.
  std::optional<int> Token(std::size_t i, TokenList tokens);
  // A quoted string.
  std::optional<std::string> QuotedString(std::size_t i);
  // Unquoted words and text, or a quoted string.
  std::optional<std::string> Word(std::size_t i);
  // A definite or indefinite block.
  const std::string* Block(std::size_t i);

  // For a query that takes an optional MIN|MAX|DEF: writes the reply and returns true,
  // or false (without reply) when there is no parameter.
  bool ReplyLimitQuery(const Limits& limits);

  void Error(int code);
  bool failed() const { return failed_; }

  void Reply(std::string_view text);
  void ReplyReal(double value);
  void ReplyInt(long long value);
  void ReplyBool(bool value) { ReplyInt(value ? 1 : 0); }
  void ReplyToken(TokenList tokens, int index);
  void ReplyQuoted(std::string_view text);
  void ReplyBlock(std::string_view data);
  bool replied() const { return replied_; }
  const std::string& reply() const { return reply_; }

 private:
  const Param* Require(std::size_t i);

  Instrument& instrument_;
  const ProgramUnit& unit_;
  std::vector<int> suffixes_;
  bool failed_ = false;
  bool replied_ = false;
  std::string reply_;
};

// Upper-case copy of an ASCII text.
std::string Upper(std::string_view text);

}  // namespace tqrsim
