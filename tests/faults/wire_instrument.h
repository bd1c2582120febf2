// WireInstrument: a stand-in instrument on a loopback port whose replies a
// test scripts byte for byte -- garbage, cut short, split into one-byte TCP
// segments, followed by a dropped connection. It serves one connection at a
// time, answers "*IDN?" as a TQR-M4, "*ESR?" with 0 and "*OPC?" with 1 unless
// told otherwise, and leaves any other query unanswered. Like an IEEE 488.2
// instrument, it drops a reply it has not sent yet when the next message
// arrives first (query interrupted). Replies queued for a query take their turn
// before the fixed answer; they may come late or be held until released.
//
//   WireInstrument inst;
//   inst.Answer(":VOLT?", {"1.5\n", /*segment=*/1});   // one byte per segment
//   inst.Answer(":CURR?", {"0.2", 0, /*close_after=*/true});
//   driver->Initialize(Bstr::FromUtf8(inst.SocketResource()).Get(), ...);
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace motqr::faults {

class WireInstrument {
 public:
  struct Reply {
    std::string bytes;         // sent as they stand (the line feed is the test's)
    std::size_t segment = 0;   // 0: one send; n: sends of n bytes, apart in time
    bool close_after = false;  // the connection closes once the bytes are out
  };

  // One reply to one query, taken before the fixed answers.
  struct Scripted {
    std::string bytes;
    int delay_ms = 0;   // sent this long after the query came
    bool hold = false;  // kept until Release()
    // Sent after its delay even when the next message came first (an
    // instrument that answers in order, never interrupted).
    bool in_order = false;
  };

  WireInstrument();
  ~WireInstrument();
  WireInstrument(const WireInstrument&) = delete;
  WireInstrument& operator=(const WireInstrument&) = delete;

  bool ok() const { return port_ > 0; }
  std::string SocketResource() const;
  // The reply to every `query` line from now on.
  void Answer(const std::string& query, Reply reply);
  // The next `query` line is answered with `reply`; several queue in order.
  void Queue(const std::string& query, Scripted reply);
  // Sends what a held reply kept, then `extra`, at once, and returns once sent.
  void Release(const std::string& extra = {});
  // Forgets queued and held replies.
  void ClearQueue();
  // Every line received so far, without its line feed.
  std::vector<std::string> Received() const;
  int connections() const { return connections_; }

 private:
  void Serve();
  void ServeClient(int fd);
  bool Respond(int fd, const std::string& line);
  bool SendReply(int fd, const Reply& reply);

  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::map<std::string, std::deque<Scripted>> queued_;
  std::string held_;
  std::atomic<int> client_{-1};
  std::vector<std::string> received_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace motqr::faults
