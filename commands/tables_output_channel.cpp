// Tokens of the output channel's enumerations, and of the class measurement
// type.
#include "commands/enum_tables.h"
#include "interfaces/enums.h"

namespace motqr::commands {
namespace {

// clang-format off

// MorvaneTqrOutputFunctionModeEnum: the current and voltage modes write "PULS",
// the power mode "PULSE"; each reads back only its own spelling.
constexpr EnumEntry<MorvaneTqrOutputFunctionModeEnum> kFunctionMode[] = {
    {MorvaneTqrOutputFunctionModeDC,         {"DC"}},
    {MorvaneTqrOutputFunctionModeIV,         {"IV"}},
    {MorvaneTqrOutputFunctionModePulse,      {"PULS"}},
    {MorvaneTqrOutputFunctionModeSine,       {"SINE"}},
    {MorvaneTqrOutputFunctionModeExternal,   {"EXT"}},
    {MorvaneTqrOutputFunctionModeDSeamless,  {"DSE"}},
    {MorvaneTqrOutputFunctionModeESeamless,  {"ESE"}},
};
constexpr EnumEntry<MorvaneTqrOutputFunctionModeEnum> kPowerFunctionMode[] = {
    {MorvaneTqrOutputFunctionModeDC,         {"DC"}},
    {MorvaneTqrOutputFunctionModeIV,         {"IV"}},
    {MorvaneTqrOutputFunctionModePulse,      {"PULSE"}},
    {MorvaneTqrOutputFunctionModeSine,       {"SINE"}},
    {MorvaneTqrOutputFunctionModeExternal,   {"EXT"}},
    {MorvaneTqrOutputFunctionModeDSeamless,  {"DSE"}},
    {MorvaneTqrOutputFunctionModeESeamless,  {"ESE"}},
};
constexpr MemberTable kFunctionModeMembers[] = {
    {"IMorvaneTqrOutputChannel.CurrentMode",  TableConverter<kFunctionMode>},
    {"IMorvaneTqrOutputChannel.PowerMode",    TableConverter<kPowerFunctionMode>},
    {"IMorvaneTqrOutputChannel.VoltageMode",  TableConverter<kFunctionMode>},
};

constexpr EnumEntry<MorvaneTqrResponseSpeedEnum> kResponseSpeed[] = {
    {MorvaneTqrResponseSpeedSlow,  {"SLOW"}},
    {MorvaneTqrResponseSpeedFast,  {"FAST"}},
};
constexpr MemberTable kResponseSpeedMembers[] = {
    {"IMorvaneTqrOutputChannel.CurrentResponseSpeed",  TableConverter<kResponseSpeed>},
    {"IMorvaneTqrOutputChannel.VoltageReponseSpeed",   TableConverter<kResponseSpeed>},
};

constexpr EnumEntry<MorvaneTqrMeasurementTypeEnum> kMeasurementType[] = {
    {MorvaneTqrMeasurementTypeVoltage,   {"VOLT"}},
    {MorvaneTqrMeasurementTypeCurrent,   {"CURR"}},
    {MorvaneTqrMeasurementTypePower,     {"POW"}},
    {MorvaneTqrMeasurementTypeETime,     {"ETIM"}},
    {MorvaneTqrMeasurementTypeCapacity,  {"CAP"}},
    {MorvaneTqrMeasurementTypeEnergy,    {"ENER"}},
};
constexpr MemberTable kMeasurementTypeMembers[] = {
    {"IMorvaneTqrOutputChannel.Measure",  TableConverter<kMeasurementType>},
    {"IMorvaneTqrOutputChannel.Read",     TableConverter<kMeasurementType>},
    {"IMorvaneTqrOutputChannel.Fetch",    TableConverter<kMeasurementType>},
};

constexpr EnumEntry<MorvaneTqrPowerOnModeEnum> kPowerOnMode[] = {
    {MorvaneTqrPowerOnModeSafe,   {"SAFE"}},
    {MorvaneTqrPowerOnModeAuto,   {"AUTO"}},
    {MorvaneTqrPowerOnModeForce,  {"FORC"}},
};
constexpr MemberTable kPowerOnModeMembers[] = {
    {"IMorvaneTqrOutputChannel.PowerOnMode",  TableConverter<kPowerOnMode>},
};

constexpr EnumEntry<MorvaneTqrOutputPriorityEnum> kOutputPriority[] = {
    {MorvaneTqrOutputPriorityCV,  {"CV"}},
    {MorvaneTqrOutputPriorityCC,  {"CC"}},
    {MorvaneTqrOutputPriorityCP,  {"CP"}},
    {MorvaneTqrOutputPriorityCR,  {"CR"}},
};
constexpr MemberTable kOutputPriorityMembers[] = {
    {"IMorvaneTqrOutputChannel.Priority",  TableConverter<kOutputPriority>},
};

constexpr EnumEntry<MorvaneTqrOutputOffImpedanceModeEnum> kImpedanceMode[] = {
    {MorvaneTqrOutputOffImpedanceModeLow,   {"LOW"}},
    {MorvaneTqrOutputOffImpedanceModeHigh,  {"HIGH"}},
};
constexpr MemberTable kImpedanceModeMembers[] = {
    {"IMorvaneTqrOutputChannel.ImpedanceMode",  TableConverter<kImpedanceMode>},
};

constexpr EnumEntry<IviDCPwrMeasurementTypeEnum> kClassMeasurementType[] = {
    {IviDCPwrMeasurementCurrent,  {"CURR"}},
    {IviDCPwrMeasurementVoltage,  {"VOLT"}},
};
constexpr MemberTable kClassMeasurementTypeMembers[] = {
    {"IIviDCPwrOutput.Measure",  TableConverter<kClassMeasurementType>},
};

// clang-format on

}  // namespace

MemberTables OutputFunctionModeMembers() { return kFunctionModeMembers; }
MemberTables ResponseSpeedMembers() { return kResponseSpeedMembers; }
MemberTables MeasurementTypeMembers() { return kMeasurementTypeMembers; }
MemberTables PowerOnModeMembers() { return kPowerOnModeMembers; }
MemberTables OutputPriorityMembers() { return kOutputPriorityMembers; }
MemberTables OutputOffImpedanceModeMembers() { return kImpedanceModeMembers; }
MemberTables IviDCPwrMeasurementTypeMembers() { return kClassMeasurementTypeMembers; }

}  // namespace motqr::commands
