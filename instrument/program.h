// IMorvaneTqrProgram: the instrument's stored programs -- the selected
// program, its steps, the program list and the chain of programs. Every
// member is one command or query; the instrument keeps the programs.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/program.h"

// The selected program's name arrives in double quotes. The reply parser
// takes quotes only in lists, so QuerySelectedProgram reads it by hand as a
// list of one name. ConfigureProgramStepCurrent/Power put the sign's token
// in the header (":CURR" or ":CURR:NEG").
// clang-format off
#define MOTQR_PROGRAM_MEMBERS(S) \
  S##_COMMAND_1(ConfigureSelectedProgram, ":PROG:NAME %$BQs", BSTR, Name) \
  S##_BY_HAND(QuerySelectedProgram, "query", ::motqr::instrument::kQuerySelectedProgramRow.command, ::motqr::instrument::kQuerySelectedProgramRow.reply, nullptr) \
  S##_COMMAND_1(RenameProgram, ":PROG:REN %$Bqs", BSTR, NewName) \
  S##_COMMAND(DeleteAllPrograms, ":PROG:DEL:ALL") \
  S##_ARRAY_QUERY(GetProgramList, ":PROG:CAT?", "%,$S$BQs", "ProgramNames") \
  S##_COMMAND(DeleteSelectedProgram, ":PROG:DEL") \
  S##_COMMAND_2(ConfigureProgramStepDwell, ":PROG:STEP%d:DWEL %0.6lg", std::int32_t, StepNumber, double, Dwell) \
  S##_QUERY_1(QueryProgramStepDwell, ":PROG:STEP%d:DWEL?", "%lf", std::int32_t, StepNumber, double, "Dwell") \
  S##_COMMAND_2(ConfigureProgramStepTransition, ":PROG:STEP%d:OUTP:MODE:TRAN %{MorvaneTqrProgramStepTransitionEnum}s", std::int32_t, StepNumber, MorvaneTqrProgramStepTransitionEnum, Factor) \
  S##_QUERY_1(QueryProgramStepTransition, ":PROG:STEP%d:OUTP:MODE:TRAN?", "%{MorvaneTqrProgramStepTransitionEnum}[^\n]", std::int32_t, StepNumber, MorvaneTqrProgramStepTransitionEnum, "Factor") \
  S##_COMMAND_2(ConfigureProgramStepFunctionMode, ":PROG:STEP%d:FUNC:MODE %{MorvaneTqrProgramStepFunctionModeEnum}s", std::int32_t, StepNumber, MorvaneTqrProgramStepFunctionModeEnum, FunctionMode) \
  S##_QUERY_1(QueryProgramStepFunctionMode, ":PROG:STEP%d:FUNC:MODE?", "%{MorvaneTqrProgramStepFunctionModeEnum}[^\n]", std::int32_t, StepNumber, MorvaneTqrProgramStepFunctionModeEnum, "FunctionMode") \
  S##_COMMAND_3(ConfigureProgramStepCurrent, ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s %0.6lg", std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, Current) \
  S##_COMMAND_2(ConfigureProgramStepOutputEnabled, ":PROG:STEP%d:OUTP %{VARIANT_BOOL}s", std::int32_t, StepNumber, VARIANT_BOOL, Enabled) \
  S##_QUERY_1(QueryProgramStepOutputEnabled, ":PROG:STEP%d:OUTP?", "%{VARIANT_BOOL}[^\n]", std::int32_t, StepNumber, VARIANT_BOOL, "Enabled") \
  S##_QUERY_2(QueryProgramStepCurrent, ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s?", "%lf", std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, "Current") \
  S##_COMMAND_2(ConfigureProgramStepSeamlessCurrent, ":PROG:STEP%d:CURR:SEAM %0.6lg", std::int32_t, StepNumber, double, Current) \
  S##_QUERY_1(QueryProgramStepSeamlessCurrent, ":PROG:STEP%d:CURR:SEAM?", "%lf", std::int32_t, StepNumber, double, "Current") \
  S##_COMMAND_3(ConfigureProgramStepPower, ":PROG:STEP%d:POW%{MorvaneTqrPositiveNegativeEnum}s %0.6lg", std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, Power) \
  S##_QUERY_2(QueryProgramStepPower, ":PROG:STEP%d:POW%{MorvaneTqrPositiveNegativeEnum}s?", "%lf", std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, "Power") \
  S##_COMMAND_2(ConfigureProgramStepSeamlessPower, ":PROG:STEP%d:POW:SEAM %0.6lg", std::int32_t, StepNumber, double, Power) \
  S##_QUERY_1(QueryProgramStepSeamlessPower, ":PROG:STEP%d:POW:SEAM?", "%lf", std::int32_t, StepNumber, double, "Power") \
  S##_COMMAND_2(ConfigureProgramStepVoltage, ":PROG:STEP%d:VOLT %0.6lg", std::int32_t, StepNumber, double, Voltage) \
  S##_QUERY_1(QueryProgramStepVoltage, ":PROG:STEP%d:VOLT?", "%lf", std::int32_t, StepNumber, double, "Voltage") \
  S##_COMMAND_2(ConfigureProgramStepInternalResistance, ":PROG:STEP%d:RES:IR %0.6lg", std::int32_t, StepNumber, double, InternalResistance) \
  S##_QUERY_1(QueryProgramStepInternalResistance, ":PROG:STEP%d:RES:IR?", "%lf", std::int32_t, StepNumber, double, "InternalResistance") \
  S##_COMMAND_2(ConfigureProgramStepRamp, ":PROG:STEP%d:RAMP %{MorvaneTqrProgramStepRampEnum}s", std::int32_t, StepNumber, MorvaneTqrProgramStepRampEnum, Ramp) \
  S##_QUERY_1(QueryProgramStepRamp, ":PROG:STEP%d:RAMP?", "%{MorvaneTqrProgramStepRampEnum}[^\n]", std::int32_t, StepNumber, MorvaneTqrProgramStepRampEnum, "Ramp") \
  S##_COMMAND_2(ConfigureProgramStepTrigger, ":PROG:STEP%d:TRIG:WAIT %{MorvaneTqrTriggerEnum}s", std::int32_t, StepNumber, MorvaneTqrTriggerEnum, ProgramStepTrigger) \
  S##_QUERY_1(QueryProgramStepTrigger, ":PROG:STEP%d:TRIG:WAIT?", "%{MorvaneTqrTriggerEnum}[^\n]", std::int32_t, StepNumber, MorvaneTqrTriggerEnum, "ProgramStepTrigger") \
  S##_COMMAND_1(InsertProgramStep, ":PROG:STEP%d:INS", std::int32_t, StepNumber) \
  S##_QUERY(QueryProgramStepCount, ":PROG:ALL:STEP:COUN?", "%d", std::int32_t, "Count") \
  S##_COMMAND_1(DeleteProgramStep, ":PROG:STEP%d:DEL", std::int32_t, StepNumber) \
  S##_COMMAND(SaveProgram, ":PROG:SAVE") \
  S##_COMMAND_1(ChainProgram, ":PROG:CHA:ADD %$BQs", BSTR, Name) \
  S##_ARRAY_QUERY(QueryProgramChain, ":PROG:CHA:CAT?", "%,$S$BQs", "ProgramNames") \
  S##_COMMAND(UnchainAllPrograms, ":PROG:CHA:CLE") \
  S##_COMMAND_2(ConfigureProgramStepSignal, ":PROG:STEP%d:TRIG:GEN %{MorvaneTqrProgramStepSignalEnum}s", std::int32_t, StepNumber, MorvaneTqrProgramStepSignalEnum, Signal) \
  S##_QUERY_1(QueryProgramStepSignal, ":PROG:STEP%d:TRIG:GEN?", "%{MorvaneTqrProgramStepSignalEnum}[^\n]", std::int32_t, StepNumber, MorvaneTqrProgramStepSignalEnum, "Signal") \
  S##_PROPERTY(std::int32_t, ProgramLoopCount, ":PROG:LOOP?", nullptr, ":PROG:LOOP %d", kYes) \
  S##_PROPERTY(MorvaneTqrProgramCurrentFunctionModeEnum, ProgramCurrentFunctionMode, ":PROG:CURR:FUNC:MODE?", "%{MorvaneTqrProgramCurrentFunctionModeEnum}[^\n]", ":PROG:CURR:FUNC:MODE %{MorvaneTqrProgramCurrentFunctionModeEnum}s", kNo) \
  S##_PROPERTY(MorvaneTqrProgramPowerFunctionModeEnum, ProgramPowerFunctionMode, ":PROG:POW:FUNC:MODE?", "%{MorvaneTqrProgramPowerFunctionModeEnum}[^\n]", ":PROG:POW:FUNC:MODE %{MorvaneTqrProgramPowerFunctionModeEnum}s", kYes) \
  S##_PROPERTY(std::int32_t, ProgramStepCount, ":PROG:STEP:COUN?", nullptr, ":PROG:STEP:COUN %d", kYes)
// clang-format on

namespace motqr::instrument {

inline constexpr driver::MethodRow kQuerySelectedProgramRow{":PROG:NAME?", "%,1$BQs"};

// Reads the quoted name of the selected program into `name`.
com::HRESULT QueryQuotedName(driver::CallFrame& f, const driver::MethodRow& row, BSTR* name);

template <class Self>
class Program : public driver::MemberSet<Self, IMorvaneTqrProgram> {
 public:
  using Interface = IMorvaneTqrProgram;
  MOTQR_PROGRAM_MEMBERS(MOTQR_MEMBER)

  com::HRESULT QuerySelectedProgram(BSTR* Name) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "QuerySelectedProgram">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) -> com::HRESULT {
                              MOTQR_RETURN_IF_FAILED(f.Out(Name, "Name"));
                              MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("Name", Name)));
                              return QueryQuotedName(f, kQuerySelectedProgramRow, Name);
                            });
  }

 protected:
  ~Program() = default;
};

inline constexpr RowView kProgramRows[] = {MOTQR_PROGRAM_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
