#include "sim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tqrsim {
namespace {

constexpr std::size_t kMaxPendingOutput = 16u << 20;
constexpr std::size_t kReadChunk = 64 * 1024;

std::string Reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool SetNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

std::string BindSocket(int type, const std::string& host, int& port, UniqueFd& out) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    return "bad listen address " + host;
  }
  UniqueFd fd(socket(AF_INET, type | SOCK_CLOEXEC, 0));
  if (!fd) return Reason("socket");
  int yes = 1;
  setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return Reason("bind");
  }
  if (type == SOCK_STREAM && listen(fd.get(), 8) != 0) return Reason("listen");
  socklen_t length = sizeof address;
  if (getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return Reason("getsockname");
  }
  if (!SetNonBlocking(fd.get())) return Reason("fcntl");
  port = ntohs(address.sin_port);
  out = std::move(fd);
  return {};
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) close(fd_);
}

int UniqueFd::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

Server::Server(Instrument& instrument, const FaultOptions& faults, std::size_t message_limit)
    : instrument_(instrument), faults_(faults), message_limit_(message_limit) {}

std::string Server::Listen(int port, const std::string& listen_address) {
  std::string error = BindSocket(SOCK_STREAM, listen_address, port, listener_);
  if (error.empty()) port_ = port;
  return error;
}

std::string Server::OpenPty() {
  UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!master) return Reason("posix_openpt");
  if (grantpt(master.get()) != 0 || unlockpt(master.get()) != 0) return Reason("grantpt");
  std::array<char, 256> name{};
  if (ptsname_r(master.get(), name.data(), name.size()) != 0) return Reason("ptsname");
  UniqueFd slave(open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave) return Reason("open pty");
  termios settings{};
  if (tcgetattr(slave.get(), &settings) == 0) {
    cfmakeraw(&settings);
    tcsetattr(slave.get(), TCSANOW, &settings);
  }
  if (!SetNonBlocking(master.get())) return Reason("fcntl");
  auto connection = std::make_unique<Connection>();
  connection->framer = MessageFramer(message_limit_);
  connection->fd = std::move(master);
  connection->is_pty = true;
  connections_.push_back(std::move(connection));
  pty_slave_ = std::move(slave);
  pty_path_ = name.data();
  return {};
}

void Server::Accept() {
  for (;;) {
    UniqueFd fd(accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) return;
    std::size_t sockets = static_cast<std::size_t>(std::count_if(
        connections_.begin(), connections_.end(), [](const auto& c) { return !c->is_pty; }));
    if (sockets >= kMaxConnections) continue;  // refused: closed at once
    int yes = 1;
    setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<Connection>();
    connection->framer = MessageFramer(message_limit_);
    connection->fd = std::move(fd);
    connections_.push_back(std::move(connection));
  }
}

std::string GarbledText::Next(std::size_t length) {
  static constexpr std::string_view kChars = "#?!%&*@~^|<>{}[]0123456789ABCDEFxyz,;:\x7f";
  std::string text;
  length = std::clamp<std::size_t>(length, 3, 64);
  for (std::size_t i = 0; i < length; ++i) {
    state_ = state_ * 1103515245u + 12345u;
    text.push_back(kChars[(state_ >> 16) % kChars.size()]);
  }
  return text;
}

void Server::Handle(Connection& c, const std::string& message) {
  ++c.messages;
  if (faults_.stall_after >= 0 && c.messages > faults_.stall_after) return;
  if (!c.pending.empty()) {
    // A new message before the previous reply went out: that reply is lost.
    c.pending.clear();
    instrument_.ReportQueryInterrupted();
  }
  Reply reply = instrument_.Process(message);
  if (reply.present) {
    std::string bytes = faults_.garbage ? garbage_.Next(reply.text.size()) : std::move(reply.text);
    bytes.push_back('\n');
    auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(faults_.delay_ms);
    c.pending.push_back({due, std::move(bytes)});
  }
  if (faults_.drop_after >= 0 && c.messages >= faults_.drop_after) c.closing = true;
}

void Server::ReadFrom(Connection& c) {
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    ssize_t n = read(c.fd.get(), buffer.data(), buffer.size());
    if (n > 0) {
      c.framer.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
      continue;
    }
    if (n == 0) {
      c.dead = true;  // peer closed
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      // A pty master reads EIO while no client has the terminal open; that is not fatal.
      if (!c.is_pty) c.dead = true;
    }
    break;
  }
  std::string message;
  bool too_long = false;
  while (!c.dead && !c.closing && c.framer.Take(message, too_long)) {
    if (too_long) {
      instrument_.ReportMessageTooLong();
      continue;
    }
    Handle(c, message);
  }
}

void Server::FlushDue(Connection& c) {
  auto now = std::chrono::steady_clock::now();
  while (!c.pending.empty() && c.pending.front().due <= now) {
    c.out += c.pending.front().bytes;
    c.pending.pop_front();
  }
  if (c.out.size() > kMaxPendingOutput) c.dead = true;  // the peer does not read
}

void Server::WriteOut(Connection& c) {
  while (!c.out.empty()) {
    ssize_t n = c.is_pty ? write(c.fd.get(), c.out.data(), c.out.size())
                         : send(c.fd.get(), c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (n > 0) {
      c.out.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (!c.is_pty) c.dead = true;
    return;
  }
}

int Server::NextTimeoutMs(int limit) const {
  auto now = std::chrono::steady_clock::now();
  int timeout = limit;
  for (const auto& c : connections_) {
    if (c->pending.empty()) continue;
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(c->pending.front().due - now);
    timeout = std::min(timeout, static_cast<int>(std::max<long long>(0, wait.count())));
  }
  return timeout;
}

void Server::PollOnce(int timeout_ms) {
  std::vector<pollfd> fds;
  if (listener_) fds.push_back({listener_.get(), POLLIN, 0});
  for (const auto& c : connections_) {
    short events = POLLIN;
    if (!c->out.empty()) events = static_cast<short>(events | POLLOUT);
    fds.push_back({c->fd.get(), events, 0});
  }
  const std::size_t own_fds = fds.size();
  int wait_ms = NextTimeoutMs(timeout_ms);
  for (Service* service : services_) wait_ms = service->NextTimeoutMs(wait_ms);
  std::vector<std::size_t> service_begin;
  for (Service* service : services_) {
    service_begin.push_back(fds.size());
    service->CollectPollFds(fds);
  }
  service_begin.push_back(fds.size());
  int ready = poll(fds.data(), fds.size(), wait_ms);
  instrument_.Tick();
  for (std::size_t s = 0; s < services_.size(); ++s) {
    services_[s]->Dispatch(std::span<const pollfd>(fds.data() + service_begin[s],
                                                   service_begin[s + 1] - service_begin[s]));
  }
  std::size_t index = 0;
  if (listener_) {
    if (ready > 0 && (fds[0].revents & POLLIN) != 0) Accept();
    index = 1;
  }
  // Connections accepted just now have no entry in `fds`; they are polled next round.
  std::size_t polled = own_fds - index;
  for (std::size_t i = 0; i < polled && i < connections_.size(); ++i) {
    Connection& c = *connections_[i];
    short revents = fds[index + i].revents;
    if ((revents & (POLLIN | POLLHUP | POLLERR)) != 0) ReadFrom(c);
    FlushDue(c);
    WriteOut(c);
  }
  std::erase_if(connections_, [](const std::unique_ptr<Connection>& c) {
    if (c->is_pty) return false;
    return c->dead || (c->closing && c->pending.empty() && c->out.empty());
  });
}

void Server::Run(const std::atomic<bool>& stop) {
  while (!stop.load()) PollOnce(50);
}

}  // namespace tqrsim
