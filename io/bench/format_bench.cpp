// Formatting one instrument command into a string, as the operations do for
// every call: literal text, an integer, an enumeration token and a real.
#include <benchmark/benchmark.h>

#include <string>

#include "io/formatted_output.h"

namespace motqr::io {
namespace {

class StepEnumFormatter final : public IEnumFormatter {
 public:
  HRESULT FormatEnum(std::string_view, std::int32_t value, std::string* token) override {
    if (value == 0) {
      token->clear();
    } else {
      *token = ":NEG";
    }
    return com::S_OK;
  }
  HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return com::E_NOTIMPL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 4; }
};

void BM_FormatStepCurrent(benchmark::State& state) {
  StepEnumFormatter enums;
  std::string command;
  int step = 0;
  for (auto _ : state) {
    command.clear();
    HRESULT hr =
        FormatString(&command, &enums, ":PROG:STEP%d:CURR%{MorvaneTqrPositiveNegativeEnum}s %0.6lg",
                     step & 15, step & 1, 1.25 + step);
    benchmark::DoNotOptimize(hr);
    benchmark::DoNotOptimize(command.data());
    ++step;
  }
}
BENCHMARK(BM_FormatStepCurrent);

void BM_FormatPlainCommand(benchmark::State& state) {
  std::string command;
  for (auto _ : state) {
    command.clear();
    HRESULT hr = FormatString(&command, nullptr, ":VOLT %0.6lg", 5.0);
    benchmark::DoNotOptimize(hr);
    benchmark::DoNotOptimize(command.data());
  }
}
BENCHMARK(BM_FormatPlainCommand);

}  // namespace
}  // namespace motqr::io

BENCHMARK_MAIN();
