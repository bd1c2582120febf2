#include "platform/visa/tcp_transport.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>

#include "platform/visa/deadline.h"
#include "platform/visa/tcp_connect.h"

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

}  // namespace

Status OpenTcpTransport(const ResourceName& name, ViUInt32 connect_timeout_ms,
                        std::unique_ptr<Transport>* transport) {
  UniqueFd fd;
  MOTQR_VISA_RETURN_IF_ERROR(
      ConnectTcp(name.host, name.port, Deadline(connect_timeout_ms), connect_timeout_ms, &fd));
  *transport = std::make_unique<TcpTransport>(std::move(fd), name);
  return Status();
}

}  // namespace motqr::visa
