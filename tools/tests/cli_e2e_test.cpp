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
  ToolRun Tool(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {MOTQR_TOOL_PATH, "--resource", sim_.SocketResource()});
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
    while (::waitpid(pid, &status, WNOHANG) == 0) {
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
  EXPECT_EQ(Tool({"get", "output.voltage-level"}).out, "4\n");
  EXPECT_EQ(Tool({"get", "output[1].protection.ocp-level"}).out, "2.5\n");
  EXPECT_RUN(Tool({"set", "output.voltage-mode", "pulse"}), 0);
  EXPECT_EQ(Tool({"get", "IMorvaneTqrOutputChannel.VoltageMode"}).out, "Pulse\n");
  EXPECT_RUN(Tool({"set", "output.voltage-mode", "dc", "system.time-zone", "UTC+01:00"}), 0);

  EXPECT_EQ(Tool({"output", "on"}).out, "on\n");
  // 4 V into 2 ohm needs 2 A: the 1 A limit holds the output at 2 V.
  EXPECT_EQ(Tool({"measure", "voltage"}).out, "2 V\n");
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
            "output.voltage-level  7\noutput.enabled        false\n");
  EXPECT_RUN(Tool({"get", "output[2].enabled"}), 1);
  EXPECT_RUN(Tool({"get", "system[1].time-zone"}), 2);

  EXPECT_RUN(Tool({"reset"}), 0);
  EXPECT_EQ(Tool({"get", "output.voltage-level"}).out, "0\n");
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
  EXPECT_NE(timed_out.err.find("still running after 0.3 s (aborted)"), std::string::npos);
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
