// SCPI and IEEE 488.2 error numbers used by the simulated instrument, with their texts.
#pragma once

#include <string_view>

namespace tqrsim {

inline constexpr int kNoError = 0;
// Command errors (-100 range): standard event status bit 5.
inline constexpr int kCommandError = -100;
inline constexpr int kSyntaxError = -102;
inline constexpr int kDataTypeError = -104;
inline constexpr int kParameterNotAllowed = -108;
inline constexpr int kMissingParameter = -109;
inline constexpr int kProgramMnemonicTooLong = -112;
inline constexpr int kUndefinedHeader = -113;
inline constexpr int kHeaderSuffixOutOfRange = -114;
inline constexpr int kExponentTooLarge = -123;
inline constexpr int kSuffixNotAllowed = -138;
inline constexpr int kInvalidStringData = -151;
inline constexpr int kInvalidBlockData = -161;
// Execution errors (-200 range): bit 4.
inline constexpr int kExecutionError = -200;
inline constexpr int kTriggerIgnored = -211;
inline constexpr int kSettingsConflict = -221;
inline constexpr int kDataOutOfRange = -222;
inline constexpr int kTooMuchData = -223;
inline constexpr int kIllegalParameterValue = -224;
inline constexpr int kOutOfMemory = -225;
// Device-specific errors (-300 range): bit 3.
inline constexpr int kDeviceSpecificError = -300;
inline constexpr int kQueueOverflow = -350;
// Query errors (-400 range): bit 2.
inline constexpr int kQueryError = -400;
inline constexpr int kQueryInterrupted = -410;
inline constexpr int kQueryUnterminated = -420;

// The standard text of an error number ("Undefined header"); "Unknown error" otherwise.
std::string_view ErrorText(int code);

// The standard event status bit that an error number sets (32, 16, 8, 4), or 0.
unsigned EsrBitForError(int code);

}  // namespace tqrsim
