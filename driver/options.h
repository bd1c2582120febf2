// The option string of Initialize and the driver setup string: grammar, the six
// operation flags and the driver setup keys.
//
//   "Simulate=true, RangeCheck=0, DriverSetup=Model=TQR-M2, Trace=1"
//
// Name/value pairs are runs without commas or equals signs joined by "=";
// anything else between them is skipped. A driver setup part takes the rest of
// the string, so it must come last.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "errors/error_reporter.h"
#include "platform/com/variant.h"

namespace motqr::driver {

using com::HRESULT;

enum class OperationFlag {
  kCache,
  kInterchangeCheck,
  kQueryInstrumentStatus,
  kRangeCheck,
  kRecordCoercions,
  kSimulate
};

struct OperationFlags {
  bool cache = true;
  bool interchange_check = false;
  bool query_instrument_status = false;
  bool range_check = true;
  bool record_coercions = false;
  bool simulate = false;

  bool& operator[](OperationFlag f);
  bool operator[](OperationFlag f) const { return (*const_cast<OperationFlags*>(this))[f]; }
  friend bool operator==(const OperationFlags&, const OperationFlags&) = default;
};

// The method-trace settings the driver setup string can set.
struct TraceSettings {
  bool enabled = false;
  std::string name;                   // TraceName
  std::int32_t size_max = 10 << 20;   // TraceSizeMax, bytes
  bool array = true;                  // TraceArray
  std::int32_t array_size_max = 100;  // TraceArraySizeMax
  std::int32_t save_interval = 1;     // TraceSaveInterval, minutes
  std::string transform;              // TraceTransform
  int file_state = 1;                 // 1: open a file at the next traced call
};

using OptionMap = std::unordered_map<std::string, std::string>;

// Channel virtual names from the configuration store: virtual name (upper
// case) -> physical name, possibly qualified; and qualified physical name ->
// virtual name as configured.
struct VirtualNameMap {
  std::unordered_map<std::string, std::string> to_physical;
  std::unordered_map<std::string, std::string> to_virtual;
};

// Everything the option string, the driver setup string and the configuration
// store decide for one session.
struct SessionSettings {
  std::string option_string;
  std::string logical_name;
  std::string resource_descriptor;
  std::string driver_setup;
  std::string model;  // set only by the driver setup or a configurable setting
  OperationFlags flags;
  OptionMap option_entries;
  OptionMap driver_setup_entries;
  std::unordered_map<std::string, com::Variant> configurable_settings;
  VirtualNameMap virtual_names;
  TraceSettings trace;
  // IOTimeout: the I/O time-out (ms) from the session's first exchange on.
  std::optional<std::int32_t> io_timeout;
  // LogIO, LogIOSizeMax: the wire log of every transfer (empty: none).
  std::string log_io;
  std::int32_t log_io_size_max = 1 << 20;
  // VisaLibrary: "system" opens every resource through the system VISA library,
  // "builtin" (the default) only those without a built-in transport.
  bool prefer_visa_library = false;
  // Baud, Parity, DataBits, StopBits, FlowControl: the serial line from the
  // first exchange on (key in lower case, value as written).
  std::vector<std::pair<std::string, std::string>> serial;
};

// "true", "VI_TRUE", "1" / "false", "VI_FALSE", "0", any letter case.
std::optional<bool> ParseBooleanWord(std::string_view word);
// Decimal conversion that stops at the first non-digit (leading blanks and a
// sign allowed); no digits give 0; saturates at the 32-bit range.
std::int32_t DecimalPrefix(std::string_view text);
// The name/value pairs of an option or driver setup string, in order, each
// trimmed of white space.
std::vector<std::pair<std::string, std::string>> ParseOptionPairs(std::string_view text);

// Applies one option; unknown names are kept in the option entries.
HRESULT ProcessInitOption(std::string_view name, std::string_view value, SessionSettings& s,
                          errors::IErrorReporter& reporter);
// Processes the option string (driver setup part included) into `s`.
HRESULT ProcessOptionString(std::string_view options, SessionSettings& s,
                            errors::IErrorReporter& reporter);
// Processes a driver setup string into `s`.
HRESULT ProcessDriverSetup(std::string_view setup, SessionSettings& s,
                           errors::IErrorReporter& reporter);

}  // namespace motqr::driver
