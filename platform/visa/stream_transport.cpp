#include "platform/visa/stream_transport.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "platform/visa/deadline.h"

namespace motqr::visa {
namespace {

constexpr std::string_view kStatusByteQuery = "*STB?\n";
constexpr std::string_view kTriggerCommand = "*TRG\n";
// Longest status byte reply accepted ("+255\r\n" and some blanks).
constexpr std::size_t kStatusByteReplyLimit = 32;

// Waits until `fd` is ready for `events` or the deadline passes.
Status WaitFor(int fd, short events, const Deadline& deadline) {
  while (true) {
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, deadline.RemainingMs());
    if (ready > 0) return Status();
    if (ready == 0) return Status(VI_ERROR_TMO);
    if (errno != EINTR) return Status(VI_ERROR_IO, OsFailureText("poll", errno));
    if (deadline.Expired()) return Status(VI_ERROR_TMO);
  }
}

bool IsRetry(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

bool ParseStatusByte(std::string_view reply, std::uint16_t* value) {
  while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r' || reply.back() == ' ')) {
    reply.remove_suffix(1);
  }
  while (!reply.empty() && reply.front() == ' ') reply.remove_prefix(1);
  if (!reply.empty() && reply.front() == '+') reply.remove_prefix(1);
  unsigned parsed = 0;
  auto [end, ec] = std::from_chars(reply.data(), reply.data() + reply.size(), parsed);
  if (reply.empty() || ec != std::errc() || end != reply.data() + reply.size() || parsed > 255) {
    return false;
  }
  *value = static_cast<std::uint16_t>(parsed);
  return true;
}

}  // namespace

Status ClosedStatus() { return Status(VI_ERROR_INV_OBJECT, "The VISA session is closed."); }

std::string OsFailureText(std::string_view what, int error) {
  return std::string(what) + ": " + OsErrorText(error) + ".";
}

StreamTransport::StreamTransport(UniqueFd fd, InterfaceType type, std::uint16_t board,
                                 const std::string& lock_key)
    : fd_(std::move(fd)),
      attributes_(static_cast<ViUInt16>(type), board),
      lock_(ResourceLock::For(lock_key)) {}

StreamTransport::~StreamTransport() { lock_->ReleaseAll(this); }

StreamTransport::Framing StreamTransport::ReadFraming() const {
  return Framing{termchar_enabled(), VI_SUCCESS_TERM_CHAR};
}

Status StreamTransport::TransferFailure(int error, std::string_view what) const {
  if (error == EPIPE || error == ECONNRESET || error == ECONNABORTED || error == ENOTCONN ||
      error == EIO || error == ETIMEDOUT || error == EHOSTUNREACH || error == ENETUNREACH) {
    return Status(VI_ERROR_CONN_LOST,
                  StatusDescription(VI_ERROR_CONN_LOST) + " " + OsFailureText(what, error));
  }
  return Status(VI_ERROR_IO, OsFailureText(what, error));
}

Status StreamTransport::SendAll(std::span<const std::uint8_t> data, std::size_t* written) {
  *written = 0;
  const DeadlineAtFirstWait deadline(timeout_ms());
  while (*written < data.size()) {
    const long sent = SendSome(data.data() + *written, data.size() - *written);
    if (sent > 0) {
      *written += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && !IsRetry(errno)) return TransferFailure(errno, "write");
    MOTQR_VISA_RETURN_IF_ERROR(WaitFor(fd(), POLLOUT, deadline.get()));
  }
  return Status();
}

Status StreamTransport::Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) {
  *written = 0;
  if (!is_open()) return ClosedStatus();
  MOTQR_VISA_RETURN_IF_ERROR(lock_->CheckAccess(this));
  MOTQR_VISA_RETURN_IF_ERROR(SendAll(data, written));
  if (end) return FinishEnd();
  return Status();
}

bool StreamTransport::TakeFromReadAhead(std::span<std::uint8_t> buffer, Framing framing,
                                        ReadResult* result) {
  bool at_termchar = false;
  pending_begin_ += TakeUpToTermchar(
      std::span<const std::uint8_t>(read_ahead_.data() + pending_begin_, read_ahead_size()),
      framing.stop_at_termchar, termchar(), buffer, result, &at_termchar);
  if (pending_begin_ == pending_end_) DiscardReadAhead();
  return at_termchar;
}

// Receives at least one byte into [into, into + size) within the deadline.
Status StreamTransport::ReceiveSome(std::uint8_t* into, std::size_t size,
                                    const DeadlineAtFirstWait& deadline, std::size_t* received) {
  while (true) {
    const long n = RecvSome(into, size);
    if (n > 0) {
      *received = static_cast<std::size_t>(n);
      return Status();
    }
    if (n == 0) {
      return Status(VI_ERROR_CONN_LOST, StatusDescription(VI_ERROR_CONN_LOST) +
                                            " The instrument closed the connection.");
    }
    if (!IsRetry(errno)) return TransferFailure(errno, "read");
    MOTQR_VISA_RETURN_IF_ERROR(WaitFor(fd(), POLLIN, deadline.get()));
  }
}

Status StreamTransport::FillReadAhead(const DeadlineAtFirstWait& deadline) {
  std::size_t received = 0;
  MOTQR_VISA_RETURN_IF_ERROR(ReceiveSome(read_ahead_.data() + pending_end_,
                                         read_ahead_.size() - pending_end_, deadline, &received));
  pending_end_ += received;
  return Status();
}

Status StreamTransport::ReadFramed(std::span<std::uint8_t> buffer, Framing framing,
                                   ReadResult* result) {
  *result = ReadResult{};
  if (!is_open()) return ClosedStatus();
  MOTQR_VISA_RETURN_IF_ERROR(lock_->CheckAccess(this));
  const DeadlineAtFirstWait deadline(timeout_ms());
  while (true) {
    if (TakeFromReadAhead(buffer, framing, result)) {
      result->stop = framing.termchar_status == VI_SUCCESS ? ReadStop::kEnd : ReadStop::kTermChar;
      return Status(framing.termchar_status);
    }
    if (result->count == buffer.size()) {
      result->stop = ReadStop::kCount;
      return Status(VI_SUCCESS_MAX_CNT);
    }
    // The read-ahead is empty here. A read that does not stop at the termination character
    // and has room for more than the read-ahead holds takes the bytes straight from the line;
    // others go through the read-ahead.
    const std::size_t room = buffer.size() - result->count;
    Status status;
    if (!framing.stop_at_termchar && room >= read_ahead_.size()) {
      std::size_t received = 0;
      status = ReceiveSome(buffer.data() + result->count, room, deadline, &received);
      result->count += received;
    } else {
      status = FillReadAhead(deadline);
    }
    if (!status.ok()) {
      result->stop = status.code() == VI_ERROR_TMO ? ReadStop::kTimeout : ReadStop::kError;
      return status;
    }
  }
}

Status StreamTransport::Read(std::span<std::uint8_t> buffer, ReadResult* result) {
  return ReadFramed(buffer, ReadFraming(), result);
}

Status StreamTransport::Clear() {
  if (!is_open()) return ClosedStatus();
  MOTQR_VISA_RETURN_IF_ERROR(lock_->CheckAccess(this));
  DiscardReadAhead();
  return DiscardDeviceInput();
}

Status StreamTransport::ReadStatusByte(std::uint16_t* status_byte) {
  if (!is_open()) return ClosedStatus();
  std::size_t written = 0;
  MOTQR_VISA_RETURN_IF_ERROR(Write(AsBytes(kStatusByteQuery), true, &written));
  std::array<std::uint8_t, kStatusByteReplyLimit> reply{};
  ReadResult result;
  Status status = ReadFramed(reply, Framing{true, VI_SUCCESS_TERM_CHAR}, &result);
  if (!status.ok()) return status;
  const std::string_view text(reinterpret_cast<const char*>(reply.data()), result.count);
  if (result.stop != ReadStop::kTermChar || !ParseStatusByte(text, status_byte)) {
    return Status(VI_ERROR_IO,
                  "The status byte reply \"" + std::string(text) + "\" is not a number 0 to 255.");
  }
  return Status();
}

Status StreamTransport::AssertTrigger(ViUInt16 protocol) {
  if (!is_open()) return ClosedStatus();
  MOTQR_VISA_RETURN_IF_ERROR(CheckDefaultTriggerProtocol(protocol));
  std::size_t written = 0;
  return Write(AsBytes(kTriggerCommand), true, &written);
}

// The common attributes live in `attributes_`; what it does not keep goes to the
// transport's own extra attributes.
Status StreamTransport::SetAttribute(ViAttr attribute, ViAttrState value) {
  if (!is_open()) return ClosedStatus();
  Status status = attributes_.Set(attribute, value);
  if (status.code() != VI_ERROR_NSUP_ATTR) return status;
  return SetExtraAttribute(attribute, value);
}

Status StreamTransport::GetAttribute(ViAttr attribute, ViAttrState* value) {
  if (!is_open()) return ClosedStatus();
  Status status = attributes_.Get(attribute, value);
  if (status.code() != VI_ERROR_NSUP_ATTR) return status;
  return GetExtraAttribute(attribute, value);
}

Status StreamTransport::SetExtraAttribute(ViAttr, ViAttrState) {
  return Status(VI_ERROR_NSUP_ATTR);
}

Status StreamTransport::GetExtraAttribute(ViAttr, ViAttrState*) {
  return Status(VI_ERROR_NSUP_ATTR);
}

Status StreamTransport::Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
                             std::string* access_key) {
  access_key->clear();
  if (!is_open()) return ClosedStatus();
  return lock_->Lock(this, mode, timeout_ms, requested_key, access_key);
}

Status StreamTransport::Unlock() {
  if (!is_open()) return ClosedStatus();
  return lock_->Unlock(this);
}

Status StreamTransport::Close() {
  lock_->ReleaseAll(this);
  DiscardReadAhead();
  if (fd_.Reset() != 0) return Status(VI_ERROR_CLOSING_FAILED, OsFailureText("close", errno));
  return Status();
}

}  // namespace motqr::visa
