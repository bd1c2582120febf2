#include "sim/message_session.h"

#include <algorithm>

namespace tqrsim {

void MessageSession::Write(std::string_view data, bool end) {
  if (!data.empty()) {
    framer_.Feed(data);
    last_was_newline_ = data.back() == '\n';
  }
  if (end && !last_was_newline_) {
    framer_.Feed("\n");
    last_was_newline_ = true;
  }
  std::string message;
  bool too_long = false;
  while (!drop_requested_ && framer_.Take(message, too_long)) {
    if (too_long) {
      instrument_.ReportMessageTooLong();
      continue;
    }
    Handle(message);
  }
}

void MessageSession::Handle(const std::string& message) {
  ++messages_;
  if (faults_.stall_after >= 0 && messages_ > faults_.stall_after) return;
  if (reply_) {
    reply_.reset();
    instrument_.ReportQueryInterrupted();
  }
  Reply reply = instrument_.Process(message);
  if (reply.present) {
    std::string bytes = faults_.garbage ? garbage_.Next(reply.text.size()) : std::move(reply.text);
    bytes.push_back('\n');
    reply_ =
        HeldReply{Clock::now() + std::chrono::milliseconds(faults_.delay_ms), std::move(bytes), 0};
  }
  if (faults_.drop_after >= 0 && messages_ >= faults_.drop_after) drop_requested_ = true;
}

std::string_view MessageSession::Readable(Clock::time_point now) const {
  if (!reply_ || reply_->due > now) return {};
  return std::string_view(reply_->bytes).substr(reply_->read);
}

void MessageSession::Consume(std::size_t count) {
  if (!reply_) return;
  reply_->read = std::min(reply_->bytes.size(), reply_->read + count);
  if (reply_->read == reply_->bytes.size()) reply_.reset();
}

std::optional<MessageSession::Clock::time_point> MessageSession::ReplyDue() const {
  if (!reply_) return std::nullopt;
  return reply_->due;
}

std::uint8_t MessageSession::StatusByte() const {
  constexpr unsigned kMav = 0x10;
  constexpr unsigned kRqs = 0x40;
  unsigned stb = instrument_.StatusByte() & ~(kMav | kRqs);
  if (reply_) stb |= kMav;
  if ((stb & instrument_.events().sre()) != 0) stb |= kRqs;
  return static_cast<std::uint8_t>(stb);
}

void MessageSession::Clear() {
  framer_.Reset();
  reply_.reset();
  last_was_newline_ = true;
}

}  // namespace tqrsim
