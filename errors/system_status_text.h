// The component runtime's own text for a status code it defines (E_INVALIDARG,
// E_POINTER, DISP_E_TYPEMISMATCH ...), for failures that reach a member's
// caller without a report of their own.
//
//   SystemStatusText(com::E_INVALIDARG)  // "One or more arguments are invalid."
#pragma once

#include <string>

#include "platform/com/types.h"

namespace motqr::errors {

// The text of `code`, or "Unknown failure 0x8xxxxxxx." for a code the runtime
// does not define. May throw std::bad_alloc.
std::string SystemStatusText(com::HRESULT code);

}  // namespace motqr::errors
