// Serves the simulated instrument on 127.0.0.1 (several connections, each with its own
// input framing and SCPI path) and optionally on a pseudo-terminal, in one poll loop.
// Fault injection: drop a connection or stop answering after N messages, delay replies,
// or answer queries with garbage.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim/instrument.h"
#include "sim/message_framer.h"
#include "sim/service.h"

namespace tqrsim {

struct FaultOptions {
  long drop_after = -1;
  long stall_after = -1;
  int delay_ms = 0;
  bool garbage = false;
  // VXI-11 device_read waits past its io_timeout, until device_abort or a bound.
  bool ignore_io_timeout = false;
};

// Owns one file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();
  int get() const { return fd_; }
  int Release();
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// A non-blocking socket of `type` bound to `host`:`port` (an IPv4 address; port 0
// for any), listening when it is a stream socket; `port` becomes the port bound.
// Empty, or why it failed.
std::string BindSocket(int type, const std::string& host, int& port, UniqueFd& out);

// The garbled replies of the garbage fault: noise of about a reply's length,
// the same sequence from the same seed every run.
class GarbledText {
 public:
  explicit GarbledText(unsigned seed) : state_(seed) {}
  std::string Next(std::size_t length);

 private:
  unsigned state_;
};

class Server {
 public:
  static constexpr std::size_t kMaxConnections = 8;

  // `message_limit`: the longest program message a connection takes (larger ones are
  // dropped whole with -223).
  Server(Instrument& instrument, const FaultOptions& faults,
         std::size_t message_limit = MessageFramer::kDefaultLimit);

  // Listens on address:port (0: a free port; the address an IPv4 one, loopback
  // by default). Empty on success, else the reason.
  std::string Listen(int port, const std::string& address = "127.0.0.1");
  int port() const { return port_; }
  // Opens a pseudo-terminal; its path is pty_path(). Empty on success, else the reason.
  std::string OpenPty();
  const std::string& pty_path() const { return pty_path_; }

  // Serves `service` in the same loop (not owned; it must outlive the server's use).
  void AddService(Service* service) { services_.push_back(service); }

  // Serves until `stop` becomes true.
  void Run(const std::atomic<bool>& stop);
  // One round of the loop, waiting at most `timeout_ms`.
  void PollOnce(int timeout_ms);

 private:
  struct PendingReply {
    std::chrono::steady_clock::time_point due;
    std::string bytes;
  };
  struct Connection {
    UniqueFd fd;
    bool is_pty = false;
    MessageFramer framer;
    long messages = 0;
    std::deque<PendingReply> pending;
    std::string out;
    bool closing = false;  // close once everything is written
    bool dead = false;
  };

  void Accept();
  void ReadFrom(Connection& c);
  void Handle(Connection& c, const std::string& message);
  void FlushDue(Connection& c);
  void WriteOut(Connection& c);
  int NextTimeoutMs(int limit) const;

  Instrument& instrument_;
  FaultOptions faults_;
  std::size_t message_limit_;
  UniqueFd listener_;
  int port_ = 0;
  UniqueFd pty_slave_;  // kept open so the master never sees a hang-up
  std::string pty_path_;
  std::vector<std::unique_ptr<Connection>> connections_;
  GarbledText garbage_{12345u};
  std::vector<Service*> services_;
};

}  // namespace tqrsim
