// libFuzzer target: query sequences with faults against a scripted loopback
// instrument, the shapes and faults of the exchange property test drawn from
// the input bytes. A call that succeeds with another query's value, or runs
// far past its time-out, aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/faults/exchange_shapes.h"
#include "tests/faults/fault_session.h"
#include "tests/faults/wire_instrument.h"

namespace {

using motqr::faults::ExchangeRunner;

struct Bench {
  motqr::faults::WireInstrument inst;
  motqr::faults::FaultSession session;
  std::unique_ptr<ExchangeRunner> runner;
};

Bench& TheBench() {
  static Bench* bench = [] {
    auto* b = new Bench;
    if (!b->inst.ok() || motqr::com::Failed(b->session.OpenPlain(b->inst.SocketResource(),
                                                                 ExchangeRunner::kTimeoutMs))) {
      std::fprintf(stderr, "exchange_fuzz: no session on the scripted instrument\n");
      std::abort();
    }
    b->runner = std::make_unique<ExchangeRunner>(b->inst, b->session);
    return b;
  }();
  return *bench;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bench& bench = TheBench();
  std::size_t at = 0;
  // Each choice takes one byte of the input (0 once it is used up).
  const motqr::faults::Pick pick = [&](std::uint32_t n) -> std::uint32_t {
    const std::uint32_t byte = at < size ? data[at++] : 0;
    return n == 0 ? 0 : byte % (n + 1);
  };
  for (int step = 0; step < 8 && at < size; ++step) {
    const std::string broken = bench.runner->Step(pick);
    if (!broken.empty()) {
      std::fprintf(stderr, "exchange_fuzz: %s\n", broken.c_str());
      std::abort();
    }
  }
  return 0;
}
