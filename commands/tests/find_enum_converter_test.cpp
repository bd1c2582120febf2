// Finding a member's table by enumeration name and qualified member name, and
// the tables that convert the same enumeration differently per member.
#include "commands/find_enum_converter.h"

#include <gtest/gtest.h>

#include <string>

#include "interfaces/enums.h"

namespace motqr::commands {
namespace {

const driver::IEnumCommandConverter* Find(std::string_view name, std::string_view member) {
  return FindEnumConverter(name, member);
}

std::string Write(std::string_view name, std::string_view member, std::int32_t value) {
  const auto* c = Find(name, member);
  std::string token;
  if (!c) return "<no converter>";
  return c->GetCommand("TQR-M4", value, &token) ? token : "<no row>";
}

std::string Read(std::string_view name, std::string_view member, std::string_view reply) {
  const auto* c = Find(name, member);
  std::int32_t value = 0;
  if (!c) return "<no converter>";
  return c->GetValue("TQR-M4", reply, &value) ? std::to_string(value) : "<no match>";
}

constexpr std::string_view kCurrentMode = "IMorvaneTqrOutputChannel.CurrentMode";

TEST(FindEnumConverter, EveryNameFormFindsTheSameConverterAndNothingElseDoes) {
  const auto* c = Find("MorvaneTqrOutputFunctionModeEnum", kCurrentMode);
  ASSERT_NE(c, nullptr);
  for (const char* name :
       {"OutputFunctionMode", "MorvaneTqrOutputFunctionMode", "OutputFunctionModeEnum"})
    EXPECT_EQ(Find(name, kCurrentMode), c) << name;
  for (const char* name : {"outputfunctionmode", "OutputFunctionModeEnumEnum",
                           "MorvaneTqrMorvaneTqrOutputFunctionMode", "TqrOutputFunctionMode",
                           "IviDCPwrOutputFunctionMode", " OutputFunctionMode", ""})
    EXPECT_EQ(Find(name, kCurrentMode), nullptr) << name;
  EXPECT_NE(Find("VARIANT_BOOL", ""), nullptr);
  for (const char* name : {"VARIANT_BOOLEnum", "MorvaneTqrVARIANT_BOOL", "variant_bool"})
    EXPECT_EQ(Find(name, ""), nullptr) << name;
}

TEST(FindEnumConverter, ShortMeasurementTypeNamesSelectTheInstrumentEnumeration) {
  // Even inside a member of the class interface, whose own table is the class one.
  EXPECT_EQ(Find("MeasurementType", "IIviDCPwrOutput.Measure"), nullptr);
  EXPECT_EQ(Find("MeasurementTypeEnum", "IIviDCPwrOutput.Measure"), nullptr);
  EXPECT_EQ(
      Write("MeasurementType", "IMorvaneTqrOutputChannel.Fetch", MorvaneTqrMeasurementTypeCurrent),
      "CURR");
  EXPECT_EQ(
      Write("IviDCPwrMeasurementTypeEnum", "IIviDCPwrOutput.Measure", IviDCPwrMeasurementVoltage),
      "VOLT");
  EXPECT_EQ(Find("IviDCPwrMeasurementType", ""), Find("IviDCPwrMeasurementTypeEnum", ""));
  EXPECT_EQ(Read("IviDCPwrMeasurementType", "", "CURR"),
            std::to_string(IviDCPwrMeasurementCurrent));
  EXPECT_EQ(Read("MeasurementType", "", "CURR"), std::to_string(MorvaneTqrMeasurementTypeCurrent));
}

TEST(FindEnumConverter, EnumerationsWithoutTokensAndUnknownNamesHaveNoConverter) {
  for (const char* name :
       {"Beep", "MorvaneTqrBeepEnum", "TransientState", "MorvaneTqrTransientStateEnum",
        "IviDCPwrCurrentLimitBehaviorEnum", "RangeType", "IviDCPwrOutputState", "TriggerSourceEnum",
        "IviDCPwrTriggerSourceEnum", "MorvaneTqrErrorCodesEnum", "VisaStatusCode", "SerialParity",
        "IEEEBinaryType", "ConflictHandlerType", "NoSuchEnum"})
    EXPECT_EQ(Find(name, ""), nullptr) << name;
}

TEST(FindEnumConverter, MemberMustBeListedExactlyEmptyMeansFirstBooleansDefault) {
  EXPECT_EQ(Find("OutputFunctionMode", ""), Find("OutputFunctionMode", kCurrentMode));
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.currentmode"), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.CurrentMode "), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.Enabled"), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "CurrentMode"), nullptr);
  // Booleans: the empty member is ExecuteMSync ("OFF"/"ON" only); any member
  // without a table writes "0"/"1" and reads nothing else.
  EXPECT_EQ(Write("VARIANT_BOOL", "", -1), "ON");
  EXPECT_EQ(Read("VARIANT_BOOL", "", "1"), "<no match>");
  EXPECT_EQ(Write("VARIANT_BOOL", "IMorvaneTqrOutputChannel.NoSuchMember", -1), "1");
  EXPECT_EQ(Write("VARIANT_BOOL", "IMorvaneTqrOutputChannel.enabled", 0), "0");
  EXPECT_EQ(Read("VARIANT_BOOL", "IMorvaneTqrOutputChannel.enabled", "ON"), "<no match>");
  EXPECT_EQ(Find("VARIANT_BOOL", "Whatever.Member"), Find("VARIANT_BOOL", "X.Y"));
}

TEST(FindEnumConverter, BooleanStylesPerMember) {
  struct Style {
    const char* member;
    const char* true_token;   // written for 1 and -1
    const char* false_token;  // written for 0
    const char* also_true;    // another token read as true
    const char* also_false;   // another token read as false
    const char* not_read;     // a token of another style
  };
  for (const Style& s : {
           Style{"IMorvaneTqrOutputChannel.MsyncAcceptEnabled", "1", "0", "1", "0", "ON"},
           Style{"IMorvaneTqrSystem.MsyncEnabled", "1", "0", "1", "0", "OFF"},
           Style{"IMorvaneTqrOutputChannel.Enabled", "1", "0", "ON", "OFF", "on"},
           Style{"IMorvaneTqrSystem.KeyLockEnabled", "1", "0", "ON", "OFF", "Off"},
           Style{"IIviDCPwrOutput.Enabled", "ON", "OFF", "1", "0", "on"},
           Style{"IMorvaneTqrGlobal.ConfigureEnabled", "ON", "OFF", "1", "0", "-1"},
           Style{"IMorvaneTqrOutputChannel.ExecuteMSync", "ON", "OFF", "ON", "OFF", "1"},
       }) {
    SCOPED_TRACE(s.member);
    EXPECT_EQ(Write("VARIANT_BOOL", s.member, -1), s.true_token);
    EXPECT_EQ(Write("VARIANT_BOOL", s.member, 1), s.true_token);
    EXPECT_EQ(Write("VARIANT_BOOL", s.member, 0), s.false_token);
    EXPECT_EQ(Write("VARIANT_BOOL", s.member, 2), "<no row>");
    EXPECT_EQ(Read("VARIANT_BOOL", s.member, s.true_token), "-1");
    EXPECT_EQ(Read("VARIANT_BOOL", s.member, s.also_true), "-1");
    EXPECT_EQ(Read("VARIANT_BOOL", s.member, s.false_token), "0");
    EXPECT_EQ(Read("VARIANT_BOOL", s.member, s.also_false), "0");
    EXPECT_EQ(Read("VARIANT_BOOL", s.member, s.not_read), "<no match>");
  }
  EXPECT_EQ(Read("VARIANT_BOOL", "IIviDCPwrOutput.Enabled", "on"), "<no match>");
  EXPECT_EQ(Read("VARIANT_BOOL", "IIviDCPwrOutput.Enabled", "0"), "0");
  EXPECT_EQ(Read("VARIANT_BOOL", "IMorvaneTqrSystem.KeyLockEnabled", " OFF\n"), "0");
}

TEST(FindEnumConverter, SameEnumerationConvertsDifferentlyPerMember) {
  constexpr auto kPulse = MorvaneTqrOutputFunctionModePulse;
  EXPECT_EQ(Write("OutputFunctionMode", kCurrentMode, kPulse), "PULS");
  EXPECT_EQ(Write("OutputFunctionMode", "IMorvaneTqrOutputChannel.VoltageMode", kPulse), "PULS");
  EXPECT_EQ(Write("OutputFunctionMode", "IMorvaneTqrOutputChannel.PowerMode", kPulse), "PULSE");
  EXPECT_EQ(Read("OutputFunctionMode", "IMorvaneTqrOutputChannel.PowerMode", "PULS"), "<no match>");
  EXPECT_EQ(Read("OutputFunctionMode", "IMorvaneTqrOutputChannel.VoltageMode", "PULSE"),
            "<no match>");
  EXPECT_EQ(Read("OutputFunctionMode", kCurrentMode, "PULS\n"), std::to_string(kPulse));

  const std::string transition = "ProgramStepTransition";
  EXPECT_EQ(Write(transition, "IMorvaneTqrProgram.ConfigureProgramStepTransition", 1), "ON");
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.ConfigureProgramStepTransition", "1"),
            "<no match>");
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.QueryProgramStepTransition", "1"),
            std::to_string(MorvaneTqrProgramStepTransitionMode));
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.QueryProgramStepTransition", "OFF"), "0");
}

TEST(FindEnumConverter, TriggerSystemTablesPerMemberAndLongestToken) {
  const std::string e = "MorvaneTqrTriggerSystemEnum";
  EXPECT_EQ(Write(e, "IMorvaneTqrTrigger.Initiate", MorvaneTqrTriggerSystemAll), "<no row>");
  EXPECT_EQ(Write(e, "IMorvaneTqrTrigger.Initiate", MorvaneTqrTriggerSystemProgram), "TRAN:PROG");
  EXPECT_EQ(Write(e, "IMorvaneTqrTrigger.Abort", MorvaneTqrTriggerSystemAll), "ALL");
  EXPECT_EQ(Write(e, "IMorvaneTqrTrigger.Abort", MorvaneTqrTriggerSystemProgram), "TRAN");
  EXPECT_EQ(Read(e, "IMorvaneTqrTrigger.Abort", "TRAN:PROG"), "<no match>");
  for (std::int32_t v = -1; v <= 3; ++v)
    EXPECT_EQ(Write(e, "IMorvaneTqrTrigger.SendSoftwareTrigger", v), "<no row>");
  EXPECT_EQ(Find(e, "")->GetMaxCommandLength(), 9);
  EXPECT_EQ(Find(e, "IMorvaneTqrTrigger.Abort")->GetMaxCommandLength(), 4);
  EXPECT_EQ(Find(e, "IMorvaneTqrTrigger.SendSoftwareTrigger")->GetMaxCommandLength(), 0);
  EXPECT_EQ(Find("VARIANT_BOOL", "IIviDCPwrOutput.Enabled")->GetMaxCommandLength(), 3);
  EXPECT_EQ(Find("VARIANT_BOOL", "IMorvaneTqrOutputChannel.Enabled")->GetMaxCommandLength(), 1);
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.PowerMode")->GetMaxCommandLength(),
            5);
}

TEST(FindEnumConverter, PositiveWritesNothingAndCannotBeRead) {
  for (const char* member : {"IMorvaneTqrProgram.ConfigureProgramStepCurrent",
                             "IMorvaneTqrProgram.QueryProgramStepPower"}) {
    EXPECT_EQ(Write("PositiveNegative", member, MorvaneTqrPositiveNegativePositive), "");
    EXPECT_EQ(Write("PositiveNegative", member, MorvaneTqrPositiveNegativeNegative), ":NEG");
    EXPECT_EQ(Read("PositiveNegative", member, ""), "<no match>");
    EXPECT_EQ(Read("PositiveNegative", member, " \r\n"), "<no match>");
    EXPECT_EQ(Read("PositiveNegative", member, ":NEG"), "1");
  }
  EXPECT_EQ(Find("PositiveNegative", "")->GetMaxCommandLength(), 4);
}

}  // namespace
}  // namespace motqr::commands
