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

TEST(Protection, ClearSendsTheAlarmClear) {
  ScriptedInstrument inst;
  MemberFixture<Protection> f(&inst, &commands::FindEnumConverter);
  ASSERT_EQ(f.status, com::S_OK);
  Protection* ch = f.channel.Get();
  EXPECT_EQ(ch->Clear(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP:PROT:CLE");
}

TEST(Protection, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Protection> f(nullptr, &commands::FindEnumConverter);
  Protection* ch = f.channel.Get();
  std::vector<std::string> names;  // every protection setting has a simulation value
#define WALK15_COMMAND(...)
#define WALK15_MIN_MAX(...)
#define WALK15_PROPERTY MOTQR_COLLECT_NOT_SIMULATED
  MOTQR_PROTECTION_MEMBERS(WALK15)
#undef WALK15_COMMAND
#undef WALK15_MIN_MAX
#undef WALK15_PROPERTY
  EXPECT_TRUE(names.empty());
#define WALK16_COMMAND(...)
#define WALK16_MIN_MAX(...)
#define WALK16_PROPERTY MOTQR_CHECK_SIMULATED
  MOTQR_PROTECTION_MEMBERS(WALK16)
#undef WALK16_COMMAND
#undef WALK16_MIN_MAX
#undef WALK16_PROPERTY
  f.driver->Reset();
#define WALK17_COMMAND(...)
#define WALK17_MIN_MAX(...)
#define WALK17_PROPERTY MOTQR_CHECK_RESET_TO_ZERO
  MOTQR_PROTECTION_MEMBERS(WALK17)
#undef WALK17_COMMAND
#undef WALK17_MIN_MAX
#undef WALK17_PROPERTY
  EXPECT_EQ(ch->Clear(), errors::E_IVI_NOT_INITIALIZED);
}

TEST(Sine, SimulatedValuesRoundTripAndResetToZero) {
  MemberFixture<Sine> f(nullptr);
  Sine* ch = f.channel.Get();
  std::vector<std::string> names;
#define WALK20_MIN_MAX(...)
#define WALK20_PROPERTY MOTQR_COLLECT_NOT_SIMULATED
  MOTQR_SINE_MEMBERS(WALK20)
#undef WALK20_MIN_MAX
#undef WALK20_PROPERTY
  EXPECT_TRUE(names.empty());
#define WALK21_MIN_MAX(...)
#define WALK21_PROPERTY MOTQR_CHECK_SIMULATED
  MOTQR_SINE_MEMBERS(WALK21)
#undef WALK21_MIN_MAX
#undef WALK21_PROPERTY
  f.driver->Reset();
#define WALK22_MIN_MAX(...)
#define WALK22_PROPERTY MOTQR_CHECK_RESET_TO_ZERO
  MOTQR_SINE_MEMBERS(WALK22)
#undef WALK22_MIN_MAX
#undef WALK22_PROPERTY
  double lo = 0, hi = 0;
  EXPECT_EQ(ch->QueryVoltageOffsetMinMax(&lo, &hi), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
