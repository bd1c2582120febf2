// The formatted output engine: printf-like formats with the IEEE 488.2
// extensions the instrument commands need, written into an IIoBuffer (the
// session's CInstrBuffer, or a CCStringWriter to build text).
//
//   std::string command;
//   FormatString(&command, &enums, ":PROG:STEP%d:DWEL %0.6lg", 3, 0.25);
//       // ":PROG:STEP3:DWEL 0.25"
//   FormatOutput(&buffer, &enums, ":CURR %f\n", 1.5);   // sends ":CURR 1.500000\n"
//
// Directives, beyond printf's flags, width, precision and d i o u x f e E g G c s:
//   %@1d %@2f %@3e %@Hd %@Qd %@Bd   IEEE 488.2 NR1, NR2, NR3, #H, #Q and #B numbers
//   %,3d  %(;)3lf  %,$Sle            lists: separator, element count, safe array
//   %3lb  %$Slb  %B  %4!oly          definite and indefinite blocks, raw binary
//   %$Bs  %$Cs  %Qs  %qs             wide strings, std::string, double and single quotes
//   %{MorvaneTqrTriggerEnum}s        an enumeration value as its instrument token
// Each `*` in a directive takes an integer argument before the directive's value.
// See format_args.h for which C++ types each directive takes.
//
// Results: S_OK; E_UNEXPECTED for a format that cannot be cut into directives
// (nothing is written), a list or block without a count, or a sink that takes
// fewer bytes than given; E_INVALIDARG for a null sink, array or string, a bad
// safe array or a width, precision or count out of range; kFormatArgMissing and
// kFormatArgTypeMismatch for arguments that do not fit the format; the enum
// formatter's status for a value without token. Bytes written before a
// failure stay in the sink.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "io/enum_formatter.h"
#include "io/format_args.h"
#include "io/io_buffer.h"

namespace motqr::io {

// The engine entry. In string mode, lists, blocks and raw binary write
// nothing and take no argument. `enums` may be null when the format has no
// enumeration directive.
HRESULT FormatOutputV(IIoBuffer* sink, IEnumFormatter* enums, std::string_view format,
                      FormatArgs args, bool string_mode = false);

// Runs `format` over `args` without writing anywhere and with every enumeration
// value taken as valid: S_OK when each argument fits its directive and all are
// taken; kFormatArgMissing, kFormatArgTypeMismatch or kFormatArgUnused when
// not; the engine's other failures (a format that cannot be cut, a null array)
// as they are. For tests that walk a table of commands with sample arguments.
HRESULT CheckFormatArguments(std::string_view format, FormatArgs args, bool string_mode);

// Appends the formatted text to `text` (string mode).
HRESULT FormatStringV(std::string* text, IEnumFormatter* enums, std::string_view format,
                      FormatArgs args);

template <class... Args>
std::array<FormatArg, sizeof...(Args)> MakeFormatArgs(const Args&... args) {
  return {MakeFormatArg(args)...};
}

template <class... Args>
HRESULT FormatOutput(IIoBuffer* sink, IEnumFormatter* enums, std::string_view format,
                     const Args&... args) {
  const auto list = MakeFormatArgs(args...);
  return FormatOutputV(sink, enums, format, FormatArgs(list.data(), list.size()));
}

template <class... Args>
HRESULT FormatString(std::string* text, IEnumFormatter* enums, std::string_view format,
                     const Args&... args) {
  const auto list = MakeFormatArgs(args...);
  return FormatStringV(text, enums, format, FormatArgs(list.data(), list.size()));
}

}  // namespace motqr::io
