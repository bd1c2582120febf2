// The driver over each way tqr-sim is reached (raw socket, VXI-11, HiSLIP): levels,
// measurements and a block transfer, an instrument error found by the status check (the
// status byte is read the wire's own way), a stalled instrument timing out, and a dropped
// connection followed by a new session.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>

#include "interfaces/motqr_interfaces.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string ParamName(const ::testing::TestParamInfo<Wire>& param_info) {
  return WireName(param_info.param);
}

class WiresE2e : public SimSessionTest, public ::testing::WithParamInterface<Wire> {
 protected:
  WiresE2e()
      : SimSessionTest({"--noise", "0", "--load-ohms", "2", "--iv-max-points", "4096"},
                       GetParam()) {}
};

TEST_P(WiresE2e, LevelsMeasurementsAndAnIvMapCrossTheWire) {
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK) << LastError();
  ASSERT_EQ(output_->put_CurrentLimit(1), com::S_OK) << LastError();
  ASSERT_EQ(output_->put_Enabled(com::VARIANT_TRUE), com::S_OK) << LastError();
  double amps = 0;
  ASSERT_EQ(output_->Measure(IviDCPwrMeasurementCurrent, &amps), com::S_OK) << LastError();
  EXPECT_NEAR(amps, 1.0, 1e-6);  // 5 V on 2 ohm would be 2.5 A: the limit holds

  // 3000 points: a block larger than one HiSLIP or socket read.
  constexpr std::size_t kPoints = 3000;
  com::SafeArray map = com::SafeArray::CreateVector(com::VT_R8, 2 * kPoints);
  auto values = map.Data<double>();
  for (std::size_t i = 0; i < kPoints; ++i) {
    values[2 * i] = static_cast<double>(i % 200) / 2 - 50;  // -50 .. 49.5 V
    values[2 * i + 1] = static_cast<double>(i % 40) / 2 - 10;
  }
  auto iv = Channel<IMorvaneTqrOutputChannelIV>();
  ASSERT_EQ(iv->SetVoltageIVMap(map.Get()), com::S_OK) << LastError();
  com::SafeArray back = com::SafeArray::CreateVector(com::VT_R8, 2 * kPoints);
  com::SAFEARRAY* array = back.Get();
  ASSERT_EQ(iv->GetVoltageIVMap(&array), com::S_OK) << LastError();
  const auto got = back.Data<double>();
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], values[i]) << "value " << i;
}

TEST_P(WiresE2e, AnInstrumentErrorIsFoundByTheStatusCheck) {
  EXPECT_EQ(output_->put_VoltageLevel(1e6), kInstrumentStatus);
  std::int32_t code = 0;
  com::Bstr text;
  ASSERT_EQ(As<IIviDriverUtility>(driver_)->ErrorQuery(&code, text.Put()), com::S_OK);
  EXPECT_EQ(code, -222);
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK) << LastError();  // the session goes on
  double level = 0;
  ASSERT_EQ(output_->get_VoltageLevel(&level), com::S_OK) << LastError();
  EXPECT_EQ(level, 5);
}

INSTANTIATE_TEST_SUITE_P(Wires, WiresE2e,
                         ::testing::Values(Wire::kSocket, Wire::kVxi11, Wire::kHislip), ParamName);

class WireFaultsE2e : public ::testing::TestWithParam<Wire> {
 protected:
  std::vector<std::string> Options(std::vector<std::string> faults) {
    for (std::string& option : WireOptions(GetParam())) faults.push_back(std::move(option));
    return faults;
  }
  // Initialize with its "*IDN?" on `sim`, over the wire under test.
  void Open(const SimProcess& sim) {
    ASSERT_TRUE(sim.ok()) << sim.error();
    ASSERT_EQ(Initialize(driver_.Get(), ResourceFor(sim, GetParam()), true, false), com::S_OK)
        << LastError();
  }
  com::HRESULT SelfTest() {
    std::int32_t result = 0;
    com::Bstr message;
    return As<IIviDriverUtility>(driver_)->SelfTest(&result, message.Put());
  }

  com::ComPtr<IIviDriver> driver_ = NewDriver();
};

TEST_P(WireFaultsE2e, AStalledInstrumentTimesOutInTime) {
  SimProcess sim(Options({"--stall-after", "1"}));  // answers "*IDN?" of Initialize only
  ASSERT_NO_FATAL_FAILURE(Open(sim));
  const auto start = Clock::now();
  // "*TST?" runs under the self-test time-out of 2000 ms.
  EXPECT_EQ(SelfTest(), kIoTimeout);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(1900));
  EXPECT_LT(elapsed, milliseconds(3500));
  EXPECT_NE(LastError().find("I/O timeout error"), std::string::npos);
  EXPECT_EQ(driver_->Close(), com::S_OK);
}

TEST_P(WireFaultsE2e, ADroppedConnectionIsAnIoErrorAndANewSessionWorks) {
  SimProcess sim(Options({"--drop-after", "1"}));  // closes after answering "*IDN?"
  ASSERT_NO_FATAL_FAILURE(Open(sim));
  const auto start = Clock::now();
  EXPECT_EQ(SelfTest(), kIoGeneral);
  EXPECT_LT(Clock::now() - start, milliseconds(1500));  // no waiting for a time-out
  EXPECT_EQ(driver_->Close(), com::S_OK);

  ASSERT_NO_FATAL_FAILURE(Open(sim));
  EXPECT_EQ(Model(driver_), "TQR-M4");
  EXPECT_EQ(driver_->Close(), com::S_OK);
}

INSTANTIATE_TEST_SUITE_P(Wires, WireFaultsE2e,
                         ::testing::Values(Wire::kSocket, Wire::kVxi11, Wire::kHislip), ParamName);

}  // namespace
}  // namespace motqr::e2e
