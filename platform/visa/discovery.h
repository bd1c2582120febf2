// Finds the instruments reachable from this computer within a time bound, each as a resource
// name with its "*IDN?" answer: VXI-11 instruments answering a portmapper query broadcast on
// every IPv4 interface (and this computer itself), instruments announcing _scpi-raw._tcp,
// _hislip._tcp or _vxi-11._tcp over mDNS/DNS-SD (asked on the mDNS group and on this
// computer), usbtmc devices, and serial adapters (/dev/ttyUSB*, /dev/ttyACM*).
//
//   for (const auto& found : motqr::visa::DiscoverResources({.timeout_ms = 2000}))
//     printf("%s  %s\n", found.resource.c_str(), found.identity.c_str());
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/visa/visa_types.h"

namespace motqr::visa {

struct DiscoveryOptions {
  ViUInt32 timeout_ms = 2000;  // the whole search, "*IDN?" queries included
  bool lan = true;
  bool usb = true;
  bool serial = true;
  bool loopback_only = false;      // ask this computer only (tests: nothing leaves the machine)
  std::uint16_t mdns_port = 5353;  // where this computer's mDNS responder is asked
};

struct DiscoveredResource {
  std::string resource;  // "TCPIP::192.168.1.20::inst0::INSTR"
  std::string identity;  // the "*IDN?" answer without its terminator; empty when none came
  std::string how;       // "vxi11", "mdns", "usbtmc", "serial"
};

// Sorted by resource name; the same resource is listed once.
std::vector<DiscoveredResource> DiscoverResources(const DiscoveryOptions& options);

}  // namespace motqr::visa
