#include "instrument/status.h"

#include <gtest/gtest.h>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel =
    TestChannel<instrument::Status, instrument::StatusQuestionable, instrument::StatusOperation>;

// Both groups write and read their own registers as signed 16-bit decimals.
template <class Group>
void CheckGroup(Group* g, ScriptedInstrument& inst, const std::string& mnemonic) {
  SCOPED_TRACE(mnemonic);
  inst.sent.clear();
  EXPECT_EQ(g->put_EnableRegister(-1), com::S_OK);
  EXPECT_EQ(g->put_NegativeTransition(16384), com::S_OK);
  EXPECT_EQ(g->put_PositiveTransition(INT16_MIN), com::S_OK);
  const std::string p = ":STAT:" + mnemonic;
  inst.Reply(p + ":COND?", "512\n");
  inst.Reply(p + ":ENAB?", "-1\n");
  inst.Reply(p + "?", "-32768\n");
  inst.Reply(p + ":NTR?", "0\n");
  inst.Reply(p + ":PTR?", "32767\n");
  std::int16_t cond = 0, enab = 0, event = 0, ntr = 1, ptr = 0;
  EXPECT_EQ(g->get_ConditionRegister(&cond), com::S_OK);
  EXPECT_EQ(g->get_EnableRegister(&enab), com::S_OK);
  EXPECT_EQ(g->get_EventRegister(&event), com::S_OK);
  EXPECT_EQ(g->get_NegativeTransition(&ntr), com::S_OK);
  EXPECT_EQ(g->get_PositiveTransition(&ptr), com::S_OK);
  EXPECT_EQ(cond, 512);
  EXPECT_EQ(enab, -1);
  EXPECT_EQ(event, INT16_MIN);
  EXPECT_EQ(ntr, 0);
  EXPECT_EQ(ptr, INT16_MAX);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{p + ":ENAB -1", p + ":NTR 16384",
                                                 p + ":PTR -32768", p + ":COND?", p + ":ENAB?",
                                                 p + "?", p + ":NTR?", p + ":PTR?"}));
  // A value beyond 16 bits, or no number at all, is a broken reply.
  inst.Reply(p + "?", "65535\n");
  EXPECT_TRUE(com::Failed(g->get_EventRegister(&event)));
  inst.Reply(p + ":COND?", "ON\n");
  EXPECT_TRUE(com::Failed(g->get_ConditionRegister(&cond)));
  const std::size_t sent = inst.sent.size();
  EXPECT_EQ(g->get_EventRegister(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), sent);
}

TEST(Status, RegistersOfBothGroups) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  ASSERT_EQ(f.status, com::S_OK);
  CheckGroup<IMorvaneTqrStatusQuestionable>(f.channel.Get(), inst, "QUES");
  CheckGroup<IMorvaneTqrStatusOperation>(f.channel.Get(), inst, "OPER");
  inst.sent.clear();
  IMorvaneTqrStatus* status = f.channel.Get();
  EXPECT_EQ(status->ResetFilter(), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":STAT:PRES"}));
}

TEST(Status, GroupsAreTheSameObjectAndNeedNoIo) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  IMorvaneTqrStatus* status = f.channel.Get();
  const auto refs = status->AddRef() - 1;
  status->Release();
  IMorvaneTqrStatusQuestionable* ques = nullptr;
  IMorvaneTqrStatusOperation* oper = nullptr;
  ASSERT_EQ(status->get_Questionable(&ques), com::S_OK);
  ASSERT_EQ(status->get_Operation(&oper), com::S_OK);
  EXPECT_EQ(ques, static_cast<IMorvaneTqrStatusQuestionable*>(f.channel.Get()));
  EXPECT_EQ(oper, static_cast<IMorvaneTqrStatusOperation*>(f.channel.Get()));
  EXPECT_NE(static_cast<void*>(ques), static_cast<void*>(oper));
  // Each call handed out one reference.
  EXPECT_EQ(ques->Release(), refs + 1);
  EXPECT_EQ(oper->Release(), refs);
  EXPECT_EQ(status->get_Operation(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_TRUE(inst.sent.empty());
}

TEST(Status, SimulatedTransitionFiltersAreKeptPerGroup) {
  MemberFixture<Channel> f(nullptr);
  ASSERT_EQ(f.status, com::S_OK);
  IMorvaneTqrStatusQuestionable* ques = f.channel.Get();
  IMorvaneTqrStatusOperation* oper = f.channel.Get();
  std::int16_t v = -1;
  EXPECT_EQ(ques->put_PositiveTransition(4), com::S_OK);
  EXPECT_EQ(oper->put_NegativeTransition(-2), com::S_OK);
  EXPECT_EQ(ques->get_PositiveTransition(&v), com::S_OK);
  EXPECT_EQ(v, 4);
  EXPECT_EQ(oper->get_PositiveTransition(&v), com::S_OK);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(ques->get_NegativeTransition(&v), com::S_OK);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(oper->get_NegativeTransition(&v), com::S_OK);
  EXPECT_EQ(v, -2);
  EXPECT_TRUE(f.channel->store()
                  .Lookup<std::int16_t>("IMorvaneTqrStatusOperation.NegativeTransition")
                  ->IsValid());
  f.driver->Reset();
  EXPECT_EQ(ques->get_PositiveTransition(&v), com::S_OK);
  EXPECT_EQ(v, 0);
  // Enable, condition and event registers live only in the instrument.
  EXPECT_EQ(ques->put_EnableRegister(1), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(oper->get_EventRegister(&v), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(oper->get_ConditionRegister(&v), errors::E_IVI_NOT_INITIALIZED);
  IMorvaneTqrStatus* status = f.channel.Get();
  EXPECT_EQ(status->ResetFilter(), errors::E_IVI_NOT_INITIALIZED);
}

}  // namespace
}  // namespace motqr::testing
