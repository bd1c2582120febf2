#include "instrument/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"
#include "instrument/tests/command_oracle.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::Program>;

std::vector<std::string> Names(const com::SafeArray& a) {
  std::vector<std::string> names;
  for (BSTR s : a.Data<BSTR>()) names.push_back(com::BstrToUtf8(s));
  return names;
}

const char* ReplyOf(const char* reply) { return reply; }
const char* ReplyOf(std::nullptr_t) { return "%d"; }

#define MEMBER(Name) "IMorvaneTqrProgram." #Name

TEST(Program, EveryCommandRowWritesItsArguments) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
  ASSERT_EQ(f.status, com::S_OK);
  auto& p = *f.channel;
#define CHECK_SET_1(Name, Command, T1, N1)             \
  EXPECT_EQ(p.Name(Sample<T1>()), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), ExpectedCommand(Command, MEMBER(Name), TypeCodes<T1>()));
#define CHECK_SET_2(Name, Command, T1, N1, T2, N2)                   \
  EXPECT_EQ(p.Name(Sample<T1>(), Sample<T2>()), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), ExpectedCommand(Command, MEMBER(Name), TypeCodes<T1, T2>()));
#define CHECK_SET_3(Name, Command, T1, N1, T2, N2, T3, N3)                         \
  EXPECT_EQ(p.Name(Sample<T1>(), Sample<T2>(), Sample<T3>()), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), ExpectedCommand(Command, MEMBER(Name), TypeCodes<T1, T2, T3>()));
#define CHECK_COMMAND(Name, Command) \
  EXPECT_EQ(p.Name(), com::S_OK);    \
  EXPECT_EQ(inst.sent.back(), Command);
#define CHECK_PUT(Type, Name, Query, fmt, Set, SimFlag) \
  EXPECT_EQ(p.put_##Name(Sample<Type>()), com::S_OK);   \
  EXPECT_EQ(inst.sent.back(), ExpectedCommand(Set, MEMBER(Name), TypeCodes<Type>()));
  MOTQR_PROGRAM_SET_1(CHECK_SET_1)
  MOTQR_PROGRAM_SET_2(CHECK_SET_2)
  MOTQR_PROGRAM_SET_3(CHECK_SET_3)
  MOTQR_PROGRAM_COMMANDS(CHECK_COMMAND)
  MOTQR_PROGRAM_PROPERTIES(CHECK_PUT)
#undef CHECK_SET_1
#undef CHECK_SET_2
#undef CHECK_SET_3
#undef CHECK_COMMAND
#undef CHECK_PUT
  EXPECT_EQ(inst.sent.size(), 26u);
}

TEST(Program, EveryQueryRowReadsItsResult) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
  auto& p = *f.channel;
#define CHECK_GET_0(Name, Command, fmt, TO, OutName)         \
  {                                                          \
    inst.Reply(Command, SampleReply<TO>(fmt, MEMBER(Name))); \
    TO out{};                                                \
    EXPECT_EQ(p.Name(&out), com::S_OK) << #Name;             \
    ExpectSample(out, #Name);                                \
    EXPECT_EQ(p.Name(nullptr), errors::E_IVI_NULL_POINTER);  \
  }
#define CHECK_GET_1(Name, Command, fmt, T1, N1, TO, OutName)                           \
  {                                                                                    \
    const std::string query = ExpectedCommand(Command, MEMBER(Name), TypeCodes<T1>()); \
    inst.Reply(query, SampleReply<TO>(fmt, MEMBER(Name)));                             \
    TO out{};                                                                          \
    EXPECT_EQ(p.Name(Sample<T1>(), &out), com::S_OK) << #Name;                         \
    EXPECT_EQ(inst.sent.back(), query);                                                \
    ExpectSample(out, #Name);                                                          \
  }
#define CHECK_GET_2(Name, Command, fmt, T1, N1, T2, N2, TO, OutName)                       \
  {                                                                                        \
    const std::string query = ExpectedCommand(Command, MEMBER(Name), TypeCodes<T1, T2>()); \
    inst.Reply(query, SampleReply<TO>(fmt, MEMBER(Name)));                                 \
    TO out{};                                                                              \
    EXPECT_EQ(p.Name(Sample<T1>(), Sample<T2>(), &out), com::S_OK) << #Name;               \
    EXPECT_EQ(inst.sent.back(), query);                                                    \
    ExpectSample(out, #Name);                                                              \
  }
#define CHECK_GET(Type, Name, Query, fmt, Set, SimFlag)               \
  {                                                                   \
    inst.Reply(Query, SampleReply<Type>(ReplyOf(fmt), MEMBER(Name))); \
    Type out{};                                                       \
    EXPECT_EQ(p.get_##Name(&out), com::S_OK) << #Name;                \
    ExpectSample(out, #Name);                                         \
  }
  MOTQR_PROGRAM_GET_0(CHECK_GET_0)
  MOTQR_PROGRAM_GET_1(CHECK_GET_1)
  MOTQR_PROGRAM_GET_2(CHECK_GET_2)
  MOTQR_PROGRAM_PROPERTIES(CHECK_GET)
#undef CHECK_GET_0
#undef CHECK_GET_1
#undef CHECK_GET_2
#undef CHECK_GET
}

TEST(Program, SignTokensAndQuotingShapeTheCommand) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
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
  MemberFixture<Channel> f(&inst, &commands::FindEnumConverter);
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

TEST(Program, SimulationKeepsTheThreeStoredProperties) {
  MemberFixture<Channel> f(nullptr);
  auto& p = *f.channel;
  std::int32_t n = -1;
  EXPECT_EQ(p.get_ProgramStepCount(&n), com::S_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p.put_ProgramLoopCount(7), com::S_OK);
  EXPECT_EQ(p.get_ProgramLoopCount(&n), com::S_OK);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(p.put_ProgramStepCount(5), com::S_OK);
  EXPECT_EQ(p.put_ProgramPowerFunctionMode(MorvaneTqrProgramPowerFunctionModeDCSeamless),
            com::S_OK);
  MorvaneTqrProgramPowerFunctionModeEnum power{};
  EXPECT_EQ(p.get_ProgramPowerFunctionMode(&power), com::S_OK);
  EXPECT_EQ(power, MorvaneTqrProgramPowerFunctionModeDCSeamless);
  MorvaneTqrProgramCurrentFunctionModeEnum current{};
  EXPECT_EQ(p.get_ProgramCurrentFunctionMode(&current), errors::E_IVI_NOT_INITIALIZED);
  EXPECT_EQ(p.SaveProgram(), errors::E_IVI_NOT_INITIALIZED);
  f.driver->Reset();
  EXPECT_EQ(p.get_ProgramLoopCount(&n), com::S_OK);
  EXPECT_EQ(n, 0);
}

}  // namespace
}  // namespace motqr::testing
