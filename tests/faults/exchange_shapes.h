// Reply shapes and faults for the exchange property test and its fuzz target:
// for each kind of reply the driver reads (numbers, text, lists, enumeration
// tokens, blocks), a member call, a good reply carrying a value unique to one
// query, and the faults a reader can tell from a good reply of that kind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/faults/fault_session.h"
#include "tests/faults/wire_instrument.h"

namespace motqr::faults {

enum class Fault : std::uint8_t {
  kNone,
  kCut,                // the reply stops part-way; the rest never comes
  kGarbage,            // bytes that do not read as the reply's kind
  kEmpty,              // an empty response
  kLineFeedFirst,      // a line feed before the reply: an empty response first
  kExtraFields,        // fields after the reply's own
  kStall,              // late, within the time-out
  kLate,               // after the time-out
  kBrokenBlockHeader,  // a line feed inside a block header
};
const char* FaultName(Fault fault);

// A number in [0, n], drawn by a random generator or taken from fuzz input.
using Pick = std::function<std::uint32_t(std::uint32_t n)>;

struct Reply {
  std::string bytes;  // with the line feed that ends it
  std::string value;  // what the member makes of it, as Outcome::value
};

struct Shape {
  const char* query;  // as the driver writes it
  Outcome (*call)(FaultSession&);
  Reply (*make)(std::uint32_t serial, const Pick& pick);
  // Faults that turn a reply of this kind into one no reader may take as good:
  // text takes any bytes, so only timing and cuts apply to it.
  std::vector<Fault> faults;
  std::vector<const char*> garbage;
};

const std::vector<Shape>& AllShapes();

// None most of the time, else one of the shape's faults.
Fault DrawFault(const Shape& shape, const Pick& pick);

// What the instrument sends for `good` under `fault`; `delay_ms` and `hold`
// say when.
struct Plan {
  std::string bytes;
  int delay_ms = 0;
  bool hold = false;
};
Plan MakePlan(const Shape& shape, Fault fault, const Reply& good, const Pick& pick);

// Runs queries one at a time against `inst` through `session` and checks the
// property on each: a call that succeeds returns its own query's value, and no
// call runs past its time-out by more than an allowance for a loaded machine.
class ExchangeRunner {
 public:
  // A reply that comes in time comes well within kTimeoutMs; a fault that
  // makes the driver wait for its time-out runs under kShortTimeoutMs.
  static constexpr std::int32_t kTimeoutMs = 250;
  static constexpr std::int32_t kShortTimeoutMs = 10;
  static constexpr int kHangAllowanceMs = 750;

  ExchangeRunner(WireInstrument& inst, FaultSession& session) : inst_(inst), session_(session) {}

  // One query of a drawn shape under a drawn fault: empty when the property
  // held, else what broke it.
  std::string Step(const Pick& pick);

  int calls = 0;
  int successes = 0;
  int failures = 0;
  int faults = 0;

 private:
  WireInstrument& inst_;
  FaultSession& session_;
  std::uint32_t serial_ = 0;
};

}  // namespace motqr::faults
