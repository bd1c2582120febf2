#include "tests/faults/exchange_shapes.h"

#include <cstdio>
#include <cstring>

#include "tests/faults/reply_calls.h"

namespace motqr::faults {
namespace {

using namespace calls;  // the member calls, one per reply shape

// ---------------------------------------------------------------- good replies

std::string Number(double v) { return Text(v); }

Reply MakeReal(std::uint32_t n, const Pick&) {
  const double v = n + 0.25;
  return {Number(v) + "\n", Number(v)};
}
Reply MakeInteger(std::uint32_t n, const Pick&) {
  return {std::to_string(n) + "\n", std::to_string(n)};
}
Reply MakeShort(std::uint32_t n, const Pick&) {
  const std::string v = std::to_string(n % 32768);
  return {"+" + v + "\n", v};
}
Reply MakeLine(std::uint32_t n, const Pick&) {
  const std::string v = "UTC+" + std::to_string(n);
  return {v + "\n", v};
}
Reply MakeQuotedName(std::uint32_t n, const Pick&) {
  const std::string v = "P" + std::to_string(n);
  return {"\"" + v + "\"\n", v};
}
Reply MakeRealList(std::uint32_t n, const Pick&) {
  const std::string v = Number(n) + "," + Number(n + 0.5) + ",2,3,4,5";
  return {v + "\n", v};
}
Reply MakeIntegerList(std::uint32_t n, const Pick&) {
  const std::string v = std::to_string(n) + ",1,2";
  return {v + "\n", v};
}
Reply MakeToken(std::uint32_t n, const Pick&) {
  static constexpr const char* kTokens[] = {"CV", "CC", "CP", "CR"};
  return {std::string(kTokens[n % 4]) + "\n", std::to_string(n % 4)};
}
Reply MakeTokenList(std::uint32_t n, const Pick&) {
  std::string bytes, value;
  for (int i = 0; i < 4; ++i) {
    const bool inverse = ((n >> i) & 1) != 0;
    bytes += std::string(i ? "," : "") + (inverse ? "INV" : "NORM");
    value += std::string(i ? "," : "") + (inverse ? "1" : "0");
  }
  return {bytes + "\n", value};
}
// Two 32-bit words of micro-units, least significant byte first; line feeds
// (0x0A) as the first data byte, the last one, or inside, as drawn.
Reply MakeBlock(std::uint32_t n, const Pick& pick) {
  std::uint32_t words[2] = {(n % 0x7FFFFF) << 8, (n % 0xFFFF) << 8};
  switch (pick(3)) {
    case 0:
      words[0] |= 0x0A;  // first data byte
      break;
    case 1:
      words[1] |= 0x0A000000;  // last data byte
      break;
    case 2:
      words[0] |= 0x0A;
      words[1] |= 0x0A00000A;  // first, inside and last
      break;
    default:
      break;
  }
  std::string bytes = "#18";
  std::string value;
  for (const std::uint32_t w : words) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(w >> shift));
    value += std::string(value.empty() ? "" : ",") +
             Number(static_cast<double>(static_cast<std::int32_t>(w)) / 1e6);
  }
  return {bytes + "\n", value};
}

constexpr Fault kAnyFault[] = {Fault::kCut,           Fault::kGarbage,     Fault::kEmpty,
                               Fault::kLineFeedFirst, Fault::kExtraFields, Fault::kStall,
                               Fault::kLate};
const std::vector<Fault> kNumberFaults(std::begin(kAnyFault), std::end(kAnyFault));
const std::vector<Fault> kTextFaults = {Fault::kCut, Fault::kStall, Fault::kLate};
std::vector<Fault> BlockFaults() {
  std::vector<Fault> faults = kNumberFaults;
  faults.push_back(Fault::kBrokenBlockHeader);
  return faults;
}

}  // namespace

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::kNone:
      return "none";
    case Fault::kCut:
      return "cut";
    case Fault::kGarbage:
      return "garbage";
    case Fault::kEmpty:
      return "empty";
    case Fault::kLineFeedFirst:
      return "line feed first";
    case Fault::kExtraFields:
      return "extra fields";
    case Fault::kStall:
      return "stall";
    case Fault::kLate:
      return "late";
    case Fault::kBrokenBlockHeader:
      return "broken block header";
  }
  return "?";
}

const std::vector<Shape>& AllShapes() {
  static const std::vector<Shape> shapes = {
      {":VOLT?", Real, MakeReal, kNumberFaults, {"abc", "1e400", "+-1", ".", "#Hxyz"}},
      {":VOLT:IV:COUN?", Integer, MakeInteger, kNumberFaults, {"x1", "99999999999", "--2"}},
      {":STAT:OPER:COND?", Short, MakeShort, kNumberFaults, {"40000", "-40000", "q"}},
      {"SYST:TZONE?", Line, MakeLine, kTextFaults, {}},
      {":PROG:NAME?", QuotedName, MakeQuotedName, kTextFaults, {}},
      {":MEAS:ALL?", RealList, MakeRealList, kNumberFaults, {"1,,2", "1,x", "1,2,", ",", "1e999"}},
      {":SYST:DATE?", IntegerList, MakeIntegerList, kNumberFaults, {"1,,2", "2024,", "a,b"}},
      {":FUNC:MODE?", Token, MakeToken, kNumberFaults, {"XX", "C V", "\x01\x02"}},
      {":IO:INP:POL?", TokenList, MakeTokenList, kNumberFaults, {"NORM,BAD", "NORM,,INV", "?"}},
      {":VOLT:IV:DATA?",
       Block,
       MakeBlock,
       BlockFaults(),
       {"#9xyz", "#", "#x4ABCD", "14ABCD", "#2"}},
  };
  return shapes;
}

Fault DrawFault(const Shape& shape, const Pick& pick) {
  if (pick(9) < 8) return Fault::kNone;
  return shape.faults[pick(static_cast<std::uint32_t>(shape.faults.size() - 1))];
}

Plan MakePlan(const Shape& shape, Fault fault, const Reply& good, const Pick& pick) {
  Plan plan{good.bytes};
  const std::string& b = good.bytes;  // ends with its line feed
  switch (fault) {
    case Fault::kNone:
      break;
    case Fault::kCut:
      plan.bytes = b.substr(0, pick(static_cast<std::uint32_t>(b.size() - 2)));
      break;
    case Fault::kGarbage:
      plan.bytes =
          std::string(shape.garbage[pick(static_cast<std::uint32_t>(shape.garbage.size() - 1))]) +
          "\n";
      break;
    case Fault::kEmpty:
      plan.bytes = "\n";
      break;
    case Fault::kLineFeedFirst:
      plan.bytes = "\n" + b;
      break;
    case Fault::kExtraFields:
      plan.bytes = b.substr(0, b.size() - 1) + ";9,x\n";
      break;
    case Fault::kStall:
      plan.delay_ms = static_cast<int>(pick(4));
      break;
    case Fault::kLate:
      plan.hold = true;
      break;
    case Fault::kBrokenBlockHeader:
      plan.bytes = b.substr(0, 2) + "\n" + b.substr(2);
      break;
  }
  return plan;
}

std::string ExchangeRunner::Step(const Pick& pick) {
  const std::vector<Shape>& shapes = AllShapes();
  const Shape& shape = shapes[pick(static_cast<std::uint32_t>(shapes.size() - 1))];
  const Reply good = shape.make(++serial_, pick);
  const Fault fault = DrawFault(shape, pick);
  const Plan plan = MakePlan(shape, fault, good, pick);
  const bool waits = fault == Fault::kCut || fault == Fault::kLate;
  const std::int32_t timeout = waits ? kShortTimeoutMs : kTimeoutMs;
  if (com::Failed(session_.system->put_IOTimeout(timeout))) return "the time-out was refused";
  inst_.Queue(shape.query, {plan.bytes, plan.delay_ms, plan.hold});

  const auto begin = Clock::now();
  const Outcome got = shape.call(session_);
  const auto elapsed = Clock::now() - begin;
  ++calls;
  faults += fault != Fault::kNone;
  std::string broken;
  const std::string what = std::string(shape.query) + " under fault '" + FaultName(fault) +
                           "' (serial " + std::to_string(serial_) + ")";
  if (elapsed > milliseconds(timeout + kHangAllowanceMs)) {
    broken = what + " took " +
             std::to_string(std::chrono::duration_cast<milliseconds>(elapsed).count()) + " ms";
  }
  if (com::Succeeded(got.hr)) {
    ++successes;
    if (got.value != good.value) {
      broken = what + " succeeded with " + got.value + " instead of " + good.value;
    }
  } else {
    ++failures;
  }
  // A reply held past the time-out arrives now, before the next call,
  // sometimes with stale replies of other queries behind it.
  if (plan.hold) {
    std::string stale;
    for (std::uint32_t i = pick(2); i > 0; --i) {
      stale +=
          shapes[pick(static_cast<std::uint32_t>(shapes.size() - 1))].make(++serial_, pick).bytes;
    }
    inst_.Release(stale);
  }
  inst_.ClearQueue();
  return broken;
}

}  // namespace motqr::faults
