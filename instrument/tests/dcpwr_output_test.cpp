#include "instrument/dcpwr_output.h"

#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/output_channel_protection.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/error_info.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::DCPwrOutput>;

std::string LastError() {
  com::ErrorRecord r;
  com::TakeErrorInfo(&r);
  return r.description;
}

struct LiveOutput : ::testing::Test {
  ScriptedInstrument inst;
  MemberFixture<Channel> f{&inst, &commands::EnumTokenPort()};
  Channel* ch = f.channel.Get();
};

TEST_F(LiveOutput, PropertiesAndQueriesSendTheirCommands) {
  ASSERT_EQ(f.status, com::S_OK);
  inst.sent.clear();
  double v = 0;
  inst.Reply(":MEAS:CURR?", "0.125\n");
  EXPECT_EQ(ch->Measure(IviDCPwrMeasurementCurrent, &v), com::S_OK);
  EXPECT_EQ(v, 0.125);
  inst.Reply(":MEAS:VOLT?", "24\n");
  EXPECT_EQ(ch->Measure(IviDCPwrMeasurementVoltage, &v), com::S_OK);
  EXPECT_EQ(v, 24);
  // The level argument does not enter the command.
  inst.Reply(":CURR? MAX", "20.4\n");
  EXPECT_EQ(ch->QueryCurrentLimitMax(99.0, &v), com::S_OK);
  EXPECT_EQ(v, 20.4);
  inst.Reply(":VOLT? MAX", "61.2\n");
  EXPECT_EQ(ch->QueryVoltageLevelMax(-3.0, &v), com::S_OK);
  EXPECT_EQ(v, 61.2);
  EXPECT_EQ(ch->ResetOutputProtection(), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":MEAS:CURR?", ":MEAS:VOLT?", ":CURR? MAX",
                                                 ":VOLT? MAX", ":OUTP:PROT:CLE"}));
}

TEST_F(LiveOutput, ConfigureMethodsWriteFixedNotationOrRefuseTheFeature) {
  EXPECT_EQ(ch->ConfigureCurrentLimit(IviDCPwrCurrentLimitRegulate, 0.0001), com::S_OK);
  EXPECT_EQ(ch->ConfigureOVP(com::VARIANT_TRUE, 110), com::S_OK);
  EXPECT_EQ(ch->ConfigureOVP(1, 12.5), com::S_OK);  // any non-zero value enables
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":CURR 0.000100", "VOLT:PROT 110.000000",
                                                 "VOLT:PROT 12.500000"}));
  inst.sent.clear();
  EXPECT_EQ(ch->ConfigureCurrentLimit(IviDCPwrCurrentLimitTrip, 1.0),
            errors::E_IVI_VALUE_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("'IviDCPwrCurrentLimitTrip' passed as the value for parameter "
                             "'Behavior'"),
            std::string::npos);
  EXPECT_EQ(ch->ConfigureOVP(com::VARIANT_FALSE, 110), errors::E_IVI_VALUE_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("'VALIANT_TRUE' passed as the value for parameter 'Enabled'"),
            std::string::npos);
  EXPECT_EQ(ch->ConfigureRange(IviDCPwrRangeVoltage, 10), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("method 'IIviDCPwrOutput_ConfigureRange'"), std::string::npos);
  EXPECT_TRUE(inst.sent.empty());
}

TEST_F(LiveOutput, QueryStateTestsOneBitOfOneConditionWord) {
  struct Case {
    IviDCPwrOutputStateEnum state;
    const char* operation;
    const char* questionable;
    VARIANT_BOOL in_state;
  };
  const Case cases[] = {
      {IviDCPwrOutputConstantCurrent, "2", "0", 1},  {IviDCPwrOutputConstantCurrent, "1", "2", 0},
      {IviDCPwrOutputConstantVoltage, "17", "0", 1}, {IviDCPwrOutputConstantVoltage, "2", "1", 0},
      {IviDCPwrOutputOverVoltage, "1", "1", 1},      {IviDCPwrOutputOverVoltage, "1", "2", 0},
      {IviDCPwrOutputOverCurrent, "0", "258", 1},    {IviDCPwrOutputOverCurrent, "2", "1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.state) + " " + c.operation + " " + c.questionable);
    inst.Reply(":STAT:OPER:COND?", std::string(c.operation) + "\n");
    inst.Reply(":STAT:QUES:COND?", std::string(c.questionable) + "\n");
    VARIANT_BOOL in_state = -7;
    EXPECT_EQ(ch->QueryState(c.state, &in_state), com::S_OK);
    EXPECT_EQ(in_state, c.in_state);  // 1 when set, never VARIANT_TRUE
  }
  // The unregulated state has no bit: both words are read, then it fails.
  inst.sent.clear();
  inst.Reply(":STAT:OPER:COND?", "3\n");
  inst.Reply(":STAT:QUES:COND?", "3\n");
  VARIANT_BOOL in_state = -7;
  EXPECT_EQ(ch->QueryState(IviDCPwrOutputUnregulated, &in_state), errors::E_IVI_INVALID_VALUE);
  EXPECT_EQ(in_state, 0);
  EXPECT_NE(LastError().find("parameter 'OutputState'"), std::string::npos);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":STAT:OPER:COND?", ":STAT:QUES:COND?"}));
  // Both queries go out whatever the first exchange gives; the member's result
  // is the second exchange's.
  inst.sent.clear();
  inst.Reply(":STAT:OPER:COND?", "busy\n");
  inst.Reply(":STAT:QUES:COND?", "1\n");
  EXPECT_EQ(ch->QueryState(IviDCPwrOutputOverVoltage, &in_state), com::S_OK) << LastError();
  EXPECT_EQ(in_state, 1);
  inst.Reply(":STAT:OPER:COND?", "1\n");
  inst.Reply(":STAT:QUES:COND?", "busy\n");
  EXPECT_TRUE(com::Failed(ch->QueryState(IviDCPwrOutputConstantVoltage, &in_state)));
  EXPECT_EQ(in_state, 0);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":STAT:OPER:COND?", ":STAT:QUES:COND?",
                                                 ":STAT:OPER:COND?", ":STAT:QUES:COND?"}));
  EXPECT_EQ(ch->QueryState(IviDCPwrOutputConstantVoltage, nullptr), errors::E_IVI_NULL_POINTER);
}

TEST_F(LiveOutput, ClassFeaturesTheInstrumentLacksFailWithoutIo) {
  IviDCPwrTriggerSourceEnum source{};
  double level = 0;
  VARIANT_BOOL on = 0;
  EXPECT_EQ(ch->get_TriggerSource(&source), errors::E_IVI_PROPERTY_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("property 'TriggerSource'"), std::string::npos);
  EXPECT_EQ(ch->put_TriggeredCurrentLimit(1.0), errors::E_IVI_PROPERTY_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("property 'TriggeredCurrentLimit'"), std::string::npos);
  EXPECT_EQ(ch->get_TriggeredVoltageLevel(&level), errors::E_IVI_PROPERTY_NOT_SUPPORTED);
  EXPECT_EQ(ch->put_OVPEnabled(com::VARIANT_TRUE), errors::E_IVI_PROPERTY_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("OVPEnabled"), std::string::npos);
  EXPECT_EQ(ch->get_OVPEnabled(&on), errors::E_IVI_PROPERTY_NOT_SUPPORTED);
  IviDCPwrCurrentLimitBehaviorEnum behavior = IviDCPwrCurrentLimitTrip;
  EXPECT_EQ(ch->get_CurrentLimitBehavior(&behavior), com::S_OK);
  EXPECT_EQ(behavior, IviDCPwrCurrentLimitRegulate);
  EXPECT_EQ(ch->put_CurrentLimitBehavior(IviDCPwrCurrentLimitRegulate), com::S_OK);
  EXPECT_EQ(ch->put_CurrentLimitBehavior(IviDCPwrCurrentLimitTrip),
            errors::E_IVI_VALUE_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("'IviDCPwrCurrentLimitRegulate' passed as the value for parameter "
                             "'*val'"),
            std::string::npos);
  EXPECT_TRUE(inst.sent.empty());
}

}  // namespace
}  // namespace motqr::testing
