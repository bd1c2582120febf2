// Tokens of the integral data and program sequence enumerations.
#include "commands/enum_tables.h"
#include "interfaces/enums.h"

namespace motqr::commands {
namespace {

// clang-format off

constexpr EnumEntry<MorvaneTqrDataIntegralGateStartStopConditionEnum> kGateStartStop[] = {
    {MorvaneTqrDataIntegralGateStartStopConditionOutputStateOnOff,  {"OSON"}},
    {MorvaneTqrDataIntegralGateStartStopConditionManual,            {"MAN"}},
    {MorvaneTqrDataIntegralGateStartStopConditionProgramRunning,    {"PRUN"}},
    {MorvaneTqrDataIntegralGateStartStopConditionExternal,          {"EXT"}},
};
constexpr MemberTable kGateStartStopMembers[] = {
    {"IMorvaneTqrData.ConfigureIntegralGateStartStopCondition",  TableConverter<kGateStartStop>},
    {"IMorvaneTqrData.QueryIntegralGateStartStopCondition",      TableConverter<kGateStartStop>},
};

constexpr EnumEntry<MorvaneTqrDataIntegralGateResetMethodEnum> kGateReset[] = {
    {MorvaneTqrDataIntegralGateResetMethodAuto,      {"AUTO"}},
    {MorvaneTqrDataIntegralGateResetMethodManual,    {"MAN"}},
    {MorvaneTqrDataIntegralGateResetMethodExternal,  {"EXT"}},
};
constexpr MemberTable kGateResetMembers[] = {
    {"IMorvaneTqrData.ConfigureIntegralGateResetMethod",  TableConverter<kGateReset>},
    {"IMorvaneTqrData.QueryIntegralGateResetMethod",      TableConverter<kGateReset>},
};

constexpr EnumEntry<MorvaneTqrProgramCurrentFunctionModeEnum> kProgramCurrentMode[] = {
    {MorvaneTqrProgramCurrentFunctionModeDC,          {"DC"}},
    {MorvaneTqrProgramCurrentFunctionModeDCSeamless,  {"DSE"}},
};
constexpr MemberTable kProgramCurrentModeMembers[] = {
    {"IMorvaneTqrProgram.ProgramCurrentFunctionMode",  TableConverter<kProgramCurrentMode>},
};

constexpr EnumEntry<MorvaneTqrProgramPowerFunctionModeEnum> kProgramPowerMode[] = {
    {MorvaneTqrProgramPowerFunctionModeProgramPowerFunctionModeDC,  {"DC"}},
    {MorvaneTqrProgramPowerFunctionModeDCSeamless,                  {"DSE"}},
};
constexpr MemberTable kProgramPowerModeMembers[] = {
    {"IMorvaneTqrProgram.ProgramPowerFunctionMode",  TableConverter<kProgramPowerMode>},
};

// The step transition writes "OFF" / "ON"; its query also reads "0" / "1".
constexpr EnumEntry<MorvaneTqrProgramStepTransitionEnum> kStepTransition[] = {
    {MorvaneTqrProgramStepTransitionOff,   {"OFF"}},
    {MorvaneTqrProgramStepTransitionMode,  {"ON"}},
};
constexpr EnumEntry<MorvaneTqrProgramStepTransitionEnum> kStepTransitionQuery[] = {
    {MorvaneTqrProgramStepTransitionOff,   {"OFF", "0"}},
    {MorvaneTqrProgramStepTransitionMode,  {"ON", "1"}},
};
constexpr MemberTable kStepTransitionMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepTransition",  TableConverter<kStepTransition>},
    {"IMorvaneTqrProgram.QueryProgramStepTransition",      TableConverter<kStepTransitionQuery>},
};

constexpr EnumEntry<MorvaneTqrProgramStepFunctionModeEnum> kStepFunctionMode[] = {
    {MorvaneTqrProgramStepFunctionModeDC,      {"DC"}},
    {MorvaneTqrProgramStepFunctionModeIR,      {"IR"}},
    {MorvaneTqrProgramStepFunctionModeCVSine,  {"CVS"}},
    {MorvaneTqrProgramStepFunctionModeCCSine,  {"CCS"}},
};
constexpr MemberTable kStepFunctionModeMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepFunctionMode",  TableConverter<kStepFunctionMode>},
    {"IMorvaneTqrProgram.QueryProgramStepFunctionMode",      TableConverter<kStepFunctionMode>},
};

// Spliced into the command header: ":PROG:STEP1:CURR 2" or ":PROG:STEP1:CURR:NEG 2".
constexpr EnumEntry<MorvaneTqrPositiveNegativeEnum> kPositiveNegative[] = {
    {MorvaneTqrPositiveNegativePositive,  {}},
    {MorvaneTqrPositiveNegativeNegative,  {":NEG"}},
};
constexpr MemberTable kPositiveNegativeMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepCurrent",  TableConverter<kPositiveNegative>},
    {"IMorvaneTqrProgram.QueryProgramStepCurrent",      TableConverter<kPositiveNegative>},
    {"IMorvaneTqrProgram.ConfigureProgramStepPower",    TableConverter<kPositiveNegative>},
    {"IMorvaneTqrProgram.QueryProgramStepPower",        TableConverter<kPositiveNegative>},
};

constexpr EnumEntry<MorvaneTqrProgramStepRampEnum> kStepRamp[] = {
    {MorvaneTqrProgramStepRampImmediate,  {"IMM"}},
    {MorvaneTqrProgramStepRampCV,         {"CV"}},
    {MorvaneTqrProgramStepRampCC,         {"CC"}},
    {MorvaneTqrProgramStepRampCP,         {"CP"}},
};
constexpr MemberTable kStepRampMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepRamp",  TableConverter<kStepRamp>},
    {"IMorvaneTqrProgram.QueryProgramStepRamp",      TableConverter<kStepRamp>},
};

constexpr EnumEntry<MorvaneTqrTriggerEnum> kStepTrigger[] = {
    {MorvaneTqrTriggerImmediate,  {"IMM"}},
    {MorvaneTqrTriggerBus,        {"BUS"}},
    {MorvaneTqrTriggerExternal,   {"EXT"}},
    {MorvaneTqrTriggerMSync,      {"MSYN"}},
};
constexpr MemberTable kStepTriggerMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepTrigger",  TableConverter<kStepTrigger>},
    {"IMorvaneTqrProgram.QueryProgramStepTrigger",      TableConverter<kStepTrigger>},
};

constexpr EnumEntry<MorvaneTqrProgramStepSignalEnum> kStepSignal[] = {
    {MorvaneTqrProgramStepSignalNone,   {"NONE"}},
    {MorvaneTqrProgramStepSignalDC,     {"DC"}},
    {MorvaneTqrProgramStepSignalPulse,  {"PULS"}},
};
constexpr MemberTable kStepSignalMembers[] = {
    {"IMorvaneTqrProgram.ConfigureProgramStepSignal",  TableConverter<kStepSignal>},
    {"IMorvaneTqrProgram.QueryProgramStepSignal",      TableConverter<kStepSignal>},
};

// clang-format on

}  // namespace

MemberTables DataIntegralGateStartStopConditionMembers() { return kGateStartStopMembers; }
MemberTables DataIntegralGateResetMethodMembers() { return kGateResetMembers; }
MemberTables ProgramCurrentFunctionModeMembers() { return kProgramCurrentModeMembers; }
MemberTables ProgramPowerFunctionModeMembers() { return kProgramPowerModeMembers; }
MemberTables ProgramStepTransitionMembers() { return kStepTransitionMembers; }
MemberTables ProgramStepFunctionModeMembers() { return kStepFunctionModeMembers; }
MemberTables PositiveNegativeMembers() { return kPositiveNegativeMembers; }
MemberTables ProgramStepRampMembers() { return kStepRampMembers; }
MemberTables TriggerMembers() { return kStepTriggerMembers; }
MemberTables ProgramStepSignalMembers() { return kStepSignalMembers; }

}  // namespace motqr::commands
