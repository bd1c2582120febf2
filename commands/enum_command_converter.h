// IEnumCommandConverter: one enumeration's token table for one interface
// member, by instrument model; CEnumCommandConverter implements it over the
// rows of each model. FindEnumConverter (commands/find_enum_converter.h)
// finds the right one for a member.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "commands/enum_command.h"
#include "commands/model_based_map.h"

namespace motqr::commands {

class IEnumCommandConverter {
 public:
  // The command token of `value` for `model`; false when the table has none.
  virtual bool GetCommand(std::string_view model, std::int32_t value, std::string* token) const = 0;
  // The value whose token equals the trimmed `reply` (exact, case-sensitive).
  virtual bool GetValue(std::string_view model, std::string_view reply,
                        std::int32_t* value) const = 0;
  virtual std::int32_t GetMaxCommandLength() const = 0;

 protected:
  ~IEnumCommandConverter() = default;
};

// The reply text without white space (" \t\n\v\f\r") at either end.
std::string_view TrimWhiteSpace(std::string_view text);

// T is the enumeration type, or short for VARIANT_BOOL.
template <typename T>
class CEnumCommandConverter final : public IEnumCommandConverter {
 public:
  explicit CEnumCommandConverter(std::vector<std::unique_ptr<CEnumCommand<T>>> commands)
      : map_(std::move(commands)) {
    std::size_t longest = 0;
    for (const auto& command : map_.objects())
      longest = std::max(longest, command->MaxCommandLength());
    max_command_length_ = static_cast<std::int32_t>(longest);
  }
  ~CEnumCommandConverter() = default;

  bool GetCommand(std::string_view model, std::int32_t value, std::string* token) const override {
    const CEnumCommand<T>* command = map_.Find(model);
    if (!command || !IsRepresentable(value)) return false;
    const std::string* found = command->FindCommand(static_cast<T>(value));
    if (!found) return false;
    *token = *found;
    return true;
  }

  bool GetValue(std::string_view model, std::string_view reply,
                std::int32_t* value) const override {
    const CEnumCommand<T>* command = map_.Find(model);
    if (!command) return false;
    const std::optional<T> found = command->FindValue(TrimWhiteSpace(reply));
    if (!found) return false;
    *value = static_cast<std::int32_t>(*found);
    return true;
  }

  std::int32_t GetMaxCommandLength() const override { return max_command_length_; }

 private:
  static bool IsRepresentable(std::int32_t value) {
    using Underlying = typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                                   std::type_identity<T>>::type;
    return value >= std::numeric_limits<Underlying>::min() &&
           value <= std::numeric_limits<Underlying>::max();
  }

  CModelBasedMap<CEnumCommand<T>> map_;
  std::int32_t max_command_length_ = 0;
};

// A converter whose one table, for every model, is `rows`.
template <typename T>
std::unique_ptr<CEnumCommandConverter<T>> MakeDefaultConverter(std::span<const EnumEntry<T>> rows) {
  std::vector<std::unique_ptr<CEnumCommand<T>>> commands;
  commands.push_back(std::make_unique<CEnumCommand<T>>("", rows));
  return std::make_unique<CEnumCommandConverter<T>>(std::move(commands));
}

}  // namespace motqr::commands
