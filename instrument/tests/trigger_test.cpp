#include "instrument/trigger.h"

#include <gtest/gtest.h>

#include "commands/find_enum_converter.h"
#include "errors/status_codes.h"
#include "instrument/dcpwr_trigger.h"
#include "instrument/sense.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/error_info.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::Trigger, instrument::DCPwrTrigger, instrument::Sense>;

struct Live {
  ScriptedInstrument inst;
  MemberFixture<Channel> f{&inst, &commands::FindEnumConverter};
  IMorvaneTqrTrigger* trigger() { return f.channel.Get(); }
};

std::string LastError() {
  com::ErrorRecord r;
  com::TakeErrorInfo(&r);
  return r.description;
}

TEST(Trigger, PropertiesWriteTokensAndReadThemBack) {
  Live t;
  ASSERT_EQ(t.f.status, com::S_OK);
  auto* g = t.trigger();
  EXPECT_EQ(g->put_AcquireTriggerSource(MorvaneTqrAcquireTriggerSourceOutputStatusOff), com::S_OK);
  EXPECT_EQ(g->put_AcquireTriggerCount(-3), com::S_OK);
  EXPECT_EQ(g->put_AcquireTriggerDelay(0.0125), com::S_OK);
  EXPECT_EQ(g->put_AcquireIntervalEnabled(com::VARIANT_TRUE), com::S_OK);
  EXPECT_EQ(g->put_AcquireInterval(1e-5), com::S_OK);
  EXPECT_EQ(g->put_TransientTriggerSource(MorvaneTqrTransientTriggerSourceMSync), com::S_OK);
  EXPECT_EQ(t.inst.sent,
            (std::vector<std::string>{":TRIG:ACQ:SOUR OSOF", ":TRIG:ACQ:COUN -3",
                                      ":TRIG:ACQ:DEL 0.0125", ":TRIG:ACQ:INT:STAT ON",
                                      ":TRIG:ACQ:INT:TIME 1e-05", ":TRIG:TRAN:SOUR MSYN"}));

  t.inst.Reply(":TRIG:ACQ:SOUR?", "BUS\n");
  t.inst.Reply(":TRIG:ACQ:COUN?", "250\n");
  t.inst.Reply(":TRIG:ACQ:INT:STAT?", "1\n");
  t.inst.Reply(":TRIG:TRAN:SOUR?", " EXT\r\n");
  MorvaneTqrAcquireTriggerSourceEnum acq{};
  std::int32_t count = 0;
  VARIANT_BOOL on = com::VARIANT_FALSE;
  MorvaneTqrTransientTriggerSourceEnum tran{};
  EXPECT_EQ(g->get_AcquireTriggerSource(&acq), com::S_OK);
  EXPECT_EQ(g->get_AcquireTriggerCount(&count), com::S_OK);
  EXPECT_EQ(g->get_AcquireIntervalEnabled(&on), com::S_OK);
  EXPECT_EQ(g->get_TransientTriggerSource(&tran), com::S_OK);
  EXPECT_EQ(acq, MorvaneTqrAcquireTriggerSourceBus);
  EXPECT_EQ(count, 250);
  EXPECT_EQ(on, com::VARIANT_TRUE);
  EXPECT_EQ(tran, MorvaneTqrTransientTriggerSourceExternal);

  // Tokens are exact: the transient table has no OSOF, and case matters.
  t.inst.Reply(":TRIG:TRAN:SOUR?", "OSOF\n");
  EXPECT_EQ(g->get_TransientTriggerSource(&tran), errors::E_IVI_UNEXPECTED_RESPONSE);
  t.inst.Reply(":TRIG:ACQ:SOUR?", "bus\n");
  EXPECT_EQ(g->get_AcquireTriggerSource(&acq), errors::E_IVI_UNEXPECTED_RESPONSE);
}

TEST(Trigger, InitiateAndAbortUseTheirOwnTokens) {
  Live t;
  auto* g = t.trigger();
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemProgram), com::S_OK);
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemAcquire), com::S_OK);
  EXPECT_EQ(g->Abort(MorvaneTqrTriggerSystemProgram), com::S_OK);
  EXPECT_EQ(g->Abort(MorvaneTqrTriggerSystemAll), com::S_OK);
  EXPECT_EQ(g->SendSoftwareTrigger(), com::S_OK);
  EXPECT_EQ(g->PauseTransient(), com::S_OK);
  EXPECT_EQ(g->ResumeTransient(), com::S_OK);
  EXPECT_EQ(t.inst.sent,
            (std::vector<std::string>{":INIT:TRAN:PROG", ":INIT:ACQ", ":ABOR:TRAN", ":ABOR:ALL",
                                      ":TRIG:ACQ", ":TRIG:TRAN:PAUS", ":TRIG:TRAN:RES"}));
  t.inst.sent.clear();
  // "All" has no token for Initiate, nor has a value outside the enumeration.
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemAll), errors::E_IVI_INVALID_VALUE);
  EXPECT_NE(LastError().find("'nVal'"), std::string::npos);
  EXPECT_EQ(g->Initiate(static_cast<MorvaneTqrTriggerSystemEnum>(3)), errors::E_IVI_INVALID_VALUE);
  EXPECT_EQ(g->Abort(static_cast<MorvaneTqrTriggerSystemEnum>(-1)), errors::E_IVI_INVALID_VALUE);
  EXPECT_TRUE(t.inst.sent.empty());
}

TEST(Trigger, MinMaxQueriesSendTheirHeadersAsWritten) {
  Live t;
  auto* g = t.trigger();
  t.inst.Reply(":TRIG:ACQ:DEL? MIN;DELAY? MAX", "0;3600\n");
  t.inst.Reply(":TRIG:ACQ:INT:TIME? MIN;TIME? MAX", "1e-4;3600\n");
  t.inst.Reply(":TRIG:ACQ:COUN? MIN;COUN? MAX", "1;65535\n");
  double lo = -1, hi = -1;
  ASSERT_EQ(g->QueryAcquireTriggerDelayMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(hi, 3600);
  ASSERT_EQ(g->QueryAcquireIntervalMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(lo, 1e-4);
  std::int32_t nlo = 0, nhi = 0;
  ASSERT_EQ(g->QueryAcquireTriggerCountMinMax(&nlo, &nhi), com::S_OK);
  EXPECT_EQ(nlo, 1);
  EXPECT_EQ(nhi, 65535);
  // A count limit that is not an integer is a broken reply, not a truncated value.
  t.inst.Reply(":TRIG:ACQ:COUN? MIN;COUN? MAX", "1.5;9\n");
  EXPECT_TRUE(com::Failed(g->QueryAcquireTriggerCountMinMax(&nlo, &nhi)));
  EXPECT_EQ(g->QueryAcquireTriggerCountMinMax(&nlo, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(t.inst.sent.size(), 4u);
}

TEST(Trigger, TransientInfoReadsStateNameStepAndLoop) {
  Live t;
  auto* g = t.trigger();
  MorvaneTqrTransientStateEnum state = MorvaneTqrTransientStateIdle;
  com::Bstr name;
  std::int32_t step = -1, loop = -1;
  t.inst.Reply(":TRIG:TRAN:EXEC?", "RUN, \"SEQ 1\", 3, 2\n");
  ASSERT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, &loop), com::S_OK);
  EXPECT_EQ(state, MorvaneTqrTransientStateRun);
  EXPECT_EQ(name.ToUtf8(), "SEQ 1");
  EXPECT_EQ(step, 3);
  EXPECT_EQ(loop, 2);

  t.inst.Reply(":TRIG:TRAN:EXEC?", "WTG,\"\",0,1\n");
  ASSERT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, &loop), com::S_OK);
  EXPECT_EQ(state, MorvaneTqrTransientStateWatiTrigger);
  EXPECT_FALSE(name.IsNull());
  EXPECT_EQ(name.size(), 0u);

  // A state word the driver does not know (case included) leaves State alone.
  state = MorvaneTqrTransientStatePause;
  t.inst.Reply(":TRIG:TRAN:EXEC?", "run,\"A\",1,1\n");
  ASSERT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, &loop), com::S_OK);
  EXPECT_EQ(state, MorvaneTqrTransientStatePause);
  EXPECT_EQ(name.ToUtf8(), "A");

  // A broken reply hands out nothing.
  t.inst.Reply(":TRIG:TRAN:EXEC?", "IDLE,\"B\",x,1\n");
  EXPECT_TRUE(com::Failed(g->QueryTransientInfo(&state, name.Put(), &step, &loop)));
  EXPECT_EQ(state, MorvaneTqrTransientStatePause);
  EXPECT_TRUE(name.IsNull());
  EXPECT_EQ(step, 0);

  const std::size_t sent = t.inst.sent.size();
  EXPECT_EQ(g->QueryTransientInfo(&state, name.Put(), &step, nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(g->QueryTransientInfo(nullptr, name.Put(), &step, &loop), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(t.inst.sent.size(), sent);
}

TEST(Trigger, ClassTriggerIsNotSupported) {
  Live t;
  IIviDCPwrTrigger* c = t.f.channel.Get();
  EXPECT_EQ(c->Initiate(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("method 'IIviDCPwrTrigger_Initiate'"), std::string::npos);
  EXPECT_EQ(c->Abort(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("'IIviDCPwrTrigger_Abort'"), std::string::npos);
  EXPECT_EQ(c->SendSoftwareTrigger(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  EXPECT_NE(LastError().find("'IIviDCPwrTrigger_SendSoftwareTrigger'"), std::string::npos);
  EXPECT_TRUE(t.inst.sent.empty());
}

TEST(Sense, ApertureWritesAndQueriesItsLimits) {
  Live t;
  IMorvaneTqrSense* s = t.f.channel.Get();
  EXPECT_EQ(s->put_ApertureTime(0.0005), com::S_OK);
  t.inst.Reply(":SENS:APER? MIN;APER? MAX", "1e-4;1\n");
  double lo = 0, hi = 0;
  EXPECT_EQ(s->QueryApertureTimeMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(hi, 1);
  EXPECT_EQ(t.inst.sent,
            (std::vector<std::string>{":SENS:APER 0.0005", ":SENS:APER? MIN;APER? MAX"}));
}

// Every simulated property returns what was set, zero before and after Reset;
// the others need the instrument.
TEST(Trigger, SimulatedPropertiesRoundTripOthersNeedTheInstrument) {
  MemberFixture<Channel> f(nullptr, &commands::FindEnumConverter);
  ASSERT_EQ(f.status, com::S_OK);
  IMorvaneTqrTrigger* g = f.channel.Get();
  IMorvaneTqrSense* s = f.channel.Get();
  int next = 1;
#define ROUND_TRIP(Obj, Type, Name, Query, Reply, Set, SimFlag)                               \
  {                                                                                           \
    Type v = static_cast<Type>(next);                                                         \
    const bool sim = driver::Sim::SimFlag == driver::Sim::kYes;                               \
    EXPECT_EQ(Obj->get_##Name(&v), sim ? com::S_OK : errors::E_IVI_NOT_INITIALIZED) << #Name; \
    EXPECT_EQ(v, Type{}) << #Name;                                                            \
    EXPECT_EQ(Obj->put_##Name(static_cast<Type>(next)),                                       \
              sim ? com::S_OK : errors::E_IVI_NOT_INITIALIZED);                               \
    if (sim) {                                                                                \
      EXPECT_EQ(Obj->get_##Name(&v), com::S_OK);                                              \
      EXPECT_EQ(v, static_cast<Type>(next)) << #Name;                                         \
    }                                                                                         \
    ++next;                                                                                   \
  }
#define TRIGGER_ROUND_TRIP(...) ROUND_TRIP(g, __VA_ARGS__)
#define SENSE_ROUND_TRIP(...) ROUND_TRIP(s, __VA_ARGS__)
  MOTQR_TRIGGER_PROPERTIES(TRIGGER_ROUND_TRIP)
  MOTQR_SENSE_PROPERTIES(SENSE_ROUND_TRIP)
#undef SENSE_ROUND_TRIP
#undef TRIGGER_ROUND_TRIP
#undef ROUND_TRIP
  f.driver->Reset();
  double delay = -1;
  EXPECT_EQ(g->get_AcquireTriggerDelay(&delay), com::S_OK);
  EXPECT_EQ(delay, 0.0);
  EXPECT_EQ(s->get_ApertureTime(&delay), com::S_OK);
  EXPECT_EQ(delay, 0.0);

  MorvaneTqrTransientStateEnum state{};
  com::Bstr name;
  std::int32_t n = 0;
  EXPECT_EQ(g->QueryTransientInfo(&state, name.Put(), &n, &n), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(g->Initiate(MorvaneTqrTriggerSystemAcquire), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
