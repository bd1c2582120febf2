// Status values and time-out conventions shared by the whole I/O layer.
#pragma once

#include <cstdint>

#include "platform/com/types.h"

namespace motqr::io {

using com::HRESULT;

// Success, but a read stopped at the requested count (or a full buffer) rather
// than at the end of the response: more of the response may follow.
inline constexpr HRESULT S_MORE_DATA = 0x00040102;

// Time-outs are signed milliseconds; kTmoKeep keeps the session's current one.
inline constexpr std::int32_t kTmoKeep = -2;

}  // namespace motqr::io
