// A test fixture for scenarios that span several driver interfaces: a driver
// session with status checking on a fresh tqr-sim (no measurement noise; over
// the raw socket unless another wire is asked for), its
// output channel, and a second plain connection that moves the simulator's
// clock by hand, so that programs and integration run in simulated time.
//
//   TEST_F(SimSessionTest, Something) {
//     auto program = Root<IMorvaneTqrProgram>();
//     AdvanceSeconds(100);
//   }
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "interfaces/motqr_interfaces.h"
#include "platform/visa/vxi11_transport.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/raw_instrument.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {

// The resource reaching `sim` over `wire` (started with WireOptions(wire)); for VXI-11 it
// also points the driver's portmapper lookup at the simulator's portmapper.
inline std::string ResourceFor(const SimProcess& sim, Wire wire) {
  switch (wire) {
    case Wire::kSocket:
      return sim.SocketResource();
    case Wire::kVxi11:
      visa::SetPortmapperPortForTesting(static_cast<std::uint16_t>(sim.portmapper_port()));
      return sim.Vxi11Resource();
    case Wire::kHislip:
      return sim.HislipResource();
  }
  return {};
}

// A driver object and its first output channel, with each interface of either
// at hand. Initialize is the fixture's own.
class DriverTest : public ::testing::Test {
 protected:
  void TearDown() override { driver_->Close(); }

  // Takes the first output channel of the initialized driver.
  void TakeOutput() {
    com::ComPtr<IIviDCPwrOutputs> outputs;
    ASSERT_EQ(As<IIviDCPwr>(driver_)->get_Outputs(outputs.Put()), com::S_OK);
    ASSERT_EQ(outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output_.Put()),
              com::S_OK);
  }
  // An interface of the driver object (every one is the driver itself).
  template <class I>
  com::ComPtr<I> Root() {
    return As<I>(driver_);
  }
  // An interface of the output channel object.
  template <class I>
  com::ComPtr<I> Channel() {
    com::ComPtr<I> r;
    output_.As(&r);
    return r;
  }

  com::ComPtr<IIviDriver> driver_ = NewDriver();
  com::ComPtr<IIviDCPwrOutput> output_;
};

class SimSessionTest : public DriverTest {
 protected:
  SimSessionTest() : SimSessionTest({"--noise", "0"}) {}
  // A fixture on a tqr-sim started with `sim_options`, reached over `wire`.
  explicit SimSessionTest(std::vector<std::string> sim_options, Wire wire = Wire::kSocket)
      : wire_(wire), sim_(WithWire(std::move(sim_options), wire)) {}

  void SetUp() override {
    ASSERT_TRUE(sim_.ok()) << sim_.error();
    ASSERT_EQ(
        Initialize(driver_.Get(), ResourceFor(sim_, wire_), true, true, "QueryInstrStatus=true"),
        com::S_OK)
        << LastError();
    TakeOutput();
    ASSERT_TRUE(clock_.connected());
  }
  // Moves simulated time forward and returns once tqr-sim has done so.
  void AdvanceSeconds(int seconds) {
    ASSERT_TRUE(clock_.Send("SIM:TIME:ADV " + std::to_string(seconds) + ";:SIM:TIME?"));
    ASSERT_FALSE(clock_.ReadLine().empty());
  }

  static std::vector<std::string> WithWire(std::vector<std::string> options, Wire wire) {
    for (std::string& option : WireOptions(wire)) options.push_back(std::move(option));
    return options;
  }

  Wire wire_;
  SimProcess sim_;
  RawClient clock_{sim_.port()};
};

inline com::Bstr Text(const char* text) { return com::Bstr::FromUtf8(text); }

}  // namespace motqr::e2e
