// A scripted I/O session for driver tests: records every command and answers
// queries from a table of replies.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver/session_port.h"

namespace motqr::testing {

struct FakeInstrument {
  std::vector<std::string> sent;                           // every command written, in order
  std::map<std::string, std::deque<std::string>> replies;  // command -> queued replies
  std::map<std::string, std::string> fixed;                // command -> reply given every time
  bool open = false;
  com::HRESULT open_status = com::S_OK;
  int opens = 0;
  int closes = 0;

  void Reply(const std::string& command, const std::string& reply) {
    replies[command].push_back(reply);
  }
};

// The instrument the next driver's session talks to.
void UseFakeInstrument(FakeInstrument* instrument);
std::unique_ptr<driver::ISessionPort> MakeFakeSession();

}  // namespace motqr::testing
