// The output on a resistive load, protections, integration and the program sequencer.
#include <gtest/gtest.h>

#include <string>

#include "sim/output_solver.h"
#include "sim/setting_tables.h"
#include "sim/tests/sim_bench.h"
#include "sim/tokens.h"

namespace tqrsim {
namespace {

OutputSettings Levels(double volts, double amperes) {
  OutputSettings s = DefaultOutputSettings(*FindModel("TQR-M4"));
  s.voltage = volts;
  s.current = amperes;
  return s;
}

TEST(SimOutputSolver, RegulatesByTheLimitThatBinds) {
  struct Case {
    const char* name;
    OutputSettings settings;
    double ohms, volts, amperes;
    Regulation regulation;
  };
  OutputSettings sink = Levels(-30, 5);
  sink.current_negative = 2;
  OutputSettings power = Levels(50, 20);
  power.power = 100;
  OutputSettings cc_priority = Levels(10, 3);
  cc_priority.priority = priority::kCC;
  OutputSettings cr_priority = Levels(10, 20);
  cr_priority.priority = priority::kCR;
  cr_priority.internal_resistance = 3;
  const Case cases[] = {
      {"CC at 1 A and 2 V", Levels(5, 1), 2, 2, 1, Regulation::kConstantCurrent},
      {"CV", Levels(5, 1), 10, 5, 0.5, Regulation::kConstantVoltage},
      {"negative limit", sink, 10, -20, -2, Regulation::kConstantCurrent},
      {"power limit", power, 4, 20, 5, Regulation::kConstantPower},
      {"CC priority to CV", cc_priority, 10, 10, 1, Regulation::kConstantVoltage},
      {"internal resistance", cr_priority, 2, 4, 2, Regulation::kConstantResistance},
  };
  for (const Case& c : cases) {
    OperatingPoint point = SolveOutput(c.settings, c.ohms);
    EXPECT_NEAR(point.volts, c.volts, 1e-9) << c.name;
    EXPECT_NEAR(point.amperes, c.amperes, 1e-9) << c.name;
    EXPECT_EQ(point.regulation, c.regulation) << c.name;
  }
}

TEST(SimOutputModel, MeasuredValuesStayWithinTheNoise) {
  SimClock clock(SimClock::Mode::kManual);
  InstrumentOptions options;
  options.model.noise = 1e-4;
  Instrument tqr(*FindModel("TQR-M4"), clock, options);
  tqr.Process(":VOLT 5;:CURR 1;:SIM:LOAD 2;:OUTP ON");
  EXPECT_EQ(tqr.Process(":STAT:OPER:COND?").text, "146");  // CC, on, integrating
  for (int i = 0; i < 20; ++i) {
    EXPECT_NEAR(std::stod(tqr.Process(":MEAS:VOLT?").text), 2.0, 2.0 * 1e-3);
    EXPECT_NEAR(std::stod(tqr.Process(":MEAS:CURR?").text), 1.0, 1.0 * 1e-3);
  }
}

TEST(SimOutputModel, OverVoltageTripLatchesUntilCleared) {
  SimBench bench;
  bench.Send(":VOLT 20;:SIM:LOAD 100;:OUTP 1;:VOLT:PROT 10");
  EXPECT_EQ(bench.Send(":OUTP?;:STAT:QUES:COND?;:STAT:OPER:COND?"), "0;1;0");
  bench.Send(":OUTP 1");
  EXPECT_EQ(bench.Error(), "-221,\"Settings conflict\"");
  bench.Send(":VOLT:PROT 30;:OUTP:PROT:CLE;:OUTP 1");
  EXPECT_EQ(bench.Send(":OUTP?;:STAT:QUES:COND?;:MEAS:VOLT?"), "1;0;20");
}

TEST(SimOutputModel, OverCurrentTripsAfterItsGraceTime) {
  SimBench bench;
  bench.Send(":VOLT 10;:CURR 5;:SIM:LOAD 2;:CURR:PROT 4;:CURR:PROT:DEL 0.5;:OUTP 1");
  bench.Advance(0.4);
  EXPECT_EQ(bench.Send(":OUTP?"), "1");
  bench.Advance(0.2);
  EXPECT_EQ(bench.Send(":OUTP?;:STAT:QUES:COND?"), "0;2");
}

TEST(SimOutputModel, WatchdogLineAndSensingAlarms) {
  SimBench bench;
  bench.Send(":OUTP:PROT:WDOG:DEL 2;:OUTP:PROT:WDOG ON;:VOLT 1;:OUTP 1");
  bench.Advance(1.5);
  EXPECT_EQ(bench.Send(":OUTP?"), "1");  // the query itself feeds the watchdog
  bench.Advance(2.5);
  bench.tqr.Tick();
  EXPECT_EQ(bench.Send(":OUTP:PROT:WDOG OFF;:STAT:QUES:COND?;:OUTP?"), "128;0");
  bench.Send(":OUTP:PROT:CLE;:SIM:LINE 280");
  EXPECT_EQ(bench.Send(":STAT:QUES:COND?"), "64");
  bench.Send(":SIM:LINE 230;:OUTP:PROT:CLE;:OUTP:PROT:RSEN ON;:SIM:SENS:FAUL ON;:OUTP 1");
  EXPECT_EQ(bench.Send(":STAT:QUES:COND?;:OUTP?"), "256;0");
}

TEST(SimOutputModel, IntegratesChargeEnergyAndLogs) {
  SimBench bench;
  bench.Send(":VOLT 10;:SIM:LOAD 5;:TRIG:ACQ:INT:TIME 600;:TRIG:ACQ:INT:STAT ON;:OUTP 1");
  bench.Advance(3600);
  EXPECT_EQ(bench.Send(":MEAS:ETIM?;:MEAS:CAP?;:MEAS:ENER?"), "3600;2;20");
  EXPECT_EQ(bench.Send(":DATA:REM:POIN?"), "6");
  EXPECT_EQ(bench.Send(":DATA:REM? 2;:DATA:REM:POIN?"), "0.333333333333,0.666666666667;4");
  bench.Send(":OUTP 0");
  bench.Advance(100);
  EXPECT_EQ(bench.Send(":MEAS:ETIM?"), "3600");
  bench.Send(":OUTP 1");  // the gate opens again and resets the integrals (AUTO)
  EXPECT_EQ(bench.Send(":MEAS:CAP?"), "0");
  bench.Send(":DATA:INT:GATE:RES MAN;:DATA:INT:GATE MAN;:DATA:INT:STAR");
  bench.Advance(1800);
  bench.Send(":DATA:INT:STOP");
  bench.Advance(1800);
  EXPECT_EQ(bench.Send(":MEAS:CAP?"), "1");
  bench.Send(":DATA:INT:RES");
  EXPECT_EQ(bench.Send(":MEAS:CAP?;:DATA:REM:POIN?"), "0;0");
}

TEST(SimSequencer, RunsStepsLoopsAndChains) {
  SimBench bench;
  bench.Send(":SIM:LOAD 10;:PROG:NAME \"A\";:PROG:STEP:COUN 2;:PROG:LOOP 2");
  bench.Send(":PROG:STEP1:VOLT 1;:PROG:STEP1:DWEL 1;:PROG:STEP2:VOLT 2;:PROG:STEP2:DWEL 2");
  bench.Send(":PROG:NAME \"B\";:PROG:STEP1:VOLT 9;:PROG:STEP1:DWEL 5");
  bench.Send(":PROG:CHA:ADD \"A\";:PROG:CHA:ADD \"B\";:INIT:TRAN:PROG");
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?;:MEAS:VOLT?"), "RUN,\"A\",1,1;1");
  bench.Advance(1.5);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?;:MEAS:VOLT?"), "RUN,\"A\",2,1;2");
  bench.Advance(2);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "RUN,\"A\",1,2");
  bench.Advance(3);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?;:MEAS:VOLT?"), "RUN,\"B\",1,1;9");
  EXPECT_EQ(bench.Send(":STAT:OPER:COND?"), "16529");  // CV, on, integrating, running
  bench.Send(":TRIG:TRAN:PAUS");
  bench.Advance(100);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "PAUS,\"B\",1,1");
  bench.Send(":TRIG:TRAN:RES");
  bench.Advance(4.4);  // 4.5 s of the dwell were left
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "RUN,\"B\",1,1");
  bench.Advance(0.2);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?;:MEAS:VOLT?"), "IDLE,\"B\",0,0;9");
}

TEST(SimSequencer, WaitsForTriggers) {
  SimBench bench;
  bench.Send(":PROG:NAME \"T\";:PROG:STEP:COUN 2;:PROG:STEP2:TRIG:WAIT EXT;:PROG:STEP2:VOLT 3");
  bench.Send(":TRIG:TRAN:SOUR BUS;:INIT:TRAN:PROG");
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "WTG,\"T\",1,1");
  bench.Send("*TRG");
  bench.Advance(1.0);
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "WTG,\"T\",2,1");
  bench.Send(":SIM:TRIG:EXT");
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?;:VOLT?"), "RUN,\"T\",2,1;3");
  bench.Send(":ABOR:TRAN");
  EXPECT_EQ(bench.Send(":TRIG:TRAN:EXEC?"), "IDLE,\"T\",0,0");
  bench.Send(":TRIG:TRAN:RES");
  EXPECT_EQ(bench.Error(), "-221,\"Settings conflict\"");
}

}  // namespace
}  // namespace tqrsim
