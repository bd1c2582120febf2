// Command-line options of tqr-sim.
#pragma once

#include <cstddef>
#include <string>

#include "sim/data_logger.h"
#include "sim/iv_map.h"

namespace tqrsim {

struct SimOptions {
  int port = 5025;                   // 0 picks a free port
  std::string listen = "127.0.0.1";  // the IPv4 address the port is bound to
  bool pty = false;
  std::string model = "TQR-M4";
  std::string serial;
  double load_ohms = 10.0;
  double noise = 1e-4;
  unsigned seed = 1;
  long drop_after = -1;   // close a connection after this many messages; -1: never
  long stall_after = -1;  // stop answering after this many messages; -1: never
  int delay_ms = 0;
  bool garbage = false;
  bool vxi11_ignore_timeout = false;  // VXI-11 reads wait past their time-out until aborted
  std::size_t iv_max_points = IvMap::kDefaultMaxPoints;  // per I-V map
  std::size_t log_capacity = DataLogger::kDefaultCapacity;
  bool vxi11 = false;         // serve VXI-11 (core and abort channels)
  int portmapper_port = 111;  // where the VXI-11 core channel is made findable; 0: a free port
  int hislip_port = -1;       // serve HiSLIP on this port (0: a free one); -1: not at all
  bool announce = false;      // answer DNS-SD queries over mDNS on 127.0.0.1
  int mdns_port = 5353;       // 0 picks a free port
  bool help = false;
};

// Parses argv[1..]; returns an empty text on success, else what was wrong.
std::string ParseOptions(int argc, const char* const* argv, SimOptions& options);
std::string UsageText();

}  // namespace tqrsim
