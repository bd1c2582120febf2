// motqr: the C++ component interface of the Morvane TQR-M1..M7 driver.
//
// A program includes this header, links libmotqr.so and creates the driver
// through the class factory:
//
//   using namespace motqr;
//   com::ComPtr<IIviDriver> driver;
//   if (com::Failed(CreateMorvaneTqr(driver.Put()))) ...
//   driver->Initialize(com::Bstr::FromUtf8("TCPIP::127.0.0.1::5025::SOCKET").Get(),
//                      com::VARIANT_TRUE, com::VARIANT_FALSE, com::Bstr::FromUtf8("").Get());
//   ... driver->Close();
//
// Every member returns a status code (negative: failure). After a failure the
// calling thread's error object (com::GetErrorInfo) holds the message.
#pragma once

#if __cplusplus < 202002L
#error \
    "component/motqr.hpp needs C++20: compile with -std=c++20 (or use the C interface, capi/motqr.h)"
#endif

#include "component/find_instruments.hpp"
#include "interfaces/ivi_driver.h"
#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"

namespace motqr {

// Class identifiers of the driver class and the output channel class.
inline constexpr com::CLSID CLSID_MorvaneTqr{
    0x6F1E2A41, 0x5C0B, 0x4E63, {0x9A, 0x1D, 0x2B, 0x7C, 0x41, 0x0E, 0x93, 0x51}};
inline constexpr com::CLSID CLSID_MorvaneTqrOutputChannel{
    0x6F1E2A42, 0x5C0B, 0x4E63, {0x9A, 0x1D, 0x2B, 0x7C, 0x41, 0x0E, 0x93, 0x51}};

// Creates a new driver object and hands out its IIviDriver interface.
MOTQR_EXPORT HRESULT CreateMorvaneTqr(IIviDriver** driver);

// Why the last Initialize of `driver` (any of its interfaces) passed over the
// IVI configuration store: a store that exists but cannot be loaded is not
// used, and Initialize goes on with the resource name as given. *warning is a
// new string the caller frees ("The IVI configuration store <path> could not
// be loaded and was not used: <reason>."), or null when the store was used or
// there is none. E_POINTER for a null argument, E_NOINTERFACE for an object
// that is not a MorvaneTqr driver object.
//
//   com::Bstr warning;
//   if (GetConfigurationStoreWarning(driver.Get(), warning.Put()) == com::S_OK &&
//       !warning.IsNull()) std::fprintf(stderr, "%s\n", warning.ToUtf8().c_str());
MOTQR_EXPORT HRESULT GetConfigurationStoreWarning(com::IUnknown* driver, BSTR* warning);

}  // namespace motqr

extern "C" {
// The class-factory entry points of the module.
MOTQR_EXPORT motqr::com::HRESULT DllGetClassObject(const motqr::com::CLSID& clsid,
                                                   const motqr::com::IID& iid, void** object);
MOTQR_EXPORT motqr::com::HRESULT DllCanUnloadNow();
}
