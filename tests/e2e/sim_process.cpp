#include "tests/e2e/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>

extern char** environ;

namespace motqr::e2e {
namespace {

constexpr int kStartupTimeoutMs = 5000;

}  // namespace

SimProcess::SimProcess(std::vector<std::string> options) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error_ = "pipe failed";
    return;
  }
  std::vector<std::string> args = {MOTQR_TQR_SIM_PATH, "--port", "0"};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  out_ = pipe_fds[0];
  if (spawned != 0) {
    pid_ = -1;
    error_ = "could not start " + args[0];
    return;
  }
  auto wants = [&](const char* option) {
    return std::find(options.begin(), options.end(), option) != options.end();
  };
  const bool want_pty = wants("--pty");
  const bool want_vxi11 = wants("--vxi11");
  const bool want_hislip = wants("--hislip");
  const bool want_mdns = wants("--announce");
  auto complete = [&] {
    return port_ != 0 && (!want_pty || !pty_.empty()) && (!want_vxi11 || portmapper_seen_) &&
           (!want_hislip || hislip_port_ != 0) && (!want_mdns || mdns_port_ != 0);
  };
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartupTimeoutMs);
  std::string line;
  while (!complete() && std::chrono::steady_clock::now() < deadline) {
    if (!ReadLine(&line, kStartupTimeoutMs)) break;
    auto number = [&](std::size_t skip, int* value) {
      std::from_chars(line.data() + skip, line.data() + line.size(), *value);
    };
    if (line.rfind("port ", 0) == 0) {
      number(5, &port_);
    } else if (line.rfind("pty ", 0) == 0) {
      pty_ = line.substr(4);
    } else if (line.rfind("vxi11 ", 0) == 0) {
      number(6, &vxi11_port_);
    } else if (line.rfind("portmapper ", 0) == 0) {
      portmapper_seen_ = true;
      number(11, &portmapper_port_);
    } else if (line.rfind("hislip ", 0) == 0) {
      number(7, &hislip_port_);
    } else if (line.rfind("mdns ", 0) == 0) {
      number(5, &mdns_port_);
    }
  }
  if (!complete()) {
    port_ = 0;
    error_ = "tqr-sim did not report all of its ports (options:";
    for (const std::string& option : options) error_ += " " + option;
    error_ += ")";
  }
}

SimProcess::~SimProcess() { Stop(); }

bool SimProcess::ReadLine(std::string* line, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    if (auto nl = pending_.find('\n'); nl != std::string::npos) {
      *line = pending_.substr(0, nl);
      pending_.erase(0, nl + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{out_, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left.count())) != 1) return false;
    char chunk[256];
    const ssize_t n = ::read(out_, chunk, sizeof chunk);
    if (n <= 0) return false;
    pending_.append(chunk, static_cast<std::size_t>(n));
  }
}

void SimProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    bool reaped = false;
    for (int i = 0; i < 200 && !reaped; ++i) {  // at most 2 s
      reaped = ::waitpid(pid_, &status, WNOHANG) == pid_;
      if (!reaped) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!reaped) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  if (out_ >= 0) ::close(out_);
  out_ = -1;
}

std::string SimProcess::SocketResource() const {
  return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
}

std::string SimProcess::Vxi11Resource() const { return "TCPIP::127.0.0.1::inst0::INSTR"; }

std::string SimProcess::HislipResource() const {
  return "TCPIP0::127.0.0.1::hislip0," + std::to_string(hislip_port_) + "::INSTR";
}

std::vector<std::string> WireOptions(Wire wire) {
  switch (wire) {
    case Wire::kSocket:
      return {};
    case Wire::kVxi11:
      return {"--vxi11", "--portmapper-port", "0"};
    case Wire::kHislip:
      return {"--hislip", "0"};
  }
  return {};
}

const char* WireName(Wire wire) {
  switch (wire) {
    case Wire::kSocket:
      return "Socket";
    case Wire::kVxi11:
      return "Vxi11";
    case Wire::kHislip:
      return "Hislip";
  }
  return "";
}

std::string SimProcess::SerialResource() const {
  return pty_.empty() ? std::string() : "ASRL" + pty_ + "::INSTR";
}

}  // namespace motqr::e2e
