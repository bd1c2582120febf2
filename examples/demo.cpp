// A first tour of the driver through its C++ component interface: create a
// driver object, open a simulated session, read the identity, exercise the
// operation flags and close. Every failure prints the driver's message.
//
//   demo                    simulated session (no instrument needed)
//   demo <resource>         a real instrument, e.g. TCPIP::127.0.0.1::5025::SOCKET
#include <cstdio>
#include <string>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

using namespace motqr;

namespace {

// Prints what failed and the message the driver left in the thread's error object.
bool Check(HRESULT hr, const char* what) {
  if (com::Succeeded(hr)) return true;
  com::ErrorRecord error;
  com::TakeErrorInfo(&error);
  std::printf("  %-34s failed 0x%08X: %s\n", what, static_cast<unsigned>(hr),
              error.description.c_str());
  return false;
}

template <class I, class M>
void PrintText(I* object, M member, const char* label) {
  com::Bstr value;
  if (Check((object->*member)(value.Put()), label))
    std::printf("  %-34s %s\n", label, value.ToUtf8().c_str());
}

void PrintFlag(IIviDriverOperation* op, HRESULT (IIviDriverOperation::*get)(VARIANT_BOOL*),
               const char* label) {
  VARIANT_BOOL v = 0;
  if (Check((op->*get)(&v), label)) std::printf("  %-34s %s\n", label, v ? "true" : "false");
}

// Sets a simulated value through `put`, reads it back through `get` and prints both.
template <class I, class T>
void SetAndRead(I* object, HRESULT (I::*put)(T), HRESULT (I::*get)(T*), T value, const char* path) {
  T back{};
  if (Check((object->*put)(value), path) && Check((object->*get)(&back), path))
    std::printf("  %-48s set %-8g read %g\n", path, static_cast<double>(value),
                static_cast<double>(back));
}

// Walks the whole object tree of a simulated session, setting and reading one
// simulated value on each interface on the way.
void WalkTheTree(IIviDriver* driver) {
  com::ComPtr<IMorvaneTqr> root;
  driver->QueryInterface(IMorvaneTqr::kIid, root.PutVoid());
  com::ComPtr<IMorvaneTqrOutputs> outputs;
  root->get_Outputs(outputs.Put());
  std::int32_t count = 0;
  outputs->get_Count(&count);
  com::Bstr name;
  outputs->get_Name(1, name.Put());
  std::printf("  Outputs: Count %d, Name(1) %s\n", count, name.ToUtf8().c_str());
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  if (!Check(outputs->get_Item(name.Get(), channel.Put()), "Outputs.Item")) return;
  SetAndRead(channel.Get(), &IMorvaneTqrOutputChannel::put_VoltageLevel,
             &IMorvaneTqrOutputChannel::get_VoltageLevel, 12.5, "Outputs[1].VoltageLevel");
  com::ComPtr<IMorvaneTqrOutputChannelProtection> protection;
  channel->get_Protection(protection.Put());
  SetAndRead(protection.Get(), &IMorvaneTqrOutputChannelProtection::put_OCPLevel,
             &IMorvaneTqrOutputChannelProtection::get_OCPLevel, 2.5,
             "Outputs[1].Protection.OCPLevel");
  com::ComPtr<IMorvaneTqrOutputChannelPulse> pulse;
  channel->get_Pulse(pulse.Put());
  SetAndRead(pulse.Get(), &IMorvaneTqrOutputChannelPulse::put_CurrentFrequency,
             &IMorvaneTqrOutputChannelPulse::get_CurrentFrequency, 100.0,
             "Outputs[1].Pulse.CurrentFrequency");
  com::ComPtr<IMorvaneTqrOutputChannelSine> sine;
  channel->get_Sine(sine.Put());
  SetAndRead(sine.Get(), &IMorvaneTqrOutputChannelSine::put_CurrentAmplitude,
             &IMorvaneTqrOutputChannelSine::get_CurrentAmplitude, 0.8,
             "Outputs[1].Sine.CurrentAmplitude");
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  channel->get_IV(iv.Put());
  SetAndRead(iv.Get(), &IMorvaneTqrOutputChannelIV::put_CurrentIVPointCount,
             &IMorvaneTqrOutputChannelIV::get_CurrentIVPointCount, std::int32_t{16},
             "Outputs[1].IV.CurrentIVPointCount");

  com::ComPtr<IMorvaneTqrSystem> system;
  root->get_System(system.Put());
  com::ComPtr<IMorvaneTqrSystemAnalog> analog;
  system->get_Analog(analog.Put());
  SetAndRead(analog.Get(), &IMorvaneTqrSystemAnalog::put_AnalogControlVoltageRange,
             &IMorvaneTqrSystemAnalog::get_AnalogControlVoltageRange, 10.0,
             "System.Analog.AnalogControlVoltageRange");
  com::ComPtr<IMorvaneTqrSystemIO> io;
  system->get_IO(io.Put());
  SetAndRead(io.Get(), &IMorvaneTqrSystemIO::put_IOEnabled, &IMorvaneTqrSystemIO::get_IOEnabled,
             com::VARIANT_TRUE, "System.IO.IOEnabled");
  com::ComPtr<IMorvaneTqrSystemMemory> memory;
  com::ComPtr<IMorvaneTqrSystemDiagnostic> diagnostic;
  system->get_Memory(memory.Put());
  system->get_Diagnostic(diagnostic.Put());
  std::printf("  System.Memory, System.Diagnostic                 reached\n");

  com::ComPtr<IMorvaneTqrStatus> status;
  root->get_Status(status.Put());
  com::ComPtr<IMorvaneTqrStatusOperation> operation;
  com::ComPtr<IMorvaneTqrStatusQuestionable> questionable;
  status->get_Operation(operation.Put());
  status->get_Questionable(questionable.Put());
  SetAndRead(operation.Get(), &IMorvaneTqrStatusOperation::put_PositiveTransition,
             &IMorvaneTqrStatusOperation::get_PositiveTransition, std::int16_t{0x0003},
             "Status.Operation.PositiveTransition");
  SetAndRead(questionable.Get(), &IMorvaneTqrStatusQuestionable::put_NegativeTransition,
             &IMorvaneTqrStatusQuestionable::get_NegativeTransition, std::int16_t{0x0007},
             "Status.Questionable.NegativeTransition");

  std::printf("  a member that needs the instrument fails in simulation:\n");
  double lo = 0, hi = 0;
  Check(channel->QueryVoltageLevelMinMax(&lo, &hi), "QueryVoltageLevelMinMax");
}

}  // namespace

int main(int argc, char** argv) {
  const bool simulated = argc < 2;
  const std::string resource = simulated ? "TCPIP::127.0.0.1::5025::SOCKET" : argv[1];
  const std::string options = simulated ? "Simulate=true, DriverSetup=Model=TQR-M4" : "";

  std::printf("Creating the MorvaneTqr driver object\n");
  com::ComPtr<IIviDriver> driver;
  if (!Check(CreateMorvaneTqr(driver.Put()), "CreateMorvaneTqr")) return 1;
  com::ComPtr<IIviDriverIdentity> identity;
  com::ComPtr<IIviDriverOperation> operation;
  com::ComPtr<IIviDriverUtility> utility;
  driver->get_Identity(identity.Put());
  driver->get_DriverOperation(operation.Put());
  driver->get_Utility(utility.Put());

  std::printf("\nBefore Initialize: the driver's own identity\n");
  PrintText(identity.Get(), &IIviDriverIdentity::get_Description, "Description");
  PrintText(identity.Get(), &IIviDriverIdentity::get_Revision, "Revision");
  PrintText(identity.Get(), &IIviDriverIdentity::get_Vendor, "Vendor");
  PrintText(identity.Get(), &IIviDriverIdentity::get_SupportedInstrumentModels,
            "SupportedInstrumentModels");
  PrintText(identity.Get(), &IIviDriverIdentity::get_InstrumentModel,
            "InstrumentModel (needs a session)");

  std::printf("\nInitialize(\"%s\", IdQuery=true, Reset=true, \"%s\")\n", resource.c_str(),
              options.c_str());
  if (!Check(driver->Initialize(com::Bstr::FromUtf8(resource).Get(), com::VARIANT_TRUE,
                                com::VARIANT_TRUE, com::Bstr::FromUtf8(options).Get()),
             "Initialize"))
    return 1;

  std::printf("\nThe instrument\n");
  PrintText(identity.Get(), &IIviDriverIdentity::get_InstrumentManufacturer,
            "InstrumentManufacturer");
  PrintText(identity.Get(), &IIviDriverIdentity::get_InstrumentModel, "InstrumentModel");
  PrintText(identity.Get(), &IIviDriverIdentity::get_InstrumentFirmwareRevision,
            "InstrumentFirmwareRevision");
  PrintText(identity.Get(), &IIviDriverIdentity::get_GroupCapabilities, "GroupCapabilities");
  PrintText(operation.Get(), &IIviDriverOperation::get_IoResourceDescriptor,
            "IoResourceDescriptor");
  PrintText(operation.Get(), &IIviDriverOperation::get_DriverSetup, "DriverSetup");

  std::printf("\nOperation flags\n");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_Simulate, "Simulate");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_Cache, "Cache");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_RangeCheck, "RangeCheck");
  std::printf("  setting RangeCheck false, QueryInstrumentStatus true\n");
  Check(operation->put_RangeCheck(com::VARIANT_FALSE), "put_RangeCheck");
  Check(operation->put_QueryInstrumentStatus(com::VARIANT_TRUE), "put_QueryInstrumentStatus");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_RangeCheck, "RangeCheck");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_QueryInstrumentStatus,
            "QueryInstrumentStatus");
  std::printf("  what the driver refuses, with its messages:\n");
  Check(operation->put_InterchangeCheck(com::VARIANT_TRUE), "put_InterchangeCheck(true)");
  if (simulated) Check(operation->put_Simulate(com::VARIANT_FALSE), "put_Simulate(false)");
  Check(utility->LockObject(), "LockObject");
  std::printf("  ResetWithDefaults restores the flags of Initialize\n");
  Check(utility->ResetWithDefaults(), "ResetWithDefaults");
  PrintFlag(operation.Get(), &IIviDriverOperation::get_RangeCheck, "RangeCheck");

  if (simulated) {
    std::printf("\nThe object tree, with simulated values\n");
    WalkTheTree(driver.Get());
  }

  std::printf("\nUtility\n");
  std::int32_t code = 0;
  com::Bstr message;
  if (Check(utility->SelfTest(&code, message.Put()), "SelfTest"))
    std::printf("  %-34s %d, %s\n", "SelfTest", code, message.ToUtf8().c_str());
  if (Check(utility->ErrorQuery(&code, message.Put()), "ErrorQuery"))
    std::printf("  %-34s %d, %s\n", "ErrorQuery", code, message.ToUtf8().c_str());

  std::printf("\nClose\n");
  if (!Check(driver->Close(), "Close")) return 1;
  Check(utility->Reset(), "Reset after Close");
  std::printf("\nDone.\n");
  return 0;
}
