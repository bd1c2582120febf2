// The typed number reads of the I/O session: one real number read as by "%e"
// with a width of 100 characters, optionally followed by discarding the rest of
// the response, checked against the destination type and stored (integers
// truncated toward zero).
//
//   std::int16_t status = 0;
//   hr = ReadNumber(buffer, reporter, /*discard=*/true, &status);
//
// A value outside the destination's range is reported as an I/O error with
// the text "Overflow or underflow reading value of '<%e of the value>' into a
// BYTE." (or "a short.", "a long.", "a single-precision float.").
#pragma once

#include <cstdint>

#include "errors/error_reporter.h"
#include "io/io_buffer.h"

namespace motqr::io {

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::uint8_t* value);
HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::int16_t* value);
HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::int32_t* value);
HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard, float* value);
HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   double* value);

}  // namespace motqr::io
