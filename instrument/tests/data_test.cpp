#include "instrument/data.h"

#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::IntegralData>;

std::vector<double> Values(const com::SafeArray& a) {
  const auto v = a.Data<double>();
  return {v.begin(), v.end()};
}

TEST(Data, GateTokensBothWays) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& d = *f.channel;
  EXPECT_EQ(d.ConfigureIntegralGateResetMethod(MorvaneTqrDataIntegralGateResetMethodExternal),
            com::S_OK);
  EXPECT_EQ(d.ConfigureIntegralGateStartStopCondition(
                MorvaneTqrDataIntegralGateStartStopConditionOutputStateOnOff),
            com::S_OK);
  EXPECT_EQ(d.ConfigureIntegralGateStartStopCondition(
                static_cast<MorvaneTqrDataIntegralGateStartStopConditionEnum>(4)),
            errors::E_IVI_INVALID_VALUE);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":DATA:INT:GATE:RES EXT", ":DATA:INT:GATE OSON"}));
  inst.Reply(":DATA:INT:GATE?", "PRUN\n");
  inst.Reply(":DATA:INT:GATE:RES?", "OSON\n");  // not a reset method
  MorvaneTqrDataIntegralGateStartStopConditionEnum condition{};
  MorvaneTqrDataIntegralGateResetMethodEnum method{};
  EXPECT_EQ(d.QueryIntegralGateStartStopCondition(&condition), com::S_OK);
  EXPECT_EQ(condition, MorvaneTqrDataIntegralGateStartStopConditionProgramRunning);
  EXPECT_EQ(d.QueryIntegralGateResetMethod(&method), errors::E_IVI_UNEXPECTED_RESPONSE);
  inst.Reply(":DATA:REM:POIN?", "17\n");
  std::int32_t count = 0;
  EXPECT_EQ(d.QueryIntegralDataRemainPoints(&count), com::S_OK);
  EXPECT_EQ(count, 17);
}

TEST(Data, RemoveReturnsWhatTheReplyLists) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& d = *f.channel;
  com::SafeArray data;
  inst.Reply(":DATA:REM? 5", "1.5,2.5,-3e-3\n");
  ASSERT_EQ(d.RemoveIntegralData(5, data.Put()), com::S_OK);
  EXPECT_EQ(data.vt(), com::VT_R8);
  EXPECT_EQ(Values(data), (std::vector<double>{1.5, 2.5, -3e-3}));

  // An array passed in is replaced by a new one, and kept when the reply is broken.
  com::SAFEARRAY* held = data.Detach();
  inst.Reply(":DATA:REM? 2", "8,9\n");
  inst.Reply(":DATA:REM? 2", "8,x\n");
  ASSERT_EQ(d.RemoveIntegralData(2, &held), com::S_OK);
  EXPECT_TRUE(com::Failed(d.RemoveIntegralData(2, &held)));
  data = com::SafeArray::Attach(held);
  EXPECT_EQ(Values(data), (std::vector<double>{8, 9}));
  EXPECT_EQ(d.RemoveIntegralData(2, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), 3u);
}

}  // namespace
}  // namespace motqr::testing
