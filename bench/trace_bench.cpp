// The cost of the method trace: one simulated property set with tracing off
// (the frame's one test of a flag) and with every call written to the trace
// file, side by side. Each repetition is a new session whose trace file
// starts empty, so the file stays a few megabytes.
//
//   build/bench/trace_bench     # compare the *_median rows of Trace:0 and Trace:1
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/simulated_output.h"
#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

namespace {

using namespace motqr;

std::filesystem::path TraceDirectory() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("motqr_trace_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

void PutVoltageLevel(benchmark::State& state) {
  const bool traced = state.range(0) != 0;
  std::string options = "Simulate=true";
  if (traced) options += ",DriverSetup=Trace=1,TraceName=" + (TraceDirectory() / "bench").string();
  motqr::bench::SimulatedOutput session;
  if (!session.Open(options)) {
    state.SkipWithError("Initialize failed");
    return;
  }
  IIviDCPwrOutput* output = session.output.Get();
  double v = 0;
  for (auto _ : state) {
    const HRESULT hr = output->put_VoltageLevel(v += 0.5);
    benchmark::DoNotOptimize(hr);
  }
}
BENCHMARK(PutVoltageLevel)
    ->ArgName("Trace")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20000)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(TraceDirectory(), ec);
  return 0;
}
