// The instrument over VXI-11: the core channel (create_link, device_write/read with END,
// termination character and request count, readstb, trigger, clear, remote/local, lock and
// unlock with lock time-outs, destroy_link) and the abort channel, both on 127.0.0.1, and a
// portmapper that tells clients the core channel's port (program 0x0607AF version 1 over
// TCP): registered with the system's portmapper when one runs, else answered here on TCP and
// UDP (port 111 when it can be bound, or any port given). A call that has to wait (a read
// before the reply is due, a lock held by another link) is answered when it can complete or
// when its time-out passes, while other clients are served.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/instrument.h"
#include "sim/message_session.h"
#include "sim/onc_rpc.h"
#include "sim/server.h"
#include "sim/service.h"

namespace tqrsim {

class Vxi11Server : public Service {
 public:
  static constexpr std::uint32_t kMaxRecvSize = 64 * 1024;

  Vxi11Server(Instrument& instrument, const FaultOptions& faults, std::size_t message_limit);
  ~Vxi11Server() override;

  // Listens for the core and abort channels on free ports of `address` (an IPv4 one; our own
  // portmapper listens there too). Empty on success, else the reason.
  std::string Listen(const std::string& address = "127.0.0.1");
  // Makes the core channel findable through a portmapper at `port` (111: the system's if it
  // runs, else our own; 0: our own on a free port). Empty on success, else the reason.
  std::string StartPortmapper(int port);
  int core_port() const { return core_port_; }
  int abort_port() const { return abort_port_; }
  int portmapper_port() const { return portmapper_port_; }
  bool registered_with_system() const { return registered_with_system_; }

  void CollectPollFds(std::vector<pollfd>& fds) override;
  void Dispatch(std::span<const pollfd> fds) override;
  int NextTimeoutMs(int limit) const override;

 private:
  using Clock = std::chrono::steady_clock;
  enum class Channel { kCore, kAbort, kPortmapper };

  struct Connection {
    int id = 0;
    UniqueFd fd;
    Channel channel = Channel::kCore;
    rpc::RecordAssembler records{0};
    std::string out;
    // A call that waits: its message and when its time-out passes.
    std::optional<std::string> waiting;
    Clock::time_point waiting_deadline;
    bool closing = false;
    bool dead = false;
  };
  struct Link {
    int connection = 0;
    MessageSession session;
    bool abort_requested = false;
  };
  // What a call came to: its XDR results, or nothing yet (wait until `deadline`).
  struct Outcome {
    std::optional<std::string> results;
    Clock::time_point deadline;
  };

  void Accept(int listener, Channel channel);
  void ReadFrom(Connection& c);
  void RunCalls(Connection& c);
  // Executes one call message; `expired`: its time-out passed, so it must complete now.
  std::optional<std::string> Execute(Connection& c, const std::string& message, bool expired);
  Outcome Core(Connection& c, const rpc::Call& call, bool expired, rpc::AcceptStat* status);
  std::string Abort(const rpc::Call& call, rpc::AcceptStat* status);
  std::string Portmap(const rpc::Call& call, rpc::AcceptStat* status);
  void ServeDatagram();
  void DropConnection(Connection& c);
  bool LockedByOther(std::int32_t link) const;
  std::uint16_t PortOf(std::uint32_t program, std::uint32_t version) const;
  std::string CallSystemPortmapper(std::uint32_t procedure, std::string_view arguments);

  Outcome CreateLink(Connection& c, rpc::XdrReader& in, bool expired);
  Outcome DeviceWrite(rpc::XdrReader& in, bool expired);
  Outcome DeviceRead(Connection& c, rpc::XdrReader& in, bool expired);
  Outcome Generic(std::uint32_t procedure, rpc::XdrReader& in);
  Outcome DeviceLock(rpc::XdrReader& in, bool expired);

  Instrument& instrument_;
  FaultOptions faults_;
  std::size_t message_limit_;
  std::string address_ = "127.0.0.1";
  UniqueFd core_listener_;
  UniqueFd abort_listener_;
  UniqueFd portmap_listener_;
  UniqueFd portmap_datagram_;
  int core_port_ = 0;
  int abort_port_ = 0;
  int portmapper_port_ = 0;
  bool registered_with_system_ = false;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::map<std::int32_t, Link> links_;
  std::optional<std::int32_t> lock_holder_;
  std::int32_t next_link_ = 1;
  int next_connection_ = 1;
  std::size_t polled_connections_ = 0;
};

}  // namespace tqrsim
