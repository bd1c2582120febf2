// The token tables, grouped by enumeration: for each enumeration the interface
// members that convert it and the table each of them uses. The table files
// (tables_*.cpp) hold the rows; enumerations.cpp lists the enumerations in the
// order their names are matched.
#pragma once

#include <iterator>
#include <ranges>
#include <span>
#include <string_view>

#include "commands/enum_command_converter.h"
#include "commands/enum_entry.h"

namespace motqr::commands {

using ConverterGetter = const IEnumCommandConverter& (*)();

// One interface member (qualified name) and the table it converts with.
struct MemberTable {
  std::string_view member;
  ConverterGetter converter;
};
using MemberTables = std::span<const MemberTable>;

// The converter of one table of rows, built on first use -- once per process,
// under the thread-safe initialisation of a function-local static -- and kept
// until the module unloads. A failure to build (std::bad_alloc) leaves nothing
// behind; the next use tries again.
template <const auto& kRows>
const IEnumCommandConverter& TableConverter() {
  using Entry = std::ranges::range_value_t<decltype(kRows)>;
  using Value = decltype(Entry::value);
  static const auto* const converter =
      MakeDefaultConverter<Value>(std::span<const Entry>(std::begin(kRows), std::end(kRows)))
          .release();
  return *converter;
}

// Booleans: the members of the boolean table (the first is the table of an
// empty member name), and the "0"/"1" table every other member uses.
MemberTables BooleanMembers();
const IEnumCommandConverter& DefaultBooleanConverter();

// Output channel enumerations.
MemberTables OutputFunctionModeMembers();
MemberTables ResponseSpeedMembers();
MemberTables MeasurementTypeMembers();
MemberTables PowerOnModeMembers();
MemberTables OutputPriorityMembers();
MemberTables OutputOffImpedanceModeMembers();
MemberTables IviDCPwrMeasurementTypeMembers();

// Integral data and program sequence enumerations.
MemberTables DataIntegralGateStartStopConditionMembers();
MemberTables DataIntegralGateResetMethodMembers();
MemberTables ProgramCurrentFunctionModeMembers();
MemberTables ProgramPowerFunctionModeMembers();
MemberTables ProgramStepTransitionMembers();
MemberTables ProgramStepFunctionModeMembers();
MemberTables PositiveNegativeMembers();
MemberTables ProgramStepRampMembers();
MemberTables TriggerMembers();
MemberTables ProgramStepSignalMembers();

// System, I/O and trigger enumerations.
MemberTables IOInputFilterMembers();
MemberTables IOInputFunctionMembers();
MemberTables IOPolarityMembers();
MemberTables IOOutputFunctionMembers();
MemberTables TimeZoneGroupMembers();
MemberTables RemoteLocalStateMembers();
MemberTables PowerOnRecallStateMembers();
MemberTables AcquireTriggerSourceMembers();
MemberTables TriggerSystemMembers();
MemberTables TransientTriggerSourceMembers();

}  // namespace motqr::commands
