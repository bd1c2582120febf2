// The instrument over HiSLIP on 127.0.0.1, synchronized mode: each client opens a session
// with a synchronous channel (Initialize) and an asynchronous one (AsyncInitialize). Replies
// are sent as they fall due, tagged with the message id of the DataEnd that asked; the
// status byte, device clear, locks (exclusive, or shared under a lock string), remote/local
// and the maximum message size go over the asynchronous channel. While another session holds
// the lock, a session's messages wait until it is released. Malformed input is answered with
// Error or FatalError messages carrying a text.
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
#include "sim/server.h"
#include "sim/service.h"

namespace tqrsim {

class HislipServer : public Service {
 public:
  // The largest message (header included) taken from a client.
  static constexpr std::uint64_t kMaxMessageSize = 1u << 20;

  HislipServer(Instrument& instrument, const FaultOptions& faults, std::size_t message_limit);

  // Listens on host:port (`host` an IPv4 address; port 0: a free one). Empty on success, else
  // the reason.
  std::string Listen(int port, const std::string& host = "127.0.0.1");
  int port() const { return port_; }

  void CollectPollFds(std::vector<pollfd>& fds) override;
  void Dispatch(std::span<const pollfd> fds) override;
  int NextTimeoutMs(int limit) const override;

 private:
  using Clock = std::chrono::steady_clock;

  struct Message {
    std::uint8_t type = 0;
    std::uint8_t control = 0;
    std::uint32_t parameter = 0;
    std::string payload;
  };
  struct Connection {
    UniqueFd fd;
    std::string in;
    std::string out;
    int session = 0;  // 0 until initialized
    bool async = false;
    std::vector<Message> held;  // synchronous messages waiting for another session's lock
    bool closing = false;
    bool dead = false;
  };
  struct LockRequest {
    std::string key;  // empty: exclusive
    Clock::time_point deadline;
  };
  struct Session {
    Connection* sync = nullptr;
    Connection* async = nullptr;
    MessageSession exchange;
    std::uint32_t reply_id = 0xFFFFFFFFu;  // message id of the latest DataEnd
    bool reply_outstanding = false;        // a reply went out and was not yet reported delivered
    bool clearing = false;                 // between AsyncDeviceClear and DeviceClearComplete
    std::uint64_t client_max_message = kMaxMessageSize;
    std::optional<LockRequest> lock_wait;
    std::string shared_key;  // held shared lock, if any
    int shared_count = 0;
  };

  void Accept();
  void ReadFrom(Connection& c);
  void HandleMessage(Connection& c, Message message);
  void Initialize(Connection& c, const Message& message);
  void AsyncInitialize(Connection& c, const Message& message);
  void Synchronous(Session& s, int id, const Message& message);
  void Asynchronous(Session& s, int id, const Message& message);
  void Lock(Session& s, int id, const Message& message);
  bool TryGrant(Session& s, int id, const std::string& key);
  void SendReply(Session& s);
  void ServeWaiting();
  void Send(Connection& c, std::uint8_t type, std::uint8_t control, std::uint32_t parameter,
            std::string_view payload = {});
  void Fatal(Connection& c, std::uint8_t code, std::string_view text);
  bool LockedOut(int id) const;
  void EndSession(int id);

  Instrument& instrument_;
  FaultOptions faults_;
  std::size_t message_limit_;
  UniqueFd listener_;
  int port_ = 0;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::map<int, Session> sessions_;
  int exclusive_holder_ = 0;
  int next_session_ = 1;
  std::size_t polled_ = 0;
};

}  // namespace tqrsim
