// One channel attribute set and read back in a simulated session: through the
// C functions (attribute map, selector, session registry) and, beside it,
// through the C++ component interface.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/simulated_output.h"
#include "capi/motqr.h"
#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

namespace {

using namespace motqr;

void CSetGetVoltageLevel(benchmark::State& state) {
  ViSession vi = 0;
  if (motqr_InitWithOptions(const_cast<ViRsrc>("TCPIP::127.0.0.1::5025::SOCKET"), VI_FALSE,
                            VI_FALSE, "Simulate=true", &vi) < 0) {
    state.SkipWithError("motqr_InitWithOptions failed");
    return;
  }
  double v = 0, back = 0;
  for (auto _ : state) {
    motqr_SetAttributeViReal64(vi, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, v += 0.5);
    motqr_GetAttributeViReal64(vi, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &back);
    benchmark::DoNotOptimize(back);
  }
  motqr_close(vi);
}
BENCHMARK(CSetGetVoltageLevel);

void CppPutGetVoltageLevel(benchmark::State& state) {
  motqr::bench::SimulatedOutput session;
  if (!session.Open("Simulate=true")) {
    state.SkipWithError("Initialize failed");
    return;
  }
  IIviDCPwrOutput* output = session.output.Get();
  double v = 0, back = 0;
  for (auto _ : state) {
    output->put_VoltageLevel(v += 0.5);
    output->get_VoltageLevel(&back);
    benchmark::DoNotOptimize(back);
  }
}
BENCHMARK(CppPutGetVoltageLevel);

}  // namespace

BENCHMARK_MAIN();
