// FormattedIO488: IEEE 488.2 formatted I/O over any IMessage, with a write buffer flushed
// without END when full and with END on request, and a read buffer that holds the rest of
// the response being read.
//
//   ComPtr<IFormattedIO488> io;   // CoCreateInstance(kClsidFormattedIO488, ...)
//   io->putref_IO(message.Get());
//   io->WriteString(command, VARIANT_TRUE);      // "*IDN?\n", flushed with END
//   io->ReadString(reply.Put());                  // the whole response, terminator included
//
// Numbers are written and read without regard to the process locale. A reply is bounded:
// a response longer than kMaxResponseBytes, a number token longer than 256 characters or an
// IEEE 488.2 block longer than kMaxResponseBytes is an error, never an unbounded allocation.
#pragma once

#include <cstddef>

#include "platform/visa/visa_com_interfaces.h"

namespace motqr::visa {

inline constexpr std::size_t kMaxResponseBytes = 64U * 1024U * 1024U;
inline constexpr std::int32_t kDefaultFormattedBufferSize = 4096;

// Class factory function of FormattedIO488 (the shape com::CreateInstanceFunction).
HRESULT CreateFormattedIO488(com::IUnknown* outer, const IID& iid, void** object);

}  // namespace motqr::visa
