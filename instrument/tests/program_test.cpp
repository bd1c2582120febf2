#include "instrument/program.h"
#include "commands/enum_token_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/error_info.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::Program>;

std::vector<std::string> Names(const com::SafeArray& a) {
  std::vector<std::string> names;
  for (BSTR s : a.Data<BSTR>()) names.push_back(com::BstrToUtf8(s));
  return names;
}

TEST(Program, SignTokensAndQuotingShapeTheCommand) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& p = *f.channel;
  const com::Bstr name = com::Bstr::FromUtf8("Cycle 1");
  EXPECT_EQ(p.ConfigureProgramStepCurrent(3, MorvaneTqrPositiveNegativeNegative, 1.5), com::S_OK);
  EXPECT_EQ(p.ConfigureProgramStepPower(0, MorvaneTqrPositiveNegativePositive, 250), com::S_OK);
  EXPECT_EQ(p.InsertProgramStep(-2), com::S_OK);
  EXPECT_EQ(p.ConfigureSelectedProgram(name.Get()), com::S_OK);
  EXPECT_EQ(p.RenameProgram(name.Get()), com::S_OK);
  EXPECT_EQ(p.ChainProgram(name.Get()), com::S_OK);
  EXPECT_EQ(p.ConfigureProgramStepOutputEnabled(1, com::VARIANT_FALSE), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":PROG:STEP3:CURR:NEG 1.5", ":PROG:STEP0:POW 250",
                                                 ":PROG:STEP-2:INS", ":PROG:NAME \"Cycle 1\"",
                                                 ":PROG:REN 'Cycle 1'", ":PROG:CHA:ADD \"Cycle 1\"",
                                                 ":PROG:STEP1:OUTP OFF"}));
  // The selected program's name comes back unquoted; quotes inside are doubled.
  inst.Reply(":PROG:NAME?", "\"Say \"\"hi\"\", 2\"\n");
  BSTR selected_name = nullptr;
  EXPECT_EQ(p.QuerySelectedProgram(&selected_name), com::S_OK);
  EXPECT_EQ(com::BstrToUtf8(selected_name), "Say \"hi\", 2");
  com::SysFreeString(selected_name);
  EXPECT_EQ(p.QuerySelectedProgram(nullptr), errors::E_IVI_NULL_POINTER);
  com::ErrorRecord why;
  com::TakeErrorInfo(&why);  // the parameter as the interface declares it
  EXPECT_NE(why.description.find("'QuerySelectedProgram', parameter 'Name'"), std::string::npos)
      << why.description;
  // The two step counts are different queries.
  inst.Reply(":PROG:ALL:STEP:COUN?", "12\n");
  inst.Reply(":PROG:STEP:COUN?", "4\n");
  std::int32_t all = 0, selected = 0;
  EXPECT_EQ(p.QueryProgramStepCount(&all), com::S_OK);
  EXPECT_EQ(p.get_ProgramStepCount(&selected), com::S_OK);
  EXPECT_EQ(all, 12);
  EXPECT_EQ(selected, 4);
  // The transition query also reads the numeric form; the configure table does not hold it.
  inst.Reply(":PROG:STEP2:OUTP:MODE:TRAN?", "1\n");
  MorvaneTqrProgramStepTransitionEnum t{};
  EXPECT_EQ(p.QueryProgramStepTransition(2, &t), com::S_OK);
  EXPECT_EQ(t, MorvaneTqrProgramStepTransitionMode);
}

TEST(Program, ListsBecomeArraysOfNames) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& p = *f.channel;
  inst.Reply(":PROG:CAT?", "\"Seq A\",\"B,2\",\"\"\n");
  com::SafeArray names;
  ASSERT_EQ(p.GetProgramList(names.Put()), com::S_OK);
  EXPECT_EQ(Names(names), (std::vector<std::string>{"Seq A", "B,2", ""}));
  // An array passed in is replaced by the reply's.
  inst.Reply(":PROG:CHA:CAT?", "\"X\"\n");
  ASSERT_EQ(p.QueryProgramChain(names.Put()), com::S_OK);
  com::SAFEARRAY* in = names.Detach();
  inst.Reply(":PROG:CHA:CAT?", "\n");
  ASSERT_EQ(p.QueryProgramChain(&in), com::S_OK);
  names = com::SafeArray::Attach(in);
  ASSERT_TRUE(names);
  EXPECT_EQ(names.size(), 0u);
  EXPECT_EQ(p.GetProgramList(nullptr), errors::E_IVI_NULL_POINTER);
}

}  // namespace
}  // namespace motqr::testing
