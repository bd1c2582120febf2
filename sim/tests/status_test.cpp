// Error queue, standard event status bits, status byte and the SCPI register groups.
#include <gtest/gtest.h>

#include "sim/error_queue.h"
#include "sim/scpi_errors.h"
#include "sim/status_registers.h"
#include "sim/tests/sim_bench.h"

namespace tqrsim {
namespace {

TEST(SimErrorQueue, FirstInFirstOutWithOverflowEntry) {
  ErrorQueue queue(3);
  EXPECT_EQ(ErrorQueue::Format(queue.Pop()), "0,\"No error\"");
  for (int code : {-102, -113, -222, -224, -221}) queue.Push(code);
  EXPECT_EQ(ErrorQueue::Format(queue.Pop()), "-102,\"Syntax error\"");
  EXPECT_EQ(ErrorQueue::Format(queue.Pop()), "-113,\"Undefined header\"");
  EXPECT_EQ(ErrorQueue::Format(queue.Pop()), "-350,\"Queue overflow\"");
  EXPECT_TRUE(queue.empty());
}

TEST(SimStatus, EachErrorClassSetsItsEventBit) {
  struct Case {
    const char* message;
    int esr;
    const char* error;
  };
  const Case cases[] = {
      {":VOLT 5,", 32, "-109,\"Missing parameter\""},
      {":NOPE 1", 32, "-113,\"Undefined header\""},
      {":VOLT 1,2", 32, "-108,\"Parameter not allowed\""},
      {":VOLT ON", 16, "-224,\"Illegal parameter value\""},
      {":VOLT \"5\"", 32, "-104,\"Data type error\""},
      {":VOLT 101", 16, "-222,\"Data out of range\""},
      {":CURR:FUNC:MODE PULSE", 16, "-224,\"Illegal parameter value\""},
      {":TRIG:ACQ", 16, "-211,\"Trigger ignored\""},
  };
  for (const Case& c : cases) {
    SimBench bench;
    bench.Send("*CLS");
    bench.Send(c.message);
    EXPECT_EQ(bench.Send("*ESR?"), std::to_string(c.esr)) << c.message;
    EXPECT_EQ(bench.Error(), c.error) << c.message;
    EXPECT_EQ(bench.Error(), "0,\"No error\"") << c.message;
  }
  SimBench bench;
  bench.Send("*CLS");
  bench.tqr.ReportQueryInterrupted();
  bench.tqr.ReportError(kDeviceSpecificError);
  EXPECT_EQ(bench.Send("*ESR?"), "12");
  EXPECT_EQ(bench.Error(), "-410,\"Query INTERRUPTED\"");
}

TEST(SimStatus, EsrStartsWithPowerOnAndClearsOnRead) {
  SimBench bench;
  EXPECT_EQ(bench.Send("*ESR?"), "128");
  EXPECT_EQ(bench.Send("*OPC;*ESR?;*ESR?"), "1;0");
}

TEST(SimStatus, StatusByteSummarisesQueueEventsAndRegisters) {
  SimBench bench;
  bench.Send("*CLS;*ESE 32;*SRE 36");
  EXPECT_EQ(bench.Send("*STB?"), "0");
  bench.Send(":BAD");
  EXPECT_EQ(bench.Send("*STB?"), "100");  // queue (4) + ESB (32) + MSS (64)
  EXPECT_EQ(bench.Send("*IDN?;*STB?").substr(0, 8), "MORVANE,");
  bench.Send("*CLS");
  EXPECT_EQ(bench.Send("*IDN?;*STB?").back(), '6');  // 16: a reply is waiting
}

TEST(SimStatus, RegisterGroupTransitionsAndPreset) {
  RegisterGroup group;
  group.SetCondition(0x3);
  EXPECT_EQ(group.TakeEvent(), 0x3);
  EXPECT_EQ(group.TakeEvent(), 0);
  group.SetNegativeFilter(0x1);
  group.SetPositiveFilter(0x0);
  group.SetCondition(0x6);  // bit 0 falls, bit 2 rises
  EXPECT_EQ(group.event(), 0x1);
  group.SetEnable(0xffff);
  EXPECT_EQ(group.enable(), 0x7fff);
  EXPECT_TRUE(group.Summary());
  group.Preset();
  EXPECT_EQ(group.enable(), 0);
  EXPECT_EQ(group.positive_filter(), 0x7fff);
  EXPECT_EQ(group.negative_filter(), 0);
}

TEST(SimStatus, OperationAndQuestionableOverTheWire) {
  SimBench bench;
  bench.Send(":STAT:OPER:ENAB -1;PTR 2;NTR 0");
  EXPECT_EQ(bench.Send(":STAT:OPER:ENAB?;PTR?;NTR?"), "32767;2;0");
  bench.Send(":VOLT 5;:CURR 1;:SIM:LOAD 2;:OUTP 1");
  EXPECT_EQ(bench.Send(":STAT:OPER:COND?"), "146");  // CC, output on, integrating
  EXPECT_EQ(bench.Send(":STAT:OPER?;:STAT:OPER?"), "2;0");
  EXPECT_EQ(bench.Send("*STB?"), "0");  // event read: no summary left
  bench.Send(":VOLT:PROT 1");
  EXPECT_EQ(bench.Send(":STAT:QUES:COND?;:STAT:QUES?"), "1;1");
  bench.Send(":STAT:PRES");
  EXPECT_EQ(bench.Send(":STAT:OPER:ENAB?;PTR?"), "0;32767");
  EXPECT_EQ(bench.Send(":STAT:QUES:ENAB 70000"), "");
  EXPECT_EQ(bench.Error(), "-222,\"Data out of range\"");
}

}  // namespace
}  // namespace tqrsim
