// Discovery against tqr-sim on this computer only: the VXI-11 portmapper query and its mDNS
// answers find it, its "*IDN?" answer comes with each resource, and a silent instrument is
// listed without one, all within the time bound.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/visa/discovery.h"
#include "platform/visa/vxi11_transport.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<visa::DiscoveredResource> DiscoverOnThisComputer(const SimProcess& sim,
                                                             visa::ViUInt32 timeout_ms) {
  visa::SetPortmapperPortForTesting(static_cast<std::uint16_t>(sim.portmapper_port()));
  visa::DiscoveryOptions options;
  options.timeout_ms = timeout_ms;
  options.usb = false;
  options.serial = false;
  options.loopback_only = true;
  options.mdns_port = static_cast<std::uint16_t>(sim.mdns_port());
  return visa::DiscoverResources(options);
}

TEST(DiscoveryE2e, FindsTheSimulatorOverVxi11WithinTheBound) {
  SimProcess sim({"--vxi11", "--portmapper-port", "0", "--model", "TQR-M6"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const auto start = Clock::now();
  const auto found = DiscoverOnThisComputer(sim, 1500);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].resource, "TCPIP::127.0.0.1::inst0::INSTR");
  EXPECT_EQ(found[0].identity, "MORVANE,TQR-M6,M6A004217,1.04");
  EXPECT_EQ(found[0].how, "vxi11");
}

TEST(DiscoveryE2e, AnnouncedServicesAreListedWithTheirAnswers) {
  SimProcess sim(
      {"--vxi11", "--portmapper-port", "0", "--hislip", "0", "--announce", "--mdns-port", "0"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const auto found = DiscoverOnThisComputer(sim, 1500);
  std::vector<std::string> listed;
  for (const auto& resource : found) {
    listed.push_back(resource.resource + " " + resource.identity);
  }
  const std::string identity = " MORVANE,TQR-M4,M4A004217,1.04";
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "TCPIP::127.0.0.1::" + std::to_string(sim.port()) + "::SOCKET" + identity,
                        "TCPIP::127.0.0.1::hislip0," + std::to_string(sim.hislip_port()) +
                            "::INSTR" + identity,
                        "TCPIP::127.0.0.1::inst0::INSTR" + identity}));
}

TEST(DiscoveryE2e, ASilentInstrumentIsListedWithoutAnAnswerInTime) {
  SimProcess sim({"--vxi11", "--portmapper-port", "0", "--stall-after", "0"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const auto start = Clock::now();
  const auto found = DiscoverOnThisComputer(sim, 1000);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].identity, "");
}

}  // namespace
}  // namespace motqr::e2e
