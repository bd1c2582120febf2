#include "tools/program_steps.h"

#include <array>

#include "tools/value_codec.h"

namespace motqr::cli {
namespace {

using Program = IMorvaneTqrProgram;
constexpr int kNoSide = -1;

// One step field: Configure(step, [side,] value) and Query(step, [side,] &value);
// `Side` is the MorvaneTqrPositiveNegativeEnum of the current and power
// fields, kNoSide for the others.
template <ValueKind K, class T, auto Configure, auto QueryMember, int Side = kNoSide>
struct Field {
  using C = Codec<K, T>;

  static bool Valid(std::string_view text) {
    T v{};
    return C::Parse(text, &v);
  }
  static Status Apply(Program& p, std::int32_t step, std::string_view text) {
    T v{};
    if (!C::Parse(text, &v)) return Status::Usage("'" + std::string(text) + "': " + C::Describe());
    if constexpr (Side == kNoSide) {
      return Check((p.*Configure)(step, v), "step " + std::to_string(step));
    } else {
      return Check((p.*Configure)(step, static_cast<MorvaneTqrPositiveNegativeEnum>(Side), v),
                   "step " + std::to_string(step));
    }
  }
  static Status Query(Program& p, std::int32_t step, Scalar* value) {
    T v{};
    if constexpr (Side == kNoSide) {
      MOTQR_CLI_TRY(Check((p.*QueryMember)(step, &v), "step " + std::to_string(step)));
    } else {
      MOTQR_CLI_TRY(
          Check((p.*QueryMember)(step, static_cast<MorvaneTqrPositiveNegativeEnum>(Side), &v),
                "step " + std::to_string(step)));
    }
    *value = C::Format(v);
    return Status::Ok();
  }
  static constexpr StepField Row(std::string_view column) {
    return {column, &C::Describe, &Valid, &Apply, &Query};
  }
};

template <auto Configure, auto QueryMember, int Side = kNoSide>
using Real = Field<ValueKind::kReal, double, Configure, QueryMember, Side>;
template <class E, auto Configure, auto QueryMember>
using Choice = Field<ValueKind::kInteger, E, Configure, QueryMember>;

const std::array kFields{
    Real<&Program::ConfigureProgramStepVoltage, &Program::QueryProgramStepVoltage>::Row("voltage"),
    Real<&Program::ConfigureProgramStepCurrent, &Program::QueryProgramStepCurrent,
         MorvaneTqrPositiveNegativePositive>::Row("current"),
    Real<&Program::ConfigureProgramStepCurrent, &Program::QueryProgramStepCurrent,
         MorvaneTqrPositiveNegativeNegative>::Row("negative-current"),
    Real<&Program::ConfigureProgramStepSeamlessCurrent,
         &Program::QueryProgramStepSeamlessCurrent>::Row("seamless-current"),
    Real<&Program::ConfigureProgramStepPower, &Program::QueryProgramStepPower,
         MorvaneTqrPositiveNegativePositive>::Row("power"),
    Real<&Program::ConfigureProgramStepPower, &Program::QueryProgramStepPower,
         MorvaneTqrPositiveNegativeNegative>::Row("negative-power"),
    Real<&Program::ConfigureProgramStepSeamlessPower, &Program::QueryProgramStepSeamlessPower>::Row(
        "seamless-power"),
    Real<&Program::ConfigureProgramStepInternalResistance,
         &Program::QueryProgramStepInternalResistance>::Row("resistance"),
    Real<&Program::ConfigureProgramStepDwell, &Program::QueryProgramStepDwell>::Row("dwell"),
    Field<ValueKind::kBoolean, com::VARIANT_BOOL, &Program::ConfigureProgramStepOutputEnabled,
          &Program::QueryProgramStepOutputEnabled>::Row("output"),
    Choice<MorvaneTqrProgramStepFunctionModeEnum, &Program::ConfigureProgramStepFunctionMode,
           &Program::QueryProgramStepFunctionMode>::Row("mode"),
    Choice<MorvaneTqrProgramStepRampEnum, &Program::ConfigureProgramStepRamp,
           &Program::QueryProgramStepRamp>::Row("ramp"),
    Choice<MorvaneTqrProgramStepTransitionEnum, &Program::ConfigureProgramStepTransition,
           &Program::QueryProgramStepTransition>::Row("transition"),
    Choice<MorvaneTqrTriggerEnum, &Program::ConfigureProgramStepTrigger,
           &Program::QueryProgramStepTrigger>::Row("trigger"),
    Choice<MorvaneTqrProgramStepSignalEnum, &Program::ConfigureProgramStepSignal,
           &Program::QueryProgramStepSignal>::Row("signal"),
};

}  // namespace

std::span<const StepField> StepFields() { return kFields; }

const StepField* FindStepField(std::string_view column) {
  for (const StepField& f : kFields)
    if (f.column == column) return &f;
  return nullptr;
}

std::vector<std::string_view> StepColumnNames() {
  std::vector<std::string_view> names;
  for (const StepField& f : kFields) names.push_back(f.column);
  return names;
}

}  // namespace motqr::cli
