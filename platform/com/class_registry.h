// The process's class registry: class id -> class object (factory).
//
// Layers that own component classes register their factories explicitly
// (there are no static constructors); CoCreateInstance then finds them.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

namespace motqr::com {

// Context flags accepted for compatibility; every class here is in-process.
inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr std::uint32_t CLSCTX_ALL = 0x17;

// Creates an instance of a class: the shape every factory function has.
using CreateInstanceFunction = HRESULT (*)(IUnknown* outer, const IID& iid, void** object);

// A class object that calls `create` for each new instance.
ComPtr<IClassFactory> MakeClassFactory(CreateInstanceFunction create);

// Registers (or replaces) the class object of `clsid`.
MOTQR_EXPORT HRESULT RegisterClassObject(const CLSID& clsid, IClassFactory* factory);
MOTQR_EXPORT HRESULT RevokeClassObject(const CLSID& clsid);
MOTQR_EXPORT HRESULT CoGetClassObject(const CLSID& clsid, std::uint32_t context, const IID& iid,
                                      void** object);
MOTQR_EXPORT HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context,
                                      const IID& iid, void** object);

}  // namespace motqr::com
