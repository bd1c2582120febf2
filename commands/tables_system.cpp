// Tokens of the system, digital I/O and trigger enumerations.
#include <array>

#include "commands/enum_tables.h"
#include "interfaces/enums.h"

namespace motqr::commands {
namespace {

// clang-format off

constexpr EnumEntry<MorvaneTqrIOInputFilterEnum> kInputFilter[] = {
    {MorvaneTqrIOInputFilterSlow,  {"SLOW"}},
    {MorvaneTqrIOInputFilterFast,  {"FAST"}},
};
constexpr MemberTable kInputFilterMembers[] = {
    {"IMorvaneTqrSystemIO.QueryIOInputFilter",  TableConverter<kInputFilter>},
};

constexpr EnumEntry<MorvaneTqrIOInputFunctionEnum> kInputFunction[] = {
    {MorvaneTqrIOInputFunctionNone,                {"NONE"}},
    {MorvaneTqrIOInputFunctionOutputOn,            {"ON"}},
    {MorvaneTqrIOInputFunctionOutputOff,           {"OFF"}},
    {MorvaneTqrIOInputFunctionOutputControl,       {"CONT"}},
    {MorvaneTqrIOInputFunctionLowAlarmIn,          {"LALM"}},
    {MorvaneTqrIOInputFunctionAlarmClear,          {"CLR"}},
    {MorvaneTqrIOInputFunctionTransientInitiate,   {"TIN"}},
    {MorvaneTqrIOInputFunctionTransientPause,      {"TPA"}},
    {MorvaneTqrIOInputFunctionIntegralStartStop,   {"INT"}},
    {MorvaneTqrIOInputFunctionIntegralReset,       {"IRES"}},
    {MorvaneTqrIOInputFunctionTriggerAcquireIn,    {"ACQ"}},
    {MorvaneTqrIOInputFunctionTriggerTransientIn,  {"TRAN"}},
    {MorvaneTqrIOInputFunctionRecallMemory1,       {"MEM1"}},
    {MorvaneTqrIOInputFunctionRecallMemory2,       {"MEM2"}},
};
constexpr MemberTable kInputFunctionMembers[] = {
    {"IMorvaneTqrSystemIO.QueryIOInputFunction",  TableConverter<kInputFunction>},
};

constexpr EnumEntry<MorvaneTqrIOPolarityEnum> kPolarity[] = {
    {MorvaneTqrIOPolarityNormal,   {"NORM"}},
    {MorvaneTqrIOPolarityInverse,  {"INV"}},
};
constexpr MemberTable kPolarityMembers[] = {
    {"IMorvaneTqrSystemIO.QueryIOInputPolarity",   TableConverter<kPolarity>},
    {"IMorvaneTqrSystemIO.QueryIOOutputPolarity",  TableConverter<kPolarity>},
};

constexpr EnumEntry<MorvaneTqrIOOutputFunctionEnum> kOutputFunction[] = {
    {MorvaneTqrIOOutputFunctionNone,                   {"NONE"}},
    {MorvaneTqrIOOutputFunctionOutputOn,               {"ON"}},
    {MorvaneTqrIOOutputFunctionPowerOn,                {"PON"}},
    {MorvaneTqrIOOutputFunctionHighAlarmOut,           {"HALM"}},
    {MorvaneTqrIOOutputFunctionLowAlarmOut,            {"LALM"}},
    {MorvaneTqrIOOutputFunctionCCStatus,               {"CC"}},
    {MorvaneTqrIOOutputFunctionCVStatus,               {"CV"}},
    {MorvaneTqrIOOutputFunctionProgramTriggerOut,      {"PTO"}},
    {MorvaneTqrIOOutputFunctionProgramRun,             {"PRUN"}},
    {MorvaneTqrIOOutputFunctionExternalDigitalInBusy,  {"DIN"}},
    {MorvaneTqrIOOutputFunctionRecallMemory1,          {"MEM1"}},
    {MorvaneTqrIOOutputFunctionRecallMemory2,          {"MEM2"}},
    {MorvaneTqrIOOutputFunctionDriveRelay,             {"REL"}},
};
constexpr MemberTable kOutputFunctionMembers[] = {
    {"IMorvaneTqrSystemIO.QueryIOOutputFunction",  TableConverter<kOutputFunction>},
};

constexpr EnumEntry<MorvaneTqrTimeZoneGroupEnum> kTimeZoneGroup[] = {
    {MorvaneTqrTimeZoneGroupTimeZone1,  {"TZON1"}},
    {MorvaneTqrTimeZoneGroupTimeZone2,  {"TZON2"}},
};
constexpr MemberTable kTimeZoneGroupMembers[] = {
    {"IMorvaneTqrSystem.GetTimeZoneList",  TableConverter<kTimeZoneGroup>},
};

constexpr EnumEntry<MorvaneTqrRemoteLocalStateEnum> kRemoteLocalState[] = {
    {MorvaneTqrRemoteLocalStateLocal,               {"LOC"}},
    {MorvaneTqrRemoteLocalStateRemote,              {"REM"}},
    {MorvaneTqrRemoteLocalStateRemoteLocalLockOut,  {"RWL"}},
};
constexpr MemberTable kRemoteLocalStateMembers[] = {
    {"IMorvaneTqrSystem.RemoteLocalState",  TableConverter<kRemoteLocalState>},
};

constexpr EnumEntry<MorvaneTqrPowerOnRecallStateEnum> kPowerOnRecallState[] = {
    {MorvaneTqrPowerOnRecallStateReset,   {"RST"}},
    {MorvaneTqrPowerOnRecallStateRecall,  {"RCL"}},
    {MorvaneTqrPowerOnRecallStateAuto,    {"AUTO"}},
};
constexpr MemberTable kPowerOnRecallStateMembers[] = {
    {"IMorvaneTqrSystem.PowerOnRecallState",  TableConverter<kPowerOnRecallState>},
};

constexpr EnumEntry<MorvaneTqrAcquireTriggerSourceEnum> kAcquireTriggerSource[] = {
    {MorvaneTqrAcquireTriggerSourceImmediate,        {"IMM"}},
    {MorvaneTqrAcquireTriggerSourceBus,              {"BUS"}},
    {MorvaneTqrAcquireTriggerSourceExternal,         {"EXT"}},
    {MorvaneTqrAcquireTriggerSourceMSync,            {"MSYN"}},
    {MorvaneTqrAcquireTriggerSourceOutputStatusOff,  {"OSOF"}},
};
constexpr MemberTable kAcquireTriggerSourceMembers[] = {
    {"IMorvaneTqrTrigger.AcquireTriggerSource",  TableConverter<kAcquireTriggerSource>},
};

// Initiate has no token for "all"; SendSoftwareTrigger has no token at all.
constexpr EnumEntry<MorvaneTqrTriggerSystemEnum> kInitiate[] = {
    {MorvaneTqrTriggerSystemAcquire,  {"ACQ"}},
    {MorvaneTqrTriggerSystemProgram,  {"TRAN:PROG"}},
};
constexpr EnumEntry<MorvaneTqrTriggerSystemEnum> kAbort[] = {
    {MorvaneTqrTriggerSystemAll,      {"ALL"}},
    {MorvaneTqrTriggerSystemAcquire,  {"ACQ"}},
    {MorvaneTqrTriggerSystemProgram,  {"TRAN"}},
};
constexpr std::array<EnumEntry<MorvaneTqrTriggerSystemEnum>, 0> kSendSoftwareTrigger{};
constexpr MemberTable kTriggerSystemMembers[] = {
    {"IMorvaneTqrTrigger.Initiate",             TableConverter<kInitiate>},
    {"IMorvaneTqrTrigger.Abort",                TableConverter<kAbort>},
    {"IMorvaneTqrTrigger.SendSoftwareTrigger",  TableConverter<kSendSoftwareTrigger>},
};

constexpr EnumEntry<MorvaneTqrTransientTriggerSourceEnum> kTransientTriggerSource[] = {
    {MorvaneTqrTransientTriggerSourceImmediate,  {"IMM"}},
    {MorvaneTqrTransientTriggerSourceBus,        {"BUS"}},
    {MorvaneTqrTransientTriggerSourceExternal,   {"EXT"}},
    {MorvaneTqrTransientTriggerSourceMSync,      {"MSYN"}},
};
constexpr MemberTable kTransientTriggerSourceMembers[] = {
    {"IMorvaneTqrTrigger.TransientTriggerSource",  TableConverter<kTransientTriggerSource>},
};

// clang-format on

}  // namespace

MemberTables IOInputFilterMembers() { return kInputFilterMembers; }
MemberTables IOInputFunctionMembers() { return kInputFunctionMembers; }
MemberTables IOPolarityMembers() { return kPolarityMembers; }
MemberTables IOOutputFunctionMembers() { return kOutputFunctionMembers; }
MemberTables TimeZoneGroupMembers() { return kTimeZoneGroupMembers; }
MemberTables RemoteLocalStateMembers() { return kRemoteLocalStateMembers; }
MemberTables PowerOnRecallStateMembers() { return kPowerOnRecallStateMembers; }
MemberTables AcquireTriggerSourceMembers() { return kAcquireTriggerSourceMembers; }
MemberTables TriggerSystemMembers() { return kTriggerSystemMembers; }
MemberTables TransientTriggerSourceMembers() { return kTransientTriggerSourceMembers; }

}  // namespace motqr::commands
