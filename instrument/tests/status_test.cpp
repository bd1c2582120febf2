#include "instrument/status.h"

#include <gtest/gtest.h>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel =
    TestChannel<instrument::Status, instrument::StatusQuestionable, instrument::StatusOperation>;

// Each group writes and reads its own registers as signed 16-bit decimals.
template <class Group>
void CheckGroup(Group* g, ScriptedInstrument& inst, const std::string& mnemonic) {
  SCOPED_TRACE(mnemonic);
  inst.sent.clear();
  const std::string p = ":STAT:" + mnemonic;
  std::int16_t cond = 0, event = 0, ptr = 0;
  EXPECT_EQ(g->put_EnableRegister(-1), com::S_OK);
  EXPECT_EQ(g->put_NegativeTransition(INT16_MIN), com::S_OK);
  inst.Reply(p + ":COND?", "512\n");
  inst.Reply(p + "?", "-32768\n");
  inst.Reply(p + ":PTR?", "65535\n");  // beyond 16 bits
  EXPECT_EQ(g->get_ConditionRegister(&cond), com::S_OK);
  EXPECT_EQ(g->get_EventRegister(&event), com::S_OK);
  EXPECT_TRUE(com::Failed(g->get_PositiveTransition(&ptr)));
  EXPECT_EQ(cond, 512);
  EXPECT_EQ(event, INT16_MIN);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{p + ":ENAB -1", p + ":NTR -32768", p + ":COND?",
                                                 p + "?", p + ":PTR?"}));
}

TEST(Status, RegistersOfBothGroups) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  CheckGroup<IMorvaneTqrStatusQuestionable>(f.channel.Get(), inst, "QUES");
  CheckGroup<IMorvaneTqrStatusOperation>(f.channel.Get(), inst, "OPER");
  EXPECT_EQ(static_cast<IMorvaneTqrStatus*>(f.channel.Get())->ResetFilter(), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":STAT:PRES");
}

TEST(Status, GroupsAreInterfacesOfTheSameObject) {
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
  EXPECT_EQ(ques->Release(), refs + 1);  // each call handed out one reference
  EXPECT_EQ(oper->Release(), refs);
  EXPECT_EQ(status->get_Operation(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_TRUE(inst.sent.empty());
}

}  // namespace
}  // namespace motqr::testing
