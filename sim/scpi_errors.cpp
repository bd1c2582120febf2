#include "sim/scpi_errors.h"

#include <array>
#include <utility>

namespace tqrsim {

std::string_view ErrorText(int code) {
  static constexpr std::array<std::pair<int, std::string_view>, 25> kTexts{{
      {kNoError, "No error"},
      {kCommandError, "Command error"},
      {kSyntaxError, "Syntax error"},
      {kDataTypeError, "Data type error"},
      {kParameterNotAllowed, "Parameter not allowed"},
      {kMissingParameter, "Missing parameter"},
      {kProgramMnemonicTooLong, "Program mnemonic too long"},
      {kUndefinedHeader, "Undefined header"},
      {kHeaderSuffixOutOfRange, "Header suffix out of range"},
      {kExponentTooLarge, "Exponent too large"},
      {kSuffixNotAllowed, "Suffix not allowed"},
      {kInvalidStringData, "Invalid string data"},
      {kInvalidBlockData, "Invalid block data"},
      {kExecutionError, "Execution error"},
      {kTriggerIgnored, "Trigger ignored"},
      {kSettingsConflict, "Settings conflict"},
      {kDataOutOfRange, "Data out of range"},
      {kTooMuchData, "Too much data"},
      {kIllegalParameterValue, "Illegal parameter value"},
      {kOutOfMemory, "Out of memory"},
      {kDeviceSpecificError, "Device-specific error"},
      {kQueueOverflow, "Queue overflow"},
      {kQueryError, "Query error"},
      {kQueryInterrupted, "Query INTERRUPTED"},
      {kQueryUnterminated, "Query UNTERMINATED"},
  }};
  for (const auto& [number, text] : kTexts) {
    if (number == code) return text;
  }
  return "Unknown error";
}

unsigned EsrBitForError(int code) {
  if (code <= -100 && code > -200) return 32;
  if (code <= -200 && code > -300) return 16;
  if (code <= -300 && code > -400) return 8;
  if (code <= -400 && code > -500) return 4;
  if (code > 0) return 8;  // instrument-specific errors are device errors
  return 0;
}

}  // namespace tqrsim
