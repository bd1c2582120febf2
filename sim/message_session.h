// One client's exchange of program messages with the instrument over a message-based
// protocol (a VXI-11 link, a HiSLIP session): bytes in, a message complete at END, the reply
// held until it is read. The fault options act here as they do on a raw socket: stall after N
// messages, drop after N, replies late or garbled. A new message while a reply is unread
// drops that reply (-410).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/instrument.h"
#include "sim/message_framer.h"
#include "sim/server.h"

namespace tqrsim {

class MessageSession {
 public:
  using Clock = std::chrono::steady_clock;

  MessageSession(Instrument& instrument, const FaultOptions& faults, std::size_t message_limit)
      : instrument_(instrument), faults_(faults), framer_(message_limit) {}

  // Takes data of a message; `end` completes the message (a newline is added when missing).
  void Write(std::string_view data, bool end);
  // The reply bytes readable now (its delay has passed), from the read position on.
  std::string_view Readable(Clock::time_point now) const;
  // Marks `count` readable bytes read; the reply is gone once all of it was read.
  void Consume(std::size_t count);
  // When the held reply becomes readable, if one is held and not yet due.
  std::optional<Clock::time_point> ReplyDue() const;
  bool HasReply() const { return reply_.has_value(); }
  // The status byte as this client sees it: MAV (bit 4) while its reply is unread.
  std::uint8_t StatusByte() const;
  // Device clear: input, held reply and partial message are discarded.
  void Clear();
  // The drop-after count was reached: the connection is to close once the reply is read.
  bool drop_requested() const { return drop_requested_; }

 private:
  struct HeldReply {
    Clock::time_point due;
    std::string bytes;
    std::size_t read = 0;
  };

  void Handle(const std::string& message);

  Instrument& instrument_;
  FaultOptions faults_;
  MessageFramer framer_;
  long messages_ = 0;
  bool last_was_newline_ = true;
  std::optional<HeldReply> reply_;
  bool drop_requested_ = false;
  GarbledText garbage_{4242u};
};

}  // namespace tqrsim
