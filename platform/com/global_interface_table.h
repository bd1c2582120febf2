// The process-wide global interface table: a cookie stands for one registered
// object (holding a reference) until it is revoked. Cookies are never reused.
#pragma once

#include "platform/com/unknown.h"

namespace motqr::com {

HRESULT RegisterInterfaceInGlobal(IUnknown* object, const IID& iid, std::uint32_t* cookie);
HRESULT RevokeInterfaceFromGlobal(std::uint32_t cookie);
// Hands out a new reference to the registered object through interface `iid`.
HRESULT GetInterfaceFromGlobal(std::uint32_t cookie, const IID& iid, void** object);

}  // namespace motqr::com
