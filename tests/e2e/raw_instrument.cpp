#include "tests/e2e/raw_instrument.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <utility>

namespace motqr::e2e {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

bool SendAll(int fd, const std::string& data) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

RawClient::RawClient(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(port);
  if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (fd_ >= 0) {
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
}

RawClient::~RawClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool RawClient::Send(const std::string& line) { return fd_ >= 0 && SendAll(fd_, line + "\n"); }

std::string RawClient::ReadLine(int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (fd_ >= 0) {
    if (auto nl = pending_.find('\n'); nl != std::string::npos) {
      std::string line = pending_.substr(0, nl);
      pending_.erase(0, nl + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd entry{fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) != 1) break;
    char chunk[512];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    pending_.append(chunk, static_cast<std::size_t>(n));
  }
  return {};
}

FakeInstrument::FakeInstrument(std::string idn) : idn_(std::move(idn)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 4);
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

FakeInstrument::~FakeInstrument() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string FakeInstrument::SocketResource() const {
  return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
}

void FakeInstrument::Serve() {
  while (!stop_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, 50) != 1) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    ServeClient(client);
    ::close(client);
  }
}

void FakeInstrument::ServeClient(int fd) {
  std::string pending;
  while (!stop_) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, 50) != 1) continue;
    char chunk[512];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return;
    pending.append(chunk, static_cast<std::size_t>(n));
    for (auto nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n')) {
      const std::string line = pending.substr(0, nl);
      pending.erase(0, nl + 1);
      if (line == "*IDN?") {
        SendAll(fd, idn_ + "\n");
      } else if (!line.empty() && line.back() == '?') {
        SendAll(fd, "0\n");
      }
    }
  }
}

}  // namespace motqr::e2e
