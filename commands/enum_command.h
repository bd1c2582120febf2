// CEnumCommand: the tokens of one enumeration for one model key, as two hash
// maps -- value to command token and token to value -- built from rows.
//
//   constexpr EnumEntry<Mode> kRows[] = {{kDc, {"DC"}}, {kPulse, {"PULS"}}};
//   CEnumCommand<Mode> command("", kRows);
//   command.FindCommand(kPulse);   // "PULS"
//   command.FindValue("PULS");     // kPulse
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "commands/enum_entry.h"
#include "commands/model_based_type.h"
#include "driver/string_hash.h"

namespace motqr::commands {

template <typename T>
class CEnumCommand : public CModelBasedType {
 public:
  // Rows are taken in order and a later row wins: a token shared by two rows
  // reads back as the later row's value.
  CEnumCommand(std::string_view model_key, std::span<const EnumEntry<T>> rows)
      : CModelBasedType(model_key) {
    commands_.reserve(rows.size());
    for (const EnumEntry<T>& row : rows) {
      commands_.insert_or_assign(row.value, std::string(row.tokens.command()));
      for (std::string_view token : row.tokens)
        values_.insert_or_assign(std::string(token), row.value);
    }
  }

  // The command token of `value` (possibly ""), or null when no row has it.
  const std::string* FindCommand(T value) const {
    auto it = commands_.find(value);
    return it == commands_.end() ? nullptr : &it->second;
  }

  // The value whose token is exactly `token`.
  std::optional<T> FindValue(std::string_view token) const {
    auto it = values_.find(token);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }

  std::size_t MaxCommandLength() const {
    std::size_t longest = 0;
    for (const auto& [value, command] : commands_) longest = std::max(longest, command.size());
    return longest;
  }

 private:
  std::unordered_map<T, std::string> commands_;
  std::unordered_map<std::string, T, driver::StringHash, driver::StringEqual> values_;
};

}  // namespace motqr::commands
