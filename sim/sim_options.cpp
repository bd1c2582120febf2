#include "sim/sim_options.h"

#include <arpa/inet.h>

#include <charconv>
#include <cmath>
#include <string_view>

#include "sim/model_ratings.h"

namespace tqrsim {
namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc{} && end == text.data() + text.size();
}

// Enough for a benchmark's bulk transfers, small enough to keep the simulator's memory bounded.
constexpr std::size_t kMaxIvPoints = std::size_t{1} << 22;
constexpr std::size_t kMaxLogCapacity = 10'000'000;

}  // namespace

std::string UsageText() {
  return "usage: tqr-sim [options]\n"
         "  --port N          TCP port (default 5025; 0 picks a free port)\n"
         "  --listen ADDR     IPv4 address the socket, VXI-11 (portmapper included) and\n"
         "                    HiSLIP servers listen on (default 127.0.0.1; 0.0.0.0: all)\n"
         "  --pty             also serve a pseudo-terminal (prints \"pty <path>\")\n"
         "  --model NAME      TQR-M1 .. TQR-M7 (default TQR-M4)\n"
         "  --serial TEXT     serial number in the *IDN? reply\n"
         "  --load-ohms R     resistive load on the output (default 10)\n"
         "  --noise F         relative measurement noise, 0 to 0.01 (default 0.0001)\n"
         "  --seed N          seed of the noise generator (default 1)\n"
         "  --drop-after N    close a connection after N messages\n"
         "  --stall-after N   stop answering after N messages, keeping the connection\n"
         "  --delay-ms N      delay every reply by N milliseconds\n"
         "  --garbage         answer every query with garbage\n"
         "  --iv-max-points N points an I-V map holds (default 1024; up to 4194304)\n"
         "  --log-capacity N  values the data logger holds (default 10000; up to 10000000)\n"
         "  --vxi11           also serve VXI-11 (prints \"vxi11 <core port>\" and\n"
         "                    \"portmapper <port>\")\n"
         "  --vxi11-ignore-timeout  a VXI-11 read with nothing to return waits past the\n"
         "                    client's time-out until device_abort (at most 10 s)\n"
         "  --portmapper-port N  where VXI-11 clients find the core channel (default 111:\n"
         "                    the system portmapper if running, else our own; 0: a free port)\n"
         "  --hislip [PORT]   also serve HiSLIP (default port 4880; 0 picks a free port;\n"
         "                    prints \"hislip <port>\")\n"
         "  --announce        answer mDNS/DNS-SD queries for its services on 127.0.0.1\n"
         "                    (prints \"mdns <port>\")\n"
         "  --mdns-port N     port of those answers (default 5353; 0 picks a free port)\n"
         "  --help            this text\n";
}

std::string ParseOptions(int argc, const char* const* argv, SimOptions& options) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view value;
    bool has_inline_value = false;
    if (std::size_t eq = arg.find('='); eq != std::string_view::npos && arg.starts_with("--")) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      has_inline_value = true;
    }
    auto take_value = [&](std::string_view& out) {
      if (has_inline_value) {
        out = value;
        return true;
      }
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string_view v;
    if (arg == "--pty") {
      options.pty = true;
    } else if (arg == "--garbage") {
      options.garbage = true;
    } else if (arg == "--vxi11-ignore-timeout") {
      options.vxi11_ignore_timeout = true;
    } else if (arg == "--announce") {
      options.announce = true;
    } else if (arg == "--vxi11") {
      options.vxi11 = true;
    } else if (arg == "--hislip") {
      options.hislip_port = 4880;
      std::string_view port = has_inline_value ? value : std::string_view();
      if (!has_inline_value && i + 1 < argc &&
          ParseNumber(std::string_view(argv[i + 1]), options.hislip_port)) {
        ++i;
      } else if (has_inline_value && !ParseNumber(port, options.hislip_port)) {
        return "bad port: " + std::string(port);
      }
      if (options.hislip_port < 0 || options.hislip_port > 65535) return "bad HiSLIP port";
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (!take_value(v)) {
      return "unknown option or missing value: " + std::string(arg);
    } else if (arg == "--port") {
      if (!ParseNumber(v, options.port) || options.port < 0 || options.port > 65535) {
        return "bad port: " + std::string(v);
      }
    } else if (arg == "--listen") {
      in_addr parsed{};
      if (inet_pton(AF_INET, std::string(v).c_str(), &parsed) != 1) {
        return "bad listen address (an IPv4 address, 0.0.0.0 for all): " + std::string(v);
      }
      options.listen = std::string(v);
    } else if (arg == "--mdns-port") {
      if (!ParseNumber(v, options.mdns_port) || options.mdns_port < 0 ||
          options.mdns_port > 65535) {
        return "bad port: " + std::string(v);
      }
    } else if (arg == "--portmapper-port") {
      if (!ParseNumber(v, options.portmapper_port) || options.portmapper_port < 0 ||
          options.portmapper_port > 65535) {
        return "bad port: " + std::string(v);
      }
    } else if (arg == "--model") {
      if (!FindModel(v)) return "unknown model: " + std::string(v);
      options.model = std::string(v);
    } else if (arg == "--serial") {
      options.serial = std::string(v);
    } else if (arg == "--load-ohms") {
      if (!ParseNumber(v, options.load_ohms) || !(options.load_ohms >= 1e-3) ||
          !(options.load_ohms <= 1e9)) {
        return "bad load: " + std::string(v);
      }
    } else if (arg == "--noise") {
      if (!ParseNumber(v, options.noise) || !(options.noise >= 0.0) || !(options.noise <= 0.01)) {
        return "bad noise: " + std::string(v);
      }
    } else if (arg == "--seed") {
      if (!ParseNumber(v, options.seed)) return "bad seed: " + std::string(v);
    } else if (arg == "--drop-after") {
      if (!ParseNumber(v, options.drop_after) || options.drop_after < 0) {
        return "bad count: " + std::string(v);
      }
    } else if (arg == "--stall-after") {
      if (!ParseNumber(v, options.stall_after) || options.stall_after < 0) {
        return "bad count: " + std::string(v);
      }
    } else if (arg == "--delay-ms") {
      if (!ParseNumber(v, options.delay_ms) || options.delay_ms < 0 || options.delay_ms > 600000) {
        return "bad delay: " + std::string(v);
      }
    } else if (arg == "--iv-max-points") {
      if (!ParseNumber(v, options.iv_max_points) || options.iv_max_points > kMaxIvPoints) {
        return "bad point count: " + std::string(v);
      }
    } else if (arg == "--log-capacity") {
      if (!ParseNumber(v, options.log_capacity) || options.log_capacity < 1 ||
          options.log_capacity > kMaxLogCapacity) {
        return "bad capacity: " + std::string(v);
      }
    } else {
      return "unknown option: " + std::string(arg);
    }
  }
  return {};
}

}  // namespace tqrsim
