// Built against an installed driver: a simulated session through the C++ component interface,
// a level set and read back on the output channel, and a failure's message from the thread's
// error object.
#include <cstdio>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

using namespace motqr;

int main() {
  com::ComPtr<IIviDriver> driver;
  if (com::Failed(CreateMorvaneTqr(driver.Put())) ||
      com::Failed(driver->Initialize(com::Bstr::FromUtf8("").Get(), com::VARIANT_FALSE,
                                     com::VARIANT_FALSE,
                                     com::Bstr::FromUtf8("Simulate=true").Get()))) {
    std::fprintf(stderr, "no simulated session\n");
    return 1;
  }
  com::ComPtr<IMorvaneTqr> tqr;
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  double volts = 0.0;
  if (com::Failed(driver.As(&tqr)) || com::Failed(tqr->get_Outputs(outputs.Put())) ||
      com::Failed(outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), channel.Put())) ||
      com::Failed(channel->put_VoltageLevel(5.0)) ||
      com::Failed(channel->get_VoltageLevel(&volts)) || volts != 5.0) {
    std::fprintf(stderr, "level not read back: %g V\n", volts);
    return 1;
  }
  // An unknown channel fails, and the thread's error object says why.
  com::ComPtr<IMorvaneTqrOutputChannel> missing;
  const HRESULT hr = outputs->get_Item(com::Bstr::FromUtf8("NoSuchChannel").Get(), missing.Put());
  com::ErrorRecord error;
  const bool described = com::TakeErrorInfo(&error) && !error.description.empty();
  driver->Close();
  if (com::Succeeded(hr) || !described) {
    std::fprintf(stderr, "no message for a bad channel: 0x%08X\n", static_cast<unsigned>(hr));
    return 1;
  }
  std::printf("C++ consumer: %g V, then \"%s\"\n", volts, error.description.c_str());
  return 0;
}
