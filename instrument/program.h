// IMorvaneTqrProgram: the instrument's stored programs -- the selected
// program, its steps, the program list and the chain of programs. Every
// member is one command or query; the instrument keeps the programs.
#pragma once

#include <cstdint>

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/program.h"

// (type, name, query, reply, set, sim)
#define MOTQR_PROGRAM_PROPERTIES(P)                                                                \
  P(std::int32_t, ProgramLoopCount, ":PROG:LOOP?", nullptr, ":PROG:LOOP %d", kYes)                 \
  P(MorvaneTqrProgramCurrentFunctionModeEnum, ProgramCurrentFunctionMode, ":PROG:CURR:FUNC:MODE?", \
    "%{MorvaneTqrProgramCurrentFunctionModeEnum}[^\n]",                                            \
    ":PROG:CURR:FUNC:MODE %{MorvaneTqrProgramCurrentFunctionModeEnum}s", kNo)                      \
  P(MorvaneTqrProgramPowerFunctionModeEnum, ProgramPowerFunctionMode, ":PROG:POW:FUNC:MODE?",      \
    "%{MorvaneTqrProgramPowerFunctionModeEnum}[^\n]",                                              \
    ":PROG:POW:FUNC:MODE %{MorvaneTqrProgramPowerFunctionModeEnum}s", kYes)                        \
  P(std::int32_t, ProgramStepCount, ":PROG:STEP:COUN?", nullptr, ":PROG:STEP:COUN %d", kYes)

// (name, command)
#define MOTQR_PROGRAM_COMMANDS(C)       \
  C(DeleteAllPrograms, ":PROG:DEL:ALL") \
  C(DeleteSelectedProgram, ":PROG:DEL") \
  C(SaveProgram, ":PROG:SAVE")          \
  C(UnchainAllPrograms, ":PROG:CHA:CLE")

// (name, command, argument type and name): a program name, or a step number.
#define MOTQR_PROGRAM_SET_1(S)                                       \
  S(ConfigureSelectedProgram, ":PROG:NAME %$BQs", BSTR, Name)        \
  S(RenameProgram, ":PROG:REN %$Bqs", BSTR, NewName)                 \
  S(ChainProgram, ":PROG:CHA:ADD %$BQs", BSTR, Name)                 \
  S(InsertProgramStep, ":PROG:STEP%d:INS", std::int32_t, StepNumber) \
  S(DeleteProgramStep, ":PROG:STEP%d:DEL", std::int32_t, StepNumber)

// (name, command, StepNumber, value type and name)
#define MOTQR_PROGRAM_SET_2(S)                                                                     \
  S(ConfigureProgramStepDwell, ":PROG:STEP%d:DWEL %0.6lg", std::int32_t, StepNumber, double,       \
    Dwell)                                                                                         \
  S(ConfigureProgramStepTransition,                                                                \
    ":PROG:STEP%d:OUTP:MODE:TRAN %{MorvaneTqrProgramStepTransitionEnum}s", std::int32_t,           \
    StepNumber, MorvaneTqrProgramStepTransitionEnum, Factor)                                       \
  S(ConfigureProgramStepFunctionMode,                                                              \
    ":PROG:STEP%d:FUNC:MODE %{MorvaneTqrProgramStepFunctionModeEnum}s", std::int32_t, StepNumber,  \
    MorvaneTqrProgramStepFunctionModeEnum, FunctionMode)                                           \
  S(ConfigureProgramStepOutputEnabled, ":PROG:STEP%d:OUTP %{VARIANT_BOOL}s", std::int32_t,         \
    StepNumber, VARIANT_BOOL, Enabled)                                                             \
  S(ConfigureProgramStepSeamlessCurrent, ":PROG:STEP%d:CURR:SEAM %0.6lg", std::int32_t,            \
    StepNumber, double, Current)                                                                   \
  S(ConfigureProgramStepSeamlessPower, ":PROG:STEP%d:POW:SEAM %0.6lg", std::int32_t, StepNumber,   \
    double, Power)                                                                                 \
  S(ConfigureProgramStepVoltage, ":PROG:STEP%d:VOLT %0.6lg", std::int32_t, StepNumber, double,     \
    Voltage)                                                                                       \
  S(ConfigureProgramStepInternalResistance, ":PROG:STEP%d:RES:IR %0.6lg", std::int32_t,            \
    StepNumber, double, InternalResistance)                                                        \
  S(ConfigureProgramStepRamp, ":PROG:STEP%d:RAMP %{MorvaneTqrProgramStepRampEnum}s", std::int32_t, \
    StepNumber, MorvaneTqrProgramStepRampEnum, Ramp)                                               \
  S(ConfigureProgramStepTrigger, ":PROG:STEP%d:TRIG:WAIT %{MorvaneTqrTriggerEnum}s", std::int32_t, \
    StepNumber, MorvaneTqrTriggerEnum, ProgramStepTrigger)                                         \
  S(ConfigureProgramStepSignal, ":PROG:STEP%d:TRIG:GEN %{MorvaneTqrProgramStepSignalEnum}s",       \
    std::int32_t, StepNumber, MorvaneTqrProgramStepSignalEnum, Signal)

// (name, command, StepNumber, PositiveNegative, value): the sign's token is
// part of the header (":CURR" or ":CURR:NEG").
#define MOTQR_PROGRAM_SET_3(S)                                                                   \
  S(ConfigureProgramStepCurrent, ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s %0.6lg",   \
    std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, Current) \
  S(ConfigureProgramStepPower, ":PROG:STEP%d:POW%{MorvaneTqrPositiveNegativeEnum}s %0.6lg",      \
    std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, Power)

// (name, query, reply, result type, result name)
#define MOTQR_PROGRAM_GET_0(G) \
  G(QueryProgramStepCount, ":PROG:ALL:STEP:COUN?", "%d", std::int32_t, "Count")

// The selected program's name arrives in double quotes. The reply parser
// takes quotes only in lists, so it is read as a list of one name.
#define MOTQR_PROGRAM_NAME_QUERY(G) G(QuerySelectedProgram, ":PROG:NAME?", "%,1$BQs")

// (name, query, reply, StepNumber, result type, result name)
#define MOTQR_PROGRAM_GET_1(G)                                                                     \
  G(QueryProgramStepDwell, ":PROG:STEP%d:DWEL?", "%lf", std::int32_t, StepNumber, double, "Dwell") \
  G(QueryProgramStepTransition, ":PROG:STEP%d:OUTP:MODE:TRAN?",                                    \
    "%{MorvaneTqrProgramStepTransitionEnum}[^\n]", std::int32_t, StepNumber,                       \
    MorvaneTqrProgramStepTransitionEnum, "Factor")                                                 \
  G(QueryProgramStepFunctionMode, ":PROG:STEP%d:FUNC:MODE?",                                       \
    "%{MorvaneTqrProgramStepFunctionModeEnum}[^\n]", std::int32_t, StepNumber,                     \
    MorvaneTqrProgramStepFunctionModeEnum, "FunctionMode")                                         \
  G(QueryProgramStepOutputEnabled, ":PROG:STEP%d:OUTP?", "%{VARIANT_BOOL}[^\n]", std::int32_t,     \
    StepNumber, VARIANT_BOOL, "Enabled")                                                           \
  G(QueryProgramStepSeamlessCurrent, ":PROG:STEP%d:CURR:SEAM?", "%lf", std::int32_t, StepNumber,   \
    double, "Current")                                                                             \
  G(QueryProgramStepSeamlessPower, ":PROG:STEP%d:POW:SEAM?", "%lf", std::int32_t, StepNumber,      \
    double, "Power")                                                                               \
  G(QueryProgramStepVoltage, ":PROG:STEP%d:VOLT?", "%lf", std::int32_t, StepNumber, double,        \
    "Voltage")                                                                                     \
  G(QueryProgramStepInternalResistance, ":PROG:STEP%d:RES:IR?", "%lf", std::int32_t, StepNumber,   \
    double, "InternalResistance")                                                                  \
  G(QueryProgramStepRamp, ":PROG:STEP%d:RAMP?", "%{MorvaneTqrProgramStepRampEnum}[^\n]",           \
    std::int32_t, StepNumber, MorvaneTqrProgramStepRampEnum, "Ramp")                               \
  G(QueryProgramStepTrigger, ":PROG:STEP%d:TRIG:WAIT?", "%{MorvaneTqrTriggerEnum}[^\n]",           \
    std::int32_t, StepNumber, MorvaneTqrTriggerEnum, "ProgramStepTrigger")                         \
  G(QueryProgramStepSignal, ":PROG:STEP%d:TRIG:GEN?", "%{MorvaneTqrProgramStepSignalEnum}[^\n]",   \
    std::int32_t, StepNumber, MorvaneTqrProgramStepSignalEnum, "Signal")

// (name, query, reply, StepNumber, PositiveNegative, result type, result name)
#define MOTQR_PROGRAM_GET_2(G)                                                                     \
  G(QueryProgramStepCurrent, ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s?", "%lf",        \
    std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, "Current") \
  G(QueryProgramStepPower, ":PROG:STEP%d:POW%{MorvaneTqrPositiveNegativeEnum}s?", "%lf",           \
    std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative, double, "Power")

// (name, query, reply, result name): lists of quoted names.
#define MOTQR_PROGRAM_LISTS(L)                                \
  L(GetProgramList, ":PROG:CAT?", "%,$S$BQs", "ProgramNames") \
  L(QueryProgramChain, ":PROG:CHA:CAT?", "%,$S$BQs", "ProgramNames")

namespace motqr::instrument {

inline constexpr driver::MethodRow kQuerySelectedProgramRow{":PROG:NAME?", "%,1$BQs"};

// Reads the quoted name of the selected program into `name`.
com::HRESULT QueryQuotedName(driver::CallFrame& f, const driver::MethodRow& row, BSTR* name);

template <class Self>
class Program : public driver::MemberSet<Self, IMorvaneTqrProgram> {
 public:
  using Interface = IMorvaneTqrProgram;
  MOTQR_PROGRAM_PROPERTIES(MOTQR_MEMBER_PROPERTY)
  MOTQR_PROGRAM_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_PROGRAM_SET_1(MOTQR_MEMBER_SET_1)
  MOTQR_PROGRAM_SET_2(MOTQR_MEMBER_SET_2)
  MOTQR_PROGRAM_SET_3(MOTQR_MEMBER_SET_3)
  MOTQR_PROGRAM_GET_0(MOTQR_MEMBER_GET_0)
  MOTQR_PROGRAM_GET_1(MOTQR_MEMBER_GET_1)
  MOTQR_PROGRAM_GET_2(MOTQR_MEMBER_GET_2)
  MOTQR_PROGRAM_LISTS(MOTQR_MEMBER_LIST_0)

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

inline constexpr driver::RowView kProgramRows[] = {
    MOTQR_PROGRAM_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY) MOTQR_PROGRAM_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
        MOTQR_PROGRAM_SET_1(MOTQR_ROW_VIEW_SET) MOTQR_PROGRAM_SET_2(MOTQR_ROW_VIEW_SET)
            MOTQR_PROGRAM_SET_3(MOTQR_ROW_VIEW_SET) MOTQR_PROGRAM_GET_0(MOTQR_ROW_VIEW_GET)
                MOTQR_PROGRAM_GET_1(MOTQR_ROW_VIEW_GET) MOTQR_PROGRAM_GET_2(MOTQR_ROW_VIEW_GET)
                    MOTQR_PROGRAM_LISTS(MOTQR_ROW_VIEW_GET)
                        MOTQR_PROGRAM_NAME_QUERY(MOTQR_ROW_VIEW_GET)};

}  // namespace motqr::instrument
