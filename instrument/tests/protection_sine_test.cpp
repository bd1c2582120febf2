#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_sine.h"
#include "instrument/testing/member_fixture.h"
#include "instrument/tests/property_checks.h"

namespace motqr::testing {
namespace {

using Protection = TestChannel<instrument::OutputChannelProtection>;
using Sine = TestChannel<instrument::OutputChannelSine>;

TEST(Protection, ClearSendsTheAlarmClear) {
  ScriptedInstrument inst;
  MemberFixture<Protection> f(&inst, &commands::EnumTokenPort());
  ASSERT_EQ(f.status, com::S_OK);
  Protection* ch = f.channel.Get();
  EXPECT_EQ(ch->Clear(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP:PROT:CLE");
}

TEST(Protection, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Protection> f(nullptr, &commands::EnumTokenPort());
  Protection* ch = f.channel.Get();
  std::vector<std::string> names;  // every protection setting has a simulation value
#define MOTQR_ON_PROPERTY MOTQR_COLLECT_NOT_SIMULATED
  MOTQR_PROTECTION_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  EXPECT_TRUE(names.empty());
#define MOTQR_ON_PROPERTY MOTQR_CHECK_SIMULATED
  MOTQR_PROTECTION_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  f.driver->Reset();
#define MOTQR_ON_PROPERTY MOTQR_CHECK_RESET_TO_ZERO
  MOTQR_PROTECTION_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  EXPECT_EQ(ch->Clear(), errors::E_IVI_NOT_INITIALIZED);
}

TEST(Sine, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Sine> f(nullptr);
  Sine* ch = f.channel.Get();
  std::vector<std::string> names;
#define MOTQR_ON_PROPERTY MOTQR_COLLECT_NOT_SIMULATED
  MOTQR_SINE_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  EXPECT_TRUE(names.empty());
#define MOTQR_ON_PROPERTY MOTQR_CHECK_SIMULATED
  MOTQR_SINE_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  f.driver->Reset();
#define MOTQR_ON_PROPERTY MOTQR_CHECK_RESET_TO_ZERO
  MOTQR_SINE_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
  double lo = 0, hi = 0;
  EXPECT_EQ(ch->QueryVoltageOffsetMinMax(&lo, &hi), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
