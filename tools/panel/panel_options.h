// The panel command's own options, the address rules that decide whether an
// access token is needed, and the token itself.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tools/status.h"

namespace motqr::panel {

struct PanelOptions {
  static constexpr int kDefaultPort = 8025;
  int port = kDefaultPort;           // --port; 0 picks a free one
  std::string listen = "127.0.0.1";  // --listen
  bool token = false;                // --token, or implied by a non-loopback --listen
  double rate_hz = 10;               // --rate: instrument readings per second
};

// Parses `motqr panel [--port N] [--listen ADDR] [--token] [--rate HZ]`.
cli::Status ParsePanelArguments(std::span<const std::string> args, PanelOptions* options);

// Whether a listening address reaches this host only: 127.0.0.0/8, ::1,
// ::ffff:127.x.y.z and the name "localhost". The wildcards 0.0.0.0 and :: do not.
bool IsLoopbackAddress(std::string_view address);

// 128 random bits from the kernel (getrandom), as 32 lower-case hex digits.
cli::Status NewAccessToken(std::string* token);
// Compares in time independent of where the texts differ.
bool SameToken(std::string_view a, std::string_view b);

}  // namespace motqr::panel
