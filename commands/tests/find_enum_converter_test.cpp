// Finding a member's table by enumeration name and qualified member name, and
// the tables that convert the same enumeration differently per member; tokens
// and values go through the driver's port, which tells a missing table from a
// missing row.
#include "commands/find_enum_converter.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/enum_token_port.h"
#include "interfaces/enums.h"

namespace motqr::commands {
namespace {

const IEnumCommandConverter* Find(std::string_view name, std::string_view member) {
  return FindEnumConverter(name, member);
}

std::string Outcome(driver::EnumTokenLookup lookup, std::string found, const char* no_match) {
  switch (lookup) {
    case driver::EnumTokenLookup::kFound:
      return found;
    case driver::EnumTokenLookup::kNoTable:
      return "<no converter>";
    case driver::EnumTokenLookup::kNoMatch:
      return no_match;
  }
  return "<bad lookup>";
}

std::string Write(std::string_view name, std::string_view member, std::int32_t value) {
  std::string token;
  const auto lookup = EnumTokenPort().Token(name, member, "TQR-M4", value, &token);
  return Outcome(lookup, token, "<no row>");
}

std::string Read(std::string_view name, std::string_view member, std::string_view reply) {
  std::int32_t value = 0;
  const auto lookup = EnumTokenPort().Value(name, member, "TQR-M4", reply, &value);
  return Outcome(lookup, std::to_string(value), "<no match>");
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
  // Full names: every_table_test.
  for (const char* name :
       {"Beep", "TransientState", "RangeType", "IviDCPwrOutputState", "TriggerSourceEnum",
        "VisaStatusCode", "SerialParity", "IEEEBinaryType", "ConflictHandlerType", "NoSuchEnum"})
    EXPECT_EQ(Find(name, ""), nullptr) << name;
  EXPECT_EQ(Write("NoSuchEnum", "", 0), "<no converter>");
  EXPECT_EQ(Read("OutputFunctionMode", "IMorvaneTqrOutputChannel.Enabled", "CC"), "<no converter>");
  EXPECT_EQ(EnumTokenPort().MaxTokenLength("NoSuchEnum", ""), 0);
  // A table without the value is another outcome: the driver reports a bad value, not a
  // missing enumeration.
  EXPECT_EQ(Write("OutputFunctionMode", kCurrentMode, 9999), "<no row>");
}

TEST(FindEnumConverter, MemberMustBeListedExactlyEmptyMeansFirstBooleansDefault) {
  EXPECT_EQ(Find("OutputFunctionMode", ""), Find("OutputFunctionMode", kCurrentMode));
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.currentmode"), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.CurrentMode "), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "IMorvaneTqrOutputChannel.Enabled"), nullptr);
  EXPECT_EQ(Find("OutputFunctionMode", "CurrentMode"), nullptr);
  // Booleans: any member without a table of its own (member names are
  // case-sensitive too) writes "0"/"1" and reads nothing else.
  EXPECT_EQ(Write("VARIANT_BOOL", "IMorvaneTqrOutputChannel.enabled", 0), "0");
  EXPECT_EQ(Read("VARIANT_BOOL", "IMorvaneTqrOutputChannel.enabled", "ON"), "<no match>");
  EXPECT_EQ(Find("VARIANT_BOOL", "Whatever.Member"), Find("VARIANT_BOOL", "X.Y"));
}

// Every member's own tokens read back (every_table_test); these are other members' tokens,
// and numbers only a query's table takes.
TEST(FindEnumConverter, RepliesMatchOnlyTheMembersOwnTokens) {
  EXPECT_EQ(Read("OutputFunctionMode", kCurrentMode, "PULSE"), "<no match>");
  EXPECT_EQ(Read("OutputFunctionMode", "IMorvaneTqrOutputChannel.PowerMode", "PULS"), "<no match>");
  const std::string transition = "ProgramStepTransition";
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.ConfigureProgramStepTransition", "1"),
            "<no match>");
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.QueryProgramStepTransition", "1"),
            std::to_string(MorvaneTqrProgramStepTransitionMode));
  EXPECT_EQ(Read(transition, "IMorvaneTqrProgram.QueryProgramStepTransition", "0"),
            std::to_string(MorvaneTqrProgramStepTransitionOff));
  EXPECT_EQ(Read("MorvaneTqrTriggerSystemEnum", "IMorvaneTqrTrigger.Abort", "TRAN:PROG"),
            "<no match>");
  EXPECT_EQ(Read("MorvaneTqrTriggerSystemEnum", "IMorvaneTqrTrigger.SendSoftwareTrigger", "ACQ"),
            "<no match>");
  // The positive sign writes nothing, and nothing reads back as positive.
  EXPECT_EQ(Read("PositiveNegative", "IMorvaneTqrProgram.QueryProgramStepPower", " \r\n"),
            "<no match>");
}

// The longest token of each member's table is checked in every_table_test; booleans and the
// first table of an enumeration here.
TEST(FindEnumConverter, LongestCommandToken) {
  const driver::IEnumTokenPort& port = EnumTokenPort();
  EXPECT_EQ(port.MaxTokenLength("MorvaneTqrTriggerSystemEnum", ""), 9);  // "TRAN:PROG"
  EXPECT_EQ(port.MaxTokenLength("VARIANT_BOOL", "IIviDCPwrOutput.Enabled"), 3);
  EXPECT_EQ(port.MaxTokenLength("VARIANT_BOOL", "IMorvaneTqrOutputChannel.Enabled"), 1);
}

}  // namespace
}  // namespace motqr::commands
