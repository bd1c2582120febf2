// The enumerations whose names the formatted I/O directives may use, in the
// order the names are matched, each with the members that convert it.
//
//   const Enumeration* e = FindEnumeration("MorvaneTqrOutputFunctionModeEnum");
//   e->members();   // CurrentMode, PowerMode, VoltageMode and their tables
#pragma once

#include <span>
#include <string_view>

#include "commands/enum_tables.h"

namespace motqr::commands {

// The names an enumeration answers to, besides its short name.
enum class NameForms {
  kShortOnly,   // "VARIANT_BOOL"
  kInstrument,  // "MorvaneTqr" + short + "Enum", "MorvaneTqr" + short, short + "Enum"
  kClass,       // "IviDCPwr" + short + "Enum", "IviDCPwr" + short, short + "Enum"
};

struct Enumeration {
  std::string_view short_name;
  NameForms forms;
  // The members that convert this enumeration, the first one also standing
  // for an empty member name; null when the enumeration has no tokens.
  MemberTables (*members)();
  // The table of any member not listed; null when such a member has none.
  ConverterGetter unlisted_member;
};

std::span<const Enumeration> Enumerations();

// Whether `name` is one of the names `enumeration` answers to (exact match).
bool AnswersTo(const Enumeration& enumeration, std::string_view name);

// The first enumeration, in match order, that answers to `name`; null if none.
const Enumeration* FindEnumeration(std::string_view name);

}  // namespace motqr::commands
