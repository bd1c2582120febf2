#include "tools/panel/event_hub.h"

namespace motqr::panel {

std::string EventHub::Frame(std::string_view kind, std::string_view json) {
  std::string frame = "event: ";
  frame += kind;
  frame += "\ndata: ";
  frame += json;
  frame += "\n\n";
  return frame;
}

void EventHub::PublishLocked(std::string_view kind, std::string_view json) {
  recent_.push_back(Frame(kind, json));
  if (recent_.size() > kKept) {
    recent_.pop_front();
    ++first_;
  }
  if (auto it = latest_.find(kind); it != latest_.end()) {
    it->second = json;
  } else {
    latest_.emplace(std::string(kind), std::string(json));
  }
  changed_.notify_all();
}

void EventHub::Publish(std::string_view kind, std::string_view json) {
  std::lock_guard lock(mutex_);
  PublishLocked(kind, json);
}

void EventHub::PublishChange(std::string_view kind, std::string_view json) {
  std::lock_guard lock(mutex_);
  if (auto it = latest_.find(kind); it != latest_.end() && it->second == json) return;
  PublishLocked(kind, json);
}

std::string EventHub::Latest(std::string_view kind) const {
  std::lock_guard lock(mutex_);
  auto it = latest_.find(kind);
  return it == latest_.end() ? std::string() : it->second;
}

std::string EventHub::Subscribe(std::uint64_t* next) const {
  std::lock_guard lock(mutex_);
  std::string text;
  for (const auto& [kind, json] : latest_) text += Frame(kind, json);
  *next = first_ + recent_.size();
  return text;
}

bool EventHub::Wait(std::uint64_t* next, std::chrono::milliseconds timeout,
                    std::string* out) const {
  std::unique_lock lock(mutex_);
  const auto end = [this] { return first_ + recent_.size(); };
  changed_.wait_for(lock, timeout, [&] { return closed_ || end() > *next; });
  if (closed_) return false;
  if (*next < first_) *next = first_;
  for (; *next < end(); ++*next) *out += recent_[*next - first_];
  return true;
}

void EventHub::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

bool EventHub::Join(int most) {
  std::lock_guard lock(mutex_);
  if (streams_ >= most) return false;
  ++streams_;
  return true;
}

void EventHub::Leave() {
  std::lock_guard lock(mutex_);
  --streams_;
}

int EventHub::streams() const {
  std::lock_guard lock(mutex_);
  return streams_;
}

}  // namespace motqr::panel
