#include "tools/cli_options.h"

#include <array>
#include <filesystem>
#include <limits>

#include "tools/scalar.h"

namespace motqr::cli {
namespace {

constexpr std::array<GlobalOption, 18> kGlobalOptions{{
    {"--resource", "NAME", "VISA resource, e.g. TCPIP::192.168.1.20::5025::SOCKET"},
    {"--logical-name", "NAME", "a driver session of the IVI configuration store"},
    {"--options", "TEXT", "Initialize option string, e.g. \"Cache=false\""},
    {"--simulate", "", "a simulated session (no instrument)"},
    {"--channel", "NAME", "output channel by name or 1-based index (default: the first)"},
    {"--timeout", "MS", "I/O time-out in milliseconds, from the first exchange on"},
    {"--trace", "FILE", "write the driver's XML call trace to FILE"},
    {"--log-io", "FILE", "append every byte sent and received, with time and member, to FILE"},
    {"--baud", "N", "serial line (ASRL resources): bits per second (default 9600)"},
    {"--parity", "P", "serial line: none, odd, even, mark or space (default none)"},
    {"--data-bits", "N", "serial line: 5 to 8 (default 8)"},
    {"--stop-bits", "N", "serial line: 1, 1.5 or 2 (default 1)"},
    {"--flow", "F", "serial line: none, xon, rts or dtr (default none)"},
    {"--visa-library", "LIB",
     "system: the system VISA library opens every resource (default builtin)"},
    {"--json", "", "machine-readable output (one JSON object)"},
    {"--help", "", "help; after a command, that command's help"},
    {"--version", "", "the tool's version"},
    {"-h", "", "same as --help"},
}};

const GlobalOption* FindGlobal(std::string_view name) {
  for (const GlobalOption& o : kGlobalOptions)
    if (o.name == name) return &o;
  return nullptr;
}

Status Apply(std::string_view name, std::string_view value, bool& had_resource,
             CliOptions* options) {
  if (name == "--resource" || name == "--logical-name") {
    if (had_resource) return Status::Usage("give one of --resource and --logical-name");
    had_resource = true;
    // The driver looks a resource name up as a logical name first.
    options->resource = std::string(value);
  } else if (name == "--options") {
    options->option_string = std::string(value);
  } else if (name == "--channel") {
    options->channel = std::string(value);
  } else if (name == "--timeout") {
    auto ms = ParseInteger(value);
    if (!ms || *ms < 0 || *ms > std::numeric_limits<std::int32_t>::max())
      return Status::Usage("--timeout takes milliseconds, not '" + std::string(value) + "'");
    options->timeout_ms = static_cast<std::int32_t>(*ms);
  } else if (name == "--trace" || name == "--log-io") {
    // The file name travels in the driver setup string, which splits at ',' and '='.
    if (value.find_first_of(",=") != std::string_view::npos)
      return Status::Usage("a " + std::string(name) + " file name cannot hold ',' or '='");
    std::error_code ec;
    const std::string path = std::filesystem::absolute(std::string(value), ec).string();
    if (ec || value.empty())
      return Status::Usage("bad " + std::string(name) + " file '" + std::string(value) + "'");
    (name == "--trace" ? options->trace_file : options->log_io_file) = path;
  } else if (name == "--baud" || name == "--parity" || name == "--data-bits" ||
             name == "--stop-bits" || name == "--flow") {
    // The words each takes; the rate is any positive number.
    struct Serial {
      std::string_view option, key, words;
    };
    static constexpr Serial kSerial[] = {
        {"--baud", "Baud", ""},
        {"--parity", "Parity", " none odd even mark space "},
        {"--data-bits", "DataBits", " 5 6 7 8 "},
        {"--stop-bits", "StopBits", " 1 1.5 2 "},
        {"--flow", "FlowControl", " none xon rts dtr "},
    };
    for (const Serial& k : kSerial) {
      if (k.option != name) continue;
      const std::string lower = ToLower(value);
      const auto rate = ParseInteger(value);
      const bool valid = k.words.empty()
                             ? rate && *rate > 0 && *rate <= 10'000'000
                             : k.words.find(" " + lower + " ") != std::string_view::npos;
      if (!valid)
        return Status::Usage(std::string(name) + " takes " +
                             (k.words.empty() ? std::string("a rate in bits per second")
                                              : "one of" + std::string(k.words)) +
                             ", not '" + std::string(value) + "'");
      options->serial.emplace_back(std::string(k.key), lower);
    }
  } else if (name == "--visa-library") {
    const std::string lower = ToLower(value);
    if (lower != "system" && lower != "builtin")
      return Status::Usage("--visa-library takes builtin or system, not '" + std::string(value) +
                           "'");
    options->visa_library = lower;
  } else if (name == "--json") {
    options->json = true;
  } else if (name == "--simulate") {
    options->simulate = true;
  } else if (name == "--help" || name == "-h") {
    options->help = true;
  } else if (name == "--version") {
    options->version = true;
  }
  return Status::Ok();
}

}  // namespace

std::span<const GlobalOption> GlobalOptions() { return kGlobalOptions; }

Status ParseCommandLine(std::span<const char* const> args, const char* env_resource,
                        CliOptions* options) {
  *options = CliOptions{};
  bool had_resource = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--") {
      for (++i; i < args.size(); ++i) options->args.emplace_back(args[i]);
      break;
    }
    std::string_view name = arg, value;
    bool inline_value = false;
    if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      inline_value = true;
    }
    const GlobalOption* option = arg.starts_with("-") ? FindGlobal(name) : nullptr;
    if (!option) {
      // Before the command every option must be a global one; after it the
      // command reads its own (and negative numbers).
      if (options->args.empty() && arg.starts_with("-"))
        return Status::Usage("unknown option '" + std::string(arg) + "'");
      options->args.emplace_back(arg);
      continue;
    }
    if (option->argument.empty()) {
      if (inline_value) return Status::Usage(std::string(name) + " takes no value");
    } else if (!inline_value) {
      if (i + 1 >= args.size()) return Status::Usage(std::string(name) + " needs a value");
      value = args[++i];
    }
    MOTQR_CLI_TRY(Apply(name, value, had_resource, options));
  }
  if (!had_resource && env_resource && *env_resource) options->resource = env_resource;
  if (options->resource.empty() && options->simulate) options->resource = "Simulated";
  // A resource name (not a logical name) says whether it is a serial line.
  const std::string lower_resource = ToLower(options->resource);
  if (!options->serial.empty() && lower_resource.find("::") != std::string::npos &&
      !lower_resource.starts_with("asrl"))
    return Status::Usage(
        "--baud, --parity, --data-bits, --stop-bits and --flow are for serial "
        "(ASRL) resources, not " +
        options->resource);
  return Status::Ok();
}

std::string BuildOptionString(const CliOptions& options, bool check_status) {
  const std::string given = ToLower(options.option_string);
  std::string text;
  const auto append = [&text](std::string_view part) {
    if (part.empty()) return;
    if (!text.empty()) text += ", ";
    text += part;
  };
  if (check_status && given.find("queryinstrstatus") == std::string::npos)
    append("QueryInstrStatus=true");
  if (options.simulate) append("Simulate=true");
  append(Trim(options.option_string));
  std::string keys;
  const auto key = [&keys](const std::string& pair) { keys += (keys.empty() ? "" : ", ") + pair; };
  if (!options.trace_file.empty()) key("Trace=true, TraceName=" + options.trace_file);
  if (options.timeout_ms) key("IOTimeout=" + std::to_string(*options.timeout_ms));
  if (!options.log_io_file.empty()) key("LogIO=" + options.log_io_file);
  for (const auto& [name, value] : options.serial) key(name + "=" + value);
  if (!options.visa_library.empty()) key("VisaLibrary=" + options.visa_library);
  if (!keys.empty())
    append(given.find("driversetup") == std::string::npos ? "DriverSetup=" + keys : keys);
  return text;
}

}  // namespace motqr::cli
