// The enumerations of the component interfaces by name, from interfaces/enums.def:
// each member under its full name (MorvaneTqrOutputFunctionModePulse) and a short
// one (Pulse), for printing values and reading them back from the command line.
//
//   const EnumInfo& modes = EnumInfoOf<MorvaneTqrOutputFunctionModeEnum>();
//   modes.ShortName(2) == "Pulse";   *modes.Parse("pulse") == 2;
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/enums.h"

namespace motqr::cli {

class EnumInfo {
 public:
  struct Member {
    std::string_view name;  // as the type library spells it
    std::int32_t value;
    std::string short_name;
  };
  struct Row {
    std::string_view name;
    std::int32_t value;
  };

  EnumInfo(std::string_view name, std::initializer_list<Row> rows);

  std::string_view name() const { return name_; }
  std::span<const Member> members() const { return members_; }
  // The short name of a value, or the value in decimal when no member has it.
  std::string ShortName(std::int32_t value) const;
  // A short or full member name in any letter case, or a member's value in decimal.
  std::optional<std::int32_t> Parse(std::string_view text) const;
  // "DC|IV|Pulse|...": the accepted short names.
  std::string Choices() const;

 private:
  std::string_view name_;
  std::vector<Member> members_;
};

template <class E>
const EnumInfo& EnumInfoOf();

#define MOTQR_ENUM_BEGIN(Enum) \
  template <>                  \
  const EnumInfo& EnumInfoOf<Enum>();
#include "interfaces/enums.def"

// Every enumeration of enums.def, in file order.
std::span<const EnumInfo* const> AllEnums();

}  // namespace motqr::cli
