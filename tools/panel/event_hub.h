// EventHub: fans the panel's events out to every open event stream. Each event
// has a kind (the Server-Sent Events "event:" name) and one line of JSON. A
// new stream first gets the latest event of every kind, then every event
// published after it joined; a stream that falls behind by more than the hub
// keeps skips to the oldest one kept.
//
//   hub.Publish("reading", R"({"volts":5})");
//   std::uint64_t next;
//   std::string text = hub.Subscribe(&next);        // the latest of each kind
//   while (hub.Wait(&next, 5s, &text)) send(text);  // SSE frames
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace motqr::panel {

class EventHub {
 public:
  static constexpr std::size_t kKept = 64;

  void Publish(std::string_view kind, std::string_view json);
  // Also publishes, but only when `json` differs from the latest of its kind.
  void PublishChange(std::string_view kind, std::string_view json);
  // The latest JSON of a kind, or empty.
  std::string Latest(std::string_view kind) const;

  // The latest event of every kind as SSE frames; *next is where Wait goes on.
  std::string Subscribe(std::uint64_t* next) const;
  // Waits until an event from *next on exists, or the timeout. Appends the
  // SSE frames of those events to *out and moves *next past them. False once
  // the hub is closed.
  bool Wait(std::uint64_t* next, std::chrono::milliseconds timeout, std::string* out) const;
  void Close();

  // Counts the open streams, at most `most`; false when that many are open.
  bool Join(int most);
  void Leave();
  int streams() const;

 private:
  static std::string Frame(std::string_view kind, std::string_view json);
  void PublishLocked(std::string_view kind, std::string_view json);

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::deque<std::string> recent_;  // frames; the first has number first_
  std::uint64_t first_ = 0;
  std::map<std::string, std::string, std::less<>> latest_;  // kind -> JSON
  bool closed_ = false;
  int streams_ = 0;
};

}  // namespace motqr::panel
