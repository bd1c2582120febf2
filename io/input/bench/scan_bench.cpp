// Throughput of the reply parser on the two large replies the driver reads:
// a long comma-separated list of doubles, and a definite-length block of
// 32-bit words converted from most-significant-byte-first order.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <string>

#include "io/input/formatted_input.h"
#include "io/input/testing/memory_reply_buffer.h"

namespace motqr::io {
namespace {

std::string DoubleList(int count) {
  std::string reply;
  reply.reserve(static_cast<std::size_t>(count) * 12);
  char text[32];
  for (int i = 0; i < count; ++i) {
    if (i) reply += ',';
    const double value = (i % 2 ? -1 : 1) * (i * 0.731 + 0.5);
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6).ptr;
    reply.append(text, end);
  }
  return reply;
}

void BM_ScanDoubleList(benchmark::State& state) {
  const std::string reply = DoubleList(static_cast<int>(state.range(0)));
  testing::MemoryReplyBuffer buffer;
  com::SafeArray values;
  for (auto _ : state) {
    state.PauseTiming();
    buffer.Reset(reply);
    state.ResumeTiming();
    const HRESULT hr = Scan(buffer, nullptr, "%,$Slf", values.Put());
    if (hr != com::S_OK || values.size() != static_cast<std::size_t>(state.range(0))) {
      state.SkipWithError("scan failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_ScanDoubleList)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ScanSwappedWordBlock(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0));
  std::string reply = "#" + std::to_string(std::to_string(bytes).size()) + std::to_string(bytes);
  for (std::size_t i = 0; i < bytes; ++i) reply += static_cast<char>(i * 7);
  reply += '\n';
  testing::MemoryReplyBuffer buffer;
  com::SafeArray words;
  for (auto _ : state) {
    state.PauseTiming();
    buffer.Reset(reply);
    state.ResumeTiming();
    const HRESULT hr = Scan(buffer, nullptr, "%$Slb", words.Put());
    if (com::Failed(hr) || words.size() != bytes / 4) {
      state.SkipWithError("scan failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ScanSwappedWordBlock)->Arg(4 << 20)->Unit(benchmark::kMicrosecond);

void BM_ScanSmallReplies(benchmark::State& state) {
  testing::MemoryReplyBuffer buffer;
  double lo = 0, hi = 0;
  for (auto _ : state) {
    buffer.Reset("-2.000000E+01;2.000000E+01");
    benchmark::DoNotOptimize(Scan(buffer, nullptr, "%lf;%lf", &lo, &hi));
  }
}
BENCHMARK(BM_ScanSmallReplies);

}  // namespace
}  // namespace motqr::io

BENCHMARK_MAIN();
