// The instrument's bounded error queue (first in, first out) as read by :SYSTem:ERRor?.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace tqrsim {

struct QueuedError {
  int code = 0;
  std::string text;
};

class ErrorQueue {
 public:
  static constexpr std::size_t kDefaultCapacity = 16;

  explicit ErrorQueue(std::size_t capacity = kDefaultCapacity);

  // Adds an error with its standard text. When the queue is full, the newest entry is
  // replaced by -350 "Queue overflow" and later errors are lost until there is room.
  void Push(int code);
  // Removes and returns the oldest entry; 0 "No error" when empty.
  QueuedError Pop();
  // The SCPI reply for an entry: -113,"Undefined header".
  static std::string Format(const QueuedError& error);
  void Clear() { entries_.clear(); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  std::size_t capacity_;
  std::deque<QueuedError> entries_;
};

}  // namespace tqrsim
