// A bounded soak against one tqr-sim on loopback: mixed calls through the C++ interface and
// the C functions on two long-lived sessions (status checking on, every read checked), then
// Initialize/Close cycles on fresh driver objects and C sessions. It prints the resident set
// (current and peak) after a warm-up and at the end of each phase, and fails on any failed
// call or a resident set that grows.
//
//   soak [--calls N] [--cycles N] [--minutes M]     defaults 1000000, 10000, 10
//
// Exit status: 0 all done, no failures, memory flat; 1 failures or growth; 2 bad arguments;
// 3 stopped by the time bound before the counts were reached.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "capi/motqr.h"
#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"
#include "tests/e2e/sim_process.h"

namespace {

using namespace motqr;
using Clock = std::chrono::steady_clock;

constexpr long kGrowthLimitKiB = 2048;  // what counts as flat between warm-up and end

struct Options {
  long calls = 1'000'000;
  long cycles = 10'000;
  long minutes = 10;
};

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    char* end = nullptr;
    const long value = std::strtol(argv[i + 1], &end, 10);
    if (*end != '\0' || value < 0) return false;
    if (name == "--calls")
      o->calls = value;
    else if (name == "--cycles")
      o->cycles = value;
    else if (name == "--minutes")
      o->minutes = value;
    else
      return false;
  }
  return argc % 2 == 1 && o->minutes > 0;
}

// "VmRSS" or "VmHWM" (the peak) of this process, in KiB.
long StatusKiB(std::string_view key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == ':') {
      return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
  }
  return -1;
}

struct Memory {
  long rss = StatusKiB("VmRSS");
  long peak = StatusKiB("VmHWM");
};

void PrintMemory(const char* when, const Memory& m) {
  std::printf("  %-28s RSS %7ld KiB   peak RSS %7ld KiB\n", when, m.rss, m.peak);
  std::fflush(stdout);
}

// Counts failures and keeps the first few descriptions.
class Failures {
 public:
  void Add(const std::string& what) {
    if (++count_ <= 10) std::fprintf(stderr, "failure: %s\n", what.c_str());
  }
  long count() const { return count_; }

 private:
  long count_ = 0;
};

std::string LastError() {
  com::ErrorRecord record;
  com::TakeErrorInfo(&record);
  return record.description;
}

com::HRESULT Initialize(IIviDriver* driver, const std::string& resource) {
  return driver->Initialize(com::Bstr::FromUtf8(resource).Get(), com::VARIANT_TRUE,
                            com::VARIANT_FALSE, com::Bstr::FromUtf8("QueryInstrStatus=true").Get());
}

// The long-lived C++ session and the interfaces the mix uses.
struct CppSession {
  com::ComPtr<IIviDriver> driver;
  com::ComPtr<IIviDCPwrOutput> output;
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  com::ComPtr<IMorvaneTqrProgram> program;
  com::ComPtr<IMorvaneTqrTrigger> trigger;
  com::ComPtr<IMorvaneTqrStatusOperation> operation;
  com::ComPtr<IIviDriverUtility> utility;

  bool Open(const std::string& resource) {
    if (com::Failed(CreateMorvaneTqr(driver.Put())) ||
        Initialize(driver.Get(), resource) != com::S_OK) {
      return false;
    }
    com::ComPtr<IIviDCPwr> dcpwr;
    com::ComPtr<IIviDCPwrOutputs> outputs;
    com::ComPtr<IMorvaneTqrStatus> status;
    driver.As(&dcpwr);
    driver.As(&program);
    driver.As(&trigger);
    driver.As(&utility);
    driver.As(&status);
    if (!dcpwr || !program || !trigger || !utility || !status ||
        dcpwr->get_Outputs(outputs.Put()) != com::S_OK ||
        outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output.Put()) != com::S_OK ||
        status->get_Operation(operation.Put()) != com::S_OK) {
      return false;
    }
    output.As(&channel);
    output.As(&iv);
    return channel && iv && iv->put_VoltageIVPointCount(4) == com::S_OK &&
           program->ConfigureSelectedProgram(com::Bstr::FromUtf8("SOAK").Get()) == com::S_OK;
  }
};

bool Ok(com::HRESULT hr) { return hr == com::S_OK; }

struct Call {
  const char* name;
  std::function<bool(long)> run;  // the call number in, true when the call and its checks pass
};

// The mix: the C++ session owns the voltage level and the I-V map, the C session the OVP
// limit, so that every read-back can be checked although both share one instrument.
std::vector<Call> MixedCalls(CppSession& s, ViSession vi) {
  auto level = [](long i) { return static_cast<double>(i % 200) * 0.25; };
  auto ovp = [](long i) { return 50.0 + static_cast<double>(i % 100) * 0.5; };
  return {
      {"put_VoltageLevel", [=, &s](long i) { return Ok(s.output->put_VoltageLevel(level(i))); }},
      {"get_VoltageLevel",
       [=, &s](long i) {
         double v = -1;
         return Ok(s.output->get_VoltageLevel(&v)) && v == level(i - 1);
       }},
      {"put_CurrentLimit",
       [&s](long i) { return Ok(s.output->put_CurrentLimit(1.0 + static_cast<double>(i % 10))); }},
      {"Measure",
       [&s](long) {
         double v = -1;
         return Ok(s.output->Measure(IviDCPwrMeasurementVoltage, &v)) && std::isfinite(v);
       }},
      {"QueryState",
       [&s](long) {
         VARIANT_BOOL in = 1;
         return Ok(s.output->QueryState(IviDCPwrOutputOverVoltage, &in)) && in == 0;
       }},
      {"MeasureAll",
       [&s](long) {
         com::SafeArray all;
         return Ok(s.channel->MeasureAll(all.Put())) && all.size() == 6;
       }},
      {"SetVoltageIVPoint",
       [=, &s](long i) {
         return Ok(s.iv->SetVoltageIVPoint(static_cast<std::int32_t>(i % 4) + 1, level(i), 0.5));
       }},
      {"GetAllVoltageIVPoints",
       [&s](long) {
         com::SafeArray points;
         return Ok(s.iv->GetAllVoltageIVPoints(points.Put())) && points.size() == 8;
       }},
      {"QuerySelectedProgram",
       [&s](long) {
         com::Bstr name;
         return Ok(s.program->QuerySelectedProgram(name.Put())) && name.ToUtf8() == "SOAK";
       }},
      {"QueryTransientInfo",
       [&s](long) {
         MorvaneTqrTransientStateEnum state{};
         com::Bstr name;
         std::int32_t step = -1, loop = -1;
         return Ok(s.trigger->QueryTransientInfo(&state, name.Put(), &step, &loop)) &&
                state == MorvaneTqrTransientStateIdle && step == 0;
       }},
      {"get_ConditionRegister",
       [&s](long) {
         std::int16_t bits = -1;
         return Ok(s.operation->get_ConditionRegister(&bits)) && bits >= 0;
       }},
      {"ErrorQuery",
       [&s](long) {
         std::int32_t code = -1;
         com::Bstr text;
         return Ok(s.utility->ErrorQuery(&code, text.Put())) && code == 0;
       }},
      {"motqr_SetAttributeViReal64",
       [=](long i) {
         return motqr_SetAttributeViReal64(vi, "OutputChannel1", MOTQR_ATTR_OVP_LIMIT, ovp(i)) ==
                VI_SUCCESS;
       }},
      {"motqr_GetAttributeViReal64",
       [=](long i) {
         double v = -1;
         return motqr_GetAttributeViReal64(vi, "OutputChannel1", MOTQR_ATTR_OVP_LIMIT, &v) ==
                    VI_SUCCESS &&
                v == ovp(i - 1);
       }},
      {"motqr_Measure",
       [=](long) {
         double v = -1;
         return motqr_Measure(vi, "OutputChannel1", MOTQR_VAL_MEASUREMENT_CURRENT, &v) ==
                    VI_SUCCESS &&
                std::isfinite(v);
       }},
  };
}

// Runs `total` steps, printing the memory after the first 1 % and at the end, progress every
// 10 %; false when the deadline came first.
bool RunPhase(const char* name, long total, Clock::time_point deadline,
              const std::function<void(long)>& step, Memory* warm, Memory* end) {
  std::printf("%s: %ld\n", name, total);
  const long warm_up = std::max(1L, total / 100);
  const auto start = Clock::now();
  for (long i = 0; i < total; ++i) {
    if (Clock::now() > deadline) {
      std::printf("  stopped by the time bound after %ld\n", i);
      *end = Memory{};
      PrintMemory("at the stop", *end);
      return false;
    }
    step(i);
    if (i + 1 == warm_up) {
      *warm = Memory{};
      PrintMemory("after the warm-up", *warm);
    }
    if (total >= 10 && (i + 1) % (total / 10) == 0) {
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      std::printf("  %8ld done  %7.1f s  RSS %ld KiB\n", i + 1, seconds, StatusKiB("VmRSS"));
      std::fflush(stdout);
    }
  }
  *end = Memory{};
  PrintMemory("at the end", *end);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: soak [--calls N] [--cycles N] [--minutes M]\n");
    return 2;
  }
  const auto deadline = Clock::now() + std::chrono::minutes(options.minutes);
  e2e::SimProcess sim({"--noise", "0"});
  if (!sim.ok()) {
    std::fprintf(stderr, "%s\n", sim.error().c_str());
    return 1;
  }
  const std::string resource = sim.SocketResource();
  Failures failures;
  Memory start;
  PrintMemory("before any session", start);

  CppSession cpp;
  ViSession vi = VI_NULL;
  if (!cpp.Open(resource) ||
      motqr_InitWithOptions(const_cast<ViRsrc>(resource.c_str()), VI_TRUE, VI_FALSE,
                            "QueryInstrStatus=true", &vi) != VI_SUCCESS) {
    std::fprintf(stderr, "cannot open the sessions: %s\n", LastError().c_str());
    return 1;
  }
  const std::vector<Call> mix = MixedCalls(cpp, vi);
  Memory calls_warm, calls_end;
  const bool calls_done = RunPhase(
      "mixed calls", options.calls, deadline,
      [&](long i) {
        const Call& call = mix[static_cast<std::size_t>(i) % mix.size()];
        // Each read-back checks the value its setter wrote one call earlier in the same round.
        if (!call.run(i))
          failures.Add(std::string(call.name) + " (call " + std::to_string(i) +
                       "): " + LastError());
      },
      &calls_warm, &calls_end);
  cpp.driver->Close();
  motqr_close(vi);

  Memory cycles_warm, cycles_end;
  const bool cycles_done = RunPhase(
      "Initialize/Close cycles", options.cycles, deadline,
      [&](long i) {
        if (i % 2 == 0) {  // a fresh driver object through the component interface
          com::ComPtr<IIviDriver> driver;
          com::ComPtr<IIviDriverIdentity> identity;
          com::Bstr model;
          const bool ok = com::Succeeded(CreateMorvaneTqr(driver.Put())) &&
                          Initialize(driver.Get(), resource) == com::S_OK &&
                          com::Succeeded(driver.As(&identity)) && identity &&
                          identity->get_InstrumentModel(model.Put()) == com::S_OK &&
                          model.ToUtf8() == "TQR-M4" && driver->Close() == com::S_OK;
          if (!ok) failures.Add("C++ cycle " + std::to_string(i) + ": " + LastError());
        } else {  // a C session
          ViSession c = VI_NULL;
          double v = -1;
          const bool ok =
              motqr_InitWithOptions(const_cast<ViRsrc>(resource.c_str()), VI_TRUE, VI_FALSE,
                                    "QueryInstrStatus=true", &c) == VI_SUCCESS &&
              motqr_GetAttributeViReal64(c, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, &v) ==
                  VI_SUCCESS;
          if (c != VI_NULL && motqr_close(c) != VI_SUCCESS) failures.Add("motqr_close");
          if (!ok) failures.Add("C cycle " + std::to_string(i));
        }
      },
      &cycles_warm, &cycles_end);

  const long calls_growth = calls_end.rss - calls_warm.rss;
  const long cycles_growth = cycles_end.rss - cycles_warm.rss;
  std::printf("failures: %ld\n", failures.count());
  std::printf("RSS growth after the warm-up: calls %+ld KiB, cycles %+ld KiB (limit %ld KiB)\n",
              calls_growth, cycles_growth, kGrowthLimitKiB);
  if (!calls_done || !cycles_done) return 3;
  const bool flat = calls_growth <= kGrowthLimitKiB && cycles_growth <= kGrowthLimitKiB;
  std::printf("%s\n", failures.count() == 0 && flat ? "PASS" : "FAIL");
  return failures.count() == 0 && flat ? 0 : 1;
}
