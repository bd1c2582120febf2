// Cuts a byte stream into newline-terminated program messages. A newline inside a
// definite-length block is data, not a terminator; an indefinite block (#0) ends at the
// next newline. Quotes do not hide a newline, so a stray quote cannot swallow the stream.
// Messages longer than the limit are dropped whole and reported as too long.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tqrsim {

class MessageFramer {
 public:
  static constexpr std::size_t kDefaultLimit = 1u << 20;

  explicit MessageFramer(std::size_t limit = kDefaultLimit) : limit_(limit) {}

  // Adds received bytes.
  void Feed(std::string_view bytes);
  // Takes the next complete message (without its newline and any CR before it).
  // `too_long` is set when a message over the limit was dropped in its place.
  bool Take(std::string& message, bool& too_long);
  void Reset();

 private:
  enum class State { kText, kQuote, kHash, kBlockDigits, kBlockData };

  bool Scan(std::size_t& end);

  std::size_t limit_;
  std::string buffer_;
  std::size_t scanned_ = 0;
  State state_ = State::kText;
  char quote_ = '\0';
  int digits_left_ = 0;
  std::size_t block_left_ = 0;
  std::size_t block_end_ = 0;  // buffer offset just after the last block's data
  bool overflowed_ = false;
};

}  // namespace tqrsim
