// What the driver asks of the transports its sessions open: the wire log, and attributes set
// before the first transfer.
//
// The wire log: every byte a transport sends and receives, one line per transfer, with the
// time, the direction and a label (the driver member that caused it). Text is shown as a
// quoted string with C escapes, anything else as hex. The file is bounded in size.
//
//   2026-12-07T00:41:02.123456Z send IMorvaneTqrOutputChannel.VoltageLevel ":VOLT 5\n"
//   2026-12-07T00:41:02.124001Z recv IMorvaneTqrOutputChannel.VoltageLevel "5\n"
//   2026-12-07T00:41:02.130000Z send IMorvaneTqrOutputChannelIV.SetVoltageIVMap hex 3a 56 ...
//
// The driver asks for a log around the transports a session opens on its thread:
//
//   motqr::visa::ScopedWireLog log({"/tmp/wire.log", 1 << 20, [] { return member(); }});
//   session.Open(...);   // the session's transport writes to /tmp/wire.log
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/visa/transport.h"

namespace motqr::visa {

struct WireLogOptions {
  std::string path;
  std::uint64_t size_max = 1u << 20;  // bytes; the log says so and stops above it
  // The label of each line (called on the transferring thread); null or empty: "-".
  std::function<std::string()> label;
};

// While alive, transports opened on this thread (by OpenVisaSession) are logged.
class ScopedWireLog {
 public:
  explicit ScopedWireLog(WireLogOptions options);
  ~ScopedWireLog();
  ScopedWireLog(const ScopedWireLog&) = delete;
  ScopedWireLog& operator=(const ScopedWireLog&) = delete;

 private:
  WireLogOptions options_;
  const WireLogOptions* previous_;
};

// `inner` wrapped in a logging transport writing to `options.path` (appending); `inner` as it
// is when the file cannot be opened.
std::unique_ptr<Transport> WithWireLog(std::unique_ptr<Transport> inner,
                                       const WireLogOptions& options, std::string_view resource);
// `inner` wrapped as the thread's ScopedWireLog asks, or as it is without one.
std::unique_ptr<Transport> WithThreadWireLog(std::unique_ptr<Transport> inner,
                                             std::string_view resource);

// While alive, transports opened on this thread (by OpenVisaSession) get these attributes
// before their first transfer (the serial line settings of a session, for one).
class ScopedOpenAttributes {
 public:
  using Attributes = std::vector<std::pair<ViAttr, ViAttrState>>;
  explicit ScopedOpenAttributes(Attributes attributes);
  ~ScopedOpenAttributes();
  ScopedOpenAttributes(const ScopedOpenAttributes&) = delete;
  ScopedOpenAttributes& operator=(const ScopedOpenAttributes&) = delete;

 private:
  Attributes attributes_;
  const Attributes* previous_;
};
// Sets the thread's ScopedOpenAttributes on `transport`; the first refusal ends it.
Status ApplyThreadOpenAttributes(Transport& transport);

// One transfer as the log shows it: quoted text, or "hex .." for other bytes; at most
// `most` bytes are shown, then the total.
std::string WireLogBytes(std::span<const std::uint8_t> bytes, std::size_t most);

}  // namespace motqr::visa
