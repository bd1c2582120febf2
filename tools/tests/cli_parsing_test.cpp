// The tool's own parsing and formatting: property paths, enumeration names,
// value text, the command line, step and I-V map files, JSON.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "tools/cli_options.h"
#include "tools/command.h"
#include "tools/enum_names.h"
#include "tools/instrument_state.h"
#include "tools/iv_file.h"
#include "tools/output.h"
#include "tools/program_steps.h"
#include "tools/property_table.h"
#include "tools/step_file.h"
#include "tools/value_codec.h"

namespace motqr::cli {
namespace {

TEST(PropertyTable, EveryAttributeRowHasOneReadablePath) {
  std::set<std::string> paths;
  for (const PropertyRow& row : AllProperties()) {
    EXPECT_FALSE(row.path.empty()) << row.qualified_name << " has no group";
    EXPECT_TRUE(paths.insert(row.path).second) << row.path << " twice";
    EXPECT_EQ(row.path.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ _"), std::string::npos);
  }
  // The 110 property rows of attributes.def (its one constant row has no member).
  EXPECT_GE(paths.size(), 110u);

  const struct {
    const char* path;
    const char* member;
    bool writable;
  } expected[] = {
      {"output.voltage-level", "IMorvaneTqrOutputChannel.VoltageLevel", true},
      {"output.protection.ocp-level", "IMorvaneTqrOutputChannelProtection.OCPLevel", true},
      {"output.iv.current-iv-point-count", "IMorvaneTqrOutputChannelIV.CurrentIVPointCount", true},
      {"system.time-zone", "IMorvaneTqrSystem.TimeZone", true},
      {"system.io.enabled", "IMorvaneTqrSystemIO.IOEnabled", true},
      {"system.analog.control-selected-range", "IMorvaneTqrSystemAnalog.AnalogControlSelectedRange",
       true},
      {"program.loop-count", "IMorvaneTqrProgram.ProgramLoopCount", true},
      {"dcpwr.output.ovp-limit", "IIviDCPwrOutput.OVPLimit", true},
      {"status.operation.condition-register", "IMorvaneTqrStatusOperation.ConditionRegister",
       false},
      {"identity.instrument-model", "IIviDriverIdentity.InstrumentModel", false},
  };
  for (const auto& e : expected) {
    const auto rows = FindProperties(e.path);
    ASSERT_EQ(rows.size(), 1u) << e.path;
    EXPECT_EQ(rows[0]->qualified_name, e.member);
    EXPECT_EQ(rows[0]->write != nullptr, e.writable) << e.path;
  }
}

TEST(PropertyTable, WordsPathsAndQueries) {
  EXPECT_EQ(SplitWords("OCPLevel"), (std::vector<std::string>{"ocp", "level"}));
  EXPECT_EQ(SplitWords("IOTimeout"), (std::vector<std::string>{"io", "timeout"}));
  EXPECT_EQ(SplitWords("LowerOVPEnabled"), (std::vector<std::string>{"lower", "ovp", "enabled"}));
  EXPECT_EQ(PropertyPath("IUnknownInterface", "Level"), "");

  // A group, a qualified name, any letter case.
  EXPECT_GT(FindProperties("output.protection").size(), 5u);
  EXPECT_EQ(FindProperties("OUTPUT.Voltage-Level").size(), 1u);
  EXPECT_EQ(FindProperties("IMorvaneTqrSystem.TimeZone").front()->path, "system.time-zone");
  EXPECT_TRUE(FindProperties("output.volt").empty());

  PropertyQuery q;
  ASSERT_TRUE(ParsePropertyQuery("output[2].voltage-level", &q).ok());
  EXPECT_EQ(q.path, "output.voltage-level");
  EXPECT_EQ(q.channel, "2");
  ASSERT_TRUE(ParsePropertyQuery("dcpwr.output[Load A].enabled", &q).ok());
  EXPECT_EQ(q.path, "dcpwr.output.enabled");
  EXPECT_EQ(q.channel, "Load A");
  for (const char* bad : {"output[].x", "output[1.x", "output]1.x", "output[1][2].x"})
    EXPECT_EQ(ParsePropertyQuery(bad, &q).exit_code(), Status::kUsageExit) << bad;
}

TEST(EnumNames, ShortNamesAreUniqueAndReadBack) {
  for (const EnumInfo* e : AllEnums()) {
    std::set<std::string> seen;
    for (const auto& m : e->members()) {
      EXPECT_FALSE(m.short_name.empty()) << m.name;
      EXPECT_TRUE(seen.insert(ToLower(m.short_name)).second) << m.name;
      EXPECT_EQ(e->Parse(m.short_name), m.value) << m.name;
      EXPECT_EQ(e->Parse(m.name), m.value) << m.name;
    }
  }
  const EnumInfo& modes = EnumInfoOf<MorvaneTqrOutputFunctionModeEnum>();
  EXPECT_EQ(modes.ShortName(MorvaneTqrOutputFunctionModePulse), "Pulse");
  EXPECT_EQ(modes.Parse("dseamless"), MorvaneTqrOutputFunctionModeDSeamless);
  EXPECT_EQ(modes.Parse("2"), MorvaneTqrOutputFunctionModePulse);
  EXPECT_FALSE(modes.Parse("7"));
  EXPECT_FALSE(modes.Parse("Puls"));
  // Cut at a word start, and the member that repeats its prefix.
  EXPECT_EQ(EnumInfoOf<MorvaneTqrProgramCurrentFunctionModeEnum>().Choices(), "DC|DCSeamless");
  EXPECT_EQ(EnumInfoOf<MorvaneTqrProgramPowerFunctionModeEnum>().Choices(), "DC|DCSeamless");
  EXPECT_EQ(EnumInfoOf<IviDCPwrMeasurementTypeEnum>().Choices(), "Current|Voltage");
}

TEST(ValueText, CodecsReadWhatTheyPrint) {
  using Register = Codec<ValueKind::kInteger, std::int16_t>;
  std::int16_t bits = 0;
  ASSERT_TRUE(Register::Parse("0xFFFF", &bits));
  EXPECT_EQ(bits, -1);
  EXPECT_EQ(Register::Format(bits).text, "65535");
  EXPECT_FALSE(Register::Parse("65536", &bits));

  using Bool = Codec<ValueKind::kBoolean, com::VARIANT_BOOL>;
  com::VARIANT_BOOL b = 0;
  ASSERT_TRUE(Bool::Parse("ON", &b));
  EXPECT_EQ(b, com::VARIANT_TRUE);
  EXPECT_FALSE(Bool::Parse("maybe", &b));

  // Numbers never follow the process locale and must be whole and finite.
  EXPECT_EQ(ParseReal(" 1.5 "), 1.5);
  EXPECT_EQ(ParseReal("+2e-3"), 2e-3);
  for (const char* bad : {"1,5", "1.5V", "nan", "inf", ""}) EXPECT_FALSE(ParseReal(bad)) << bad;
  EXPECT_EQ(FormatReal(0.1), "0.1");
  EXPECT_EQ(Scalar::Number(std::numeric_limits<double>::infinity()).kind, Scalar::Kind::kText);
  std::int32_t i = 0;
  EXPECT_FALSE((Codec<ValueKind::kInteger, std::int32_t>::Parse("2147483648", &i)));
}

Status Parse(std::vector<const char*> args, CliOptions* o, const char* env = nullptr) {
  return ParseCommandLine(args, env, o);
}

TEST(CommandLine, GlobalOptionsStandAnywhereBeforeDoubleDash) {
  CliOptions o;
  ASSERT_TRUE(Parse({"--resource", "R", "set", "output.voltage-level", "-5", "--json",
                     "--timeout=250", "--", "--json"},
                    &o)
                  .ok());
  EXPECT_EQ(o.resource, "R");
  EXPECT_TRUE(o.json);
  EXPECT_EQ(o.timeout_ms, 250);
  EXPECT_EQ(o.args, (std::vector<std::string>{"set", "output.voltage-level", "-5", "--json"}));

  ASSERT_TRUE(Parse({"sim", "--port", "0"}, &o, "ENV").ok());
  EXPECT_EQ(o.args, (std::vector<std::string>{"sim", "--port", "0"}));
  EXPECT_EQ(o.resource, "ENV");
  ASSERT_TRUE(Parse({"--logical-name", "Bench3", "idn"}, &o, "ENV").ok());
  EXPECT_EQ(o.resource, "Bench3");

  for (std::vector<const char*> bad : {
           std::vector<const char*>{"--bogus", "idn"},
           {"--resource", "A", "--logical-name", "B", "idn"},
           {"--timeout", "soon", "idn"},
           {"idn", "--resource"},
           {"--json=yes", "idn"},
           {"--trace", "a,b.xml", "idn"},
       })
    EXPECT_EQ(Parse(bad, &o).exit_code(), Status::kUsageExit) << bad[0];
}

TEST(CommandLine, OptionStringForInitialize) {
  CliOptions o;
  EXPECT_EQ(BuildOptionString(o, true), "QueryInstrStatus=true");
  EXPECT_EQ(BuildOptionString(o, false), "");
  o.option_string = "queryinstrstatus=false, Cache=false";
  o.simulate = true;
  EXPECT_EQ(BuildOptionString(o, true), "Simulate=true, queryinstrstatus=false, Cache=false");
  // Trace keys join a driver setup part that is already there (it stays last).
  o.option_string = "DriverSetup=Model=TQR-M2";
  o.trace_file = "/tmp/t.xml";
  EXPECT_EQ(BuildOptionString(o, false),
            "Simulate=true, DriverSetup=Model=TQR-M2, Trace=true, TraceName=/tmp/t.xml");
  o.option_string.clear();
  EXPECT_EQ(BuildOptionString(o, false),
            "Simulate=true, DriverSetup=Trace=true, TraceName=/tmp/t.xml");
  // The time-out and the wire log hold from the first exchange: driver setup keys.
  CliOptions t;
  ASSERT_TRUE(Parse({"--timeout", "9000", "--log-io", "/tmp/w.log", "idn"}, &t).ok());
  EXPECT_EQ(BuildOptionString(t, true),
            "QueryInstrStatus=true, DriverSetup=IOTimeout=9000, LogIO=/tmp/w.log");
  EXPECT_EQ(Parse({"--log-io", "a=b", "idn"}, &t).exit_code(), Status::kUsageExit);
  ASSERT_TRUE(Parse({"--visa-library", "System", "idn"}, &t).ok());
  EXPECT_EQ(BuildOptionString(t, false), "DriverSetup=VisaLibrary=system");
  EXPECT_EQ(Parse({"--visa-library", "ni", "idn"}, &t).exit_code(), Status::kUsageExit);
}

TEST(Status, CStatusOfTheDriversResults) {
  // The C interface's translation: the driver's own codes keep their low bits.
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80047001u)), 0xBFFA0001u);
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80044215u)), 0xBFFA4215u);
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80047067u)), 0xBFFA0067u);
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80041001u)), 0xBFFA1001u);
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x00047065u)), 0x3FFA0065u);
  // Outside the table: the unmapped failure.
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80070057u)), 0x80000000u);
  EXPECT_EQ(CStatusOf(static_cast<com::HRESULT>(0x80047005u)), 0x80000000u);
  EXPECT_EQ(CStatusOf(0), 0u);
}

TEST(ValueText, EngineeringNotationAndUnits) {
  EXPECT_EQ(FormatEngineering(0.0015, "A"), "1.50000 mA");
  EXPECT_EQ(FormatEngineering(2, "V"), "2.00000 V");
  EXPECT_EQ(FormatEngineering(-0.25, "A"), "-250.000 mA");
  EXPECT_EQ(FormatEngineering(12345.678, "W"), "12.3457 kW");
  EXPECT_EQ(FormatEngineering(999.9996, "V"), "1.00000 kV");
  EXPECT_EQ(FormatEngineering(-0.0, "W"), "0.00000 W");
  EXPECT_EQ(UnitOfProperty("OCPLevel"), "A");
  EXPECT_EQ(UnitOfProperty("OVPLimit"), "V");
  EXPECT_EQ(UnitOfProperty("VoltageSlewRate"), "V/s");
  EXPECT_EQ(UnitOfProperty("OCPGraceTime"), "s");
  EXPECT_EQ(UnitOfProperty("NegativePowerLevel"), "W");
  EXPECT_EQ(UnitOfProperty("VoltageDutyCycle"), "%");
  EXPECT_EQ(UnitOfProperty("AnalogControlSelectedRange"), "");
}

TEST(PropertyTable, SuggestionsAliasAndRanges) {
  EXPECT_EQ(SimilarPaths("output.voltage-levl").front(), "output.voltage-level");
  EXPECT_EQ(SimilarPaths("output.ocp-level").front(), "output.protection.ocp-level");
  EXPECT_TRUE(SimilarPaths("frobnicate.everything").empty());
  const auto alias = FindProperties("OUTPUT.voltage-response-speed");
  ASSERT_EQ(alias.size(), 1u);
  EXPECT_EQ(alias[0]->qualified_name, "IMorvaneTqrOutputChannel.VoltageReponseSpeed");
  // The rows whose interface asks the instrument for MIN and MAX.
  EXPECT_NE(FindProperties("output.voltage-level")[0]->range, nullptr);
  EXPECT_NE(FindProperties("output.protection.ocp-level")[0]->range, nullptr);
  EXPECT_EQ(FindProperties("output.enabled")[0]->range, nullptr);
  std::string value = "5";
  EXPECT_TRUE(FindProperties("output.voltage-level")[0]->write(nullptr, "v", value).ok());
  EXPECT_EQ(FindProperties("output.voltage-level")[0]->write(nullptr, "v", "x").exit_code(),
            Status::kUsageExit);
}

TEST(InstrumentState, RegistersInWords) {
  EXPECT_EQ(Regulation(0x0012, true), "CC");
  EXPECT_EQ(Regulation(0x0011, true), "CV");
  EXPECT_EQ(Regulation(0x0001, false), "off");
  EXPECT_EQ(Regulation(0x0010, true), "unregulated");
  EXPECT_EQ(QuestionableBits(0x0005), (std::vector<std::string>{"OV", "OP"}));
  EXPECT_EQ(OperationBits(0x4010), (std::vector<std::string>{"output on", "program running"}));
  EXPECT_EQ(QuestionableBits(0x8000), (std::vector<std::string>{"bit 15"}));
}

TEST(StepFile, ParsesKeysColumnsAndEmptyCells) {
  const auto known = StepColumnNames();
  StepFile f;
  ASSERT_TRUE(ParseStepFile("# demo\nname = \"ramp\"\nloops=3\n"
                            "Step, Voltage, current, dwell  # header\n"
                            "1, 5, 1, 0.5\n\n2, 10, , 0.5\n",
                            known, &f)
                  .ok());
  EXPECT_EQ(f.name, "ramp");
  EXPECT_EQ(f.loops, 3);
  EXPECT_EQ(f.columns, (std::vector<std::string>{"voltage", "current", "dwell"}));
  ASSERT_EQ(f.steps.size(), 2u);
  EXPECT_EQ(f.steps[1], (std::vector<std::string>{"10", "", "0.5"}));

  ASSERT_TRUE(ParseStepFile("voltage dwell\n5 1\n6\n", known, &f).ok());
  EXPECT_EQ(f.steps[1], (std::vector<std::string>{"6", ""}));

  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"voltage, volts\n1, 2\n", "line 1: unknown column 'volts'"},
      {"step, voltage\n1, 2\n3, 4\n", "line 3: step 2 expected, not '3'"},
      {"voltage\n1, 2\n", "line 2: 2 cells for 1 columns"},
      {"colour = red\nvoltage\n1\n", "line 1: unknown key 'colour' (name, loops)"},
      {"loops = -1\n", "line 1: loops takes a count (0 repeats for ever)"},
      {"voltage, voltage\n", "line 1: column 'voltage' given twice"},
      {"voltage\n", "no steps"},
      {"# nothing\n", "no header row naming the step fields"},
  };
  for (const auto& b : bad) {
    const Status s = ParseStepFile(b.text, known, &f);
    EXPECT_EQ(s.message(), b.message) << b.text;
  }
}

TEST(IvFile, HeaderOrderRoundTripAndBadRows) {
  std::vector<IvPoint> points;
  ASSERT_TRUE(ParseIvFile("current voltage\n2 0\n1.5 10.5  # knee\n", &points).ok());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1].voltage, 10.5);
  EXPECT_EQ(points[1].current, 1.5);
  std::vector<IvPoint> again;
  ASSERT_TRUE(ParseIvFile(FormatIvFile(points), &again).ok());
  EXPECT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].current, 2);
  for (const char* bad : {"", "voltage,current\n", "1,2,3\n", "1,x\n", "volts,amps\n1,2\n"})
    EXPECT_FALSE(ParseIvFile(bad, &points).ok()) << bad;
}

TEST(Output, TextAndJson) {
  Output text(Output::Style::kText);
  text.Field("voltage", Scalar::Number(5, "V"));
  EXPECT_EQ(text.Render(), "5 V\n");  // a lone value prints bare
  text.Field("mode", Scalar::Text("CV"));
  EXPECT_EQ(text.Render(), "voltage  5 V\nmode     CV\n");

  Output json(Output::Style::kJson);
  json.Field("name", Scalar::Text("a \"q\"\n\x01"));
  json.Field("on", Scalar::Boolean(true));
  json.List("list", {Scalar::Integer(1), Scalar::Text("x")});
  json.Table("rows", {"a", "b"}, {{Scalar::Integer(1), Scalar::Number(0.5)}});
  EXPECT_EQ(json.Render(),
            "{\"name\": \"a \\\"q\\\"\\n\\u0001\", \"on\": true, \"list\": [1, \"x\"], "
            "\"rows\": [{\"a\": 1, \"b\": 0.5}]}\n");
  EXPECT_EQ(JsonError(Status::Usage("bad")),
            "{\"error\": {\"message\": \"bad\", \"code\": null, \"instrument_errors\": []}}\n");
}

TEST(Commands, EveryCommandHasHelpCompletionAndAManualEntry) {
  const std::string script = BashCompletionScript();
  const std::string zsh = ZshCompletionScript(), fish = FishCompletionScript(), man = ManPage();
  for (const Command& c : AllCommands()) {
    const std::string name(c.name);
    EXPECT_NE(CommandHelp(c).find("usage: motqr"), std::string::npos);
    EXPECT_NE(GeneralHelp().find(name), std::string::npos);
    EXPECT_NE(script.find(name + " "), std::string::npos) << c.name;
    EXPECT_NE(zsh.find("'" + name + ":"), std::string::npos) << c.name;
    EXPECT_NE(fish.find(" -a " + name + " -d "), std::string::npos) << c.name;
    EXPECT_NE(man.find(".SS " + name), std::string::npos) << c.name;
  }
  // One rule for the exit codes, in the help and in the manual.
  EXPECT_NE(GeneralHelp().find(std::string(ExitCodeRule())), std::string::npos);
  EXPECT_NE(man.find(".SH EXIT STATUS\n"), std::string::npos);
  EXPECT_NE(man.find("130 stopped by Ctrl"), std::string::npos);
  EXPECT_NE(script.find("output.protection.ocp-level"), std::string::npos);
  EXPECT_NE(CommandHelp(*FindCommand("program")).find("negative-current"), std::string::npos);
}

}  // namespace
}  // namespace motqr::cli
