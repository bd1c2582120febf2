// The cost of the driver on a query round trip: "*OPC?" exchanges with one
// tqr-sim on loopback, through the driver and through a plain C socket client,
// in the same run.
//
//   query_roundtrip_bench [benchmark flags]
//
// Pairs measured (each driver case against the raw client sending the same bytes):
//   Driver_ResetOpc        IIviDriverUtility::Reset, the component member that
//                          sends "*RST;*OPC?" and reads the "1"
//   Session_Opc            the driver's VISA-COM session: "*OPC?" as a number query
//   RawC_ResetOpc, RawC_Opc the C client
// After the Google Benchmark cases the program times the pairs call by call,
// interleaved (so load changes on the machine hit both alike), and prints the
// median of each and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/raw_scpi_client.h"
#include "component/motqr.hpp"
#include "io/session/visa_com_session.h"
#include "io/testing/recording_error_reporter.h"
#include "tests/e2e/sim_process.h"

namespace {

using motqr::com::ComPtr;
using motqr::com::HRESULT;

class NoPoll final : public motqr::io::IInstrErrorPoller {
 public:
  HRESULT PollInstrumentErrors() override { return motqr::com::S_OK; }
};
class NoEnums final : public motqr::io::IEnumFormatter {
 public:
  HRESULT FormatEnum(std::string_view, std::int32_t, std::string*) override {
    return motqr::com::E_FAIL;
  }
  HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return motqr::com::E_FAIL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 0; }
};

struct Setup {
  std::unique_ptr<motqr::e2e::SimProcess> sim;
  ComPtr<motqr::IIviDriver> driver;
  ComPtr<motqr::IIviDriverUtility> utility;
  motqr::io::CVisaComSession session;
  int raw = -1;
  bool ok = false;
};

Setup* g_setup = nullptr;

bool RawQuery(const char* command) {
  char reply[64];
  return raw_scpi_query(g_setup->raw, command, reply, sizeof reply, 2000) == 1 && reply[0] == '1';
}

bool SessionOpc() {
  std::int32_t value = 0;
  return g_setup->session.QueryNumberNoPoll("*OPC?", &value, true, motqr::io::kTmoKeep) ==
             motqr::com::S_OK &&
         value == 1;
}

bool DriverResetOpc() { return g_setup->utility->Reset() == motqr::com::S_OK; }

void Run(benchmark::State& state, bool (*exchange)()) {
  for (auto _ : state) {
    if (!exchange()) {
      state.SkipWithError("the exchange failed");
      break;
    }
  }
}

void Driver_ResetOpc(benchmark::State& state) { Run(state, DriverResetOpc); }
void RawC_ResetOpc(benchmark::State& state) {
  Run(state, [] { return RawQuery("*RST;*OPC?"); });
}
void Session_Opc(benchmark::State& state) { Run(state, SessionOpc); }
void RawC_Opc(benchmark::State& state) {
  Run(state, [] { return RawQuery("*OPC?"); });
}
BENCHMARK(Driver_ResetOpc)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawC_ResetOpc)->Unit(benchmark::kMicrosecond);
BENCHMARK(Session_Opc)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawC_Opc)->Unit(benchmark::kMicrosecond);

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Micros(bool (*exchange)()) {
  const auto start = std::chrono::steady_clock::now();
  exchange();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

void PrintPairedMedians(const char* name, bool (*driver)(), bool (*raw)(), int rounds) {
  std::vector<double> driver_times;
  std::vector<double> raw_times;
  for (int i = 0; i < rounds; ++i) {
    driver_times.push_back(Micros(driver));
    raw_times.push_back(Micros(raw));
  }
  const double d = Median(driver_times);
  const double r = Median(raw_times);
  std::printf("%-16s driver median %8.1f us   raw C median %8.1f us   ratio %.3f\n", name, d, r,
              d / r);
}

bool Prepare(Setup& s) {
  s.sim = std::make_unique<motqr::e2e::SimProcess>(std::vector<std::string>{"--noise", "0"});
  if (!s.sim->ok()) {
    std::fprintf(stderr, "%s\n", s.sim->error().c_str());
    return false;
  }
  if (motqr::com::Failed(motqr::CreateMorvaneTqr(s.driver.Put()))) return false;
  const auto resource = motqr::com::Bstr::FromUtf8(s.sim->SocketResource());
  if (s.driver->Initialize(resource.Get(), motqr::com::VARIANT_TRUE, motqr::com::VARIANT_FALSE,
                           motqr::com::Bstr::FromUtf8("").Get()) != motqr::com::S_OK) {
    std::fprintf(stderr, "Initialize failed\n");
    return false;
  }
  s.driver.As(&s.utility);
  return s.sim->ok() && s.utility;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Setup setup;
  g_setup = &setup;
  if (!Prepare(setup)) return 1;
  // The session case runs on a VISA-COM session of its own beside the driver's.
  NoPoll poll;
  NoEnums enums;
  motqr::io::testing::RecordingErrorReporter reporter;
  if (motqr::com::Failed(
          setup.session.Open(setup.sim->SocketResource(), &poll, &reporter, &enums))) {
    std::fprintf(stderr, "session open failed: %s\n", reporter.LastText().c_str());
    return 1;
  }
  setup.raw = raw_scpi_connect(setup.sim->port());
  if (setup.raw < 0) return 1;
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\nPaired medians, interleaved, 2000 rounds each:\n");
  PrintPairedMedians(
      "*RST;*OPC?", DriverResetOpc, [] { return RawQuery("*RST;*OPC?"); }, 2000);
  PrintPairedMedians(
      "*OPC?", SessionOpc, [] { return RawQuery("*OPC?"); }, 2000);
  setup.session.Close();
  raw_scpi_close(setup.raw);
  setup.driver->Close();
  benchmark::Shutdown();
  return 0;
}
