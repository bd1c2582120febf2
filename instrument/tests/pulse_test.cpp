#include "instrument/output_channel_pulse.h"

#include <gtest/gtest.h>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

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

}  // namespace
}  // namespace motqr::testing
