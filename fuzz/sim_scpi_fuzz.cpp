// libFuzzer target: tqr-sim's input path. The bytes are cut into messages by
// the message framer -- fed whole and fed in pieces, which must give the same
// messages -- then each message is walked by the SCPI parser and executed by a
// fresh simulated instrument on a frozen clock.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sim/instrument.h"
#include "sim/message_framer.h"
#include "sim/model_ratings.h"
#include "sim/scpi_parser.h"
#include "sim/sim_clock.h"

namespace {

// Small enough that a message over the limit is cheap to reach.
constexpr std::size_t kMessageLimit = 4096;

struct Framed {
  std::string text;
  bool too_long;
  bool operator==(const Framed&) const = default;
};

std::vector<Framed> Frame(std::string_view bytes, std::size_t piece) {
  tqrsim::MessageFramer framer(kMessageLimit);
  std::vector<Framed> out;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    framer.Feed(bytes.substr(at, piece));
    Framed f;
    while (framer.Take(f.text, f.too_long)) out.push_back(f);
  }
  return out;
}

void Parse(std::string_view message) {
  tqrsim::ScpiParser parser(message);
  tqrsim::ProgramUnit unit;
  int error = 0;
  while (parser.Next(unit, error)) {
    if (error != 0) break;
    if (unit.nodes.empty()) std::abort();  // a usable unit always has a header
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the size of the pieces the rest arrives in.
  const std::size_t piece = 1 + data[0] % 16;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::vector<Framed> whole = Frame(bytes, bytes.size() + 1);
  if (Frame(bytes, piece) != whole) std::abort();

  tqrsim::SimClock clock(tqrsim::SimClock::Mode::kManual);
  tqrsim::InstrumentOptions options;
  tqrsim::Instrument instrument(*tqrsim::FindModel("TQR-M4"), clock, options);
  for (const Framed& message : whole) {
    if (message.too_long) continue;
    Parse(message.text);
    (void)instrument.Process(message.text);
    instrument.Tick();
  }
  return 0;
}
