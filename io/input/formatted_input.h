// The reply parser of the formatted I/O engine: reads an instrument's response
// out of a read buffer according to a scanf-like format.
//
//   double volts = 0;
//   HRESULT hr = Scan(buffer, enums, "%lf", &volts);              // "1.5\n"
//
//   double lo = 0, hi = 0;
//   hr = Scan(buffer, enums, "%lf;%lf", &lo, &hi);                // "0;20"
//
//   std::string maker, model;
//   std::int32_t serial = 0, version = 0;
//   hr = Scan(buffer, enums, "%$C[^,], %$C[^,], %d, %d", &maker, &model, &serial, &version);
//
//   com::SAFEARRAY* values = nullptr;                              // caller frees
//   hr = Scan(buffer, enums, "%,$Slf", &values);                  // "1.5,2.5,3.5"
//
//   std::int32_t max = 6;                                          // capacity in,
//   std::string name;                                              // count out
//   hr = Scan(buffer, enums, "%#$Cs", &max, &name);
//
//   std::int32_t words[256];                                       // a caller array
//   std::int32_t n = 256;
//   hr = Scan(buffer, enums, "%#lb", &n, words);                   // "#18<8 bytes>"
//
// Destinations are passed left to right: for each directive first a
// std::int32_t* for every `#` in it (capacity in, number stored out), then,
// unless the directive is suppressed with `*`, its destination (see
// scan_args.h for the kinds). A destination of the wrong kind, or too few
// destinations, is refused before anything is read (DISP_E_TYPEMISMATCH,
// 0x8002000E); destinations beyond those the format uses are ignored.
//
// Results: S_OK when the response ended (the directive whose read reached the
// end is the last one executed; later destinations are left untouched),
// S_MORE_DATA when the format was used up with data left in the response, or
// a failure:
//   E_UNEXPECTED  the format cannot be cut into directives (nothing is read),
//                 literal text or a number does not match, a number does not
//                 fit its destination, a bad or short block, a list or block
//                 without count and without `$S`;
//   E_INVALIDARG  a null destination, or an enum directive without formatter;
//   E_OUTOFMEMORY memory ran out, or a list of more than kMaxListElements
//                 elements or a text field of more than kMaxTextField bytes;
//   the enum formatter's status for a token it does not know;
//   the buffer's status when a read fails.
// Destinations filled before a failure keep their new values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "io/enum_formatter.h"
#include "io/input/scan_args.h"
#include "io/io_buffer.h"

namespace motqr::io {

// Most elements a list read into a new safe array may hold.
inline constexpr std::int64_t kMaxListElements = std::int64_t{1} << 24;

// `enums` may be null when the format has no `{Type}` directive.
HRESULT VScan(IIoBuffer& buffer, IEnumFormatter* enums, std::string_view format, ScanArgs args);

// The directive a failed scan was executing: its text ("%lf") and what it reads
// in words ("a real number"). Both are empty when no directive ran (the
// format or the destinations were refused).
struct ScanFailure {
  std::string directive;
  std::string expected;
};
HRESULT VScan(IIoBuffer& buffer, IEnumFormatter* enums, std::string_view format, ScanArgs args,
              ScanFailure* failure);

template <class... Destinations>
HRESULT Scan(IIoBuffer& buffer, IEnumFormatter* enums, std::string_view format,
             Destinations&&... destinations) {
  static_assert((kScanArgAccepts<Destinations&&> && ...),
                "a reply destination must be one of the kinds ScanArg accepts");
  const std::array<ScanArg, sizeof...(Destinations)> args{
      ScanArg(std::forward<Destinations>(destinations))...};
  return VScan(buffer, enums, format, ScanArgs(args.data(), args.size()));
}

}  // namespace motqr::io
