// The output against tqr-sim on a resistive load: regulation, measurement, the
// regulation state the driver reads, a rejected level and a protection trip.
#include <gtest/gtest.h>

#include "interfaces/motqr_interfaces.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

class OutputE2e : public SimSessionTest {
 protected:
  OutputE2e() : SimSessionTest({"--load-ohms", "2", "--noise", "0.0005"}) {}

  bool InState(IviDCPwrOutputStateEnum state) {
    VARIANT_BOOL in = 0;
    EXPECT_EQ(output_->QueryState(state, &in), com::S_OK) << LastError();
    return in == 1;
  }
  double Measure(IviDCPwrMeasurementTypeEnum what) {
    double v = -1;
    EXPECT_EQ(output_->Measure(what, &v), com::S_OK) << LastError();
    return v;
  }
};

TEST_F(OutputE2e, FiveVoltsOneAmpOnTwoOhmsRegulatesCurrent) {
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK) << LastError();
  ASSERT_EQ(output_->put_CurrentLimit(1), com::S_OK) << LastError();
  ASSERT_EQ(output_->put_Enabled(com::VARIANT_TRUE), com::S_OK) << LastError();
  EXPECT_TRUE(InState(IviDCPwrOutputConstantCurrent));
  EXPECT_FALSE(InState(IviDCPwrOutputConstantVoltage));
  EXPECT_NEAR(Measure(IviDCPwrMeasurementCurrent), 1.0, 0.002);
  EXPECT_NEAR(Measure(IviDCPwrMeasurementVoltage), 2.0, 0.004);
  double level = 0;
  ASSERT_EQ(output_->get_VoltageLevel(&level), com::S_OK);
  EXPECT_EQ(level, 5);  // the setting, not the measurement
  // A 3 A limit lets the output reach its 5 V setting: constant voltage.
  ASSERT_EQ(output_->put_CurrentLimit(3), com::S_OK);
  EXPECT_TRUE(InState(IviDCPwrOutputConstantVoltage));
  EXPECT_NEAR(Measure(IviDCPwrMeasurementCurrent), 2.5, 0.005);
}

TEST_F(OutputE2e, AnOverRangeLevelIsTheInstrumentsErrorAndErrorQueryReadsIt) {
  EXPECT_EQ(output_->put_VoltageLevel(1e6), kInstrumentStatus);
  std::int32_t code = 0;
  com::Bstr text;
  ASSERT_EQ(As<IIviDriverUtility>(driver_)->ErrorQuery(&code, text.Put()), com::S_OK);
  EXPECT_EQ(code, -222);
  EXPECT_EQ(text.ToUtf8(), "Data out of range");
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK);  // the session goes on
}

TEST_F(OutputE2e, AnOvervoltageTripIsSeenAndCleared) {
  ASSERT_EQ(output_->put_VoltageLevel(5), com::S_OK);
  ASSERT_EQ(output_->put_CurrentLimit(3), com::S_OK);
  ASSERT_EQ(output_->put_OVPLimit(4), com::S_OK);
  ASSERT_EQ(output_->put_Enabled(com::VARIANT_TRUE), com::S_OK);
  EXPECT_TRUE(InState(IviDCPwrOutputOverVoltage));
  VARIANT_BOOL enabled = com::VARIANT_TRUE;
  ASSERT_EQ(output_->get_Enabled(&enabled), com::S_OK);
  EXPECT_EQ(enabled, com::VARIANT_FALSE);  // the trip switched the output off
  ASSERT_EQ(output_->put_OVPLimit(10), com::S_OK);
  ASSERT_EQ(output_->ResetOutputProtection(), com::S_OK);
  EXPECT_FALSE(InState(IviDCPwrOutputOverVoltage));
  ASSERT_EQ(output_->put_Enabled(com::VARIANT_TRUE), com::S_OK);
  EXPECT_NEAR(Measure(IviDCPwrMeasurementVoltage), 5.0, 0.01);
}

}  // namespace
}  // namespace motqr::e2e
