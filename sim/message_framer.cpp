#include "sim/message_framer.h"

namespace tqrsim {

void MessageFramer::Reset() {
  buffer_.clear();
  scanned_ = 0;
  state_ = State::kText;
  digits_left_ = 0;
  block_left_ = 0;
  block_end_ = 0;
  overflowed_ = false;
}

void MessageFramer::Feed(std::string_view bytes) { buffer_.append(bytes); }

// Advances the scanner over the buffer; true with `end` at the terminating newline.
bool MessageFramer::Scan(std::size_t& end) {
  while (scanned_ < buffer_.size()) {
    char c = buffer_[scanned_];
    switch (state_) {
      case State::kText:
        if (c == '\n') {
          end = scanned_;
          return true;
        }
        if (c == '"' || c == '\'') {
          state_ = State::kQuote;
          quote_ = c;
        } else if (c == '#') {
          state_ = State::kHash;
        }
        break;
      case State::kQuote:
        if (c == '\n') {
          state_ = State::kText;
          end = scanned_;
          return true;
        }
        if (c == quote_) state_ = State::kText;
        break;
      case State::kHash:
        if (c >= '1' && c <= '9') {
          digits_left_ = c - '0';
          block_left_ = 0;
          state_ = State::kBlockDigits;
        } else {
          // #0 (indefinite) and #H/#Q/#B run to the newline like text.
          state_ = State::kText;
          if (c == '\n') {
            end = scanned_;
            return true;
          }
        }
        break;
      case State::kBlockDigits:
        if (c < '0' || c > '9') {
          state_ = State::kText;  // malformed header; the lexer reports it
          continue;               // look at this character again as text
        }
        if (block_left_ > limit_) block_left_ = limit_ + 1;  // bounded arithmetic
        block_left_ = block_left_ * 10 + static_cast<std::size_t>(c - '0');
        if (--digits_left_ == 0) state_ = block_left_ > 0 ? State::kBlockData : State::kText;
        break;
      case State::kBlockData: {
        std::size_t available = buffer_.size() - scanned_;
        std::size_t take = available < block_left_ ? available : block_left_;
        scanned_ += take;
        block_left_ -= take;
        if (block_left_ == 0) {
          state_ = State::kText;
          block_end_ = scanned_;
        }
        continue;
      }
    }
    ++scanned_;
  }
  return false;
}

bool MessageFramer::Take(std::string& message, bool& too_long) {
  too_long = false;
  std::size_t end = 0;
  bool complete = Scan(end);
  if (!complete) {
    if (buffer_.size() > limit_) {
      // Drop what we have and everything up to the next terminator.
      overflowed_ = true;
      buffer_.clear();
      scanned_ = 0;
    }
    return false;
  }
  if (overflowed_ || end > limit_) {
    buffer_.erase(0, end + 1);
    scanned_ = 0;
    state_ = State::kText;
    overflowed_ = false;
    block_end_ = 0;
    message.clear();
    too_long = true;
    return true;
  }
  message.assign(buffer_, 0, end);
  // A CR before the newline is part of the terminator, unless it was block data.
  if (!message.empty() && message.back() == '\r' && end > block_end_) message.pop_back();
  buffer_.erase(0, end + 1);
  scanned_ = 0;
  block_end_ = 0;
  state_ = State::kText;
  return true;
}

}  // namespace tqrsim
