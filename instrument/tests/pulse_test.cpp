#include "instrument/output_channel_pulse.h"

#include <gtest/gtest.h>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"
#include "instrument/tests/property_checks.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::OutputChannelPulse>;

TEST(Pulse, PropertiesWriteAndReadTheirCommands) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  ASSERT_EQ(f.status, com::S_OK);
  EXPECT_EQ(f.channel->put_CurrentFrequency(12.3456789), com::S_OK);
  EXPECT_EQ(f.channel->put_VoltageLowLevel(0.0000001), com::S_OK);
  inst.Reply(":VOLT:PULS:DCYC?", "25.5\n");
  double v = 0;
  EXPECT_EQ(f.channel->get_VoltageDutyCycle(&v), com::S_OK);
  EXPECT_EQ(v, 25.5);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":CURR:PULS:FREQ 12.3457", ":VOLT:PULS:LOW 1e-07",
                                                 ":VOLT:PULS:DCYC?"}));
}

TEST(Pulse, MinMaxQueriesReadBothValues) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  inst.Reply(":CURR:PULS:HIGH? MIN;HIGH? MAX", "-20;20\n");
  double lo = 1, hi = 1;
  ASSERT_EQ(f.channel->QueryCurrentHighLevelMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(lo, -20);
  EXPECT_EQ(hi, 20);
  EXPECT_EQ(f.channel->QueryCurrentHighLevelMinMax(&lo, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), 1u);  // nothing sent for the null pointer
  inst.Reply(":VOLT:PULS:LOW? MIN;LOW? MAX", "abc\n");
  EXPECT_TRUE(com::Failed(f.channel->QueryVoltageLowLevelMinMax(&lo, &hi)));
}

TEST(Pulse, EverySimulatedPropertyRoundTripsAndResetsToZero) {
  MemberFixture<Channel> f(nullptr);
  ASSERT_EQ(f.status, com::S_OK);
  double v = -1;
  double next = 1.25;
#define ROUND_TRIP(Type, Name, Query, Reply, Set, SimFlag)  \
  EXPECT_EQ(f.channel->get_##Name(&v), com::S_OK) << #Name; \
  EXPECT_EQ(v, 0.0) << #Name;                               \
  EXPECT_EQ(f.channel->put_##Name(next), com::S_OK);        \
  EXPECT_EQ(f.channel->get_##Name(&v), com::S_OK);          \
  EXPECT_EQ(v, next) << #Name;                              \
  next += 1;
#define MOTQR_ON_PROPERTY ROUND_TRIP
  MOTQR_PULSE_MEMBERS(MOTQR_PROPERTY_ROWS)
#undef MOTQR_ON_PROPERTY
#undef ROUND_TRIP
  f.driver->Reset();
  EXPECT_EQ(f.channel->get_CurrentFrequency(&v), com::S_OK);
  EXPECT_EQ(v, 0.0);
  // Min/max queries have no simulation value: they need the instrument.
  EXPECT_EQ(f.channel->QueryVoltageFrequencyMinMax(&v, &v), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
