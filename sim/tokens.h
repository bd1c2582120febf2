// Enumeration tokens the instrument accepts and answers, one list per setting. The index
// of a token in its list is the value kept in the settings.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace tqrsim {

using TokenList = std::span<const std::string_view>;

inline constexpr std::array<std::string_view, 7> kOutputFunctionTokens{"DC",  "IV",  "PULS", "SINE",
                                                                       "EXT", "DSE", "ESE"};
// The power function spells the pulse member out in full.
inline constexpr std::array<std::string_view, 7> kPowerFunctionTokens{"DC",  "IV",  "PULSE", "SINE",
                                                                      "EXT", "DSE", "ESE"};
inline constexpr std::array<std::string_view, 4> kPriorityTokens{"CV", "CC", "CP", "CR"};
inline constexpr std::array<std::string_view, 2> kOffImpedanceTokens{"LOW", "HIGH"};
inline constexpr std::array<std::string_view, 2> kResponseSpeedTokens{"SLOW", "FAST"};
inline constexpr std::array<std::string_view, 5> kAcquireSourceTokens{"IMM", "BUS", "EXT", "MSYN",
                                                                      "OSOF"};
inline constexpr std::array<std::string_view, 4> kTransientSourceTokens{"IMM", "BUS", "EXT",
                                                                        "MSYN"};
inline constexpr std::array<std::string_view, 4> kGateConditionTokens{"OSON", "MAN", "PRUN", "EXT"};
inline constexpr std::array<std::string_view, 3> kGateResetTokens{"AUTO", "MAN", "EXT"};
inline constexpr std::array<std::string_view, 3> kPowerOnModeTokens{"SAFE", "AUTO", "FORC"};
inline constexpr std::array<std::string_view, 3> kRemoteLocalTokens{"LOC", "REM", "RWL"};
inline constexpr std::array<std::string_view, 3> kPowerOnRecallTokens{"RST", "RCL", "AUTO"};
inline constexpr std::array<std::string_view, 2> kProgramFunctionTokens{"DC", "DSE"};
inline constexpr std::array<std::string_view, 2> kStepTransitionTokens{"OFF", "ON"};
inline constexpr std::array<std::string_view, 4> kStepFunctionTokens{"DC", "IR", "CVS", "CCS"};
inline constexpr std::array<std::string_view, 4> kStepRampTokens{"IMM", "CV", "CC", "CP"};
inline constexpr std::array<std::string_view, 4> kStepTriggerTokens{"IMM", "BUS", "EXT", "MSYN"};
inline constexpr std::array<std::string_view, 3> kStepSignalTokens{"NONE", "DC", "PULS"};
inline constexpr std::array<std::string_view, 2> kIoFilterTokens{"SLOW", "FAST"};
inline constexpr std::array<std::string_view, 2> kIoPolarityTokens{"NORM", "INV"};
inline constexpr std::array<std::string_view, 14> kIoInputFunctionTokens{
    "NONE", "ON",  "OFF",  "CONT", "LALM", "CLR",  "TIN",
    "TPA",  "INT", "IRES", "ACQ",  "TRAN", "MEM1", "MEM2"};
inline constexpr std::array<std::string_view, 13> kIoOutputFunctionTokens{
    "NONE", "ON", "PON", "HALM", "LALM", "CC", "CV", "PTO", "PRUN", "DIN", "MEM1", "MEM2", "REL"};
inline constexpr std::array<std::string_view, 2> kTimeZoneGroupTokens{"TZON1", "TZON2"};

// Named indexes the model acts on.
namespace priority {
inline constexpr int kCV = 0, kCC = 1, kCP = 2, kCR = 3;
}
namespace acquire_source {
inline constexpr int kImmediate = 0, kBus = 1, kExternal = 2, kMSync = 3, kOutputOff = 4;
}
namespace trigger_source {
inline constexpr int kImmediate = 0, kBus = 1, kExternal = 2, kMSync = 3;
}
namespace gate_condition {
inline constexpr int kOutputOn = 0, kManual = 1, kProgramRunning = 2, kExternal = 3;
}
namespace gate_reset {
inline constexpr int kAuto = 0, kManual = 1, kExternal = 2;
}
namespace step_function {
inline constexpr int kDC = 0, kIR = 1, kCVSine = 2, kCCSine = 3;
}

}  // namespace tqrsim
