// A scripted I/O session for driver and member tests: records every command
// as the driver formatted it and answers queries from scripted replies, read
// back with the real reply parser.
//
//   ScriptedInstrument inst;
//   UseScriptedInstrument(&inst);
//   inst.Reply(":VOLT?", "5.000\n");      // next reply to ":VOLT?"
//   inst.fixed["*ESR?"] = "0";           // the reply every time
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver/session_port.h"

namespace motqr::testing {

struct ScriptedInstrument {
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
void UseScriptedInstrument(ScriptedInstrument* instrument);
std::unique_ptr<driver::ISessionPort> MakeScriptedSession();

}  // namespace motqr::testing
