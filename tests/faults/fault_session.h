// A driver session for the fault tests: the driver opened on a resource with
// a short I/O time-out, its sub-interfaces at hand, and results of every kind
// rendered as text so that one table can compare them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "interfaces/motqr_interfaces.h"
#include "tests/e2e/e2e_support.h"

namespace motqr::faults {

using e2e::As;
using e2e::LastError;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

inline constexpr com::HRESULT kUnexpectedResponse = com::MakeHresult(0x80047059u);

// The result of one member call: its status, the thread's error text on
// failure, and its results as text ("1.5", "1,2,3", "P1").
struct Outcome {
  com::HRESULT hr = com::S_OK;
  std::string error;
  std::string value;
};

std::string Text(double value);
std::string Text(const com::SafeArray& array);
std::string Text(const com::Bstr& text);

class FaultSession {
 public:
  // Opens `resource` with "QueryInstrStatus=true" and sets the I/O time-out.
  com::HRESULT Open(const std::string& resource, std::int32_t timeout_ms);
  // The same without status checking: one exchange per query.
  com::HRESULT OpenPlain(const std::string& resource, std::int32_t timeout_ms);
  com::HRESULT Close() { return driver->Close(); }
  // `status` with the thread's error text taken when it is a failure.
  Outcome Finish(com::HRESULT status, std::string value = {});

  com::ComPtr<IIviDriver> driver = e2e::NewDriver();
  com::ComPtr<IMorvaneTqr> tqr;
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  com::ComPtr<IMorvaneTqrSystem> system;

 private:
  com::HRESULT OpenWith(const std::string& resource, std::int32_t timeout_ms,
                        const std::string& options);
};

}  // namespace motqr::faults
