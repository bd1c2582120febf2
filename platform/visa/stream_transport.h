// The part shared by the built-in transports over a file descriptor (TCP socket, serial line):
// non-blocking I/O with poll() time-outs, a read-ahead buffer so a read can stop at the
// termination character without reading byte by byte, "*STB?"/"*TRG" as text, the common
// attributes and VISA locks (an I/O operation on a resource another session has locked fails
// with VI_ERROR_RSRC_LOCKED).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/visa/message_attributes.h"
#include "platform/visa/resource_lock.h"
#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"
#include "platform/visa/unique_fd.h"

namespace motqr::visa {

class StreamTransport : public Transport {
 public:
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

 protected:
  // How a read treats the termination character.
  struct Framing {
    bool stop_at_termchar = false;
    ViStatus termchar_status = VI_SUCCESS_TERM_CHAR;
  };

  // `lock_key` names the resource for locking: sessions that open the same key share locks.
  StreamTransport(UniqueFd fd, InterfaceType type, std::uint16_t board,
                  const std::string& lock_key);
  ~StreamTransport() override;

  // One non-blocking transfer; -1 with errno set on failure, 0 from RecvSome at end of stream.
  virtual long RecvSome(std::uint8_t* data, std::size_t size) = 0;
  virtual long SendSome(const std::uint8_t* data, std::size_t size) = 0;
  virtual Framing ReadFraming() const;
  // Runs after the data of a write that asserts END (a serial line may append or break).
  virtual Status FinishEnd() { return Status(); }
  virtual Status DiscardDeviceInput() = 0;
  // Attributes beyond the common ones; VI_ERROR_NSUP_ATTR when unknown.
  virtual Status SetExtraAttribute(ViAttr attribute, ViAttrState value);
  virtual Status GetExtraAttribute(ViAttr attribute, ViAttrState* value);
  // The failure for errno `error` from a transfer; `what` names the operation.
  virtual Status TransferFailure(int error, std::string_view what) const;

  int fd() const { return fd_.get(); }
  bool is_open() const { return fd_.valid(); }
  std::uint8_t termchar() const { return attributes_.termchar(); }
  bool termchar_enabled() const { return attributes_.termchar_enabled(); }
  ViUInt32 timeout_ms() const { return attributes_.timeout_ms(); }
  void DiscardReadAhead() { pending_begin_ = pending_end_ = 0; }
  std::size_t read_ahead_size() const { return pending_end_ - pending_begin_; }
  // Sends all bytes within the time-out (no END handling).
  Status SendAll(std::span<const std::uint8_t> data, std::size_t* written);

 private:
  Status ReadFramed(std::span<std::uint8_t> buffer, Framing framing, ReadResult* result);
  Status FillReadAhead(const class DeadlineAtFirstWait& deadline);
  Status ReceiveSome(std::uint8_t* into, std::size_t size,
                     const class DeadlineAtFirstWait& deadline, std::size_t* received);
  bool TakeFromReadAhead(std::span<std::uint8_t> buffer, Framing framing, ReadResult* result);

  UniqueFd fd_;
  MessageAttributes attributes_;
  std::shared_ptr<ResourceLock> lock_;
  // Large enough that a long text reply takes few receive calls.
  std::array<std::uint8_t, 65536> read_ahead_{};
  std::size_t pending_begin_ = 0;
  std::size_t pending_end_ = 0;
};

// A readable text for a failed poll/send/recv: "<what>: <OS text>".
std::string OsFailureText(std::string_view what, int error);

}  // namespace motqr::visa
