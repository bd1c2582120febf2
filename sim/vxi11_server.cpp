#include "sim/vxi11_server.h"

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

constexpr std::uint32_t kCoreProgram = 0x0607AF;
constexpr std::uint32_t kAbortProgram = 0x0607B0;
constexpr std::uint32_t kPortmapProgram = 100000;
constexpr std::uint32_t kPortmapVersion = 2;
constexpr std::uint32_t kTcp = 6;

// Core channel procedures.
enum : std::uint32_t {
  kCreateLink = 10,
  kDeviceWrite = 11,
  kDeviceRead = 12,
  kDeviceReadStb = 13,
  kDeviceTrigger = 14,
  kDeviceClear = 15,
  kDeviceRemote = 16,
  kDeviceLocal = 17,
  kDeviceLock = 18,
  kDeviceUnlock = 19,
  kDeviceEnableSrq = 20,
  kDeviceDocmd = 22,
  kDestroyLink = 23,
  kCreateInterruptChannel = 25,
  kDestroyInterruptChannel = 26,
};
constexpr std::uint32_t kDeviceAbort = 1;

// Device_ErrorCode values.
enum : std::int32_t {
  kLinkOk = 0,
  kDeviceNotAccessible = 3,
  kInvalidLinkId = 4,
  kParameterError = 5,
  kOperationNotSupported = 8,
  kDeviceLocked = 11,
  kNoLockHeld = 12,
  kIoTimeout = 15,
  kAbort = 23,
};

constexpr std::int32_t kFlagWaitLock = 0x01;
constexpr std::int32_t kFlagEnd = 0x08;
constexpr std::int32_t kFlagTermCharSet = 0x80;
constexpr std::int32_t kReasonRequestCount = 0x01;
constexpr std::int32_t kReasonTermChar = 0x02;
constexpr std::int32_t kReasonEnd = 0x04;

constexpr std::size_t kMaxRecord = 16u << 20;
constexpr std::size_t kMaxConnections = 16;
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kMaxPendingOutput = 16u << 20;
// Longest time-out a call may ask for (it waits no longer).
constexpr std::uint32_t kMaxWaitMs = 3'600'000;
// How long a read that ignores its time-out waits for device_abort.
constexpr std::uint32_t kIgnoredTimeoutWaitMs = 10'000;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

std::string ErrorOnly(std::int32_t error) {
  rpc::XdrWriter out;
  out.I32(error);
  return out.Take();
}

std::string ReadReply(std::int32_t error, std::int32_t reason, std::string_view data) {
  rpc::XdrWriter out;
  out.I32(error);
  out.I32(reason);
  out.Opaque(data);
  return out.Take();
}

std::uint32_t Capped(std::uint32_t ms) { return std::min(ms, kMaxWaitMs); }

}  // namespace

Vxi11Server::Vxi11Server(Instrument& instrument, const FaultOptions& faults,
                         std::size_t message_limit)
    : instrument_(instrument), faults_(faults), message_limit_(message_limit) {}

Vxi11Server::~Vxi11Server() {
  if (!registered_with_system_) return;
  for (std::uint32_t program : {kCoreProgram, kAbortProgram}) {
    rpc::XdrWriter mapping;
    mapping.U32(program);
    mapping.U32(1);
    mapping.U32(kTcp);
    mapping.U32(0);
    CallSystemPortmapper(2 /* UNSET */, mapping.bytes());
  }
}

std::string Vxi11Server::Listen(const std::string& address) {
  address_ = address;
  if (std::string error = BindSocket(SOCK_STREAM, address_, core_port_, core_listener_);
      !error.empty()) {
    return error;
  }
  return BindSocket(SOCK_STREAM, address_, abort_port_, abort_listener_);
}

// One call to the portmapper on 127.0.0.1:111 over UDP; the reply's results, or empty.
std::string Vxi11Server::CallSystemPortmapper(std::uint32_t procedure, std::string_view arguments) {
  UniqueFd fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!fd) return {};
  timeval wait{0, 300'000};
  setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_in address = Loopback(111);
  const std::uint32_t xid = 0x7153u + procedure;
  const std::string call =
      rpc::CallMessage(xid, kPortmapProgram, kPortmapVersion, procedure, arguments);
  // Connected, so that nobody listening is known at once (a refused datagram).
  if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      send(fd.get(), call.data(), call.size(), 0) < 0) {
    return {};
  }
  std::array<char, 512> reply{};
  const ssize_t n = recv(fd.get(), reply.data(), reply.size(), 0);
  if (n < 24) return {};
  rpc::XdrReader in(std::string_view(reply.data(), static_cast<std::size_t>(n)));
  if (in.U32() != xid || in.U32() != 1 || in.U32() != 0) return {};
  in.U32();
  in.Opaque(400);
  if (in.U32() != rpc::kSuccess || !in.ok()) return {};
  return std::string(in.rest());
}

std::string Vxi11Server::StartPortmapper(int port) {
  if (port == 111) {
    for (std::uint32_t program : {kCoreProgram, kAbortProgram}) {
      rpc::XdrWriter mapping;
      mapping.U32(program);
      mapping.U32(1);
      mapping.U32(kTcp);
      mapping.U32(static_cast<std::uint32_t>(program == kCoreProgram ? core_port_ : abort_port_));
      const std::string result = CallSystemPortmapper(1 /* SET */, mapping.bytes());
      rpc::XdrReader in(result);
      if (in.U32() == 1 && in.ok()) registered_with_system_ = true;
    }
    if (registered_with_system_) {
      portmapper_port_ = 111;
      return {};
    }
  }
  int bound = port;
  if (std::string error = BindSocket(SOCK_STREAM, address_, bound, portmap_listener_);
      !error.empty()) {
    return error + " (portmapper port " + std::to_string(port) + ")";
  }
  if (std::string error = BindSocket(SOCK_DGRAM, address_, bound, portmap_datagram_);
      !error.empty()) {
    portmap_listener_ = UniqueFd();
    return error + " (portmapper port " + std::to_string(port) + ", UDP)";
  }
  portmapper_port_ = bound;
  return {};
}

void Vxi11Server::CollectPollFds(std::vector<pollfd>& fds) {
  for (const UniqueFd* fd :
       {&core_listener_, &abort_listener_, &portmap_listener_, &portmap_datagram_}) {
    fds.push_back({fd->get(), static_cast<short>(*fd ? POLLIN : 0), 0});
  }
  polled_connections_ = connections_.size();
  for (const auto& c : connections_) {
    short events = POLLIN;
    if (!c->out.empty()) events = static_cast<short>(events | POLLOUT);
    fds.push_back({c->fd.get(), events, 0});
  }
}

void Vxi11Server::Dispatch(std::span<const pollfd> fds) {
  if ((fds[0].revents & POLLIN) != 0) Accept(core_listener_.get(), Channel::kCore);
  if ((fds[1].revents & POLLIN) != 0) Accept(abort_listener_.get(), Channel::kAbort);
  if ((fds[2].revents & POLLIN) != 0) Accept(portmap_listener_.get(), Channel::kPortmapper);
  if ((fds[3].revents & POLLIN) != 0) ServeDatagram();
  for (std::size_t i = 0; i < polled_connections_; ++i) {
    if ((fds[4 + i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) ReadFrom(*connections_[i]);
  }
  // Waiting calls may complete now (a reply fell due, a lock was released, a time-out passed,
  // an abort came): abort calls run first, so that the call they abort ends in this pass.
  std::stable_partition(connections_.begin(), connections_.end(),
                        [](const auto& c) { return c->channel == Channel::kAbort; });
  for (auto& c : connections_) {
    if (!c->dead) RunCalls(*c);
    while (!c->out.empty() && !c->dead) {
      ssize_t n = send(c->fd.get(), c->out.data(), c->out.size(), MSG_NOSIGNAL);
      if (n > 0) {
        c->out.erase(0, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
      c->dead = true;
    }
    if (c->out.size() > kMaxPendingOutput) c->dead = true;
    if (c->closing && c->out.empty()) c->dead = true;
  }
  for (auto& c : connections_) {
    if (c->dead) DropConnection(*c);
  }
  std::erase_if(connections_, [](const std::unique_ptr<Connection>& c) { return c->dead; });
}

int Vxi11Server::NextTimeoutMs(int limit) const {
  const auto now = Clock::now();
  int timeout = limit;
  auto consider = [&](Clock::time_point when) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    timeout = std::min(timeout, static_cast<int>(std::clamp<long long>(wait, 0, limit)));
  };
  for (const auto& c : connections_) {
    if (c->waiting) consider(c->waiting_deadline);
  }
  for (const auto& [id, link] : links_) {
    if (auto due = link.session.ReplyDue()) consider(*due);
  }
  return timeout;
}

void Vxi11Server::Accept(int listener, Channel channel) {
  for (;;) {
    UniqueFd fd(accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) return;
    if (connections_.size() >= kMaxConnections) continue;  // refused: closed at once
    int yes = 1;
    setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<Connection>();
    connection->id = next_connection_++;
    connection->fd = std::move(fd);
    connection->channel = channel;
    connection->records = rpc::RecordAssembler(kMaxRecord);
    connections_.push_back(std::move(connection));
  }
}

void Vxi11Server::ReadFrom(Connection& c) {
  std::array<char, kReadChunk> buffer{};
  for (;;) {
    ssize_t n = read(c.fd.get(), buffer.data(), buffer.size());
    if (n > 0) {
      c.records.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) c.dead = true;
    break;
  }
}

void Vxi11Server::RunCalls(Connection& c) {
  if (c.waiting) {
    const bool expired = Clock::now() >= c.waiting_deadline;
    std::optional<std::string> reply = Execute(c, *c.waiting, expired);
    if (!reply) return;
    c.out += rpc::MarkRecord(*reply);
    c.waiting.reset();
  }
  std::string record;
  while (!c.closing && !c.waiting && c.records.Take(&record)) {
    std::optional<std::string> reply = Execute(c, record, false);
    if (reply) {
      c.out += rpc::MarkRecord(*reply);
    } else {
      c.waiting = std::move(record);
    }
  }
  if (c.records.broken()) c.closing = true;
}

std::optional<std::string> Vxi11Server::Execute(Connection& c, const std::string& message,
                                                bool expired) {
  rpc::Call call;
  if (!rpc::ParseCall(message, &call)) {
    c.closing = true;  // not RPC: the stream cannot be trusted any more
    return std::string();
  }
  rpc::AcceptStat status = rpc::kSuccess;
  std::string results;
  std::uint32_t program = 0;
  std::uint32_t low = 1;
  std::uint32_t high = 1;
  switch (c.channel) {
    case Channel::kCore: {
      program = kCoreProgram;
      if (call.program != program || call.version != 1) break;
      Outcome outcome = Core(c, call, expired, &status);
      if (!outcome.results) {
        if (!c.waiting) c.waiting_deadline = outcome.deadline;
        return std::nullopt;
      }
      results = std::move(*outcome.results);
      break;
    }
    case Channel::kAbort:
      program = kAbortProgram;
      if (call.program != program || call.version != 1) break;
      results = Abort(call, &status);
      break;
    case Channel::kPortmapper:
      program = kPortmapProgram;
      low = 2;
      high = 4;
      if (call.program != program || call.version < low || call.version > high) break;
      results = Portmap(call, &status);
      break;
  }
  if (call.program != program)
    status = rpc::kProgramUnavailable;
  else if (call.version < low || call.version > high)
    status = rpc::kProgramMismatch;
  return rpc::AcceptedReply(call.xid, status, results, low, high);
}

bool Vxi11Server::LockedByOther(std::int32_t link) const {
  return lock_holder_.has_value() && *lock_holder_ != link;
}

Vxi11Server::Outcome Vxi11Server::Core(Connection& c, const rpc::Call& call, bool expired,
                                       rpc::AcceptStat* status) {
  rpc::XdrReader in(call.arguments);
  Outcome outcome;
  switch (call.procedure) {
    case kCreateLink:
      outcome = CreateLink(c, in, expired);
      break;
    case kDeviceWrite:
      outcome = DeviceWrite(in, expired);
      break;
    case kDeviceRead:
      outcome = DeviceRead(c, in, expired);
      break;
    case kDeviceReadStb:
    case kDeviceTrigger:
    case kDeviceClear:
    case kDeviceRemote:
    case kDeviceLocal:
    case kDeviceUnlock:
    case kDestroyLink:
      outcome = Generic(call.procedure, in);
      break;
    case kDeviceLock:
      outcome = DeviceLock(in, expired);
      break;
    case kDeviceEnableSrq:
    case kDeviceDocmd:
    case kCreateInterruptChannel:
    case kDestroyInterruptChannel:
      outcome.results = ErrorOnly(kOperationNotSupported);
      break;
    case 0:  // NULL procedure
      outcome.results = std::string();
      break;
    default:
      *status = rpc::kProcedureUnavailable;
      outcome.results = std::string();
      return outcome;
  }
  if (!in.ok()) {
    *status = rpc::kGarbageArguments;
    outcome.results = std::string();
  }
  return outcome;
}

Vxi11Server::Outcome Vxi11Server::CreateLink(Connection& c, rpc::XdrReader& in, bool expired) {
  in.I32();  // client id
  const bool lock_device = in.Bool();
  const std::uint32_t lock_timeout = in.U32();
  const std::string_view device = in.Opaque(256);
  Outcome outcome;
  outcome.deadline = Clock::now() + std::chrono::milliseconds(Capped(lock_timeout));
  rpc::XdrWriter out;
  auto refuse = [&](std::int32_t error) {
    out.I32(error);
    out.I32(0);
    out.U32(static_cast<std::uint32_t>(abort_port_));
    out.U32(kMaxRecvSize);
    outcome.results = out.Take();
    return outcome;
  };
  if (!in.ok()) return refuse(kParameterError);
  std::string name(device);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  if (name != "inst0") return refuse(kDeviceNotAccessible);
  if (lock_device && lock_holder_) {
    if (!expired) return outcome;  // wait for the lock
    return refuse(kDeviceLocked);
  }
  const std::int32_t id = next_link_++;
  links_.emplace(id, Link{c.id, MessageSession(instrument_, faults_, message_limit_), false});
  if (lock_device) lock_holder_ = id;
  out.I32(kLinkOk);
  out.I32(id);
  out.U32(static_cast<std::uint32_t>(abort_port_));
  out.U32(kMaxRecvSize);
  outcome.results = out.Take();
  return outcome;
}

Vxi11Server::Outcome Vxi11Server::DeviceWrite(rpc::XdrReader& in, bool expired) {
  const std::int32_t id = in.I32();
  in.U32();  // io_timeout: a write is taken at once
  const std::uint32_t lock_timeout = in.U32();
  const std::int32_t flags = in.I32();
  const std::string_view data = in.Opaque(kMaxRecord);
  Outcome outcome;
  outcome.deadline = Clock::now() + std::chrono::milliseconds(Capped(lock_timeout));
  rpc::XdrWriter out;
  auto answer = [&](std::int32_t error, std::size_t size) {
    out.I32(error);
    out.U32(static_cast<std::uint32_t>(size));
    outcome.results = out.Take();
    return outcome;
  };
  auto link = links_.find(id);
  if (!in.ok() || link == links_.end()) return answer(kInvalidLinkId, 0);
  if (LockedByOther(id)) {
    if ((flags & kFlagWaitLock) != 0 && !expired) return outcome;
    return answer(kDeviceLocked, 0);
  }
  link->second.session.Write(data, (flags & kFlagEnd) != 0);
  if (link->second.session.drop_requested() && !link->second.session.HasReply()) {
    for (auto& c : connections_) {
      if (c->id == link->second.connection) c->closing = true;
    }
  }
  return answer(kLinkOk, data.size());
}

Vxi11Server::Outcome Vxi11Server::DeviceRead(Connection& c, rpc::XdrReader& in, bool expired) {
  const std::int32_t id = in.I32();
  const std::uint32_t request_size = in.U32();
  const std::uint32_t io_timeout = in.U32();
  const std::uint32_t lock_timeout = in.U32();
  const std::int32_t flags = in.I32();
  const auto term_char = static_cast<char>(in.U32() & 0xFFu);
  Outcome outcome;
  const bool lock_wait = LockedByOther(id) && (flags & kFlagWaitLock) != 0;
  const std::uint32_t read_wait = faults_.ignore_io_timeout ? kIgnoredTimeoutWaitMs : io_timeout;
  outcome.deadline =
      Clock::now() + std::chrono::milliseconds(Capped(lock_wait ? lock_timeout : read_wait));
  auto link = links_.find(id);
  if (!in.ok() || link == links_.end()) {
    outcome.results = ReadReply(kInvalidLinkId, 0, {});
    return outcome;
  }
  if (LockedByOther(id)) {
    if (lock_wait && !expired) return outcome;
    outcome.results = ReadReply(kDeviceLocked, 0, {});
    return outcome;
  }
  Link& l = link->second;
  if (l.abort_requested) {
    l.abort_requested = false;
    outcome.results = ReadReply(kAbort, 0, {});
    return outcome;
  }
  const std::string_view readable = l.session.Readable(Clock::now());
  if (readable.empty()) {
    if (!expired) return outcome;
    outcome.results = ReadReply(kIoTimeout, 0, {});
    return outcome;
  }
  std::size_t count =
      std::min<std::size_t>(readable.size(), std::max<std::uint32_t>(request_size, 1));
  std::int32_t reason = 0;
  if ((flags & kFlagTermCharSet) != 0) {
    const std::size_t at = readable.substr(0, count).find(term_char);
    if (at != std::string_view::npos) {
      count = at + 1;
      reason |= kReasonTermChar;
    }
  }
  if (count == readable.size()) reason |= kReasonEnd;
  if (reason == 0 && count == request_size) reason = kReasonRequestCount;
  outcome.results = ReadReply(kLinkOk, reason, readable.substr(0, count));
  l.session.Consume(count);
  if (l.session.drop_requested() && !l.session.HasReply()) c.closing = true;
  return outcome;
}

Vxi11Server::Outcome Vxi11Server::Generic(std::uint32_t procedure, rpc::XdrReader& in) {
  const std::int32_t id = in.I32();
  Outcome outcome;
  auto link = links_.find(id);
  auto error = [&](std::int32_t code) {
    outcome.results = ErrorOnly(code);
    return outcome;
  };
  if (!in.ok() || link == links_.end()) {
    if (procedure == kDeviceReadStb) {
      rpc::XdrWriter out;
      out.I32(kInvalidLinkId);
      out.U32(0);
      outcome.results = out.Take();
      return outcome;
    }
    return error(kInvalidLinkId);
  }
  Link& l = link->second;
  const bool locked_out = LockedByOther(id);
  switch (procedure) {
    case kDeviceReadStb: {
      rpc::XdrWriter out;
      const unsigned stb = l.session.StatusByte();
      out.I32(locked_out ? kDeviceLocked : kLinkOk);
      out.U32(locked_out ? 0 : stb);
      outcome.results = out.Take();
      return outcome;
    }
    case kDeviceTrigger:
      if (locked_out) return error(kDeviceLocked);
      instrument_.Process("*TRG");
      return error(kLinkOk);
    case kDeviceClear:
      if (locked_out) return error(kDeviceLocked);
      l.session.Clear();
      return error(kLinkOk);
    case kDeviceRemote:
    case kDeviceLocal:
      return error(locked_out ? kDeviceLocked : kLinkOk);
    case kDeviceUnlock:
      if (lock_holder_ != id) return error(kNoLockHeld);
      lock_holder_.reset();
      return error(kLinkOk);
    case kDestroyLink:
      if (lock_holder_ == id) lock_holder_.reset();
      links_.erase(link);
      return error(kLinkOk);
    default:
      return error(kOperationNotSupported);
  }
}

Vxi11Server::Outcome Vxi11Server::DeviceLock(rpc::XdrReader& in, bool expired) {
  const std::int32_t id = in.I32();
  const std::int32_t flags = in.I32();
  const std::uint32_t lock_timeout = in.U32();
  Outcome outcome;
  outcome.deadline = Clock::now() + std::chrono::milliseconds(Capped(lock_timeout));
  if (!in.ok() || links_.find(id) == links_.end()) {
    outcome.results = ErrorOnly(kInvalidLinkId);
    return outcome;
  }
  if (LockedByOther(id)) {
    if ((flags & kFlagWaitLock) != 0 && !expired) return outcome;
    outcome.results = ErrorOnly(kDeviceLocked);
    return outcome;
  }
  lock_holder_ = id;
  outcome.results = ErrorOnly(kLinkOk);
  return outcome;
}

std::string Vxi11Server::Abort(const rpc::Call& call, rpc::AcceptStat* status) {
  if (call.procedure == 0) return {};
  if (call.procedure != kDeviceAbort) {
    *status = rpc::kProcedureUnavailable;
    return {};
  }
  rpc::XdrReader in(call.arguments);
  const std::int32_t id = in.I32();
  auto link = links_.find(id);
  if (!in.ok() || link == links_.end()) return ErrorOnly(kInvalidLinkId);
  // Only a call in progress on the link's core channel is aborted.
  for (const auto& c : connections_) {
    if (c->id == link->second.connection && c->waiting) link->second.abort_requested = true;
  }
  return ErrorOnly(kLinkOk);
}

std::uint16_t Vxi11Server::PortOf(std::uint32_t program, std::uint32_t version) const {
  if (version != 1) return 0;
  if (program == kCoreProgram) return static_cast<std::uint16_t>(core_port_);
  if (program == kAbortProgram) return static_cast<std::uint16_t>(abort_port_);
  return 0;
}

std::string Vxi11Server::Portmap(const rpc::Call& call, rpc::AcceptStat* status) {
  rpc::XdrReader in(call.arguments);
  rpc::XdrWriter out;
  if (call.procedure == 0) return {};
  if (call.version == kPortmapVersion) {
    switch (call.procedure) {
      case 1:  // SET and UNSET: this portmapper serves the simulator only
      case 2:
        out.Bool(false);
        return out.Take();
      case 3: {  // GETPORT
        const std::uint32_t program = in.U32();
        const std::uint32_t version = in.U32();
        const std::uint32_t protocol = in.U32();
        out.U32(protocol == kTcp ? PortOf(program, version) : 0);
        break;
      }
      case 4:  // DUMP
        for (std::uint32_t program : {kCoreProgram, kAbortProgram}) {
          out.Bool(true);
          out.U32(program);
          out.U32(1);
          out.U32(kTcp);
          out.U32(PortOf(program, 1));
        }
        out.Bool(false);
        break;
      default:
        *status = rpc::kProcedureUnavailable;
        return {};
    }
  } else if (call.procedure == 3) {  // rpcbind GETADDR: universal address "h1.h2.h3.h4.p1.p2"
    const std::uint32_t program = in.U32();
    const std::uint32_t version = in.U32();
    const std::string_view netid = in.Opaque(64);
    const std::uint16_t port = netid == "tcp" ? PortOf(program, version) : 0;
    out.Opaque(port == 0
                   ? std::string()
                   : "127.0.0.1." + std::to_string(port >> 8) + "." + std::to_string(port & 0xFF));
  } else {
    *status = rpc::kProcedureUnavailable;
    return {};
  }
  if (!in.ok()) *status = rpc::kGarbageArguments;
  return out.Take();
}

void Vxi11Server::ServeDatagram() {
  for (;;) {
    std::array<char, 2048> buffer{};
    sockaddr_storage from{};
    socklen_t from_length = sizeof from;
    const ssize_t n = recvfrom(portmap_datagram_.get(), buffer.data(), buffer.size(), 0,
                               reinterpret_cast<sockaddr*>(&from), &from_length);
    if (n < 0) return;
    rpc::Call call;
    if (!rpc::ParseCall(std::string_view(buffer.data(), static_cast<std::size_t>(n)), &call)) {
      continue;
    }
    rpc::AcceptStat status = rpc::kSuccess;
    std::string results;
    if (call.program != kPortmapProgram) {
      status = rpc::kProgramUnavailable;
    } else if (call.version < 2 || call.version > 4) {
      status = rpc::kProgramMismatch;
    } else {
      results = Portmap(call, &status);
    }
    const std::string reply = rpc::AcceptedReply(call.xid, status, results, 2, 4);
    sendto(portmap_datagram_.get(), reply.data(), reply.size(), 0,
           reinterpret_cast<const sockaddr*>(&from), from_length);
  }
}

void Vxi11Server::DropConnection(Connection& c) {
  for (auto it = links_.begin(); it != links_.end();) {
    if (it->second.connection == c.id) {
      if (lock_holder_ == it->first) lock_holder_.reset();
      it = links_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace tqrsim
