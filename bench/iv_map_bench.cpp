// A 100,000-point voltage I-V map written and read back (SetVoltageIVMap then
// GetVoltageIVMap) against one tqr-sim on loopback, beside a plain C socket
// client moving the same bytes and converting the same values, interleaved
// round by round in the same run. Prints the median of each and the driver's
// share of the time: (driver - raw) / driver.
//
//   taskset -c 0 iv_map_bench [POINTS [ROUNDS]]    (default 100000 points, 30 rounds)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "bench/raw_scpi_client.h"
#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"
#include "tests/e2e/sim_process.h"

namespace {

using namespace motqr;

constexpr int kTimeoutMs = 30000;

// Voltage and current of every point in turn, inside a TQR-M4's ratings.
std::vector<double> MapValues(std::size_t points) {
  std::vector<double> values(2 * points);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto point = static_cast<long>(i / 2);
    values[i] = (i % 2 == 0) ? static_cast<double>(point % 2001 - 1000) * 0.012345
                             : static_cast<double>(point % 1000) * 0.012345;
  }
  return values;
}

struct DriverSide {
  com::ComPtr<IIviDriver> driver;
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  com::SafeArray written;
  com::SafeArray back;

  bool Open(const std::string& resource, const std::vector<double>& values) {
    if (com::Failed(CreateMorvaneTqr(driver.Put())) ||
        driver->Initialize(com::Bstr::FromUtf8(resource).Get(), com::VARIANT_FALSE,
                           com::VARIANT_FALSE,
                           com::Bstr::FromUtf8("QueryInstrStatus=false").Get()) != com::S_OK) {
      return false;
    }
    com::ComPtr<IIviDCPwr> dcpwr;
    com::ComPtr<IIviDCPwrOutputs> outputs;
    com::ComPtr<IIviDCPwrOutput> output;
    driver.As(&dcpwr);
    if (!dcpwr || dcpwr->get_Outputs(outputs.Put()) != com::S_OK ||
        outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output.Put()) != com::S_OK) {
      return false;
    }
    output.As(&iv);
    const auto count = static_cast<std::uint32_t>(values.size());
    written = com::SafeArray::CreateVector(com::VT_R8, count);
    back = com::SafeArray::CreateVector(com::VT_R8, count);
    std::copy(values.begin(), values.end(), written.Data<double>().begin());
    return static_cast<bool>(iv);
  }
  bool RoundTrip() {
    back.Data<double>().back() = std::nan("");
    com::SAFEARRAY* array = back.Get();
    return iv->SetVoltageIVMap(written.Get()) == com::S_OK &&
           iv->GetVoltageIVMap(&array) == com::S_OK && !std::isnan(back.Data<double>().back());
  }
};

// The same transfer as a plain program would do it: encode, send, query, read
// the block, decode.
struct RawSide {
  int fd = -1;
  const std::vector<double>* values = nullptr;
  std::string message;
  std::vector<char> reply;
  std::vector<double> back;

  bool Open(int port, const std::vector<double>& v) {
    values = &v;
    back.resize(v.size());
    reply.resize(v.size() * 4 + 32);
    fd = raw_scpi_connect(port);
    return fd >= 0;
  }
  ~RawSide() { raw_scpi_close(fd); }
  bool RoundTrip() {
    const std::string length = std::to_string(values->size() * 4);
    message = ":VOLT:IV:DATA #" + std::to_string(length.size()) + length;
    const std::size_t header = message.size();
    message.resize(header + values->size() * 4);
    char* out = message.data() + header;
    for (double value : *values) {
      const auto word =
          static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(value * 1e6)));
      const unsigned char bytes[4] = {
          static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
          static_cast<unsigned char>(word >> 16), static_cast<unsigned char>(word >> 24)};
      std::memcpy(out, bytes, 4);
      out += 4;
    }
    message += "\n:VOLT:IV:DATA?\n";
    if (raw_scpi_send(fd, message.data(), message.size()) != 0) return false;
    const char* data = nullptr;
    const long got = raw_scpi_read_block(fd, reply.data(), reply.size(), &data, kTimeoutMs);
    if (got != static_cast<long>(back.size() * 4)) return false;
    for (std::size_t i = 0; i < back.size(); ++i) {
      const auto* b = reinterpret_cast<const unsigned char*>(data + 4 * i);
      const std::uint32_t bits =
          b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
      back[i] = static_cast<double>(static_cast<std::int32_t>(bits)) / 1e6;
    }
    return true;
  }
};

template <class Side>
double TimedMs(Side& side) {
  const auto start = std::chrono::steady_clock::now();
  if (!side.RoundTrip()) return -1;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

bool SameMap(std::span<const double> back, const std::vector<double>& values) {
  if (back.size() != values.size()) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!(std::fabs(back[i] - values[i]) <= 1e-6)) return false;
  }
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

long Argument(int argc, char** argv, int index, long fallback) {
  return argc > index ? std::strtol(argv[index], nullptr, 10) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const long points = Argument(argc, argv, 1, 100000);
  const long rounds = Argument(argc, argv, 2, 30);
  if (points < 1 || points > 1000000 || rounds < 1 || rounds > 10000) {
    std::fprintf(stderr, "usage: iv_map_bench [POINTS (1..1000000) [ROUNDS (1..10000)]]\n");
    return 2;
  }
  e2e::SimProcess sim({"--noise", "0", "--iv-max-points", std::to_string(points)});
  if (!sim.ok()) {
    std::fprintf(stderr, "%s\n", sim.error().c_str());
    return 1;
  }
  const std::vector<double> values = MapValues(static_cast<std::size_t>(points));
  DriverSide driver;
  RawSide raw;
  if (!driver.Open(sim.SocketResource(), values) || !raw.Open(sim.port(), values)) {
    std::fprintf(stderr, "cannot open the sessions\n");
    return 1;
  }
  std::vector<double> driver_ms;
  std::vector<double> raw_ms;
  for (long round = -1; round < rounds; ++round) {  // round -1 warms up
    const double d = TimedMs(driver);
    const double r = TimedMs(raw);
    if (d < 0 || r < 0) {
      std::fprintf(stderr, "round %ld failed (driver %s)\n", round, d < 0 ? "failed" : "ok");
      return 1;
    }
    if (round < 0) continue;
    driver_ms.push_back(d);
    raw_ms.push_back(r);
  }
  if (!SameMap(driver.back.Data<double>(), values) || !SameMap(raw.back, values)) {
    std::fprintf(stderr, "the map came back changed\n");
    return 1;
  }
  const double d = Median(driver_ms);
  const double r = Median(raw_ms);
  std::printf("%ld-point voltage map set + get (%ld bytes each way), %ld interleaved rounds\n",
              points, points * 8, rounds);
  std::printf("  driver (C++ interface)  median %8.2f ms\n", d);
  std::printf("  raw C socket client     median %8.2f ms\n", r);
  std::printf("  driver's share          %.1f %%  (target < 20 %%)\n", 100.0 * (d - r) / d);
  driver.driver->Close();
  return 0;
}
