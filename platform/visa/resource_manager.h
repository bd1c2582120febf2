// The VISA-COM global resource manager and the class registrations of this layer.
//
//   motqr::visa::RegisterVisaComClasses();   // once, by whoever loads the driver
//   ComPtr<IResourceManager> rm;
//   com::CoCreateInstance(kClsidResourceManager, nullptr, com::CLSCTX_ALL,
//                         IResourceManager::kIid, rm.PutVoid());
//
// The resource manager class is registered under kClsidResourceManager and under the
// alternative kClsidResourceManagerAlternate; FormattedIO488 under kClsidFormattedIO488.
// There are no static constructors: nothing is registered until RegisterVisaComClasses runs.
#pragma once

#include "platform/visa/visa_com_interfaces.h"

namespace motqr::visa {

// Registers (or re-registers) the three classes in the process's class registry.
HRESULT RegisterVisaComClasses();
// Removes them again (tests use it to see the driver's fallback and failure paths).
void RevokeVisaComClasses();
// Registers only the resource manager under `clsid` (tests of the fallback identifier).
HRESULT RegisterResourceManagerClass(const com::CLSID& clsid);

// Class factory function of the resource manager (the shape com::CreateInstanceFunction).
HRESULT CreateResourceManager(com::IUnknown* outer, const IID& iid, void** object);

}  // namespace motqr::visa
