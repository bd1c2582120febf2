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
#define WALK31_ARRAY_QUERY(...)
#define WALK31_BY_HAND(...)
#define WALK31_COMMAND(...)
#define WALK31_COMMAND_1 CHECK_SET_1
#define WALK31_COMMAND_2(...)
#define WALK31_COMMAND_3(...)
#define WALK31_PROPERTY(...)
#define WALK31_QUERY(...)
#define WALK31_QUERY_1(...)
#define WALK31_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK31)
#undef WALK31_ARRAY_QUERY
#undef WALK31_BY_HAND
#undef WALK31_COMMAND
#undef WALK31_COMMAND_1
#undef WALK31_COMMAND_2
#undef WALK31_COMMAND_3
#undef WALK31_PROPERTY
#undef WALK31_QUERY
#undef WALK31_QUERY_1
#undef WALK31_QUERY_2
#define WALK32_ARRAY_QUERY(...)
#define WALK32_BY_HAND(...)
#define WALK32_COMMAND(...)
#define WALK32_COMMAND_1(...)
#define WALK32_COMMAND_2 CHECK_SET_2
#define WALK32_COMMAND_3(...)
#define WALK32_PROPERTY(...)
#define WALK32_QUERY(...)
#define WALK32_QUERY_1(...)
#define WALK32_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK32)
#undef WALK32_ARRAY_QUERY
#undef WALK32_BY_HAND
#undef WALK32_COMMAND
#undef WALK32_COMMAND_1
#undef WALK32_COMMAND_2
#undef WALK32_COMMAND_3
#undef WALK32_PROPERTY
#undef WALK32_QUERY
#undef WALK32_QUERY_1
#undef WALK32_QUERY_2
#define WALK33_ARRAY_QUERY(...)
#define WALK33_BY_HAND(...)
#define WALK33_COMMAND(...)
#define WALK33_COMMAND_1(...)
#define WALK33_COMMAND_2(...)
#define WALK33_COMMAND_3 CHECK_SET_3
#define WALK33_PROPERTY(...)
#define WALK33_QUERY(...)
#define WALK33_QUERY_1(...)
#define WALK33_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK33)
#undef WALK33_ARRAY_QUERY
#undef WALK33_BY_HAND
#undef WALK33_COMMAND
#undef WALK33_COMMAND_1
#undef WALK33_COMMAND_2
#undef WALK33_COMMAND_3
#undef WALK33_PROPERTY
#undef WALK33_QUERY
#undef WALK33_QUERY_1
#undef WALK33_QUERY_2
#define WALK34_ARRAY_QUERY(...)
#define WALK34_BY_HAND(...)
#define WALK34_COMMAND CHECK_COMMAND
#define WALK34_COMMAND_1(...)
#define WALK34_COMMAND_2(...)
#define WALK34_COMMAND_3(...)
#define WALK34_PROPERTY(...)
#define WALK34_QUERY(...)
#define WALK34_QUERY_1(...)
#define WALK34_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK34)
#undef WALK34_ARRAY_QUERY
#undef WALK34_BY_HAND
#undef WALK34_COMMAND
#undef WALK34_COMMAND_1
#undef WALK34_COMMAND_2
#undef WALK34_COMMAND_3
#undef WALK34_PROPERTY
#undef WALK34_QUERY
#undef WALK34_QUERY_1
#undef WALK34_QUERY_2
#define WALK35_ARRAY_QUERY(...)
#define WALK35_BY_HAND(...)
#define WALK35_COMMAND(...)
#define WALK35_COMMAND_1(...)
#define WALK35_COMMAND_2(...)
#define WALK35_COMMAND_3(...)
#define WALK35_PROPERTY CHECK_PUT
#define WALK35_QUERY(...)
#define WALK35_QUERY_1(...)
#define WALK35_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK35)
#undef WALK35_ARRAY_QUERY
#undef WALK35_BY_HAND
#undef WALK35_COMMAND
#undef WALK35_COMMAND_1
#undef WALK35_COMMAND_2
#undef WALK35_COMMAND_3
#undef WALK35_PROPERTY
#undef WALK35_QUERY
#undef WALK35_QUERY_1
#undef WALK35_QUERY_2
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
#define WALK36_ARRAY_QUERY(...)
#define WALK36_BY_HAND(...)
#define WALK36_COMMAND(...)
#define WALK36_COMMAND_1(...)
#define WALK36_COMMAND_2(...)
#define WALK36_COMMAND_3(...)
#define WALK36_PROPERTY(...)
#define WALK36_QUERY CHECK_GET_0
#define WALK36_QUERY_1(...)
#define WALK36_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK36)
#undef WALK36_ARRAY_QUERY
#undef WALK36_BY_HAND
#undef WALK36_COMMAND
#undef WALK36_COMMAND_1
#undef WALK36_COMMAND_2
#undef WALK36_COMMAND_3
#undef WALK36_PROPERTY
#undef WALK36_QUERY
#undef WALK36_QUERY_1
#undef WALK36_QUERY_2
#define WALK37_ARRAY_QUERY(...)
#define WALK37_BY_HAND(...)
#define WALK37_COMMAND(...)
#define WALK37_COMMAND_1(...)
#define WALK37_COMMAND_2(...)
#define WALK37_COMMAND_3(...)
#define WALK37_PROPERTY(...)
#define WALK37_QUERY(...)
#define WALK37_QUERY_1 CHECK_GET_1
#define WALK37_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK37)
#undef WALK37_ARRAY_QUERY
#undef WALK37_BY_HAND
#undef WALK37_COMMAND
#undef WALK37_COMMAND_1
#undef WALK37_COMMAND_2
#undef WALK37_COMMAND_3
#undef WALK37_PROPERTY
#undef WALK37_QUERY
#undef WALK37_QUERY_1
#undef WALK37_QUERY_2
#define WALK38_ARRAY_QUERY(...)
#define WALK38_BY_HAND(...)
#define WALK38_COMMAND(...)
#define WALK38_COMMAND_1(...)
#define WALK38_COMMAND_2(...)
#define WALK38_COMMAND_3(...)
#define WALK38_PROPERTY(...)
#define WALK38_QUERY(...)
#define WALK38_QUERY_1(...)
#define WALK38_QUERY_2 CHECK_GET_2
  MOTQR_PROGRAM_MEMBERS(WALK38)
#undef WALK38_ARRAY_QUERY
#undef WALK38_BY_HAND
#undef WALK38_COMMAND
#undef WALK38_COMMAND_1
#undef WALK38_COMMAND_2
#undef WALK38_COMMAND_3
#undef WALK38_PROPERTY
#undef WALK38_QUERY
#undef WALK38_QUERY_1
#undef WALK38_QUERY_2
#define WALK39_ARRAY_QUERY(...)
#define WALK39_BY_HAND(...)
#define WALK39_COMMAND(...)
#define WALK39_COMMAND_1(...)
#define WALK39_COMMAND_2(...)
#define WALK39_COMMAND_3(...)
#define WALK39_PROPERTY CHECK_GET
#define WALK39_QUERY(...)
#define WALK39_QUERY_1(...)
#define WALK39_QUERY_2(...)
  MOTQR_PROGRAM_MEMBERS(WALK39)
#undef WALK39_ARRAY_QUERY
#undef WALK39_BY_HAND
#undef WALK39_COMMAND
#undef WALK39_COMMAND_1
#undef WALK39_COMMAND_2
#undef WALK39_COMMAND_3
#undef WALK39_PROPERTY
#undef WALK39_QUERY
#undef WALK39_QUERY_1
#undef WALK39_QUERY_2
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
