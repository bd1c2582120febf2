#include "instrument/data.h"

#include <gtest/gtest.h>

#include "commands/find_enum_converter.h"
#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::IntegralData>;

std::vector<double> Values(const com::SafeArray& a) {
  const auto v = a.Data<double>();
  return {v.begin(), v.end()};
}

TEST(Data, CommandsAndGateSettingsWriteTheirTokens) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
  ASSERT_EQ(f.status, com::S_OK);
  auto& d = *f.channel;
  EXPECT_EQ(d.ResetIntegralData(), com::S_OK);
  EXPECT_EQ(d.StartIntegral(), com::S_OK);
  EXPECT_EQ(d.StopIntegral(), com::S_OK);
  EXPECT_EQ(d.ConfigureIntegralGateResetMethod(MorvaneTqrDataIntegralGateResetMethodExternal),
            com::S_OK);
  EXPECT_EQ(d.ConfigureIntegralGateStartStopCondition(
                MorvaneTqrDataIntegralGateStartStopConditionOutputStateOnOff),
            com::S_OK);
  EXPECT_EQ(inst.sent,
            (std::vector<std::string>{":DATA:INT:RES", ":DATA:INT:STAR", ":DATA:INT:STOP",
                                      ":DATA:INT:GATE:RES EXT", ":DATA:INT:GATE OSON"}));
  EXPECT_EQ(d.ConfigureIntegralGateStartStopCondition(
                static_cast<MorvaneTqrDataIntegralGateStartStopConditionEnum>(4)),
            errors::E_IVI_INVALID_VALUE);
  EXPECT_EQ(inst.sent.size(), 5u);
}

TEST(Data, QueriesMapTokensBack) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
  auto& d = *f.channel;
  inst.Reply(":DATA:INT:GATE?", "PRUN\n");
  inst.Reply(":DATA:INT:GATE:RES?", "MAN\n");
  inst.Reply(":DATA:REM:POIN?", "17\n");
  MorvaneTqrDataIntegralGateStartStopConditionEnum condition{};
  MorvaneTqrDataIntegralGateResetMethodEnum method{};
  std::int32_t count = 0;
  EXPECT_EQ(d.QueryIntegralGateStartStopCondition(&condition), com::S_OK);
  EXPECT_EQ(condition, MorvaneTqrDataIntegralGateStartStopConditionProgramRunning);
  EXPECT_EQ(d.QueryIntegralGateResetMethod(&method), com::S_OK);
  EXPECT_EQ(method, MorvaneTqrDataIntegralGateResetMethodManual);
  EXPECT_EQ(d.QueryIntegralDataRemainPoints(&count), com::S_OK);
  EXPECT_EQ(count, 17);
  // The reset method has no OSON token.
  inst.Reply(":DATA:INT:GATE:RES?", "OSON\n");
  EXPECT_EQ(d.QueryIntegralGateResetMethod(&method), errors::E_IVI_UNEXPECTED_RESPONSE);
  EXPECT_EQ(d.QueryIntegralDataRemainPoints(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), 4u);
}

TEST(Data, RemoveReturnsAsManyValuesAsTheReplyLists) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
  auto& d = *f.channel;
  com::SafeArray data;
  inst.Reply(":DATA:REM? 5", "1.5,2.5,-3e-3\n");
  ASSERT_EQ(d.RemoveIntegralData(5, data.Put()), com::S_OK);
  EXPECT_EQ(data.vt(), com::VT_R8);
  EXPECT_EQ(Values(data), (std::vector<double>{1.5, 2.5, -3e-3}));

  // The array passed in is replaced by the new one...
  com::SAFEARRAY* held = data.Detach();
  inst.Reply(":DATA:REM? 2", "8,9\n");
  ASSERT_EQ(d.RemoveIntegralData(2, &held), com::S_OK);
  data = com::SafeArray::Attach(held);
  EXPECT_EQ(Values(data), (std::vector<double>{8, 9}));
  // ... and kept when the reply is broken.
  held = data.Detach();
  inst.Reply(":DATA:REM? 2", "8,x\n");
  EXPECT_TRUE(com::Failed(d.RemoveIntegralData(2, &held)));
  data = com::SafeArray::Attach(held);
  EXPECT_EQ(Values(data), (std::vector<double>{8, 9}));

  EXPECT_EQ(d.RemoveIntegralData(2, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.back(), ":DATA:REM? 2");
  EXPECT_EQ(inst.sent.size(), 3u);
}

TEST(Data, NothingIsSimulated) {
  MemberFixture<Channel> f(nullptr, &commands::FindEnumConverter);
  std::int32_t count = 0;
  com::SafeArray data;
  EXPECT_EQ(f.channel->QueryIntegralDataRemainPoints(&count), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(f.channel->RemoveIntegralData(3, data.Put()), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(f.channel->StartIntegral(), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
