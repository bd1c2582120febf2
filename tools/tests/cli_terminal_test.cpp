// motqr shell on a pseudo-terminal, as a person types at it: line editing,
// history, and Ctrl-C cancelling the line rather than the shell.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tests/e2e/sim_process.h"

namespace motqr::cli {
namespace {

class Terminal {
 public:
  explicit Terminal(const std::string& resource) {
    pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      ::setenv("TERM", "dumb", 1);
      ::execl(MOTQR_TOOL_PATH, MOTQR_TOOL_PATH, "--resource", resource.c_str(), "shell",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }

  bool ok() const { return pid_ > 0 && master_ >= 0; }
  void Type(const std::string& keys) { (void)!::write(master_, keys.data(), keys.size()); }
  // Reads until the screen shows `text` after what was already matched; false
  // after 10 s without it.
  bool WaitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      if (const std::size_t at = screen_.find(text, seen_); at != std::string::npos) {
        seen_ = at + text.size();
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) return false;
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char buffer[512];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return false;
      screen_.append(buffer, static_cast<std::size_t>(n));
    }
  }
  int Wait() {
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return -1;
      WaitFor("\x01never");  // drains the screen meanwhile
    }
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& screen() const { return screen_; }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  bool exited_ = false;
  std::string screen_;
  std::size_t seen_ = 0;
};

TEST(ShellOnATerminal, CtrlCCancelsTheLineHistoryRecallsAndQuitLeaves) {
  e2e::SimProcess sim;
  ASSERT_TRUE(sim.ok()) << sim.error();
  Terminal t(sim.SocketResource());
  ASSERT_TRUE(t.ok());
  ASSERT_TRUE(t.WaitFor("motqr> ")) << t.screen();
  t.Type(":VOLT 1.25\r");
  ASSERT_TRUE(t.WaitFor("motqr> ")) << t.screen();
  // A half-typed command, then Ctrl-C: nothing is sent, the shell stays.
  t.Type(":VOLT 9");
  ASSERT_TRUE(t.WaitFor(":VOLT 9")) << t.screen();
  t.Type("\x03");
  ASSERT_TRUE(t.WaitFor("motqr> ")) << t.screen();
  // Up arrow brings back the last command; edited at the end into a query.
  t.Type("\x1b[A");
  ASSERT_TRUE(t.WaitFor(":VOLT 1.25")) << t.screen();
  t.Type("\x7f\x7f\x7f\x7f\x7f?\r");  // ":VOLT 1.25" less " 1.25", plus "?"
  ASSERT_TRUE(t.WaitFor("1.25\r\n")) << t.screen();
  // A refused command says why.
  t.Type(":NO:SUCH?\r");
  ASSERT_TRUE(t.WaitFor("queued -113")) << t.screen();
  t.Type("quit\r");
  EXPECT_EQ(t.Wait(), 0) << t.screen();
}

}  // namespace
}  // namespace motqr::cli
