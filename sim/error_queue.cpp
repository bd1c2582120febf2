#include "sim/error_queue.h"

#include "sim/scpi_errors.h"

namespace tqrsim {

ErrorQueue::ErrorQueue(std::size_t capacity) : capacity_(capacity < 2 ? 2 : capacity) {}

void ErrorQueue::Push(int code) {
  if (entries_.size() >= capacity_) {
    entries_.back() = {kQueueOverflow, std::string(ErrorText(kQueueOverflow))};
    return;
  }
  entries_.push_back({code, std::string(ErrorText(code))});
}

QueuedError ErrorQueue::Pop() {
  if (entries_.empty()) return {kNoError, std::string(ErrorText(kNoError))};
  QueuedError front = std::move(entries_.front());
  entries_.pop_front();
  return front;
}

std::string ErrorQueue::Format(const QueuedError& error) {
  std::string reply = std::to_string(error.code);
  reply += ",\"";
  for (char c : error.text) {
    reply.push_back(c);
    if (c == '"') reply.push_back('"');
  }
  reply += '"';
  return reply;
}

}  // namespace tqrsim
