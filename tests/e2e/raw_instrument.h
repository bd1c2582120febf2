// Plain socket helpers for the end-to-end tests: a client that talks SCPI
// lines to tqr-sim beside the driver, and a stand-in instrument for replies
// tqr-sim cannot give (a model outside the driver's table). Loopback only;
// every wait is bounded.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace motqr::e2e {

class RawClient {
 public:
  explicit RawClient(int port);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connected() const { return fd_ >= 0; }
  bool Send(const std::string& line);  // appends the line feed
  // One reply line without its line feed; empty after `timeout_ms`.
  std::string ReadLine(int timeout_ms = 2000);

 private:
  int fd_ = -1;
  std::string pending_;
};

// Answers "*IDN?" with `idn` and every other query with "0", on as many
// connections (one at a time) as arrive while it lives.
class FakeInstrument {
 public:
  explicit FakeInstrument(std::string idn);
  ~FakeInstrument();
  FakeInstrument(const FakeInstrument&) = delete;
  FakeInstrument& operator=(const FakeInstrument&) = delete;

  std::string SocketResource() const;

 private:
  void Serve();
  void ServeClient(int fd);

  std::string idn_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace motqr::e2e
