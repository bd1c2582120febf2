// Walks every table of every member against the enumerations of the type
// library and a transcript of the tokens each member writes: every value
// writes its token (or has none where the transcript says "-"), every token
// reads back as its value, and the longest token is what the converter reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "commands/enumerations.h"
#include "commands/find_enum_converter.h"

namespace motqr::commands {
namespace {

struct DefinedEnumeration {
  std::string name;
  std::vector<std::int32_t> values;
};

std::vector<DefinedEnumeration> TypeLibraryEnumerations() {
  std::vector<DefinedEnumeration> list;
#define MOTQR_ENUM_BEGIN(Enum) list.push_back({#Enum, {}});
#define MOTQR_ENUM_VALUE(Enum, Member, value) list.back().values.push_back(value);
#include "interfaces/enums.def"
  return list;
}

// Member -> the tokens written for the enumeration's values in value order;
// "-" for a value without a row, '' for the empty token.
const std::map<std::string, std::string>& WrittenTokens() {
  static const std::map<std::string, std::string> tokens = {
      // clang-format off
      {"IMorvaneTqrOutputChannel.CurrentMode",                    "DC IV PULS SINE EXT DSE ESE"},
      {"IMorvaneTqrOutputChannel.PowerMode",                      "DC IV PULSE SINE EXT DSE ESE"},
      {"IMorvaneTqrOutputChannel.VoltageMode",                    "DC IV PULS SINE EXT DSE ESE"},
      {"IMorvaneTqrOutputChannel.CurrentResponseSpeed",           "SLOW FAST"},
      {"IMorvaneTqrOutputChannel.VoltageReponseSpeed",            "SLOW FAST"},
      {"IMorvaneTqrOutputChannel.Measure",                        "VOLT CURR POW ETIM CAP ENER"},
      {"IMorvaneTqrOutputChannel.Read",                           "VOLT CURR POW ETIM CAP ENER"},
      {"IMorvaneTqrOutputChannel.Fetch",                          "VOLT CURR POW ETIM CAP ENER"},
      {"IMorvaneTqrOutputChannel.PowerOnMode",                    "SAFE AUTO FORC"},
      {"IMorvaneTqrOutputChannel.Priority",                       "CV CC CP CR"},
      {"IMorvaneTqrOutputChannel.ImpedanceMode",                  "LOW HIGH"},
      {"IMorvaneTqrData.ConfigureIntegralGateStartStopCondition", "OSON MAN PRUN EXT"},
      {"IMorvaneTqrData.QueryIntegralGateStartStopCondition",     "OSON MAN PRUN EXT"},
      {"IMorvaneTqrData.ConfigureIntegralGateResetMethod",        "AUTO MAN EXT"},
      {"IMorvaneTqrData.QueryIntegralGateResetMethod",            "AUTO MAN EXT"},
      {"IMorvaneTqrProgram.ProgramCurrentFunctionMode",           "DC DSE"},
      {"IMorvaneTqrProgram.ProgramPowerFunctionMode",             "DC DSE"},
      {"IMorvaneTqrProgram.ConfigureProgramStepTransition",       "OFF ON"},
      {"IMorvaneTqrProgram.QueryProgramStepTransition",           "OFF ON"},
      {"IMorvaneTqrProgram.ConfigureProgramStepFunctionMode",     "DC IR CVS CCS"},
      {"IMorvaneTqrProgram.QueryProgramStepFunctionMode",         "DC IR CVS CCS"},
      {"IMorvaneTqrProgram.ConfigureProgramStepCurrent",          "'' :NEG"},
      {"IMorvaneTqrProgram.QueryProgramStepCurrent",              "'' :NEG"},
      {"IMorvaneTqrProgram.ConfigureProgramStepPower",            "'' :NEG"},
      {"IMorvaneTqrProgram.QueryProgramStepPower",                "'' :NEG"},
      {"IMorvaneTqrProgram.ConfigureProgramStepRamp",             "IMM CV CC CP"},
      {"IMorvaneTqrProgram.QueryProgramStepRamp",                 "IMM CV CC CP"},
      {"IMorvaneTqrProgram.ConfigureProgramStepTrigger",          "IMM BUS EXT MSYN"},
      {"IMorvaneTqrProgram.QueryProgramStepTrigger",              "IMM BUS EXT MSYN"},
      {"IMorvaneTqrProgram.ConfigureProgramStepSignal",           "NONE DC PULS"},
      {"IMorvaneTqrProgram.QueryProgramStepSignal",               "NONE DC PULS"},
      {"IMorvaneTqrSystemIO.QueryIOInputFilter",                  "SLOW FAST"},
      {"IMorvaneTqrSystemIO.QueryIOInputFunction",
       "NONE ON OFF CONT LALM CLR TIN TPA INT IRES ACQ TRAN MEM1 MEM2"},
      {"IMorvaneTqrSystemIO.QueryIOInputPolarity",                "NORM INV"},
      {"IMorvaneTqrSystemIO.QueryIOOutputPolarity",               "NORM INV"},
      {"IMorvaneTqrSystemIO.QueryIOOutputFunction",
       "NONE ON PON HALM LALM CC CV PTO PRUN DIN MEM1 MEM2 REL"},
      {"IMorvaneTqrSystem.GetTimeZoneList",                       "TZON1 TZON2"},
      {"IMorvaneTqrSystem.RemoteLocalState",                      "LOC REM RWL"},
      {"IMorvaneTqrSystem.PowerOnRecallState",                    "RST RCL AUTO"},
      {"IMorvaneTqrTrigger.AcquireTriggerSource",                 "IMM BUS EXT MSYN OSOF"},
      {"IMorvaneTqrTrigger.Initiate",                             "- ACQ TRAN:PROG"},
      {"IMorvaneTqrTrigger.Abort",                                "ALL ACQ TRAN"},
      {"IMorvaneTqrTrigger.SendSoftwareTrigger",                  "- - -"},
      {"IMorvaneTqrTrigger.TransientTriggerSource",               "IMM BUS EXT MSYN"},
      {"IIviDCPwrOutput.Measure",                                 "CURR VOLT"},
      // clang-format on
  };
  return tokens;
}

TEST(EveryTable, ExactlyTheTokenedEnumerationsHaveConvertersUnderTheirOwnNames) {
  std::set<std::string> defined;
  std::set<std::string> with_converter;
  for (const DefinedEnumeration& e : TypeLibraryEnumerations()) {
    defined.insert(e.name);
    if (FindEnumConverter(e.name, "")) with_converter.insert(e.name);
  }
  EXPECT_EQ(with_converter.size(), 27u);  // 26 instrument enumerations and the class one
  for (const char* name :
       {"MorvaneTqrBeepEnum", "MorvaneTqrTransientStateEnum", "MorvaneTqrErrorCodesEnum",
        "IviDCPwrCurrentLimitBehaviorEnum", "IviDCPwrRangeTypeEnum", "IviDCPwrOutputStateEnum",
        "IviDCPwrTriggerSourceEnum"})
    EXPECT_EQ(with_converter.count(name), 0u) << name;
  // Every enumeration of the match list is one of the type library's, by its full name.
  for (const Enumeration& e : Enumerations()) {
    if (e.forms == NameForms::kShortOnly) continue;
    const std::string prefix = e.forms == NameForms::kClass ? "IviDCPwr" : "MorvaneTqr";
    EXPECT_EQ(defined.count(prefix + std::string(e.short_name) + "Enum"), 1u) << e.short_name;
  }
}

TEST(EveryTable, EveryMemberWritesItsTokensAndReadsThemBack) {
  std::set<std::string> walked;
  for (const DefinedEnumeration& e : TypeLibraryEnumerations()) {
    const Enumeration* enumeration = FindEnumeration(e.name);
    if (!enumeration || !enumeration->members) continue;
    const auto [min, max] = std::minmax_element(e.values.begin(), e.values.end());
    for (const MemberTable& t : enumeration->members()) {
      const std::string member(t.member);
      SCOPED_TRACE(e.name + " in " + member);
      const IEnumCommandConverter* c = FindEnumConverter(e.name, member);
      ASSERT_NE(c, nullptr);
      walked.insert(member);
      std::string written;
      std::size_t longest = 0;
      for (std::int32_t value : e.values) {
        std::string token;
        if (!written.empty()) written += ' ';
        if (!c->GetCommand("TQR-M4", value, &token)) {
          written += '-';
          continue;
        }
        written += token.empty() ? "''" : token;
        longest = std::max(longest, token.size());
        // The same token for every model, and for a session without one.
        for (const char* model : {"", "TQR-M1", "TQR-M7", "not a model"}) {
          std::string other;
          EXPECT_TRUE(c->GetCommand(model, value, &other) && other == token) << model;
        }
        std::int32_t read = -100;
        EXPECT_EQ(c->GetValue("TQR-M4", token, &read), !token.empty()) << token;
        if (!token.empty()) {
          EXPECT_EQ(read, value) << token;
        }
      }
      EXPECT_EQ(written, WrittenTokens().at(member));
      std::string none;
      EXPECT_FALSE(c->GetCommand("TQR-M4", *min - 1, &none));
      EXPECT_FALSE(c->GetCommand("TQR-M4", *max + 1, &none));
      EXPECT_EQ(c->GetMaxCommandLength(), static_cast<std::int32_t>(longest));
    }
  }
  EXPECT_EQ(walked.size(), WrittenTokens().size());
}

// The four boolean styles: what true (1 and -1) and false write, and which
// tokens read back as true (-1) and false (0).
struct BooleanStyle {
  const char* name;
  const char* writes;  // "<true> <false>"
  std::vector<std::pair<const char*, std::int32_t>> reads;
};
const BooleanStyle kNumeric{"numeric", "1 0", {{"1", -1}, {"0", 0}}};
const BooleanStyle kNumericWordsRead{
    "numeric, words read", "1 0", {{"1", -1}, {"ON", -1}, {"0", 0}, {"OFF", 0}}};
const BooleanStyle kWordsNumbersRead{
    "words, numbers read", "ON OFF", {{"ON", -1}, {"1", -1}, {"OFF", 0}, {"0", 0}}};
const BooleanStyle kWords{"words", "ON OFF", {{"ON", -1}, {"OFF", 0}}};

TEST(EveryTable, EveryBooleanMemberHasItsStyle) {
  const std::pair<const char*, const BooleanStyle*> members[] = {
      {"", &kWords},
      {"IMorvaneTqrOutputChannel.ExecuteMSync", &kWords},
      {"IMorvaneTqrOutputChannel.MsyncAcceptEnabled", &kNumeric},
      {"IMorvaneTqrSystem.MsyncEnabled", &kNumeric},
      {"IMorvaneTqrOutputChannel.VoltageLevel", &kNumeric},  // not listed: the default
      {"IMorvaneTqrOutputChannel.Enabled", &kNumericWordsRead},
      {"IMorvaneTqrSystem.KeyLockEnabled", &kNumericWordsRead},
      {"IIviDCPwrOutput.Enabled", &kWordsNumbersRead},
      {"IMorvaneTqrSystem.RemoteSensingEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrOutputChannelProtection.RemoteSensingErrorEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrOutputChannelProtection.WatchdogEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrOutputChannelProtection.LowerOVPEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrProgram.ConfigureProgramStepOutputEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrProgram.QueryProgramStepOutputEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrSystemIO.IOEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrTrigger.AcquireIntervalEnabled", &kWordsNumbersRead},
      {"IMorvaneTqrGlobal.ConfigureEnabled", &kWordsNumbersRead},
  };
  EXPECT_EQ(FindEnumeration("VARIANT_BOOL")->members().size(), std::size(members) - 2);
  for (const auto& [member, style] : members) {
    SCOPED_TRACE(std::string(member) + ": " + style->name);
    const IEnumCommandConverter* c = FindEnumConverter("VARIANT_BOOL", member);
    ASSERT_NE(c, nullptr);
    std::string one, minus_one, zero;
    EXPECT_TRUE(c->GetCommand("TQR-M4", 1, &one));
    EXPECT_TRUE(c->GetCommand("TQR-M4", -1, &minus_one));
    EXPECT_TRUE(c->GetCommand("TQR-M4", 0, &zero));
    EXPECT_EQ(one, minus_one);
    EXPECT_EQ(one + " " + zero, style->writes);
    EXPECT_FALSE(c->GetCommand("TQR-M4", 2, &one));
    for (const char* reply : {"1", "0", "ON", "OFF", "on", "-1"}) {
      const auto it = std::find_if(style->reads.begin(), style->reads.end(), [&](const auto& r) {
        return std::string_view(r.first) == reply;
      });
      std::int32_t value = 99;
      EXPECT_EQ(c->GetValue("TQR-M4", reply, &value), it != style->reads.end()) << reply;
      if (it != style->reads.end()) {
        EXPECT_EQ(value, it->second) << reply;
      }
    }
  }
}

}  // namespace
}  // namespace motqr::commands
