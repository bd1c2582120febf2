#include "sim/hislip_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tqrsim {
namespace {

enum : std::uint8_t {
  kInitialize = 0,
  kInitializeResponse = 1,
  kFatalError = 2,
  kError = 3,
  kAsyncLock = 4,
  kAsyncLockResponse = 5,
  kData = 6,
  kDataEnd = 7,
  kDeviceClearComplete = 8,
  kDeviceClearAcknowledge = 9,
  kAsyncRemoteLocalControl = 10,
  kAsyncRemoteLocalResponse = 11,
  kTrigger = 12,
  kAsyncMaximumMessageSize = 15,
  kAsyncMaximumMessageSizeResponse = 16,
  kAsyncInitialize = 17,
  kAsyncInitializeResponse = 18,
  kAsyncDeviceClear = 19,
  kAsyncStatusQuery = 21,
  kAsyncStatusResponse = 22,
  kAsyncDeviceClearAcknowledge = 23,
  kAsyncLockInfo = 24,
  kAsyncLockInfoResponse = 25,
};

// Fatal error and error codes.
constexpr std::uint8_t kPoorlyFormedHeader = 1;
constexpr std::uint8_t kChannelsNotEstablished = 2;
constexpr std::uint8_t kInvalidInitialization = 3;
constexpr std::uint8_t kTooManyClients = 4;
constexpr std::uint8_t kUnrecognizedMessageType = 1;
constexpr std::uint8_t kMessageTooLarge = 4;

constexpr std::size_t kHeaderSize = 16;
constexpr std::uint16_t kServerVersion = 0x0100;
constexpr std::uint16_t kVendorId = ('T' << 8) | 'S';
constexpr std::size_t kMaxConnections = 16;
constexpr std::size_t kMaxSessions = 8;
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kMaxPendingOutput = 16u << 20;
constexpr std::uint32_t kMaxLockWaitMs = 3'600'000;
constexpr std::uint8_t kRmtDelivered = 1;

std::uint64_t BigEndian(std::string_view bytes) {
  std::uint64_t value = 0;
  for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
  return value;
}

std::string Bytes64(std::uint64_t value) {
  std::string out;
  for (int shift = 56; shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFFu));
  }
  return out;
}

}  // namespace

HislipServer::HislipServer(Instrument& instrument, const FaultOptions& faults,
                           std::size_t message_limit)
    : instrument_(instrument), faults_(faults), message_limit_(message_limit) {}

std::string HislipServer::Listen(int port, const std::string& host) {
  std::string error = BindSocket(SOCK_STREAM, host, port, listener_);
  if (error.empty()) port_ = port;
  return error;
}

void HislipServer::CollectPollFds(std::vector<pollfd>& fds) {
  fds.push_back({listener_.get(), static_cast<short>(listener_ ? POLLIN : 0), 0});
  polled_ = connections_.size();
  for (const auto& c : connections_) {
    short events = POLLIN;
    if (!c->out.empty()) events = static_cast<short>(events | POLLOUT);
    fds.push_back({c->fd.get(), events, 0});
  }
}

void HislipServer::Dispatch(std::span<const pollfd> fds) {
  if ((fds[0].revents & POLLIN) != 0) Accept();
  for (std::size_t i = 0; i < polled_; ++i) {
    if ((fds[1 + i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) ReadFrom(*connections_[i]);
  }
  ServeWaiting();
  for (auto& c : connections_) {
    while (!c->out.empty() && !c->dead) {
      ssize_t n = send(c->fd.get(), c->out.data(), c->out.size(), MSG_NOSIGNAL);
      if (n > 0) {
        c->out.erase(0, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
      c->dead = true;
    }
    if (c->out.size() > kMaxPendingOutput || (c->closing && c->out.empty())) c->dead = true;
  }
  // A session ends with either of its channels.
  for (auto& c : connections_) {
    if (c->dead && c->session != 0) EndSession(c->session);
  }
  std::erase_if(connections_, [](const std::unique_ptr<Connection>& c) { return c->dead; });
}

int HislipServer::NextTimeoutMs(int limit) const {
  const auto now = Clock::now();
  int timeout = limit;
  auto consider = [&](Clock::time_point when) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    timeout = std::min(timeout, static_cast<int>(std::clamp<long long>(wait, 0, limit)));
  };
  for (const auto& [id, s] : sessions_) {
    if (auto due = s.exchange.ReplyDue()) consider(*due);
    if (s.lock_wait) consider(s.lock_wait->deadline);
  }
  return timeout;
}

void HislipServer::Accept() {
  for (;;) {
    UniqueFd fd(accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) return;
    if (connections_.size() >= kMaxConnections) continue;
    int yes = 1;
    setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<Connection>();
    connection->fd = std::move(fd);
    connections_.push_back(std::move(connection));
  }
}

void HislipServer::Send(Connection& c, std::uint8_t type, std::uint8_t control,
                        std::uint32_t parameter, std::string_view payload) {
  c.out.push_back('H');
  c.out.push_back('S');
  c.out.push_back(static_cast<char>(type));
  c.out.push_back(static_cast<char>(control));
  for (int shift = 24; shift >= 0; shift -= 8) {
    c.out.push_back(static_cast<char>((parameter >> shift) & 0xFFu));
  }
  c.out += Bytes64(payload.size());
  c.out.append(payload);
}

void HislipServer::Fatal(Connection& c, std::uint8_t code, std::string_view text) {
  Send(c, kFatalError, code, 0, text);
  c.closing = true;
}

void HislipServer::ReadFrom(Connection& c) {
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    ssize_t n = read(c.fd.get(), buffer.data(), buffer.size());
    if (n > 0) {
      c.in.append(buffer.data(), static_cast<std::size_t>(n));
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) c.dead = true;
    break;
  }
  std::size_t pos = 0;
  while (!c.closing && c.in.size() - pos >= kHeaderSize) {
    const std::string_view header(c.in.data() + pos, kHeaderSize);
    if (header[0] != 'H' || header[1] != 'S') {
      Fatal(c, kPoorlyFormedHeader, "the message does not begin with \"HS\"");
      break;
    }
    const std::uint64_t length = BigEndian(header.substr(8, 8));
    if (length > std::max<std::uint64_t>(kMaxMessageSize, message_limit_)) {
      Send(c, kError, kMessageTooLarge, 0, "the message is larger than the maximum message size");
      Fatal(c, kPoorlyFormedHeader, "the stream cannot be followed past an oversized message");
      break;
    }
    if (c.in.size() - pos - kHeaderSize < length) break;
    Message message;
    message.type = static_cast<std::uint8_t>(header[2]);
    message.control = static_cast<std::uint8_t>(header[3]);
    message.parameter = static_cast<std::uint32_t>(BigEndian(header.substr(4, 4)));
    message.payload = c.in.substr(pos + kHeaderSize, length);
    pos += kHeaderSize + length;
    HandleMessage(c, std::move(message));
  }
  c.in.erase(0, pos);
}

void HislipServer::HandleMessage(Connection& c, Message message) {
  if (c.session == 0) {
    if (message.type == kInitialize) return Initialize(c, message);
    if (message.type == kAsyncInitialize) return AsyncInitialize(c, message);
    return Fatal(c, kInvalidInitialization,
                 "the first message must be Initialize or AsyncInitialize");
  }
  auto found = sessions_.find(c.session);
  if (found == sessions_.end()) return Fatal(c, kChannelsNotEstablished, "the session has ended");
  Session& s = found->second;
  if (s.sync == nullptr || s.async == nullptr) {
    return Fatal(c, kChannelsNotEstablished, "both channels must be open first");
  }
  if (c.async) return Asynchronous(s, c.session, message);
  if (LockedOut(c.session) || !c.held.empty()) {
    c.held.push_back(std::move(message));  // served once the lock is released
    return;
  }
  Synchronous(s, c.session, message);
}

void HislipServer::Initialize(Connection& c, const Message& message) {
  if (sessions_.size() >= kMaxSessions) {
    return Fatal(c, kTooManyClients, "too many clients");
  }
  if (message.payload != "hislip0") {
    return Fatal(c, kInvalidInitialization,
                 "unknown sub-address \"" + message.payload + "\" (this instrument is hislip0)");
  }
  const int id = next_session_;
  next_session_ = next_session_ % 0xFFFF + 1;
  Session s{nullptr, nullptr, MessageSession(instrument_, faults_, message_limit_)};
  s.sync = &c;
  sessions_.emplace(id, std::move(s));
  c.session = id;
  const std::uint16_t client_version = static_cast<std::uint16_t>(message.parameter >> 16);
  const std::uint16_t version = std::min(client_version, kServerVersion);
  Send(c, kInitializeResponse, 0 /* synchronized mode */,
       (std::uint32_t{version} << 16) | static_cast<std::uint32_t>(id));
}

void HislipServer::AsyncInitialize(Connection& c, const Message& message) {
  const int id = static_cast<int>(message.parameter & 0xFFFFu);
  auto found = sessions_.find(id);
  if (found == sessions_.end() || found->second.async != nullptr) {
    return Fatal(c, kInvalidInitialization, "no session waits for this asynchronous channel");
  }
  found->second.async = &c;
  c.session = id;
  c.async = true;
  Send(c, kAsyncInitializeResponse, 0, kVendorId);
}

void HislipServer::Synchronous(Session& s, int id, const Message& message) {
  if ((message.control & kRmtDelivered) != 0) s.reply_outstanding = false;
  if (s.clearing && message.type != kDeviceClearComplete) return;  // stale, dropped
  switch (message.type) {
    case kData:
    case kDataEnd:
      s.exchange.Write(message.payload, message.type == kDataEnd);
      if (message.type == kDataEnd) s.reply_id = message.parameter;
      SendReply(s);
      break;
    case kTrigger:
      instrument_.Process("*TRG");
      break;
    case kDeviceClearComplete:
      s.clearing = false;
      s.exchange.Clear();
      s.reply_outstanding = false;
      s.reply_id = 0xFFFFFFFFu;
      Send(*s.sync, kDeviceClearAcknowledge, 0 /* synchronized */, 0);
      break;
    default:
      Send(*s.sync, kError, kUnrecognizedMessageType, 0,
           "message type " + std::to_string(message.type) + " is not taken on this channel");
      break;
  }
  (void)id;
}

void HislipServer::SendReply(Session& s) {
  const std::string_view ready = s.exchange.Readable(Clock::now());
  if (!ready.empty()) {
    const std::uint64_t room = s.client_max_message > kHeaderSize
                                   ? s.client_max_message - kHeaderSize
                                   : kMaxMessageSize - kHeaderSize;
    std::size_t sent = 0;
    while (sent < ready.size()) {
      const std::size_t chunk =
          static_cast<std::size_t>(std::min<std::uint64_t>(ready.size() - sent, room));
      const bool last = sent + chunk == ready.size();
      Send(*s.sync, last ? kDataEnd : kData, 0, s.reply_id, ready.substr(sent, chunk));
      sent += chunk;
    }
    s.exchange.Consume(ready.size());
    s.reply_outstanding = true;
  }
  if (s.exchange.drop_requested() && !s.exchange.HasReply()) {
    s.sync->closing = true;
    s.async->closing = true;
  }
}

void HislipServer::Asynchronous(Session& s, int id, const Message& message) {
  switch (message.type) {
    case kAsyncMaximumMessageSize:
      if (message.payload.size() == 8) s.client_max_message = BigEndian(message.payload);
      Send(*s.async, kAsyncMaximumMessageSizeResponse, 0, 0, Bytes64(kMaxMessageSize));
      break;
    case kAsyncLock:
      Lock(s, id, message);
      break;
    case kAsyncLockInfo: {
      int holders = exclusive_holder_ != 0 ? 1 : 0;
      for (const auto& [other, session] : sessions_) holders += session.shared_count > 0 ? 1 : 0;
      Send(*s.async, kAsyncLockInfoResponse, exclusive_holder_ != 0 ? 1 : 0,
           static_cast<std::uint32_t>(holders));
      break;
    }
    case kAsyncStatusQuery: {
      if ((message.control & kRmtDelivered) != 0) s.reply_outstanding = false;
      std::uint8_t stb = s.exchange.StatusByte();
      if (s.reply_outstanding) stb = static_cast<std::uint8_t>(stb | 0x10);  // MAV
      Send(*s.async, kAsyncStatusResponse, stb, 0);
      break;
    }
    case kAsyncDeviceClear:
      s.clearing = true;
      s.exchange.Clear();
      s.sync->held.clear();
      Send(*s.async, kAsyncDeviceClearAcknowledge, 0 /* synchronized */, 0);
      break;
    case kAsyncRemoteLocalControl:
      Send(*s.async, kAsyncRemoteLocalResponse, 0, 0);
      break;
    default:
      Send(*s.async, kError, kUnrecognizedMessageType, 0,
           "message type " + std::to_string(message.type) + " is not taken on this channel");
      break;
  }
}

bool HislipServer::LockedOut(int id) const {
  if (exclusive_holder_ != 0 && exclusive_holder_ != id) return true;
  return false;
}

bool HislipServer::TryGrant(Session& s, int id, const std::string& key) {
  if (key.empty()) {
    if (exclusive_holder_ != 0 && exclusive_holder_ != id) return false;
    exclusive_holder_ = id;
    return true;
  }
  if (exclusive_holder_ != 0 && exclusive_holder_ != id) return false;
  for (const auto& [other, session] : sessions_) {
    if (other != id && session.shared_count > 0 && session.shared_key != key) return false;
  }
  s.shared_key = key;
  ++s.shared_count;
  return true;
}

void HislipServer::Lock(Session& s, int id, const Message& message) {
  if (message.control == 0) {  // release
    std::uint8_t result = 3;   // error: nothing held
    if (exclusive_holder_ == id) {
      exclusive_holder_ = 0;
      result = 1;
    } else if (s.shared_count > 0) {
      --s.shared_count;
      result = 2;
    }
    Send(*s.async, kAsyncLockResponse, result, 0);
    return;
  }
  if (s.lock_wait) {
    Send(*s.async, kAsyncLockResponse, 3, 0);  // one request at a time
    return;
  }
  if (TryGrant(s, id, message.payload)) {
    Send(*s.async, kAsyncLockResponse, 1, 0);
    return;
  }
  if (message.parameter == 0) {
    Send(*s.async, kAsyncLockResponse, 0, 0);
    return;
  }
  s.lock_wait = LockRequest{
      message.payload,
      Clock::now() + std::chrono::milliseconds(std::min(message.parameter, kMaxLockWaitMs))};
}

void HislipServer::ServeWaiting() {
  const auto now = Clock::now();
  for (auto& [id, s] : sessions_) {
    if (s.sync == nullptr || s.async == nullptr) continue;
    if (s.lock_wait) {
      if (TryGrant(s, id, s.lock_wait->key)) {
        Send(*s.async, kAsyncLockResponse, 1, 0);
        s.lock_wait.reset();
      } else if (now >= s.lock_wait->deadline) {
        Send(*s.async, kAsyncLockResponse, 0, 0);
        s.lock_wait.reset();
      }
    }
    // Messages held while another session had the lock.
    while (!s.sync->held.empty() && !LockedOut(id)) {
      Message message = std::move(s.sync->held.front());
      s.sync->held.erase(s.sync->held.begin());
      Synchronous(s, id, message);
    }
    if (s.exchange.HasReply()) SendReply(s);
  }
}

void HislipServer::EndSession(int id) {
  auto found = sessions_.find(id);
  if (found == sessions_.end()) return;
  if (exclusive_holder_ == id) exclusive_holder_ = 0;
  for (Connection* c : {found->second.sync, found->second.async}) {
    if (c != nullptr) {
      c->closing = true;
      c->session = 0;
    }
  }
  sessions_.erase(found);
}

}  // namespace tqrsim
