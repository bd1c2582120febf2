// The command tree, row by row: every table row round-trips its limits and refuses values
// outside them, and the driver's commands of each area give the replies they expect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/command_tree.h"
#include "sim/number_format.h"
#include "sim/setting_tables.h"
#include "sim/tests/sim_bench.h"

namespace tqrsim {
namespace {

// ":PROG:STEP2:DWEL" for "PROGram:STEP#:DWELl": short forms of the required nodes.
std::string ShortHeader(std::string_view pattern, int suffix) {
  std::string header;
  for (const PatternNode& node : CommandTree::ParsePattern(pattern)) {
    if (node.optional) continue;
    header += ":" + node.short_form;
    if (node.takes_suffix) header += std::to_string(suffix);
  }
  return header;
}

template <typename Rows>
void WalkRealRows(SimBench& bench, const Rows& rows) {
  for (const auto& row : rows) {
    std::string header = ShortHeader(row.pattern, 2);
    Limits limits = RowLimits(row, bench.tqr.model().ratings());
    EXPECT_EQ(bench.Send(header + "?"), FormatReal(limits.def)) << header;
    EXPECT_EQ(bench.Send(header + "? MIN;" + header + "? MAX"),
              FormatReal(limits.min) + ";" + FormatReal(limits.max))
        << header;
    bench.Send(header + " MAX");
    EXPECT_EQ(bench.Send(header + "?"), FormatReal(limits.max)) << header;
    bench.Send(header + " " + FormatReal(limits.min));
    EXPECT_EQ(bench.Send(header + "?"), FormatReal(limits.min)) << header;
    bench.Send(header + " " + FormatReal(limits.max + 1.0 + limits.max / 2));
    EXPECT_EQ(bench.Error(), "-222,\"Data out of range\"") << header;
    EXPECT_EQ(bench.Error(), "0,\"No error\"") << header;
  }
}

template <typename Rows>
void WalkEnumRows(SimBench& bench, const Rows& rows) {
  for (const auto& row : rows) {
    std::string header = ShortHeader(row.pattern, 2);
    for (std::string_view token : row.tokens) {
      std::string lower(token);
      for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      bench.Send(header + " " + lower);  // tokens are not case-sensitive
      EXPECT_EQ(bench.Send(header + "?"), token) << header;
    }
    bench.Send(header + " NOSUCH");
    EXPECT_EQ(bench.Error(), "-224,\"Illegal parameter value\"") << header;
    EXPECT_EQ(bench.Error(), "0,\"No error\"") << header;
  }
}

template <typename Rows>
void WalkBoolRows(SimBench& bench, const Rows& rows) {
  for (const auto& row : rows) {
    std::string header = ShortHeader(row.pattern, 2);
    EXPECT_EQ(bench.Send(header + " ON;" + header + "?"), "1") << header;
    EXPECT_EQ(bench.Send(header + " 0;" + header + "?"), "0") << header;
    EXPECT_EQ(bench.Send(header + " 1;" + header + "?"), "1") << header;
    EXPECT_EQ(bench.Send(header + " OFF;" + header + "?"), "0") << header;
    EXPECT_EQ(bench.Error(), "0,\"No error\"") << header;
  }
}

TEST(SimCommandRows, EveryTableRowRoundTripsItsLimitsAndTokens) {
  for (std::string_view model : {"TQR-M1", "TQR-M4", "TQR-M7"}) {
    SimBench bench(model);
    WalkRealRows(bench, OutputRealRows());
    WalkRealRows(bench, SystemRealRows());
    WalkEnumRows(bench, OutputEnumRows());
    WalkEnumRows(bench, SystemEnumRows());
    WalkBoolRows(bench, OutputBoolRows());
    WalkBoolRows(bench, SystemBoolRows());
    bench.Send(":PROG:NAME \"WALK\";:PROG:STEP:COUN 2");
    WalkRealRows(bench, StepRealRows());
    WalkEnumRows(bench, StepEnumRows());
    WalkBoolRows(bench, StepBoolRows());
    WalkEnumRows(bench, ProgramEnumRows());
  }
}

struct Exchange {
  const char* message;
  const char* reply;  // expected reply, or "E" and the expected error number
};

void RunScript(SimBench& bench, const std::vector<Exchange>& script) {
  for (const Exchange& x : script) {
    std::string reply = bench.Send(x.message);
    if (x.reply[0] == 'E') {
      EXPECT_EQ(reply, "") << x.message;
      EXPECT_EQ(bench.Error().substr(0, 4), std::string(x.reply + 1)) << x.message;
    } else {
      EXPECT_EQ(reply, x.reply) << x.message;
    }
    EXPECT_EQ(bench.Error(), "0,\"No error\"") << x.message;
  }
}

TEST(SimCommandRows, OutputLevelsModesAndProtection) {
  SimBench bench;
  RunScript(bench, {
                       {":VOLT 12.3457;:VOLT?", "12.3457"},
                       {":VOLT 1e-07;:VOLT?", "1e-07"},
                       {":CURR 0.000100;:CURR?", "0.0001"},
                       {"VOLT:PROT 110.000000;:VOLT:PROT?", "110"},
                       {":CURR? MAX", "20"},
                       {":VOLT? MAX", "100"},
                       {":OUTP 1;", ""},
                       {":OUTP?", "1"},
                       {":OUTP OFF", ""},
                       {":OUTP:PON FORC;:OUTP:PON?", "FORC"},
                       {":POW:FUNC:MODE PULSE;:POW:FUNC:MODE?", "PULSE"},
                       {":CURR:FUNC:MODE PULS;:CURR:FUNC:MODE?", "PULS"},
                       {":POW:FUNC:MODE PULS", "E-224"},
                       {":FUNC:MODE CP;:FUNC:MODE?", "CP"},
                       {"POWER? MIN;POWER? MAX", "0;1000"},
                       {":CURR:PULS:FREQ? MIN;FREQ? MAX", "0.01;100000"},
                       {":VOLT:SINE:OFFS? MIN;OFFS? MAX", "-100;100"},
                       {":VOLT? 5", "E-224"},
                       {":CURR:NEG:PROT? MIN;PROT? MAX", "0.2;22"},
                       {":VOLT:PROT:LOW:STAT ON;STAT?", "1"},
                       {":OUTP:PROT:WDOG ON;:OUTP:PROT:WDOG?", "1"},
                       {":OUTP:PROT:WDOG OFF", ""},
                       {":SYST:PROT:LINE:VOLT? MIN;VOLT? MAX", "100;300"},
                       {":OUTP:PROT:CLE", ""},
                       {":OUTP:MSYN ON", ""},
                       {":OUTP:MSYN:ACC 1;:OUTP:MSYN:ACC?", "1"},
                       {"GLOB:OUTP ON;:OUTP?", "1"},
                       {":INST:INFO?", "100,20,1000,TQR-M4"},
                       {":INST:CAT?", "1"},
                       {":INST 1;:INST?", "1"},
                       {":INST 2", "E-222"},
                   });
}

TEST(SimCommandRows, TriggerMeasureAndSense) {
  SimBench bench;
  RunScript(bench, {
                       {":TRIG:ACQ:DEL? MIN;DELAY? MAX", "0;100"},
                       {":TRIG:ACQ:COUN? MIN;COUN? MAX", "1;10000"},
                       {":TRIG:ACQ:COUN 3;COUN?", "3"},
                       {":TRIG:ACQ:SOUR OSOF;SOUR?", "OSOF"},
                       {":TRIG:TRAN:SOUR MSYN;:TRIG:TRAN:SOUR?", "MSYN"},
                       {":TRIG:ACQ:INT:STAT ON;STAT?", "1"},
                       {":SENS:APER? MIN;APER? MAX", "0.0001;1"},
                       {":MEAS:VOLT?", "0"},
                       {":READ:ETIM?", "0"},
                       {":FETC:ALL?", "0,0,0,0,0,0"},
                       {":ABOR:ALL", ""},
                       {":ABOR:ACQ", ""},
                       {":INIT:ALL", "E-113"},
                       {":TRIG:TRAN:EXEC?", "IDLE,\"\",0,0"},
                   });
  bench.Send("*RST;:VOLT 4;:SIM:LOAD 8;:OUTP 1");
  EXPECT_EQ(bench.Send(":MEAS:ALL?"), "4,0.5,2,0,0,0");
  EXPECT_EQ(bench.Send(":MEAS:CURR?;:READ:POW?;:FETC:VOLT?"), "0.5;2;4");
  bench.Send(":TRIG:ACQ:SOUR BUS;:INIT:ACQ");
  EXPECT_EQ(bench.Send(":STAT:OPER:COND?"), "209");  // CV, on, acquire waiting, integrating
  bench.Send(":VOLT 2;:TRIG:ACQ");
  EXPECT_EQ(bench.Send(":FETC:VOLT?"), "2");
  bench.Send(":TRIG:ACQ");
  EXPECT_EQ(bench.Error(), "-211,\"Trigger ignored\"");
}

TEST(SimCommandRows, ProgramsStepsAndChains) {
  SimBench bench;
  RunScript(bench,
            {
                {":PROG:CAT?", ""},
                {":PROG:STEP1:DWEL 1", "E-221"},
                {":PROG:NAME \"P1\";:PROG:NAME?", "\"P1\""},
                {":PROG:STEP:COUN 3;:PROG:STEP:COUN?", "3"},
                {":PROG:STEP3:DWEL 0.5;:PROG:STEP3:DWEL?", "0.5"},
                {":PROG:STEP4:DWEL 1", "E-114"},
                {":PROG:STEP3:CURR:NEG 1.5;:PROG:STEP3:CURR:NEG?", "1.5"},
                {":PROG:STEP3:CURR 2;:PROG:STEP3:CURR?", "2"},
                {":PROG:STEP2:OUTP:MODE:TRAN ON;:PROG:STEP2:OUTP:MODE:TRAN?", "ON"},
                {":PROG:STEP2:OUTP:MODE:TRAN 1", "E-104"},
                {":PROG:STEP2:TRIG:WAIT BUS;:PROG:STEP2:TRIG:WAIT?", "BUS"},
                {":PROG:STEP2:TRIG:GEN PULS;:PROG:STEP2:TRIG:GEN?", "PULS"},
                {":PROG:STEP1:OUTP OFF;:PROG:STEP1:OUTP?", "0"},
                {":PROG:STEP1:INS;:PROG:STEP:COUN?", "4"},
                {":PROG:STEP4:CURR?", "2"},
                {":PROG:STEP1:DEL;:PROG:STEP:COUN?", "3"},
                {":PROG:LOOP 7;:PROG:LOOP?", "7"},
                {":PROG:POW:FUNC:MODE DSE;:PROG:POW:FUNC:MODE?", "DSE"},
                {":PROG:REN 'P2';:PROG:NAME?", "\"P2\""},
                {":PROG:NAME P3", "E-104"},
                {":PROG:NAME \"P3\";:PROG:CAT?", "\"P2\",\"P3\""},
                {":PROG:ALL:STEP:COUN?", "4"},
                {":PROG:CHA:ADD \"P2\";:PROG:CHA:ADD \"P3\";:PROG:CHA:CAT?", "\"P2\",\"P3\""},
                {":PROG:CHA:ADD \"NONE\"", "E-224"},
                {":PROG:SAVE", ""},
                {":PROG:DEL;:PROG:CHA:CAT?", "\"P2\""},
                {":PROG:CHA:CLE;:PROG:CHA:CAT?", ""},
                {":PROG:DEL:ALL;:PROG:CAT?", ""},
            });
}

TEST(SimCommandRows, IvMapsPointsAndBlocks) {
  SimBench bench;
  RunScript(bench, {
                       {":CURR:IV:COUN 3;:CURR:IV:COUN?", "3"},
                       {":CURR:IV:MAP3 12.5,0.8;:CURR:IV:MAP3?", "12.5,0.8"},
                       {":CURR:IV:CAT?", "0,0,0,0,12.5,0.8"},
                       {":CURR:IV:MAP1:DEL;:CURR:IV:CAT?", "0,0,12.5,0.8"},
                       {":CURR:IV:MAP1:INS;:CURR:IV:COUN?", "3"},
                       {":CURR:IV:MAP5 1,1", "E-114"},
                       {":CURR:IV:MAP1 1,21", "E-222"},
                       {":CURR:IV:CLE;:CURR:IV:CAT?", ""},
                       {":VOLT:IV:COUN?", "0"},
                   });
  // 1.5 and -0.25 in micro-units, least significant byte first.
  std::string words("\x60\xE3\x16\x00\x70\x2F\xFC\xFF", 8);
  EXPECT_EQ(bench.Send(":VOLT:IV:DATA #18" + words + ";:VOLT:IV:CAT?"), "1.5,-0.25");
  EXPECT_EQ(bench.Send(":VOLT:IV:DATA?"), "#18" + words);
  EXPECT_EQ(bench.Send(":CURR:IV:DATA?"), "#10");
  bench.Send(":VOLT:IV:DATA #14abcd");
  EXPECT_EQ(bench.Error(), "-224,\"Illegal parameter value\"");
  bench.Send(":VOLT:IV:DATA 5");
  EXPECT_EQ(bench.Error(), "-104,\"Data type error\"");
}

TEST(SimCommandRows, SystemAnalogIoMemoryAndData) {
  SimBench bench;
  RunScript(bench, {
                       {":SYST:DATE 2024,5,17;:SYST:DATE?", "2024,5,17"},
                       {":SYST:DATE 2024,2,30", "E-222"},
                       {":SYST:TIME 13,45,7;:SYST:TIME?", "13,45,7"},
                       {"SYST:TZONE Asia/Tokyo;:SYST:TZONE?", "Asia/Tokyo"},
                       {"SYST:TZONE UTC+09:00;:SYST:TZONE?", "UTC+09:00"},
                       {"SYST:TZONE Mars/Olympus", "E-224"},
                       {":SYST:KLOC ON;:SYST:KLOC?", "1"},
                       {":SYST:KLOC:LEV 2;:SYST:KLOC:LEV?", "2"},
                       {":SYST:COMM:RLST RWL;:SYST:COMM:RLST?", "RWL"},
                       {":SYST:PON RCL;:SYST:PON?", "RCL"},
                       {":SYST:PARA:UNIT:COUN?", "1"},
                       {":SYST:MSYN?", "0"},
                       {"DIAG:FIRM:VERS?", "1.04"},
                       {"DIAG:LINE:POW?", "40"},
                       {":ANAL:MON:VOLT:RANG 5;:ANAL:MON:VOLT:RANG?", "5"},
                       {":ANAL:CONT:SEL:RANG? MIN;RANG? MAX", "1;10"},
                       {":IO:INP:FILT SLOW,FAST,SLOW;:IO:INP:FILT?", "SLOW,FAST,SLOW,SLOW"},
                       {":IO:OUTP:FUNC REL;:IO:OUTP:FUNC?", "REL,NONE,NONE,NONE"},
                       {":IO:INP:POL INV,,INV;:IO:INP:POL?", "INV,NORM,INV,NORM"},
                       {":IO:INP:FUNC", "E-109"},
                       {":IO:INP:FUNC MEM1,MEM2,TIN,TPA,ACQ", "E-108"},
                       {":IO:INP:FUNC MEM3", "E-224"},
                       {":IO:STAT ON;:IO:STAT?", "1"},
                       {":VOLT 7;:MEM:SAVE 3;:VOLT 1;:MEM:REC 3;:VOLT?", "7"},
                       {":MEM:SAVE 11", "E-222"},
                       {"*RST;:VOLT?;:SYST:KLOC:LEV?", "0;2"},
                       {":MEM:CLE;:SYST:KLOC:LEV?;:MEM:REC 3;:VOLT?", "1;0"},
                       {":DATA:INT:GATE MAN;:DATA:INT:GATE?", "MAN"},
                       {":DATA:INT:GATE:RES MAN;:DATA:INT:GATE:RES?", "MAN"},
                       {":DATA:REM:POIN?", "0"},
                       {":DATA:REM? 5", ""},
                       {":DATA:INT:GATE OSON;:DATA:INT:STAR", "E-221"},
                   });
}

}  // namespace
}  // namespace tqrsim
