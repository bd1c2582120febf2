// tqr-sim: a simulated Morvane TQR supply for tests, demonstrations and users without
// hardware. Prints "port <N>" (and "pty <path>") on stdout once it is ready.
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim/hislip_server.h"
#include "sim/instrument.h"
#include "sim/mdns_responder.h"
#include "sim/model_ratings.h"
#include "sim/server.h"
#include "sim/sim_clock.h"
#include "sim/sim_options.h"
#include "sim/vxi11_server.h"

namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnSignal(int) { g_stop.store(true); }

}  // namespace

int main(int argc, char** argv) {
  tqrsim::SimOptions options;
  std::string problem = tqrsim::ParseOptions(argc, argv, options);
  if (!problem.empty()) {
    std::fprintf(stderr, "tqr-sim: %s\n%s", problem.c_str(), tqrsim::UsageText().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(tqrsim::UsageText().c_str(), stdout);
    return 0;
  }
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  tqrsim::SimClock clock;
  tqrsim::InstrumentOptions instrument_options;
  instrument_options.serial = options.serial;
  instrument_options.model = {options.load_ohms, options.noise, options.seed, options.iv_max_points,
                              options.log_capacity};
  tqrsim::Instrument instrument(*tqrsim::FindModel(options.model), clock, instrument_options);
  // A message must hold a whole I-V map block: 8 bytes a point and its header.
  const std::size_t message_limit =
      std::max(tqrsim::MessageFramer::kDefaultLimit, 8 * options.iv_max_points + 64);
  const tqrsim::FaultOptions faults{options.drop_after, options.stall_after, options.delay_ms,
                                    options.garbage, options.vxi11_ignore_timeout};
  tqrsim::Server server(instrument, faults, message_limit);
  if (std::string error = server.Listen(options.port, options.listen); !error.empty()) {
    std::fprintf(stderr, "tqr-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("port %d\n", server.port());
  if (options.pty) {
    if (std::string error = server.OpenPty(); !error.empty()) {
      std::fprintf(stderr, "tqr-sim: %s\n", error.c_str());
      return 1;
    }
    std::printf("pty %s\n", server.pty_path().c_str());
  }
  std::unique_ptr<tqrsim::Vxi11Server> vxi11;
  if (options.vxi11) {
    vxi11 = std::make_unique<tqrsim::Vxi11Server>(instrument, faults, message_limit);
    if (std::string error = vxi11->Listen(options.listen); !error.empty()) {
      std::fprintf(stderr, "tqr-sim: VXI-11: %s\n", error.c_str());
      return 1;
    }
    std::printf("vxi11 %d\n", vxi11->core_port());
    if (std::string error = vxi11->StartPortmapper(options.portmapper_port); !error.empty()) {
      std::fprintf(stderr, "tqr-sim: no portmapper: %s\n", error.c_str());
      std::printf("portmapper none\n");
    } else {
      std::printf("portmapper %d\n", vxi11->portmapper_port());
    }
    server.AddService(vxi11.get());
  }
  std::unique_ptr<tqrsim::HislipServer> hislip;
  if (options.hislip_port >= 0) {
    hislip = std::make_unique<tqrsim::HislipServer>(instrument, faults, message_limit);
    if (std::string error = hislip->Listen(options.hislip_port, options.listen); !error.empty()) {
      std::fprintf(stderr, "tqr-sim: HiSLIP: %s\n", error.c_str());
      return 1;
    }
    std::printf("hislip %d\n", hislip->port());
    server.AddService(hislip.get());
  }
  std::unique_ptr<tqrsim::MdnsResponder> mdns;
  if (options.announce) {
    std::vector<tqrsim::AnnouncedService> services{{"_scpi-raw._tcp", server.port()}};
    if (vxi11 && vxi11->portmapper_port() != 0) {
      services.push_back({"_vxi-11._tcp", vxi11->portmapper_port()});
    }
    if (hislip) services.push_back({"_hislip._tcp", hislip->port()});
    // "MORVANE,TQR-M4,M4A004217,1.04" -> "TQR-M4 M4A004217"
    const std::string& identity = instrument.identity();
    const std::size_t model = identity.find(',') + 1;
    const std::size_t serial = identity.find(',', model) + 1;
    const std::string instance = identity.substr(model, serial - model - 1) + " " +
                                 identity.substr(serial, identity.find(',', serial) - serial);
    mdns = std::make_unique<tqrsim::MdnsResponder>(instance, services);
    if (std::string error = mdns->Listen(options.mdns_port); !error.empty()) {
      std::fprintf(stderr, "tqr-sim: mDNS: %s\n", error.c_str());
      return 1;
    }
    std::printf("mdns %d\n", mdns->port());
    server.AddService(mdns.get());
  }
  std::fflush(stdout);
  server.Run(g_stop);
  return 0;
}
