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
#define MIN_MAX(Name, Command)                       \
  inst.Reply(Command, "0.5;55\n");                   \
  EXPECT_EQ(ch->Name(&lo, &hi), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), Command);              \
  EXPECT_EQ(lo, 0.5);                                \
  EXPECT_EQ(hi, 55);
  MOTQR_PROTECTION_MIN_MAX(MIN_MAX)
#undef MIN_MAX
  EXPECT_EQ(ch->Clear(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP:PROT:CLE");
  // A words-style enable reads the numeric reply too, and rejects other spellings.
  VARIANT_BOOL on = 0;
  inst.Reply(":OUTP:PROT:WDOG?", "0\n");
  EXPECT_EQ(ch->get_WatchdogEnabled(&on), com::S_OK);
  EXPECT_EQ(on, com::VARIANT_FALSE);
  inst.Reply(":OUTP:PROT:WDOG?", "on\n");
  EXPECT_EQ(ch->get_WatchdogEnabled(&on), errors::E_IVI_UNEXPECTED_RESPONSE);
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
#define MIN_MAX(Name, Command)                       \
  inst.Reply(Command, "-2e-3;1E+3\n");               \
  EXPECT_EQ(ch->Name(&lo, &hi), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), Command);              \
  EXPECT_EQ(lo, -0.002);                             \
  EXPECT_EQ(hi, 1000);
  MOTQR_SINE_MIN_MAX(MIN_MAX)
#undef MIN_MAX
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
