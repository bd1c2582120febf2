// A session with a real instrument (or tqr-sim): identify it, set levels,
// switch the output on, measure, read the regulation state, trip and clear a
// protection, see an instrument error, switch off. Every failure prints the
// driver's message.
//
//   instrument_tour TCPIP::127.0.0.1::5025::SOCKET
#include <cstdio>
#include <string>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

using namespace motqr;

namespace {

bool Check(HRESULT hr, const char* what) {
  if (com::Succeeded(hr)) return true;
  com::ErrorRecord error;
  com::TakeErrorInfo(&error);
  std::printf("  %-40s failed 0x%08X: %s\n", what, static_cast<unsigned>(hr),
              error.description.c_str());
  return false;
}

void Measure(IIviDCPwrOutput* output) {
  double volts = 0, amps = 0;
  if (Check(output->Measure(IviDCPwrMeasurementVoltage, &volts), "Measure voltage") &&
      Check(output->Measure(IviDCPwrMeasurementCurrent, &amps), "Measure current"))
    std::printf("  measured                                 %.4f V, %.4f A\n", volts, amps);
}

void State(IIviDCPwrOutput* output) {
  struct Named {
    IviDCPwrOutputStateEnum state;
    const char* name;
  };
  std::printf("  regulation state                        ");
  for (Named n :
       {Named{IviDCPwrOutputConstantVoltage, "CV"}, Named{IviDCPwrOutputConstantCurrent, "CC"},
        Named{IviDCPwrOutputOverVoltage, "OV"}, Named{IviDCPwrOutputOverCurrent, "OC"}}) {
    VARIANT_BOOL in = 0;
    if (com::Succeeded(output->QueryState(n.state, &in))) std::printf(" %s=%d", n.name, in ? 1 : 0);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <resource>   e.g. TCPIP::127.0.0.1::5025::SOCKET\n", argv[0]);
    return 2;
  }
  com::ComPtr<IIviDriver> driver;
  if (!Check(CreateMorvaneTqr(driver.Put()), "CreateMorvaneTqr")) return 1;
  std::printf("Initialize(\"%s\", IdQuery, Reset, \"QueryInstrStatus=true\")\n", argv[1]);
  if (!Check(
          driver->Initialize(com::Bstr::FromUtf8(argv[1]).Get(), com::VARIANT_TRUE,
                             com::VARIANT_TRUE, com::Bstr::FromUtf8("QueryInstrStatus=true").Get()),
          "Initialize"))
    return 1;

  com::ComPtr<IIviDriverIdentity> identity;
  driver->get_Identity(identity.Put());
  com::Bstr maker, model, firmware;
  identity->get_InstrumentManufacturer(maker.Put());
  identity->get_InstrumentModel(model.Put());
  identity->get_InstrumentFirmwareRevision(firmware.Put());
  std::printf("  instrument                               %s %s, firmware %s\n",
              maker.ToUtf8().c_str(), model.ToUtf8().c_str(), firmware.ToUtf8().c_str());

  com::ComPtr<IIviDCPwr> dcpwr;
  driver.As(&dcpwr);
  com::ComPtr<IIviDCPwrOutputs> outputs;
  dcpwr->get_Outputs(outputs.Put());
  com::ComPtr<IIviDCPwrOutput> output;
  if (!Check(outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output.Put()),
             "Outputs.Item"))
    return 1;

  std::printf("\nSet 5 V with a 1 A limit and switch the output on\n");
  Check(output->put_VoltageLevel(5.0), "VoltageLevel = 5");
  Check(output->put_CurrentLimit(1.0), "CurrentLimit = 1");
  Check(output->put_Enabled(com::VARIANT_TRUE), "Enabled = true");
  Measure(output.Get());
  State(output.Get());

  std::printf("\nOvervoltage protection at 4 V, then a 3 A limit lets the output reach 5 V\n");
  Check(output->put_OVPLimit(4.0), "OVPLimit = 4");
  Check(output->put_CurrentLimit(3.0), "CurrentLimit = 3");
  State(output.Get());
  VARIANT_BOOL enabled = 0;
  if (Check(output->get_Enabled(&enabled), "Enabled"))
    std::printf("  output after the trip                    %s\n", enabled ? "on" : "off");
  std::printf("  clearing the protection\n");
  Check(output->put_OVPLimit(10.0), "OVPLimit = 10");
  Check(output->ResetOutputProtection(), "ResetOutputProtection");
  Check(output->put_Enabled(com::VARIANT_TRUE), "Enabled = true");
  Measure(output.Get());
  State(output.Get());

  std::printf("\nA level the instrument refuses, with status checking on\n");
  Check(output->put_VoltageLevel(1e6), "VoltageLevel = 1e6");
  com::ComPtr<IIviDriverUtility> utility;
  driver->get_Utility(utility.Put());
  std::int32_t code = 0;
  com::Bstr message;
  if (Check(utility->ErrorQuery(&code, message.Put()), "ErrorQuery"))
    std::printf("  ErrorQuery                               %d, %s\n", code,
                message.ToUtf8().c_str());

  std::printf("\nSwitch off and close\n");
  Check(output->put_Enabled(com::VARIANT_FALSE), "Enabled = false");
  if (!Check(driver->Close(), "Close")) return 1;
  std::printf("Done.\n");
  return 0;
}
