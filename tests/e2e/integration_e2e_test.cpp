// Integration on tqr-sim: a manual gate opened for a few simulated seconds on a
// known load, the logged charge read out oldest first and removed.
#include <cstddef>

#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

class IntegrationE2e : public SimSessionTest {};

// 5 V on the default 10 ohm load draws 0.5 A; the logger records the integrated
// charge once a second while the gate is open.
TEST_F(IntegrationE2e, TheLoggerHoldsTheChargeOfEachSecond) {
  auto data = Root<IMorvaneTqrData>();
  ASSERT_EQ(data->ConfigureIntegralGateStartStopCondition(
                MorvaneTqrDataIntegralGateStartStopConditionManual),
            com::S_OK)
      << LastError();
  ASSERT_EQ(data->ResetIntegralData(), com::S_OK) << LastError();
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK);
  ASSERT_EQ(output_->put_CurrentLimit(2), com::S_OK);
  ASSERT_EQ(output_->put_Enabled(com::VARIANT_TRUE), com::S_OK);

  ASSERT_EQ(data->StartIntegral(), com::S_OK) << LastError();
  AdvanceSeconds(4);
  ASSERT_EQ(data->StopIntegral(), com::S_OK) << LastError();

  std::int32_t remaining = 0;
  ASSERT_EQ(data->QueryIntegralDataRemainPoints(&remaining), com::S_OK) << LastError();
  ASSERT_EQ(remaining, 4);
  com::SafeArray first;
  ASSERT_EQ(data->RemoveIntegralData(3, first.Put()), com::S_OK) << LastError();
  const auto values = first.Data<double>();
  ASSERT_EQ(values.size(), 3u);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_NEAR(values[i], 0.5 * static_cast<double>(i + 1) / 3600.0, 1e-6) << i;
  }
  // Asking for more than is left hands over what there is.
  com::SafeArray rest;
  ASSERT_EQ(data->RemoveIntegralData(10, rest.Put()), com::S_OK) << LastError();
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_NEAR(rest.Data<double>()[0], 2.0 / 3600.0, 1e-6);
  ASSERT_EQ(data->QueryIntegralDataRemainPoints(&remaining), com::S_OK);
  EXPECT_EQ(remaining, 0);
}

// The gate only opens by hand when the condition says so: the instrument refuses
// a manual start otherwise, and the driver reports its error.
TEST_F(IntegrationE2e, AManualStartUnderAnotherGateConditionIsRefused) {
  auto data = Root<IMorvaneTqrData>();
  ASSERT_EQ(data->ConfigureIntegralGateStartStopCondition(
                MorvaneTqrDataIntegralGateStartStopConditionOutputStateOnOff),
            com::S_OK);
  EXPECT_EQ(data->StartIntegral(), kInstrumentStatus);
  MorvaneTqrDataIntegralGateStartStopConditionEnum condition{};
  ASSERT_EQ(data->QueryIntegralGateStartStopCondition(&condition), com::S_OK) << LastError();
  EXPECT_EQ(condition, MorvaneTqrDataIntegralGateStartStopConditionOutputStateOnOff);
}

}  // namespace
}  // namespace motqr::e2e
