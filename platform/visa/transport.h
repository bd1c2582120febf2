// The byte transport under a VISA session: one open connection to one instrument.
//
//   std::unique_ptr<motqr::visa::Transport> transport;
//   motqr::visa::Status status = motqr::visa::OpenTransport(name, {}, &transport);
//   std::size_t written = 0;
//   status = transport->Write(AsBytes("*IDN?\n"), /*end=*/true, &written);
//   std::array<std::uint8_t, 256> reply;
//   motqr::visa::ReadResult read;
//   status = transport->Read(reply, &read);  // VI_SUCCESS_TERM_CHAR, read.count bytes
//
// Every operation returns a VISA completion or error code with a readable text. Reads and
// writes honour the session time-out (VI_ATTR_TMO_VALUE, milliseconds, default 2000). A
// transport is used by one session at a time: callers serialize their calls.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

// Why a read stopped.
enum class ReadStop : std::uint8_t {
  kEnd,       // END indicator (VI_SUCCESS)
  kTermChar,  // the enabled termination character (VI_SUCCESS_TERM_CHAR)
  kCount,     // the buffer is full (VI_SUCCESS_MAX_CNT)
  kTimeout,   // the time-out expired (VI_ERROR_TMO)
  kError,     // any other failure
};

struct ReadResult {
  std::size_t count = 0;  // bytes stored, also when the read failed part-way
  ReadStop stop = ReadStop::kError;
};

// Copies into `buffer`, after the `result->count` bytes it holds, as many bytes of
// `from` as fit, but no further than the first `termchar` when `stop_at_termchar`;
// adds them to `result->count` and returns how many were taken. `*at_termchar`
// tells whether the copy ended with the termination character.
inline std::size_t TakeUpToTermchar(std::span<const std::uint8_t> from, bool stop_at_termchar,
                                    std::uint8_t termchar, std::span<std::uint8_t> buffer,
                                    ReadResult* result, bool* at_termchar) {
  std::size_t take = std::min(buffer.size() - result->count, from.size());
  *at_termchar = false;
  if (stop_at_termchar) {
    const void* found = std::memchr(from.data(), termchar, take);
    if (found != nullptr) {
      take = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - from.data()) + 1;
      *at_termchar = true;
    }
  }
  std::copy_n(from.data(), take, buffer.data() + result->count);
  result->count += take;
  return take;
}

// A trigger protocol other than VI_TRIG_PROT_DEFAULT, which is the only one the
// built-in interfaces have, is an invalid parameter.
inline Status CheckDefaultTriggerProtocol(ViUInt16 protocol) {
  if (protocol == VI_TRIG_PROT_DEFAULT) return Status();
  return Status(VI_ERROR_INV_PARAMETER,
                "Only the default trigger protocol is available on this interface.");
}

class Transport {
 public:
  virtual ~Transport() = default;
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;

  // Sends all of `data`, asserting END with the last byte when `end` is set. `written` receives
  // the number of bytes sent, also on failure.
  virtual Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) = 0;
  // Reads up to `buffer.size()` bytes. Success codes: VI_SUCCESS (END), VI_SUCCESS_TERM_CHAR,
  // VI_SUCCESS_MAX_CNT; VI_ERROR_TMO when the time-out expires first.
  virtual Status Read(std::span<std::uint8_t> buffer, ReadResult* result) = 0;
  // Device clear: discards pending input (and output where the interface allows).
  virtual Status Clear() = 0;
  // The IEEE 488 status byte; message-based lines ask "*STB?" in text.
  virtual Status ReadStatusByte(std::uint16_t* status_byte) = 0;
  virtual Status AssertTrigger(ViUInt16 protocol) = 0;
  // Numeric attributes (VI_ATTR_*); string attributes are answered by the session object.
  virtual Status SetAttribute(ViAttr attribute, ViAttrState value) = 0;
  virtual Status GetAttribute(ViAttr attribute, ViAttrState* value) = 0;
  virtual Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
                      std::string* access_key) = 0;
  virtual Status Unlock() = 0;
  // Releases the connection; later calls fail with VI_ERROR_INV_OBJECT. Closing twice is fine.
  virtual Status Close() = 0;

  // Typed shorthands for the common attributes.
  Status SetTimeout(ViUInt32 milliseconds) { return SetAttribute(VI_ATTR_TMO_VALUE, milliseconds); }
  Status SetTerminationCharacter(std::uint8_t c) { return SetAttribute(VI_ATTR_TERMCHAR, c); }
  Status SetTerminationCharacterEnabled(bool on) { return SetAttribute(VI_ATTR_TERMCHAR_EN, on); }
  Status SetSendEndEnabled(bool on) { return SetAttribute(VI_ATTR_SEND_END_EN, on); }

 protected:
  Transport() = default;
};

// The bytes of a text, for Write.
inline std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Status of an operation on a closed transport.
Status ClosedStatus();

}  // namespace motqr::visa
