// The tool's global options, parsed from the command line wherever they stand
// before a "--" (motqr --json get x and motqr get x --json are the same), and
// the option string they give the driver's Initialize.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/status.h"

namespace motqr::cli {

struct CliOptions {
  std::string resource;       // --resource, --logical-name, or $MOTQR_RESOURCE
  std::string option_string;  // --options
  std::string trace_file;     // --trace (made absolute)
  std::string log_io_file;    // --log-io (made absolute)
  std::string channel;        // --channel; empty: the instrument's first channel
  std::optional<std::int32_t> timeout_ms;
  // --baud, --parity, --data-bits, --stop-bits, --flow: driver setup key -> value.
  std::vector<std::pair<std::string, std::string>> serial;
  std::string visa_library;  // --visa-library: "builtin" or "system"; empty: not given
  bool json = false;
  bool simulate = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> args;  // the command and its own arguments
};

struct GlobalOption {
  std::string_view name;      // "--resource"
  std::string_view argument;  // "NAME"; empty for a flag
  std::string_view help;
};
std::span<const GlobalOption> GlobalOptions();

// `args` excludes the program name; `env_resource` is $MOTQR_RESOURCE or null.
Status ParseCommandLine(std::span<const char* const> args, const char* env_resource,
                        CliOptions* options);

// With `check_status`, instrument status checking is on unless the option
// string says otherwise (turning it on clears the instrument's error queue, so
// commands that read the queue leave it off); --simulate adds Simulate=true;
// --trace, --log-io, --timeout, the serial options and --visa-library add their keys to the driver
// setup part (which must stay last), so that they hold from the session's first exchange.
std::string BuildOptionString(const CliOptions& options, bool check_status);

}  // namespace motqr::cli
