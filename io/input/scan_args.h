// ScanArg: one destination (or `#` width/count slot) of the reply parser,
// carried as a typed pointer so that a destination of the wrong kind is
// refused with DISP_E_TYPEMISMATCH before anything is read, never written
// through the wrong type.
//
//   double volts;                      // "%lf"        -> double*
//   std::int16_t enabled;              // "%{VARIANT_BOOL}[^\n]" -> std::int16_t*
//   std::string name;                  // "%$Ct"       -> std::string*
//   char text[32];                     // "%[^\n]"     -> char[32] (a byte buffer)
//   com::SAFEARRAY* values = nullptr;  // "%,$Slf"     -> com::SAFEARRAY**
//   std::int32_t words[16];            // "%,16d"      -> std::int32_t[16] (a caller array;
//                                      //    a std::span or std::vector of the type works too)
//   std::int32_t max = 6;              // "%#$Cs"      -> &max first, then the destination
//
// Byte buffers and caller arrays are spans: the engine never writes beyond
// the span, whatever width or count the format or the reply names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::io {

using ScanValue =
    std::variant<std::uint8_t*, std::int16_t*, std::int32_t*, std::int64_t*, float*, double*,
                 std::span<char>, com::BSTR*, std::string*, com::SAFEARRAY**,
                 std::span<std::uint8_t>, std::span<std::int16_t>, std::span<std::int32_t>,
                 std::span<std::int64_t>, std::span<float>, std::span<double>, std::span<com::BSTR>,
                 std::span<std::string>, std::span<std::span<char>>>;

// Whether a C++ argument can be a reply destination.
template <class A>
inline constexpr bool kScanArgAccepts = [] {
  using D = std::remove_cvref_t<A>;
  if constexpr (std::is_array_v<D>) {
    return std::rank_v<D> == 1 &&
           std::is_constructible_v<ScanValue, std::span<std::remove_extent_t<D>>>;
  } else {
    // A std::string is not taken for a byte buffer: pass its address ("%$Cs").
    return !std::is_same_v<D, std::string> && std::is_constructible_v<ScanValue, A>;
  }
}();

class ScanArg {
 public:
  using Value = ScanValue;

  // Scalars, `#` slots (std::int32_t*), wide strings, string objects and safe
  // arrays as pointers; byte buffers and caller arrays as spans or as arrays
  // (an array is never taken for a pointer to its first element). Anything
  // else does not compile.
  template <class A>
  requires(kScanArgAccepts<A>) ScanArg(A&& destination)
      : value_(Convert(std::forward<A>(destination))) {}

  const Value& value() const { return value_; }

 private:
  template <class A>
  static Value Convert(A&& destination) {
    using D = std::remove_cvref_t<A>;
    if constexpr (std::is_array_v<D>) {
      return Value(std::span<std::remove_extent_t<D>>(destination));
    } else {
      return Value(std::forward<A>(destination));
    }
  }

  Value value_;
};

using ScanArgs = std::span<const ScanArg>;

}  // namespace motqr::io
