// The built motqr run as a user runs it, against tqr-sim on a loopback port.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/e2e/sim_process.h"

extern char** environ;

namespace motqr::cli {
namespace {

constexpr auto kToolTimeout = std::chrono::seconds(30);

struct ToolRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.ok()) << sim_.error();
    char pattern[] = "/tmp/motqr-cli-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
  }

  std::string File(const std::string& name, const std::string& text = {}) {
    const std::string path = dir_ + "/" + name;
    if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Runs motqr with the simulator's resource, feeding `input` on stdin; the
  // run is killed if it outlives kToolTimeout.
  // With `interrupt_when`, Ctrl-C (SIGINT) reaches the tool once it has
  // printed that text.
  ToolRun Tool(std::vector<std::string> args, const std::string& input = {},
               const std::string& interrupt_when = {}) {
    args.insert(args.begin(), {MOTQR_TOOL_PATH, "--resource",
                               resource_.empty() ? sim_.SocketResource() : resource_});
    const std::string in = File("stdin", input.empty() ? "\n" : input);
    const std::string out = dir_ + "/stdout", err = dir_ + "/stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ToolRun run;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    const auto deadline = std::chrono::steady_clock::now() + kToolTimeout;
    int status = 0;
    bool interrupted = false;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (!interrupt_when.empty() && !interrupted &&
          (Slurp(out) + Slurp(err)).find(interrupt_when) != std::string::npos) {
        ::kill(pid, SIGINT);
        interrupted = true;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(out);
    run.err = Slurp(err);
    return run;
  }

  e2e::SimProcess sim_{{"--load-ohms", "2", "--noise", "0"}};
  std::string resource_;  // empty: sim_'s
  std::string dir_;
};

#define EXPECT_RUN(run, code) EXPECT_EQ((run).exit_code, code) << (run).out << (run).err

TEST_F(ToolTest, IdentifySetGetAndMeasure) {
  ToolRun idn = Tool({"idn"});
  EXPECT_RUN(idn, 0);
  EXPECT_NE(idn.out.find("TQR-M4"), std::string::npos) << idn.out;

  EXPECT_RUN(Tool({"set", "output.voltage-level", "4", "output.current-level", "1",
                   "output.protection.ocp-level", "2.5"}),
             0);
  EXPECT_EQ(Tool({"get", "output.voltage-level"}).out, "4 V\n");
  EXPECT_EQ(Tool({"get", "output[1].protection.ocp-level"}).out, "2.5 A\n");
  EXPECT_RUN(Tool({"set", "output.voltage-mode", "pulse"}), 0);
  EXPECT_EQ(Tool({"get", "IMorvaneTqrOutputChannel.VoltageMode"}).out, "Pulse\n");
  EXPECT_RUN(Tool({"set", "output.voltage-mode", "dc", "system.time-zone", "UTC+01:00"}), 0);

  EXPECT_EQ(Tool({"output", "on"}).out, "on\n");
  // 4 V into 2 ohm needs 2 A: the 1 A limit holds the output at 2 V.
  EXPECT_EQ(Tool({"measure", "voltage"}).out, "2.00000 V\n");
  ToolRun text = Tool({"measure"});
  EXPECT_NE(text.out.find("current     1.00000 A\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("regulation  CC\n"), std::string::npos) << text.out;
  ToolRun all = Tool({"--json", "measure"});
  EXPECT_RUN(all, 0);
  EXPECT_EQ(all.out.rfind("{\"voltage\": 2, \"current\": 1, \"power\": 2, \"etime\": ", 0), 0u)
      << all.out;
  EXPECT_EQ(Tool({"output", "off"}).out, "off\n");

  const std::string trace = File("calls.xml");
  EXPECT_RUN(Tool({"--trace", trace, "get", "output.current-level"}), 0);
  EXPECT_NE(Slurp(trace).find("Name=\"get_CurrentLevel\""), std::string::npos);
}

TEST_F(ToolTest, FailuresExitNonZeroWithTheDriversMessage) {
  // The instrument refuses the level; its error queue entry comes with it.
  ToolRun refused = Tool({"set", "output.voltage-level", "1e6"});
  EXPECT_RUN(refused, 1);
  EXPECT_NE(refused.err.find("Instrument error detected"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("-222"), std::string::npos) << refused.err;
  ToolRun json = Tool({"--json", "set", "output.voltage-level", "1e6"});
  EXPECT_RUN(json, 1);
  EXPECT_EQ(json.out.rfind("{\"error\": {\"message\": \"output.voltage-level: ", 0), 0u)
      << json.out;

  EXPECT_RUN(Tool({"get", "output.no-such-thing"}), 2);
  EXPECT_RUN(Tool({"set", "output.voltage-level", "five"}), 2);
  EXPECT_RUN(Tool({"set", "outputs.count", "2"}), 2);
  EXPECT_RUN(Tool({"frobnicate"}), 2);
  ToolRun help = Tool({"ivmap", "--help"});
  EXPECT_RUN(help, 0);
  EXPECT_EQ(help.out.rfind("usage: motqr [options] ivmap", 0), 0u) << help.out;
  // A simulated session keeps settings but has nothing to measure, and says so.
  EXPECT_EQ(Tool({"--simulate", "get", "output.voltage-level"}).out, "0 V\n");
  ToolRun simulated = Tool({"--simulate", "measure"});
  EXPECT_RUN(simulated, 1);
  EXPECT_NE(simulated.err.find("need an instrument (--resource NAME)"), std::string::npos)
      << simulated.err;
}

TEST_F(ToolTest, GroupsChannelsAndUtilities) {
  // Class features the instrument lacks are listed apart; the group still reads.
  ToolRun group = Tool({"--json", "get", "dcpwr.output"});
  EXPECT_RUN(group, 0);
  EXPECT_NE(group.out.find("\"dcpwr.output.current-limit-behavior\": \"Regulate\""),
            std::string::npos);
  EXPECT_NE(group.out.find("{\"unread\": \"dcpwr.output.trigger-source\", \"message\": "),
            std::string::npos)
      << group.out;
  EXPECT_RUN(Tool({"get", "dcpwr.output.trigger-source"}), 1);

  EXPECT_EQ(Tool({"--channel", "OutputChannel1", "set", "output.voltage-level", "7"}).out, "");
  EXPECT_EQ(Tool({"get", "output[OutputChannel1].voltage-level", "output[1].enabled"}).out,
            "output.voltage-level  7 V\noutput.enabled        false\n");
  // A channel the instrument lacks: which ones it has, in the tool's words.
  for (const char* channel : {"2", "main"}) {
    ToolRun missing = Tool({"--channel", channel, "get", "output.enabled"});
    EXPECT_RUN(missing, 2);
    EXPECT_NE(missing.err.find("the instrument has one channel, 1 (OutputChannel1)"),
              std::string::npos)
        << missing.err;
  }
  EXPECT_RUN(Tool({"get", "output[2].enabled"}), 2);
  EXPECT_RUN(Tool({"get", "system[1].time-zone"}), 2);

  EXPECT_RUN(Tool({"reset"}), 0);
  EXPECT_EQ(Tool({"get", "output.voltage-level"}).out, "0 V\n");
  EXPECT_EQ(Tool({"selftest"}).out.rfind("result   0\n", 0), 0u);
}

TEST_F(ToolTest, ScpiShellAndTheErrorQueue) {
  ToolRun idn = Tool({"scpi", "*IDN?"});
  EXPECT_RUN(idn, 0);
  EXPECT_EQ(idn.out.rfind("MORVANE,TQR-M4,", 0), 0u) << idn.out;
  EXPECT_EQ(Tool({"scpi", ":VOLT 3", ":VOLT?", "*OPC?"}).out, "3\n1\n");

  // A raw command leaves its error in the queue for the next invocation.
  EXPECT_RUN(Tool({"scpi", ":NO:SUCH:HEADER"}), 0);
  ToolRun errors = Tool({"--json", "errors"});
  EXPECT_EQ(errors.out, "{\"errors\": [{\"code\": -113, \"message\": \"Undefined header\"}]}\n");
  EXPECT_EQ(Tool({"errors"}).out, "none\n");

  ToolRun shell = Tool({"shell"}, ":VOLT 1.5\n:VOLT?\n!!\n!9\nhistory\nquit\n:VOLT?\n");
  EXPECT_RUN(shell, 0);
  EXPECT_EQ(shell.out, "1.5\n:VOLT?\n1.5\n  1  :VOLT 1.5\n  2  :VOLT?\n  3  :VOLT?\n");
  EXPECT_NE(shell.err.find("no history entry 9"), std::string::npos) << shell.err;
}

TEST_F(ToolTest, ProgramCreateShowRun) {
  const std::string steps = File("ramp.csv",
                                 "loops = 2\n"
                                 "step, voltage, current, dwell, output\n"
                                 "1, 1, 1, 0.25, on\n"
                                 "2, 2, , 0.25, on\n");
  ToolRun created = Tool({"program", "create", steps});
  EXPECT_RUN(created, 0);
  EXPECT_EQ(created.out, "created  ramp\nsteps    2\nloops    2\n");
  EXPECT_EQ(Tool({"--json", "program", "list"}).out,
            "{\"programs\": [\"ramp\"], \"selected\": \"ramp\", \"chain\": []}\n");
  ToolRun shown = Tool({"--json", "program", "show", "ramp"});
  EXPECT_NE(shown.out.find("{\"step\": 2, \"voltage\": 2, \"current\": 20,"), std::string::npos)
      << shown.out;

  ToolRun run = Tool({"program", "run", "ramp", "--wait", "20"});
  EXPECT_RUN(run, 0);
  EXPECT_NE(run.err.find("program ramp  step 2/2  loop 2/2  running"), std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("last-loop     2"), std::string::npos) << run.out;

  // A run that outlasts --wait is aborted and fails.
  const std::string slow = File("slow.txt", "dwell\n30\n");
  EXPECT_RUN(Tool({"program", "create", slow}), 0);
  ToolRun timed_out = Tool({"program", "run", "slow", "--wait", "0.3"});
  EXPECT_RUN(timed_out, 1);
  EXPECT_NE(timed_out.err.find("still running after 0.3 s (aborted at step 1, loop 1); output "),
            std::string::npos)
      << timed_out.err;
  EXPECT_NE(Tool({"program", "watch"}).out.find("idle"), std::string::npos);

  EXPECT_RUN(Tool({"program", "create", File("bad.csv", "voltage\nhigh\n")}), 2);
  EXPECT_RUN(Tool({"program", "run", "nonesuch"}), 1);
  EXPECT_RUN(Tool({"program", "delete", "--all"}), 0);
  EXPECT_EQ(Tool({"--json", "program", "list"}).out.rfind("{\"programs\": [], ", 0), 0u);
}

TEST_F(ToolTest, IvMapSetAndGet) {
  const std::string map = File("map.csv", "voltage,current\n0,2\n10.5,1.5\n20,-0.25\n");
  EXPECT_EQ(Tool({"ivmap", "set", "voltage", map}).out, "written  " + map + "\npoints   3\n");
  EXPECT_EQ(Tool({"ivmap", "get", "voltage"}).out, "voltage,current\n0,2\n10.5,1.5\n20,-0.25\n");
  const std::string copy = File("copy.csv");
  EXPECT_RUN(Tool({"ivmap", "get", "voltage", copy}), 0);
  EXPECT_EQ(Slurp(copy), "voltage,current\n0,2\n10.5,1.5\n20,-0.25\n");
  EXPECT_EQ(Tool({"get", "output.iv.voltage-iv-point-count"}).out, "3\n");
  EXPECT_RUN(Tool({"ivmap", "set", "current", File("empty.csv", "# none\n")}), 2);
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ToolTest, RefusalsSayWhatWasAppliedAndWhy) {
  // Checked before sending: a bad value anywhere leaves every setting alone.
  EXPECT_RUN(Tool({"set", "output.current-level", "1.5"}), 0);
  EXPECT_RUN(Tool({"set", "output.current-level", "1", "output.voltage-mode", "sideways"}), 2);
  EXPECT_EQ(Tool({"get", "output.current-level"}).out, "1.5 A\n");

  // Refused by the instrument: the first setting took, the second did not.
  ToolRun refused = Tool({"set", "output.current-level", "1", "output.voltage-level", "1e6",
                          "output.power-level", "10"});
  EXPECT_RUN(refused, 1);
  EXPECT_TRUE(Has(refused.err, "applied: output.current-level 1\n")) << refused.err;
  EXPECT_TRUE(Has(refused.err, "not applied: output.voltage-level, output.power-level"));
  EXPECT_TRUE(Has(refused.err, "(the instrument allows ")) << refused.err;
  EXPECT_TRUE(Has(refused.err, "instrument error -222")) << refused.err;
  EXPECT_FALSE(Has(refused.err, "ErrorQuery")) << refused.err;
  EXPECT_EQ(Tool({"get", "output.current-level"}).out, "1 A\n");

  // --json: the C status and the instrument's errors as a list.
  ToolRun json = Tool({"--json", "set", "output.voltage-level", "1e6"});
  EXPECT_RUN(json, 1);
  EXPECT_TRUE(Has(json.out, "\"code\": \"0xBFFA0001\", \"instrument_errors\": [{\"code\": -222, "))
      << json.out;

  // Paths: a suggestion for a slip, and the alias of the driver's spelling.
  ToolRun typo = Tool({"get", "output.voltage-levl"});
  EXPECT_RUN(typo, 2);
  EXPECT_TRUE(Has(typo.err, "did you mean output.voltage-level")) << typo.err;
  ToolRun alias = Tool({"get", "output.voltage-response-speed"});
  EXPECT_RUN(alias, 0);
  EXPECT_EQ(alias.out, Tool({"get", "output.voltage-reponse-speed"}).out);

  // Options the command does not have, and input files that are wrong or missing.
  ToolRun unknown = Tool({"idn", "--bogus"});
  EXPECT_RUN(unknown, 2);
  EXPECT_TRUE(Has(unknown.err, "unknown option '--bogus' for idn")) << unknown.err;
  EXPECT_RUN(Tool({"program", "create", File("none.csv")}), 2);
  EXPECT_RUN(Tool({"ivmap", "set", "voltage", File("none.csv")}), 2);

  // A raw query without a reply times out; the instrument's -113 comes with it.
  ToolRun bogus = Tool({"--timeout", "300", "scpi", ":BOGUS?"});
  EXPECT_RUN(bogus, 1);
  EXPECT_TRUE(Has(bogus.err, "the instrument queued -113")) << bogus.err;
}

TEST_F(ToolTest, IvMapValuesTheWordsCannotCarryAreRefusedBeforeSending) {
  const std::string good = File("good.csv", "voltage,current\n1,2\n");
  EXPECT_RUN(Tool({"ivmap", "set", "voltage", good}), 0);
  // Micro-volts in a signed 32-bit word: 2147.483647 V at most.
  ToolRun high =
      Tool({"ivmap", "set", "voltage", File("high.csv", "voltage,current\n1,2\n3000,1\n")});
  EXPECT_RUN(high, 2);
  EXPECT_TRUE(Has(high.err,
                  "line 3: voltage 3000 does not fit the voltage map, which holds "
                  "-2147.483648 to 2147.483647 (nothing was written)"))
      << high.err;
  // The current map reads its words back unsigned: a negative value would not survive.
  ToolRun negative =
      Tool({"ivmap", "set", "current", File("neg.csv", "# sink\nvoltage current\n2 -0.25\n")});
  EXPECT_RUN(negative, 2);
  EXPECT_TRUE(Has(negative.err,
                  "line 3: current -0.25 does not fit the current map, which holds "
                  "0.000000 to 2147.483647"))
      << negative.err;
  EXPECT_EQ(Tool({"ivmap", "get", "voltage"}).out, "voltage,current\n1,2\n");
  // The largest word passes the tool; the instrument's own range then refuses it.
  ToolRun edge = Tool({"ivmap", "set", "voltage", File("edge.csv", "2147.483647,-2147.483648\n")});
  EXPECT_RUN(edge, 1);
  EXPECT_TRUE(Has(edge.err, "-222")) << edge.err;
  EXPECT_RUN(Tool({"ivmap", "set", "voltage", File("over.csv", "2147.4836475,0\n")}), 2);
}

TEST_F(ToolTest, ProtectionTripStatusAndClear) {
  ToolRun idle = Tool({"status"});
  EXPECT_RUN(idle, 0);
  EXPECT_TRUE(Has(idle.out, "output        off\nregulation    off\nprotection    none tripped\n"))
      << idle.out;
  EXPECT_RUN(Tool({"set", "output.voltage-level", "5", "output.current-level", "3"}), 0);
  EXPECT_RUN(Tool({"output", "on"}), 0);
  EXPECT_TRUE(Has(Tool({"status"}).out, "regulation    CV\n"));
  // 5 V against a 4 V over-voltage threshold trips it; the output goes off and stays off.
  EXPECT_RUN(Tool({"set", "output.protection.ovp-level", "4"}), 0);
  ToolRun tripped = Tool({"status"});
  EXPECT_TRUE(Has(tripped.out, "output        off\n")) << tripped.out;
  EXPECT_TRUE(Has(tripped.out, "protection    over-voltage tripped (motqr output clear)\n"))
      << tripped.out;
  EXPECT_TRUE(Has(tripped.out, "questionable  0x0001  OV\n")) << tripped.out;
  EXPECT_EQ(
      Tool({"--json", "status"})
          .out.rfind(
              "{\"output\": \"off\", \"regulation\": \"off\", \"protection\": [\"over-voltage\"]",
              0),
      0u);
  ToolRun refused = Tool({"output", "on"});
  EXPECT_RUN(refused, 1);
  EXPECT_TRUE(Has(refused.err,
                  "protection tripped: OV; remove the cause, then run 'motqr output "
                  "clear'"))
      << refused.err;
  EXPECT_RUN(Tool({"set", "output.protection.ovp-level", "10"}), 0);
  EXPECT_RUN(Tool({"output", "clear"}), 0);
  EXPECT_EQ(Tool({"output", "on"}).out, "on\n");
  EXPECT_TRUE(Has(Tool({"status"}).out, "protection    none tripped\n"));
}

TEST_F(ToolTest, WireLogAndMeasurementSeries) {
  const std::string log = File("wire.log");
  EXPECT_RUN(Tool({"--log-io", log, "set", "output.voltage-level", "3"}), 0);
  EXPECT_RUN(Tool({"--log-io", log, "ivmap", "set", "voltage", File("m.csv", "1.5,-0.25\n")}), 0);
  const std::string text = Slurp(log);
  // Initialize's identity query, the level with its member, the block as hex.
  EXPECT_TRUE(Has(text, "\"*IDN?\\n\"")) << text;
  EXPECT_TRUE(Has(text, " send IMorvaneTqrOutputChannel.VoltageLevel \":VOLT")) << text;
  EXPECT_TRUE(Has(text, " send IMorvaneTqrOutputChannelIV.SetVoltageIVMap hex ")) << text;
  EXPECT_TRUE(Has(text, " 60 e3 16 00 70 2f fc ff")) << text;
  // Bounded by LogIOSizeMax in the driver setup (the tool's keys join it).
  const std::string small = File("small.log");
  EXPECT_RUN(Tool({"--options", "DriverSetup=LogIOSizeMax=200", "--log-io", small, "idn"}), 0);
  EXPECT_TRUE(Has(Slurp(small), "# wire log full at ")) << Slurp(small);
  EXPECT_RUN(Tool({"--log-io", dir_ + "/no/such/dir/x.log", "idn"}), 1);

  ToolRun csv = Tool({"measure", "--interval", "0.05", "--count", "3", "--csv"});
  EXPECT_RUN(csv, 0);
  std::istringstream lines(csv.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "time,seconds,voltage,current,power,etime,capacity,energy,regulation");
  int rows = 0;
  while (std::getline(lines, line)) {
    ++rows;
    EXPECT_TRUE(line.ends_with(",off")) << line;
  }
  EXPECT_EQ(rows, 3);
  ToolRun series = Tool({"measure", "voltage", "--interval", "0.05"}, {}, "V  off");
  EXPECT_RUN(series, 130);
  EXPECT_TRUE(Has(series.out, " V  off\n")) << series.out;
  EXPECT_RUN(Tool({"measure", "--count", "2"}), 2);
}

TEST_F(ToolTest, ProgramRunWaitsItsOwnLengthAndSaysWhereTheOutputIs) {
  // 2 steps of 0.4 s, twice: 1.6 s, well past no --wait at all.
  const std::string steps = File("two.csv",
                                 "loops = 2\nvoltage, current, dwell, output\n"
                                 "1, 1, 0.4, on\n2, 1, 0.4, on\n");
  EXPECT_RUN(Tool({"program", "create", steps}), 0);
  ToolRun run = Tool({"program", "run", "two", "--off-after"});
  EXPECT_RUN(run, 0);
  EXPECT_TRUE(Has(run.out, "output        switched off\n")) << run.out;
  EXPECT_EQ(Tool({"output"}).out, "off\n");

  const std::string slow = File("slow.csv", "voltage, dwell, output\n2, 30, on\n");
  EXPECT_RUN(Tool({"program", "create", slow}), 0);
  ToolRun stopped = Tool({"program", "run", "slow"}, {}, "running");
  EXPECT_RUN(stopped, 130);
  EXPECT_TRUE(Has(stopped.err, "interrupted (aborted at step 1, loop 1); output left on"))
      << stopped.err;
  EXPECT_EQ(Tool({"output"}).out, "on\n");
  EXPECT_TRUE(Has(Tool({"program", "watch"}).out, "idle"));
}

TEST_F(ToolTest, TimeOutHoldsFromTheFirstExchange) {
  // Every reply comes 2.1 s late, past the 2 s a session starts with.
  e2e::SimProcess slow({"--delay-ms", "2100"});
  ASSERT_TRUE(slow.ok()) << slow.error();
  resource_ = slow.SocketResource();
  ToolRun run = Tool({"--timeout", "6000", "scpi", "*OPC?"});
  EXPECT_RUN(run, 0);
  EXPECT_EQ(run.out, "1\n");

  // An instrument that stops answering: the status check fails with nothing
  // queued, and the message says what that means.
  e2e::SimProcess stalled({"--stall-after", "4"});
  ASSERT_TRUE(stalled.ok()) << stalled.error();
  resource_ = stalled.SocketResource();
  ToolRun silent = Tool({"--timeout", "300", "set", "output.voltage-level", "1"});
  EXPECT_RUN(silent, 1);
  EXPECT_TRUE(Has(silent.err, "error queue is empty: the status check got no answer in time"))
      << silent.err;
}

TEST_F(ToolTest, SerialSettingsForSerialLinesOnly) {
  e2e::SimProcess serial({"--pty"});
  ASSERT_TRUE(serial.ok()) << serial.error();
  resource_ = serial.SerialResource();
  ToolRun idn = Tool({"--baud", "115200", "--stop-bits", "2", "--flow", "rts", "scpi", "*IDN?"});
  EXPECT_RUN(idn, 0);
  EXPECT_EQ(idn.out.rfind("MORVANE,", 0), 0u) << idn.out;
  // A pseudo-terminal keeps 8 data bits: the setting reached the line before
  // the first exchange, and the line refused it.
  ToolRun seven = Tool({"--data-bits", "7", "idn"});
  EXPECT_RUN(seven, 1);
  EXPECT_TRUE(Has(seven.err, "7 data bits")) << seven.err;
  EXPECT_RUN(Tool({"--parity", "purple", "idn"}), 2);
  ToolRun driver = Tool({"--options", "DriverSetup=StopBits=3", "idn"});
  EXPECT_RUN(driver, 1);
  EXPECT_TRUE(Has(driver.err, "'3'")) << driver.err;
  resource_.clear();
  ToolRun tcp = Tool({"--baud", "9600", "idn"});
  EXPECT_RUN(tcp, 2);
  EXPECT_TRUE(Has(tcp.err, "are for serial (ASRL) resources")) << tcp.err;
}

TEST(Simulator, ListensWhereToldAndOnLoopbackByDefault) {
  e2e::SimProcess sim({"--listen", "127.0.0.2"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const std::string port = std::to_string(sim.port());
  const std::string idn = std::string(MOTQR_TOOL_PATH) + " --resource TCPIP::127.0.0.2::" + port +
                          "::SOCKET scpi '*IDN?' 2>&1";
  std::FILE* p = ::popen(idn.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buffer[256] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, p);
  EXPECT_EQ(::pclose(p), 0) << std::string(buffer, n);
  EXPECT_EQ(std::string(buffer, n).rfind("MORVANE,TQR-M4,", 0), 0u) << std::string(buffer, n);
  e2e::SimProcess bad({"--listen", "somewhere"});
  EXPECT_FALSE(bad.ok());
}

// The completion script, sourced into bash, completes commands, paths and files.
TEST(Completion, BashCompletesCommandsAndPaths) {
  const std::string script = std::string("source <(") + MOTQR_TOOL_PATH +
                             " completion bash) || exit 1\n"
                             "complete_at() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _motqr; "
                             "echo \"${COMPREPLY[*]}\"; }\n"
                             "complete_at motqr pro\n"
                             "complete_at motqr --json get output.protection.oc\n"
                             "complete_at motqr set output.voltage-level 5 output.voltage-mo\n"
                             "complete_at motqr --resource X measure cur\n"
                             "complete_at motqr ivmap get vol\n"
                             "complete_at motqr --tim\n";
  std::FILE* bash = ::popen(("bash -c '" + script + "'").c_str(), "r");
  ASSERT_NE(bash, nullptr);
  std::string out;
  char buffer[512];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, bash)) out.append(buffer, n);
  EXPECT_EQ(::pclose(bash), 0) << out;
  EXPECT_EQ(out,
            "program\n"
            "output.protection.ocp-level output.protection.ocp-grace-time\n"
            "output.voltage-mode\n"
            "current\n"
            "voltage\n"
            "--timeout\n");
}

}  // namespace
}  // namespace motqr::cli
