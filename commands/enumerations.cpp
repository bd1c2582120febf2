#include "commands/enumerations.h"

namespace motqr::commands {
namespace {

using enum NameForms;

// Match order. The instrument MeasurementType comes before the class one, so
// "MeasurementType" and "MeasurementTypeEnum" name the instrument enumeration.
// The VISA-COM enumeration names, like any other name not listed, have no
// converter.
constexpr Enumeration kEnumerations[] = {
    {"VARIANT_BOOL", kShortOnly, BooleanMembers, DefaultBooleanConverter},
    {"OutputFunctionMode", kInstrument, OutputFunctionModeMembers, nullptr},
    {"ResponseSpeed", kInstrument, ResponseSpeedMembers, nullptr},
    {"MeasurementType", kInstrument, MeasurementTypeMembers, nullptr},
    {"PowerOnMode", kInstrument, PowerOnModeMembers, nullptr},
    {"OutputPriority", kInstrument, OutputPriorityMembers, nullptr},
    {"OutputOffImpedanceMode", kInstrument, OutputOffImpedanceModeMembers, nullptr},
    {"DataIntegralGateStartStopCondition", kInstrument, DataIntegralGateStartStopConditionMembers,
     nullptr},
    {"DataIntegralGateResetMethod", kInstrument, DataIntegralGateResetMethodMembers, nullptr},
    {"ProgramCurrentFunctionMode", kInstrument, ProgramCurrentFunctionModeMembers, nullptr},
    {"ProgramPowerFunctionMode", kInstrument, ProgramPowerFunctionModeMembers, nullptr},
    {"ProgramStepTransition", kInstrument, ProgramStepTransitionMembers, nullptr},
    {"ProgramStepFunctionMode", kInstrument, ProgramStepFunctionModeMembers, nullptr},
    {"PositiveNegative", kInstrument, PositiveNegativeMembers, nullptr},
    {"ProgramStepRamp", kInstrument, ProgramStepRampMembers, nullptr},
    {"Trigger", kInstrument, TriggerMembers, nullptr},
    {"ProgramStepSignal", kInstrument, ProgramStepSignalMembers, nullptr},
    {"IOInputFilter", kInstrument, IOInputFilterMembers, nullptr},
    {"IOInputFunction", kInstrument, IOInputFunctionMembers, nullptr},
    {"IOPolarity", kInstrument, IOPolarityMembers, nullptr},
    {"IOOutputFunction", kInstrument, IOOutputFunctionMembers, nullptr},
    {"Beep", kInstrument, nullptr, nullptr},
    {"TimeZoneGroup", kInstrument, TimeZoneGroupMembers, nullptr},
    {"RemoteLocalState", kInstrument, RemoteLocalStateMembers, nullptr},
    {"PowerOnRecallState", kInstrument, PowerOnRecallStateMembers, nullptr},
    {"AcquireTriggerSource", kInstrument, AcquireTriggerSourceMembers, nullptr},
    {"TriggerSystem", kInstrument, TriggerSystemMembers, nullptr},
    {"TransientTriggerSource", kInstrument, TransientTriggerSourceMembers, nullptr},
    {"TransientState", kInstrument, nullptr, nullptr},
    {"CurrentLimitBehavior", kClass, nullptr, nullptr},
    {"RangeType", kClass, nullptr, nullptr},
    {"MeasurementType", kClass, IviDCPwrMeasurementTypeMembers, nullptr},
    {"OutputState", kClass, nullptr, nullptr},
    {"TriggerSource", kClass, nullptr, nullptr},
};

// short or short + "Enum".
bool IsShortForm(std::string_view name, std::string_view short_name) {
  constexpr std::string_view kEnum = "Enum";
  return name == short_name || (name.size() == short_name.size() + kEnum.size() &&
                                name.starts_with(short_name) && name.ends_with(kEnum));
}

// short, short + "Enum", prefix + short, prefix + short + "Enum".
bool IsPrefixedForm(std::string_view name, std::string_view prefix, std::string_view short_name) {
  if (IsShortForm(name, short_name)) return true;
  return name.starts_with(prefix) && IsShortForm(name.substr(prefix.size()), short_name);
}

}  // namespace

std::span<const Enumeration> Enumerations() { return kEnumerations; }

bool AnswersTo(const Enumeration& enumeration, std::string_view name) {
  switch (enumeration.forms) {
    case kShortOnly:
      return name == enumeration.short_name;
    case kInstrument:
      return IsPrefixedForm(name, "MorvaneTqr", enumeration.short_name);
    case kClass:
      return IsPrefixedForm(name, "IviDCPwr", enumeration.short_name);
  }
  return false;
}

const Enumeration* FindEnumeration(std::string_view name) {
  for (const Enumeration& enumeration : kEnumerations) {
    if (AnswersTo(enumeration, name)) return &enumeration;
  }
  return nullptr;
}

}  // namespace motqr::commands
