// Status codes for C callers: the C code of a component status, and the text
// of a C code for the C interface's error message function.
//
//   std::int32_t c = ToCStatus(hr);      // E_IVI_NULL_POINTER -> 0xBFFA0058
//   const char* text = CStatusText(c);   // "Null pointer passed for function '%1', parameter
//   '%2'."
#pragma once

#include <cstdint>

#include "platform/com/types.h"

namespace motqr::errors {

// 0 stays 0; each status of the message table becomes its C code; every other
// status becomes kCStatusUnmapped (0x80000000).
com::HRESULT ToCStatus(com::HRESULT status) noexcept;

// The text of a C code (inserts %1 to %4 unfilled), from the 45 codes of the
// message table and the C-only codes; null for any other code. The text has
// static storage duration.
const char* CStatusText(std::int32_t c_code) noexcept;

}  // namespace motqr::errors
