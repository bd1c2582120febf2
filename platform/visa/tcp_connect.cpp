#include "platform/visa/tcp_connect.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

namespace motqr::visa {
namespace {

struct AddrInfoDeleter {
  void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};

// Connects one socket to `address` within the deadline.
Status ConnectOne(const addrinfo& address, const Deadline& deadline, UniqueFd* socket_fd) {
  UniqueFd fd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                       address.ai_protocol));
  if (!fd.valid()) return Status(VI_ERROR_IO, "socket: " + OsErrorText(errno));
  const int on = 1;
  ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (::connect(fd.get(), address.ai_addr, address.ai_addrlen) != 0) {
    if (errno != EINPROGRESS) return Status(VI_ERROR_RSRC_NFOUND, OsErrorText(errno));
    while (true) {
      pollfd entry{fd.get(), POLLOUT, 0};
      const int ready = ::poll(&entry, 1, deadline.RemainingMs());
      if (ready > 0) break;
      if (ready == 0) return Status(VI_ERROR_TMO);
      if (errno != EINTR) return Status(VI_ERROR_IO, "poll: " + OsErrorText(errno));
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) return Status(VI_ERROR_RSRC_NFOUND, OsErrorText(error));
  }
  *socket_fd = std::move(fd);
  return Status();
}

}  // namespace

Status ConnectTcp(const std::string& host, std::uint16_t port, const Deadline& deadline,
                  ViUInt32 timeout_ms, UniqueFd* socket_fd) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  const int lookup = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  if (lookup != 0) {
    return Status(VI_ERROR_RSRC_NFOUND,
                  "Could not resolve host \"" + host + "\": " + ::gai_strerror(lookup) + ".");
  }
  std::unique_ptr<addrinfo, AddrInfoDeleter> addresses(found);
  const std::string endpoint = host + " port " + service;
  Status last(VI_ERROR_RSRC_NFOUND, "no address");
  for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
    last = ConnectOne(*address, deadline, socket_fd);
    if (last.ok()) return last;
    if (last.code() == VI_ERROR_TMO) {
      return Status(VI_ERROR_TMO, "Could not connect to " + endpoint + " within " +
                                      std::to_string(timeout_ms) + " ms.");
    }
  }
  return Status(last.code(), "Could not connect to " + endpoint + ": " + last.message() + ".");
}

Status SetBlocking(int fd, bool blocking) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0) return Status(VI_ERROR_IO, "fcntl: " + OsErrorText(errno));
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  if (::fcntl(fd, F_SETFL, wanted) != 0) return Status(VI_ERROR_IO, "fcntl: " + OsErrorText(errno));
  return Status();
}

}  // namespace motqr::visa
