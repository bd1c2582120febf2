#include "instrument/trigger.h"

#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/dcpwr_trigger.h"
#include "instrument/sense.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/error_info.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::Trigger, instrument::DCPwrTrigger, instrument::Sense>;
using Strings = std::vector<std::string>;

std::string LastError() {
  com::ErrorRecord r;
  com::TakeErrorInfo(&r);
  return r.description;
}

TEST(Trigger, WireTextAndTokens) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  IMorvaneTqrTrigger* g = f.channel.Get();
  EXPECT_EQ(g->put_AcquireTriggerSource(MorvaneTqrAcquireTriggerSourceOutputStatusOff), com::S_OK);
  EXPECT_EQ(g->put_AcquireIntervalEnabled(com::VARIANT_TRUE), com::S_OK);
  EXPECT_EQ(g->put_AcquireInterval(1e-5), com::S_OK);
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemProgram), com::S_OK);
  EXPECT_EQ(g->Abort(MorvaneTqrTriggerSystemProgram), com::S_OK);
  EXPECT_EQ(g->Abort(MorvaneTqrTriggerSystemAll), com::S_OK);
  inst.Reply(":TRIG:ACQ:DEL? MIN;DELAY? MAX", "0;3600\n");
  double lo = 0, hi = 0;
  EXPECT_EQ(g->QueryAcquireTriggerDelayMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(static_cast<IMorvaneTqrSense*>(f.channel.Get())->put_ApertureTime(0.0005), com::S_OK);
  EXPECT_EQ(inst.sent,
            (Strings{":TRIG:ACQ:SOUR OSOF", ":TRIG:ACQ:INT:STAT ON", ":TRIG:ACQ:INT:TIME 1e-05",
                     ":INIT:TRAN:PROG", ":ABOR:TRAN", ":ABOR:ALL", ":TRIG:ACQ:DEL? MIN;DELAY? MAX",
                     ":SENS:APER 0.0005"}));

  // "All" has no token for Initiate, nor has a value outside the enumeration.
  inst.sent.clear();
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemAll), errors::E_IVI_INVALID_VALUE);
  EXPECT_NE(LastError().find("'nVal'"), std::string::npos);
  EXPECT_EQ(g->Abort(static_cast<MorvaneTqrTriggerSystemEnum>(3)), errors::E_IVI_INVALID_VALUE);
  EXPECT_TRUE(inst.sent.empty());

  // Words and numbers read back as true; tokens are exact per member.
  inst.Reply(":TRIG:ACQ:INT:STAT?", "1\n");
  inst.Reply(":TRIG:TRAN:SOUR?", " EXT\r\n");
  inst.Reply(":TRIG:ACQ:SOUR?", "bus\n");
  VARIANT_BOOL on = 0;
  MorvaneTqrTransientTriggerSourceEnum tran{};
  MorvaneTqrAcquireTriggerSourceEnum acq{};
  EXPECT_EQ(g->get_AcquireIntervalEnabled(&on), com::S_OK);
  EXPECT_EQ(on, com::VARIANT_TRUE);
  EXPECT_EQ(g->get_TransientTriggerSource(&tran), com::S_OK);
  EXPECT_EQ(tran, MorvaneTqrTransientTriggerSourceExternal);
  EXPECT_EQ(g->get_AcquireTriggerSource(&acq), errors::E_IVI_UNEXPECTED_RESPONSE);
  inst.Reply(":TRIG:ACQ:COUN? MIN;COUN? MAX", "1.5;9\n");
  std::int32_t nlo = 0, nhi = 0;
  EXPECT_TRUE(com::Failed(g->QueryAcquireTriggerCountMinMax(&nlo, &nhi)));
}

TEST(Trigger, TransientInfo) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  IMorvaneTqrTrigger* g = f.channel.Get();
  MorvaneTqrTransientStateEnum state = MorvaneTqrTransientStateIdle;
  com::Bstr name;
  std::int32_t step = -1, loop = -1;
  inst.Reply(":TRIG:TRAN:EXEC?", "RUN, \"SEQ 1\", 3, 2\n");
  ASSERT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, &loop), com::S_OK);
  EXPECT_EQ(state, MorvaneTqrTransientStateRun);
  EXPECT_EQ(name.ToUtf8(), "SEQ 1");
  EXPECT_EQ(step * 10 + loop, 32);

  // An unknown state word (case counts) leaves State as passed.
  state = MorvaneTqrTransientStatePause;
  inst.Reply(":TRIG:TRAN:EXEC?", "run,\"\",0,1\n");
  ASSERT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, &loop), com::S_OK);
  EXPECT_EQ(state, MorvaneTqrTransientStatePause);
  EXPECT_FALSE(name.IsNull());
  EXPECT_EQ(name.size(), 0u);

  // A broken reply hands out nothing.
  inst.Reply(":TRIG:TRAN:EXEC?", "WTG,\"B\",x,1\n");
  EXPECT_TRUE(com::Failed(g->QueryTransientInfo(&state, name.Put(), &step, &loop)));
  EXPECT_EQ(state, MorvaneTqrTransientStatePause);
  EXPECT_TRUE(name.IsNull());
  EXPECT_EQ(g->QueryTransientInfo(nullptr, name.Put(), &step, &loop), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), 3u);
}

TEST(Trigger, ClassTriggerIsNotSupported) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  IIviDCPwrTrigger* c = f.channel.Get();
  const std::pair<HRESULT (IIviDCPwrTrigger::*)(), const char*> kMembers[] = {
      {&IIviDCPwrTrigger::Abort, "'IIviDCPwrTrigger_Abort'"},
      {&IIviDCPwrTrigger::Initiate, "'IIviDCPwrTrigger_Initiate'"},
      {&IIviDCPwrTrigger::SendSoftwareTrigger, "'IIviDCPwrTrigger_SendSoftwareTrigger'"}};
  for (const auto& [member, reported] : kMembers) {
    EXPECT_EQ((c->*member)(), errors::E_IVI_METHOD_NOT_SUPPORTED);
    EXPECT_NE(LastError().find(reported), std::string::npos) << reported;
  }
  EXPECT_TRUE(inst.sent.empty());
}

}  // namespace
}  // namespace motqr::testing
