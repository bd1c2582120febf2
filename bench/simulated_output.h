// A driver session in simulation and its first output channel, for benchmarks that
// time calls without an instrument.
#pragma once

#include <string>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

namespace motqr::bench {

struct SimulatedOutput {
  com::ComPtr<IIviDriver> driver;
  com::ComPtr<IIviDCPwrOutput> output;

  // Opens the session with `options` ("Simulate=true" and more); false when it fails.
  bool Open(const std::string& options) {
    if (com::Failed(CreateMorvaneTqr(driver.Put())) ||
        com::Failed(driver->Initialize(com::Bstr::FromUtf8("TCPIP::127.0.0.1::5025::SOCKET").Get(),
                                       0, 0, com::Bstr::FromUtf8(options).Get()))) {
      return false;
    }
    com::ComPtr<IIviDCPwr> dcpwr;
    com::ComPtr<IIviDCPwrOutputs> outputs;
    return com::Succeeded(driver.As(&dcpwr)) && dcpwr &&
           dcpwr->get_Outputs(outputs.Put()) == com::S_OK &&
           outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output.Put()) ==
               com::S_OK;
  }
  ~SimulatedOutput() {
    if (driver) driver->Close();
  }
};

}  // namespace motqr::bench
