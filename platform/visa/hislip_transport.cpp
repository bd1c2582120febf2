#include "platform/visa/hislip_transport.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/visa/deadline.h"
#include "platform/visa/message_attributes.h"
#include "platform/visa/resource_lock.h"
#include "platform/visa/stream_transport.h"
#include "platform/visa/tcp_connect.h"

namespace motqr::visa {
namespace {

enum MessageType : std::uint8_t {
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
  kInterrupted = 13,
  kAsyncInterrupted = 14,
  kAsyncMaximumMessageSize = 15,
  kAsyncMaximumMessageSizeResponse = 16,
  kAsyncInitialize = 17,
  kAsyncInitializeResponse = 18,
  kAsyncDeviceClear = 19,
  kAsyncServiceRequest = 20,
  kAsyncStatusQuery = 21,
  kAsyncStatusResponse = 22,
  kAsyncDeviceClearAcknowledge = 23,
};

constexpr std::size_t kHeaderSize = 16;
constexpr std::uint16_t kProtocolVersion = 0x0100;  // 1.0
constexpr std::uint16_t kVendorId = ('M' << 8) | 'Q';
constexpr std::uint32_t kFirstMessageId = 0xFFFFFF00u;
// The largest message taken from the instrument (the size announced to it).
constexpr std::uint64_t kMaxIncomingMessage = 64u << 20;
// The largest payload sent when the instrument names no limit.
constexpr std::uint64_t kDefaultOutgoingLimit = 1u << 20;
constexpr std::size_t kReceiveChunk = 64 * 1024;
// Time a lock request may take beyond its own time-out for the answer to arrive.
constexpr ViUInt32 kReplyGraceMs = 500;

struct Message {
  std::uint8_t type = 0;
  std::uint8_t control = 0;
  std::uint32_t parameter = 0;
  std::vector<std::uint8_t> payload;
};

std::string_view FatalErrorName(std::uint8_t code) {
  switch (code) {
    case 1:
      return "poorly formed message header";
    case 2:
      return "connection used without both channels established";
    case 3:
      return "invalid initialization sequence";
    case 4:
      return "too many clients";
    default:
      return "unidentified error";
  }
}

std::string_view ErrorName(std::uint8_t code) {
  switch (code) {
    case 1:
      return "unrecognized message type";
    case 2:
      return "unrecognized control code";
    case 3:
      return "unrecognized vendor-defined message";
    case 4:
      return "message too large";
    default:
      return "unidentified error";
  }
}

ViUInt32 WithGrace(ViUInt32 timeout_ms) {
  return timeout_ms >= VI_TMO_INFINITE - kReplyGraceMs ? VI_TMO_INFINITE
                                                       : timeout_ms + kReplyGraceMs;
}

// One of the two TCP connections: whole messages out, whole messages in.
class Channel {
 public:
  Channel(UniqueFd fd, std::string name) : fd_(std::move(fd)), name_(std::move(name)) {}

  bool open() const { return fd_.valid(); }
  void Close() {
    fd_.Reset();
    DiscardInput();
  }
  void DiscardInput() { inbox_begin_ = inbox_end_ = 0; }

  Status Send(std::uint8_t type, std::uint8_t control, std::uint32_t parameter,
              std::span<const std::uint8_t> payload, const Deadline& deadline);
  // The next whole message; VI_ERROR_TMO when none completed before the deadline (what
  // arrived stays for the next call).
  Status Receive(const Deadline& deadline, Message* message);

 private:
  Status Lost(std::string_view what) {
    Close();
    return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) + " The HiSLIP " +
                                          name_ + " " + std::string(what));
  }
  Status Wait(short events, const Deadline& deadline);
  bool TakeMessage(Message* message, Status* failure);
  // Moves the kept bytes to the front, growing the buffer to hold at least `needed` bytes.
  void MakeRoom(std::size_t needed);

  UniqueFd fd_;
  std::string name_;
  // Bytes received and not yet taken: [inbox_begin_, inbox_end_) of a buffer that grows only
  // for a message larger than it (never zero-filled).
  std::unique_ptr<std::uint8_t[]> inbox_ =
      std::make_unique_for_overwrite<std::uint8_t[]>(kReceiveChunk);
  std::size_t inbox_capacity_ = kReceiveChunk;
  std::size_t inbox_begin_ = 0;
  std::size_t inbox_end_ = 0;
};

Status Channel::Wait(short events, const Deadline& deadline) {
  while (true) {
    pollfd entry{fd_.get(), events, 0};
    const int ready = ::poll(&entry, 1, deadline.RemainingMs());
    if (ready > 0) return Status();
    if (ready == 0) return Status(VI_ERROR_TMO);
    if (errno != EINTR) return Status(VI_ERROR_IO, OsFailureText("poll", errno));
  }
}

Status Channel::Send(std::uint8_t type, std::uint8_t control, std::uint32_t parameter,
                     std::span<const std::uint8_t> payload, const Deadline& deadline) {
  if (!open()) return Lost("channel is closed.");
  std::array<std::uint8_t, kHeaderSize> header{'H', 'S', type, control};
  for (std::size_t i = 0; i < 4; ++i)
    header[4 + i] = static_cast<std::uint8_t>(parameter >> (24 - 8 * i));
  const std::uint64_t length = payload.size();
  for (std::size_t i = 0; i < 8; ++i)
    header[8 + i] = static_cast<std::uint8_t>(length >> (56 - 8 * i));
  std::array<iovec, 2> parts{iovec{header.data(), header.size()},
                             iovec{const_cast<std::uint8_t*>(payload.data()), payload.size()}};
  std::size_t part = 0;
  while (part < parts.size()) {
    msghdr out{};
    out.msg_iov = parts.data() + part;
    out.msg_iovlen = parts.size() - part;
    const ssize_t sent = ::sendmsg(fd_.get(), &out, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        Status waited = Wait(POLLOUT, deadline);
        if (!waited.ok()) return waited;
        continue;
      }
      if (errno == EPIPE || errno == ECONNRESET) return Lost("connection was closed.");
      return Status(VI_ERROR_IO, OsFailureText("send", errno));
    }
    auto left = static_cast<std::size_t>(sent);
    while (part < parts.size() && left >= parts[part].iov_len) {
      left -= parts[part].iov_len;
      ++part;
    }
    if (part < parts.size()) {
      parts[part].iov_base = static_cast<std::uint8_t*>(parts[part].iov_base) + left;
      parts[part].iov_len -= left;
    }
  }
  return Status();
}

void Channel::MakeRoom(std::size_t needed) {
  const std::size_t kept = inbox_end_ - inbox_begin_;
  if (needed > inbox_capacity_) {
    std::size_t capacity = inbox_capacity_;
    while (capacity < needed) capacity *= 2;
    auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    std::copy_n(inbox_.get() + inbox_begin_, kept, larger.get());
    inbox_ = std::move(larger);
    inbox_capacity_ = capacity;
  } else if (inbox_begin_ > 0) {
    std::memmove(inbox_.get(), inbox_.get() + inbox_begin_, kept);
  }
  inbox_begin_ = 0;
  inbox_end_ = kept;
}

bool Channel::TakeMessage(Message* message, Status* failure) {
  const std::size_t available = inbox_end_ - inbox_begin_;
  if (available < kHeaderSize) return false;
  const std::uint8_t* header = inbox_.get() + inbox_begin_;
  if (header[0] != 'H' || header[1] != 'S') {
    *failure = Status(VI_ERROR_IO, "The HiSLIP " + name_ +
                                       " received a message without the "
                                       "\"HS\" prologue.");
    Close();
    return true;
  }
  std::uint64_t length = 0;
  for (int i = 0; i < 8; ++i) length = (length << 8) | header[8 + i];
  if (length > kMaxIncomingMessage) {
    *failure = Status(VI_ERROR_IO, "The HiSLIP " + name_ + " received a message of " +
                                       std::to_string(length) + " bytes, more than " +
                                       std::to_string(kMaxIncomingMessage) + ".");
    Close();
    return true;
  }
  if (available - kHeaderSize < length) {
    MakeRoom(kHeaderSize + static_cast<std::size_t>(length));
    return false;
  }
  message->type = header[2];
  message->control = header[3];
  message->parameter = (std::uint32_t{header[4]} << 24) | (std::uint32_t{header[5]} << 16) |
                       (std::uint32_t{header[6]} << 8) | header[7];
  message->payload.assign(header + kHeaderSize, header + kHeaderSize + length);
  inbox_begin_ += kHeaderSize + length;
  if (inbox_begin_ == inbox_end_) DiscardInput();
  return true;
}

Status Channel::Receive(const Deadline& deadline, Message* message) {
  while (true) {
    if (!open()) return Lost("channel is closed.");
    Status failure;
    if (TakeMessage(message, &failure)) return failure;
    if (inbox_end_ == inbox_capacity_) MakeRoom(inbox_end_ - inbox_begin_ + kReceiveChunk);
    const ssize_t n =
        ::recv(fd_.get(), inbox_.get() + inbox_end_, inbox_capacity_ - inbox_end_, MSG_DONTWAIT);
    if (n > 0) {
      inbox_end_ += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0) return Lost("connection was closed by the instrument.");
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      if (errno == ECONNRESET) return Lost("connection was reset.");
      return Status(VI_ERROR_IO, OsFailureText("recv", errno));
    }
    MOTQR_VISA_RETURN_IF_ERROR(Wait(POLLIN, deadline));
  }
}

// Sessions to the same host and sub-address share process-local (shared) locks.
std::string LockKey(const ResourceName& name) {
  std::string key =
      "HISLIP::" + name.host + "::" + std::to_string(name.port) + "::" + name.lan_device;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

class HislipTransport final : public Transport {
 public:
  HislipTransport(const ResourceName& name, Channel sync, Channel async, std::uint64_t max_payload)
      : attributes_(VI_INTF_TCPIP, name.board),
        host_(name.host),
        sync_(std::move(sync)),
        async_(std::move(async)),
        max_payload_(max_payload),
        lock_(ResourceLock::For(LockKey(name))) {}
  ~HislipTransport() override { (void)Close(); }

  Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) override;
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override;
  Status Clear() override;
  Status ReadStatusByte(std::uint16_t* status_byte) override;
  Status AssertTrigger(ViUInt16 protocol) override;
  Status SetAttribute(ViAttr attribute, ViAttrState value) override;
  Status GetAttribute(ViAttr attribute, ViAttrState* value) override;
  Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
              std::string* access_key) override;
  Status Unlock() override;
  Status Close() override;

 private:
  Status CheckUsable() const;
  // Sends one message on the synchronous channel with the next message id.
  Status SendNumbered(std::uint8_t type, std::span<const std::uint8_t> payload,
                      const Deadline& deadline);
  // The control code carrying "a whole reply was delivered since the last message".
  std::uint8_t TakeDeliveredFlag() { return std::exchange(reply_delivered_, false) ? 1 : 0; }
  // Waits on the asynchronous channel for a message of `type`.
  Status AwaitAsync(std::uint8_t type, const Deadline& deadline, Message* message);
  // The failure an Error or FatalError message stands for.
  Status Reported(const Message& message);
  // Copies what is left of the current reply message into the caller's buffer.
  bool TakePending(std::span<std::uint8_t> buffer, ReadResult* result, Status* status);

  MessageAttributes attributes_;
  std::string host_;
  Channel sync_;
  Channel async_;
  std::uint64_t max_payload_;
  std::uint32_t next_message_id_ = kFirstMessageId;
  std::uint32_t last_message_id_ = kFirstMessageId - 2;  // the query a reply must answer
  bool reply_delivered_ = false;
  std::vector<std::uint8_t> pending_;  // payload of the reply message being read
  Message incoming_;                   // the message being received (its storage reused)
  std::size_t pending_begin_ = 0;
  bool pending_is_end_ = false;
  int exclusive_locks_ = 0;
  std::shared_ptr<ResourceLock> lock_;
};

Status HislipTransport::CheckUsable() const {
  if (!sync_.open() && !async_.open()) return ClosedStatus();
  return lock_->CheckAccess(this);
}

Status HislipTransport::Reported(const Message& message) {
  const std::string text(message.payload.begin(), message.payload.end());
  if (message.type == kFatalError) {
    sync_.Close();
    async_.Close();
    return Status(VI_ERROR_IO, "The instrument at " + host_ + " ended the HiSLIP session (" +
                                   std::string(FatalErrorName(message.control)) +
                                   (text.empty() ? "" : "): " + text) + ".");
  }
  return Status(VI_ERROR_IO, "The instrument at " + host_ + " reported a HiSLIP error (" +
                                 std::string(ErrorName(message.control)) +
                                 (text.empty() ? ")" : "): " + text) + ".");
}

Status HislipTransport::SendNumbered(std::uint8_t type, std::span<const std::uint8_t> payload,
                                     const Deadline& deadline) {
  const std::uint32_t id = next_message_id_;
  MOTQR_VISA_RETURN_IF_ERROR(sync_.Send(type, TakeDeliveredFlag(), id, payload, deadline));
  last_message_id_ = id;
  next_message_id_ += 2;
  return Status();
}

Status HislipTransport::Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) {
  *written = 0;
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  // A new message makes whatever is left of an earlier reply stale.
  pending_.clear();
  pending_begin_ = 0;
  do {
    const std::size_t left = data.size() - *written;
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, max_payload_));
    const bool last = chunk == left;
    MOTQR_VISA_RETURN_IF_ERROR(
        SendNumbered(last && end ? kDataEnd : kData, data.subspan(*written, chunk), deadline));
    *written += chunk;
  } while (*written < data.size());
  return Status();
}

bool HislipTransport::TakePending(std::span<std::uint8_t> buffer, ReadResult* result,
                                  Status* status) {
  bool at_termchar = false;
  pending_begin_ +=
      TakeUpToTermchar(std::span(pending_).subspan(pending_begin_), attributes_.termchar_enabled(),
                       attributes_.termchar(), buffer, result, &at_termchar);
  const bool message_done = pending_begin_ == pending_.size();
  if (message_done) {
    pending_.clear();
    pending_begin_ = 0;
  }
  if (at_termchar) {
    result->stop = ReadStop::kTermChar;
    *status = Status(VI_SUCCESS_TERM_CHAR);
  } else if (message_done && pending_is_end_) {
    result->stop = ReadStop::kEnd;
    *status = Status(VI_SUCCESS);
  } else if (result->count == buffer.size()) {
    result->stop = ReadStop::kCount;
    *status = Status(VI_SUCCESS_MAX_CNT);
  } else {
    return false;
  }
  if (message_done && pending_is_end_) reply_delivered_ = true;
  return true;
}

Status HislipTransport::Read(std::span<std::uint8_t> buffer, ReadResult* result) {
  *result = ReadResult{};
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  while (true) {
    Status status;
    if (!pending_.empty() && TakePending(buffer, result, &status)) return status;
    if (buffer.empty()) {
      result->stop = ReadStop::kCount;
      return Status(VI_SUCCESS_MAX_CNT);
    }
    Message& message = incoming_;
    status = sync_.Receive(deadline, &message);
    if (!status.ok()) {
      result->stop = status.code() == VI_ERROR_TMO ? ReadStop::kTimeout : ReadStop::kError;
      return status;
    }
    switch (message.type) {
      case kData:
      case kDataEnd:
        // Only the reply to the latest query counts; a late one for an earlier query is dropped.
        if (message.parameter != last_message_id_) break;
        std::swap(pending_, message.payload);  // both keep their storage for later messages
        pending_begin_ = 0;
        pending_is_end_ = message.type == kDataEnd;
        if (pending_.empty() && pending_is_end_) {
          reply_delivered_ = true;
          result->stop = ReadStop::kEnd;
          return Status(VI_SUCCESS);
        }
        break;
      case kError:
      case kFatalError:
        result->stop = ReadStop::kError;
        return Reported(message);
      default:
        break;  // Interrupted and anything else on this channel is not for a reader
    }
  }
}

Status HislipTransport::AwaitAsync(std::uint8_t type, const Deadline& deadline, Message* message) {
  while (true) {
    MOTQR_VISA_RETURN_IF_ERROR(async_.Receive(deadline, message));
    if (message->type == type) return Status();
    if (message->type == kError || message->type == kFatalError) return Reported(*message);
    // A service request or an interrupt notice is not the answer awaited.
  }
}

Status HislipTransport::Clear() {
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  MOTQR_VISA_RETURN_IF_ERROR(async_.Send(kAsyncDeviceClear, 0, 0, {}, deadline));
  Message message;
  MOTQR_VISA_RETURN_IF_ERROR(AwaitAsync(kAsyncDeviceClearAcknowledge, deadline, &message));
  // Ask for the mode the instrument offered; everything before its acknowledgement is stale.
  MOTQR_VISA_RETURN_IF_ERROR(sync_.Send(kDeviceClearComplete, message.control, 0, {}, deadline));
  do {
    MOTQR_VISA_RETURN_IF_ERROR(sync_.Receive(deadline, &message));
    if (message.type == kFatalError) return Reported(message);
  } while (message.type != kDeviceClearAcknowledge);
  next_message_id_ = kFirstMessageId;
  last_message_id_ = kFirstMessageId - 2;
  reply_delivered_ = false;
  pending_.clear();
  pending_begin_ = 0;
  return Status();
}

Status HislipTransport::ReadStatusByte(std::uint16_t* status_byte) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  const Deadline deadline(attributes_.timeout_ms());
  MOTQR_VISA_RETURN_IF_ERROR(
      async_.Send(kAsyncStatusQuery, TakeDeliveredFlag(), last_message_id_, {}, deadline));
  Message message;
  MOTQR_VISA_RETURN_IF_ERROR(AwaitAsync(kAsyncStatusResponse, deadline, &message));
  *status_byte = message.control;
  return Status();
}

Status HislipTransport::AssertTrigger(ViUInt16 protocol) {
  MOTQR_VISA_RETURN_IF_ERROR(CheckDefaultTriggerProtocol(protocol));
  MOTQR_VISA_RETURN_IF_ERROR(CheckUsable());
  return SendNumbered(kTrigger, {}, Deadline(attributes_.timeout_ms()));
}

Status HislipTransport::SetAttribute(ViAttr attribute, ViAttrState value) {
  if (!sync_.open() && !async_.open()) return ClosedStatus();
  return attributes_.Set(attribute, value);
}

Status HislipTransport::GetAttribute(ViAttr attribute, ViAttrState* value) {
  if (!sync_.open() && !async_.open()) return ClosedStatus();
  return attributes_.Get(attribute, value);
}

Status HislipTransport::Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
                             std::string* access_key) {
  access_key->clear();
  if (!sync_.open() && !async_.open()) return ClosedStatus();
  if (mode == VI_SHARED_LOCK) return lock_->Lock(this, mode, timeout_ms, requested_key, access_key);
  if (mode != VI_EXCLUSIVE_LOCK) return Status(VI_ERROR_INV_LOCK_TYPE);
  if (exclusive_locks_ > 0) {
    ++exclusive_locks_;
    return Status(VI_SUCCESS_NESTED_EXCLUSIVE);
  }
  const Deadline deadline(WithGrace(timeout_ms));
  MOTQR_VISA_RETURN_IF_ERROR(async_.Send(kAsyncLock, 1, timeout_ms, {}, deadline));
  Message message;
  MOTQR_VISA_RETURN_IF_ERROR(AwaitAsync(kAsyncLockResponse, deadline, &message));
  if (message.control == 1) {
    exclusive_locks_ = 1;
    return Status();
  }
  if (message.control == 0) {
    return Status(VI_ERROR_RSRC_LOCKED, "The instrument at " + host_ +
                                            " stayed locked by another client for " +
                                            std::to_string(timeout_ms) + " ms.");
  }
  return Status(VI_ERROR_IO, "The instrument at " + host_ + " refused the lock request.");
}

Status HislipTransport::Unlock() {
  if (!sync_.open() && !async_.open()) return ClosedStatus();
  if (exclusive_locks_ > 1) {
    --exclusive_locks_;
    return Status();
  }
  if (exclusive_locks_ == 0) return lock_->Unlock(this);
  const Deadline deadline(attributes_.timeout_ms());
  MOTQR_VISA_RETURN_IF_ERROR(async_.Send(kAsyncLock, 0, last_message_id_, {}, deadline));
  Message message;
  MOTQR_VISA_RETURN_IF_ERROR(AwaitAsync(kAsyncLockResponse, deadline, &message));
  exclusive_locks_ = 0;
  if (message.control == 1 || message.control == 2) return Status();
  return Status(VI_ERROR_SESN_NLOCKED, "The instrument at " + host_ + " held no lock of ours.");
}

Status HislipTransport::Close() {
  lock_->ReleaseAll(this);
  sync_.Close();
  async_.Close();
  return Status();
}

std::uint64_t BigEndian64(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 8 && i < bytes.size(); ++i) value = (value << 8) | bytes[i];
  return value;
}

// Receives the answer to an opening step; an Error or FatalError becomes the failure.
Status AwaitOpening(Channel& channel, std::uint8_t type, const std::string& host,
                    const Deadline& deadline, Message* message) {
  MOTQR_VISA_RETURN_IF_ERROR(channel.Receive(deadline, message));
  if (message->type == type) return Status();
  const std::string text(message->payload.begin(), message->payload.end());
  if (message->type == kFatalError || message->type == kError) {
    return Status(VI_ERROR_RSRC_NFOUND,
                  "The instrument at " + host + " refused the HiSLIP session (" +
                      std::string(message->type == kFatalError ? FatalErrorName(message->control)
                                                               : ErrorName(message->control)) +
                      (text.empty() ? ")" : "): " + text) + ".");
  }
  return Status(VI_ERROR_IO, "The instrument at " + host + " answered HiSLIP message type " +
                                 std::to_string(message->type) + " when " + std::to_string(type) +
                                 " was due.");
}

}  // namespace

Status OpenHislipTransport(const ResourceName& name, ViUInt32 open_timeout_ms,
                           std::unique_ptr<Transport>* transport) {
  const Deadline deadline(open_timeout_ms);
  UniqueFd sync_fd;
  MOTQR_VISA_RETURN_IF_ERROR(ConnectTcp(name.host, name.port, deadline, open_timeout_ms, &sync_fd));
  Channel sync(std::move(sync_fd), "synchronous channel");
  const std::uint32_t hello = (std::uint32_t{kProtocolVersion} << 16) | kVendorId;
  MOTQR_VISA_RETURN_IF_ERROR(sync.Send(kInitialize, 0, hello, AsBytes(name.lan_device), deadline));
  Message message;
  MOTQR_VISA_RETURN_IF_ERROR(
      AwaitOpening(sync, kInitializeResponse, name.host, deadline, &message));
  const std::uint32_t session_id = message.parameter & 0xFFFFu;

  UniqueFd async_fd;
  MOTQR_VISA_RETURN_IF_ERROR(
      ConnectTcp(name.host, name.port, deadline, open_timeout_ms, &async_fd));
  Channel async(std::move(async_fd), "asynchronous channel");
  MOTQR_VISA_RETURN_IF_ERROR(async.Send(kAsyncInitialize, 0, session_id, {}, deadline));
  MOTQR_VISA_RETURN_IF_ERROR(
      AwaitOpening(async, kAsyncInitializeResponse, name.host, deadline, &message));

  std::array<std::uint8_t, 8> our_limit{};
  for (int i = 0; i < 8; ++i) {
    our_limit[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(kMaxIncomingMessage >> (56 - 8 * i));
  }
  MOTQR_VISA_RETURN_IF_ERROR(async.Send(kAsyncMaximumMessageSize, 0, 0, our_limit, deadline));
  MOTQR_VISA_RETURN_IF_ERROR(
      AwaitOpening(async, kAsyncMaximumMessageSizeResponse, name.host, deadline, &message));
  // The instrument's limit counts the whole message, header included.
  const std::uint64_t their_limit = BigEndian64(message.payload);
  const std::uint64_t max_payload =
      their_limit > kHeaderSize ? their_limit - kHeaderSize : kDefaultOutgoingLimit;
  *transport =
      std::make_unique<HislipTransport>(name, std::move(sync), std::move(async), max_payload);
  return Status();
}

}  // namespace motqr::visa
