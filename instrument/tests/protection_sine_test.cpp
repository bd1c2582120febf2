#include <gtest/gtest.h>

#include "commands/find_enum_converter.h"
#include "errors/status_codes.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_sine.h"
#include "instrument/testing/member_fixture.h"
#include "instrument/tests/property_checks.h"

namespace motqr::testing {
namespace {

using Protection = TestChannel<instrument::OutputChannelProtection>;
using Sine = TestChannel<instrument::OutputChannelSine>;

// The protection enables are written as words.
const TokenMap kProtectionTokens = {
    {"LowerOVPEnabled", "ON"}, {"WatchdogEnabled", "ON"}, {"RemoteSensingErrorEnabled", "ON"}};

TEST(Protection, MembersSendTheirCommands) {
  ScriptedInstrument inst;
  MemberFixture<Protection> f(&inst, &commands::FindEnumConverter);
  ASSERT_EQ(f.status, com::S_OK);
  Protection* ch = f.channel.Get();
  const TokenMap& tokens = kProtectionTokens;
  MOTQR_PROTECTION_PROPERTIES(MOTQR_CHECK_WIRE)
  double lo = 0, hi = 0;
  MOTQR_PROTECTION_MIN_MAX(MOTQR_CHECK_MIN_MAX)
  EXPECT_EQ(ch->Clear(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP:PROT:CLE");
}

TEST(Protection, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Protection> f(nullptr, &commands::FindEnumConverter);
  Protection* ch = f.channel.Get();
  std::vector<std::string> names;  // every protection setting has a simulation value
  MOTQR_PROTECTION_PROPERTIES(MOTQR_COLLECT_NOT_SIMULATED)
  EXPECT_TRUE(names.empty());
  MOTQR_PROTECTION_PROPERTIES(MOTQR_CHECK_SIMULATED)
  f.driver->Reset();
  MOTQR_PROTECTION_PROPERTIES(MOTQR_CHECK_RESET_TO_ZERO)
  EXPECT_EQ(ch->Clear(), errors::E_IVI_NOT_INITIALIZED);
}

TEST(Sine, MembersSendTheirCommands) {
  ScriptedInstrument inst;
  MemberFixture<Sine> f(&inst);
  ASSERT_EQ(f.status, com::S_OK);
  Sine* ch = f.channel.Get();
  const TokenMap tokens;
  MOTQR_SINE_PROPERTIES(MOTQR_CHECK_WIRE)
  double lo = 0, hi = 0;
  MOTQR_SINE_MIN_MAX(MOTQR_CHECK_MIN_MAX)
}

TEST(Sine, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Sine> f(nullptr);
  Sine* ch = f.channel.Get();
  std::vector<std::string> names;
  MOTQR_SINE_PROPERTIES(MOTQR_COLLECT_NOT_SIMULATED)
  EXPECT_TRUE(names.empty());
  MOTQR_SINE_PROPERTIES(MOTQR_CHECK_SIMULATED)
  f.driver->Reset();
  MOTQR_SINE_PROPERTIES(MOTQR_CHECK_RESET_TO_ZERO)
  double lo = 0, hi = 0;
  EXPECT_EQ(ch->QueryVoltageOffsetMinMax(&lo, &hi), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
