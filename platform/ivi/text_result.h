// The IVI C text-result convention: a caller passes a buffer size and a buffer,
// and learns the size it needs from the status when the text does not fit.
//
//   char name[16];
//   ViStatus s = CopyTextResult(text, sizeof name, name);
//   // s == 0: all of `text` is in `name`; s > 0: `name` holds a truncated copy
//   // and s is the size that would have held all of it (length + 1).
#pragma once

#include <cstdint>
#include <string_view>

namespace motqr::ivi {

// Size 0 or a null buffer: nothing copied, length + 1 returned. Size from 1 to
// the length: the first size - 1 bytes and a terminating zero, length + 1
// returned. A negative size (the caller guarantees room) or size > length: the
// whole text and its zero, 0 returned. A length beyond what a status can carry
// reports INT32_MAX.
std::int32_t CopyTextResult(std::string_view text, std::int32_t buffer_size, char* buffer);

}  // namespace motqr::ivi
