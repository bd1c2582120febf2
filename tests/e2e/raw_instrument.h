// A plain socket client for the end-to-end tests: it talks SCPI lines to
// tqr-sim beside the driver. Loopback only; every wait is bounded.
#pragma once

#include <string>

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

}  // namespace motqr::e2e
