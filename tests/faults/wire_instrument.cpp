#include "tests/faults/wire_instrument.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace motqr::faults {
namespace {

// Long enough for each segment to reach the reader on its own.
constexpr auto kSegmentGap = std::chrono::microseconds(500);
constexpr int kPollMs = 20;

bool SendAll(int fd, const char* data, std::size_t size) {
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

WireInstrument::WireInstrument() {
  replies_["*IDN?"] = {"Morvane,TQR-M4,M4A004217,1.00\n"};
  replies_["*ESR?"] = {"0\n"};
  replies_["*OPC?"] = {"1\n"};
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 4) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

WireInstrument::~WireInstrument() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

std::string WireInstrument::SocketResource() const {
  return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
}

void WireInstrument::Answer(const std::string& query, Reply reply) {
  std::lock_guard lock(mutex_);
  replies_[query] = std::move(reply);
}

std::vector<std::string> WireInstrument::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void WireInstrument::Queue(const std::string& query, Scripted reply) {
  std::lock_guard lock(mutex_);
  queued_[query].push_back(std::move(reply));
}

void WireInstrument::ClearQueue() {
  std::lock_guard lock(mutex_);
  queued_.clear();
  held_.clear();
}

void WireInstrument::Release(const std::string& extra) {
  std::lock_guard lock(mutex_);
  const std::string bytes = held_ + extra;
  held_.clear();
  const int fd = client_;
  if (fd >= 0 && !bytes.empty()) SendAll(fd, bytes.data(), bytes.size());
}

void WireInstrument::Serve() {
  while (!stop_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, kPollMs) != 1) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = client;
    ServeClient(client);
    {
      std::lock_guard lock(mutex_);
      client_ = -1;
    }
    ::close(client);
  }
}

void WireInstrument::ServeClient(int fd) {
  std::string pending;
  while (!stop_) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, kPollMs) != 1) continue;
    char chunk[4096];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return;
    pending.append(chunk, static_cast<std::size_t>(n));
    for (auto nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n')) {
      std::string line = pending.substr(0, nl);
      pending.erase(0, nl + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!Respond(fd, line)) return;
    }
  }
}

namespace {

bool InputPending(int fd, int wait_ms) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, wait_ms) == 1;
}

}  // namespace

// Sends the scripted reply to `line`; false once the connection is to close.
bool WireInstrument::Respond(int fd, const std::string& line) {
  Reply reply;
  int delay_ms = 0;
  bool in_order = false;
  {
    std::lock_guard lock(mutex_);
    received_.push_back(line);
    auto queued = queued_.find(line);
    if (queued != queued_.end() && !queued->second.empty()) {
      Scripted next = std::move(queued->second.front());
      queued->second.pop_front();
      if (next.hold) {
        held_ += next.bytes;
        return true;
      }
      reply.bytes = std::move(next.bytes);
      delay_ms = next.delay_ms;
      in_order = next.in_order;
    } else {
      const auto found = replies_.find(line);
      if (found == replies_.end()) return true;
      reply = found->second;
    }
  }
  if (in_order) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
  } else if (InputPending(fd, delay_ms)) {
    return true;  // a message that arrives before the reply is out interrupts the query
  }
  return SendReply(fd, reply);
}

bool WireInstrument::SendReply(int fd, const Reply& reply) {
  std::lock_guard lock(mutex_);
  const std::size_t step = reply.segment == 0 ? reply.bytes.size() : reply.segment;
  for (std::size_t at = 0; at < reply.bytes.size(); at += step) {
    if (at > 0) std::this_thread::sleep_for(kSegmentGap);
    if (!SendAll(fd, reply.bytes.data() + at, std::min(step, reply.bytes.size() - at))) {
      return false;
    }
  }
  return !reply.close_after;
}

}  // namespace motqr::faults
