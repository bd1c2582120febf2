// A first tour of the driver through its C++ component interface: create a
// driver object, open a simulated session, read the identity, exercise the
// operation flags and close. Every failure prints the driver's message.
//
//   demo                    simulated session (no instrument needed)
//   demo <resource>         a real instrument, e.g. TCPIP::127.0.0.1::5025::SOCKET
#include <cstdio>
#include <string>

#include "component/motqr.hpp"

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
