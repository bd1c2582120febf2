// A query's reply is never read as another's: thousands of query sequences
// from fixed seeds against a scripted instrument whose every reply carries a
// value unique to its query, with faults drawn at random -- replies cut short,
// garbage, empty responses, line feeds before a reply and inside, first and
// last in block data, extra fields, stalls, replies after the time-out, several
// stale replies at once. Every call that succeeds must return its own query's
// value, and no call may run far past its time-out.
//
// The instrument never sends a well-formed reply carrying a wrong value: a
// fault breaks a reply's form or its timing, which the driver can see. A reply
// held past its time-out is sent, with any stale ones, before the next call
// begins; a reply still unsent when the next message arrives is dropped, as an
// IEEE 488.2 instrument drops an interrupted query's reply.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "tests/faults/exchange_shapes.h"
#include "tests/faults/fault_session.h"
#include "tests/faults/wire_instrument.h"

namespace motqr::faults {
namespace {

constexpr int kSequences = 2000;
constexpr std::uint32_t kMaxQueriesPerSequence = 5;

TEST(ExchangeProperty, EverySuccessfulCallReturnsItsOwnQuerysValue) {
  WireInstrument inst;
  ASSERT_TRUE(inst.ok());
  FaultSession s;
  ASSERT_EQ(s.OpenPlain(inst.SocketResource(), ExchangeRunner::kTimeoutMs), com::S_OK)
      << LastError();
  ExchangeRunner runner(inst, s);
  const auto start = Clock::now();
  for (int seq = 0; seq < kSequences; ++seq) {
    std::mt19937 rng(static_cast<std::uint32_t>(seq) * 2654435761u + 12345u);
    const Pick pick = [&](std::uint32_t n) {
      return std::uniform_int_distribution<std::uint32_t>(0, n)(rng);
    };
    for (std::uint32_t q = pick(kMaxQueriesPerSequence - 1) + 1; q > 0; --q) {
      const std::string broken = runner.Step(pick);
      ASSERT_EQ(broken, "") << "sequence " << seq;
    }
  }
  const auto total = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  // The faults must have bitten, and most calls must have worked.
  EXPECT_GT(runner.successes, runner.calls / 2);
  EXPECT_GT(runner.failures, runner.calls / 20);
  std::printf(
      "[ property ] %d sequences, %d calls (%d with a fault): %d succeeded, %d failed, "
      "%lld ms\n",
      kSequences, runner.calls, runner.faults, runner.successes, runner.failures,
      static_cast<long long>(total.count()));
  EXPECT_EQ(s.Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::faults
