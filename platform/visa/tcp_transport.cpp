#include "platform/visa/tcp_transport.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>

#include "platform/visa/deadline.h"

namespace motqr::visa {
namespace {

// Bound on the reads a device clear spends draining what already arrived.
constexpr int kClearDrainChunks = 256;

// Sessions to the same host and port share locks; host names compare without case.
std::string LockKey(const ResourceName& name) {
  std::string host = name.host;
  for (char& c : host) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return "TCPIP::" + host + "::" + std::to_string(name.port);
}

class TcpTransport final : public StreamTransport {
 public:
  TcpTransport(UniqueFd fd, const ResourceName& name)
      : StreamTransport(std::move(fd), InterfaceType::kTcpip, name.board, LockKey(name)),
        port_(name.port) {}

 protected:
  long RecvSome(std::uint8_t* data, std::size_t size) override {
    return ::recv(fd(), data, size, MSG_DONTWAIT);
  }
  long SendSome(const std::uint8_t* data, std::size_t size) override {
    return ::send(fd(), data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
  }
  Status DiscardDeviceInput() override;
  Status SetExtraAttribute(ViAttr attribute, ViAttrState value) override;
  Status GetExtraAttribute(ViAttr attribute, ViAttrState* value) override;

 private:
  Status SetOption(int level, int option, ViAttrState value, bool* stored);

  std::uint16_t port_;
  bool no_delay_ = true;
  bool keep_alive_ = false;
};

Status TcpTransport::DiscardDeviceInput() {
  std::array<std::uint8_t, 4096> sink{};
  for (int i = 0; i < kClearDrainChunks; ++i) {
    const long received = RecvSome(sink.data(), sink.size());
    if (received > 0) continue;
    if (received == 0) {
      return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) +
                                            " The instrument closed the connection.");
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) return Status();
    if (errno != EINTR) return TransferFailure(errno, "device clear");
  }
  return Status();
}

Status TcpTransport::SetOption(int level, int option, ViAttrState value, bool* stored) {
  if (value != VI_TRUE && value != VI_FALSE) return Status(VI_ERROR_NSUP_ATTR_STATE);
  const int on = value == VI_TRUE ? 1 : 0;
  if (::setsockopt(fd(), level, option, &on, sizeof on) != 0) {
    return Status(VI_ERROR_IO, OsFailureText("setsockopt", errno));
  }
  *stored = on == 1;
  return Status();
}

Status TcpTransport::SetExtraAttribute(ViAttr attribute, ViAttrState value) {
  switch (attribute) {
    case VI_ATTR_TCPIP_NODELAY:
      return SetOption(IPPROTO_TCP, TCP_NODELAY, value, &no_delay_);
    case VI_ATTR_TCPIP_KEEPALIVE:
      return SetOption(SOL_SOCKET, SO_KEEPALIVE, value, &keep_alive_);
    case VI_ATTR_TCPIP_PORT:
      return Status(VI_ERROR_ATTR_READONLY);
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

Status TcpTransport::GetExtraAttribute(ViAttr attribute, ViAttrState* value) {
  switch (attribute) {
    case VI_ATTR_TCPIP_NODELAY:
      *value = no_delay_ ? VI_TRUE : VI_FALSE;
      return Status();
    case VI_ATTR_TCPIP_KEEPALIVE:
      *value = keep_alive_ ? VI_TRUE : VI_FALSE;
      return Status();
    case VI_ATTR_TCPIP_PORT:
      *value = port_;
      return Status();
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

struct AddrInfoDeleter {
  void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};

std::string Endpoint(const ResourceName& name) {
  return name.host + " port " + std::to_string(name.port);
}

// Connects one socket to `address` within the deadline; returns the connected socket.
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

Status OpenTcpTransport(const ResourceName& name, ViUInt32 connect_timeout_ms,
                        std::unique_ptr<Transport>* transport) {
  const Deadline deadline(connect_timeout_ms);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(name.port);
  const int lookup = ::getaddrinfo(name.host.c_str(), service.c_str(), &hints, &found);
  if (lookup != 0) {
    return Status(VI_ERROR_RSRC_NFOUND,
                  "Could not resolve host \"" + name.host + "\": " + ::gai_strerror(lookup) + ".");
  }
  std::unique_ptr<addrinfo, AddrInfoDeleter> addresses(found);
  Status last(VI_ERROR_RSRC_NFOUND, "no address");
  for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
    UniqueFd fd;
    last = ConnectOne(*address, deadline, &fd);
    if (last.ok()) {
      *transport = std::make_unique<TcpTransport>(std::move(fd), name);
      return Status();
    }
    if (last.code() == VI_ERROR_TMO) break;
  }
  if (last.code() == VI_ERROR_TMO) {
    return Status(VI_ERROR_TMO, "Could not connect to " + Endpoint(name) + " within " +
                                    std::to_string(connect_timeout_ms) + " ms.");
  }
  return Status(last.code(),
                "Could not connect to " + Endpoint(name) + ": " + last.message() + ".");
}

}  // namespace motqr::visa
