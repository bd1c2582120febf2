// A one-connection TCP server on 127.0.0.1 for transport tests: it accepts one client and runs
// a script on the accepted socket in its own thread. Every wait is bounded.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace motqr::visa::testing {

class LoopbackServer {
 public:
  using Script = std::function<void(int client)>;

  explicit LoopbackServer(Script script) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, script = std::move(script)] {
      pollfd entry{listener_, POLLIN, 0};
      if (::poll(&entry, 1, 3000) != 1) return;
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      const int on = 1;
      ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      script(client);
      ::close(client);
    });
  }
  ~LoopbackServer() {
    thread_.join();
    ::close(listener_);
  }

  std::uint16_t port() const { return port_; }
  std::string resource() const {
    return "TCPIP0::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
  }

  // Helpers for scripts.
  static void Send(int fd, std::string_view text) {
    ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
  }
  // Reads until `count` bytes arrived or 2 s passed.
  static std::string Receive(int fd, std::size_t count) {
    std::string data;
    while (data.size() < count) {
      pollfd entry{fd, POLLIN, 0};
      if (::poll(&entry, 1, 2000) != 1) break;
      char chunk[256];
      const long n = ::recv(fd, chunk, std::min(sizeof chunk, count - data.size()), 0);
      if (n <= 0) break;
      data.append(chunk, static_cast<std::size_t>(n));
    }
    return data;
  }
  // Waits (at most 2 s) until the client closes its end.
  static void AwaitClose(int fd) {
    for (int i = 0; i < 100; ++i) {
      pollfd entry{fd, POLLIN, 0};
      if (::poll(&entry, 1, 20) == 1) {
        char c;
        if (::recv(fd, &c, 1, 0) <= 0) return;
      }
    }
  }

 private:
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::thread thread_;
};

}  // namespace motqr::visa::testing
