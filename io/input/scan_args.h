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
//   std::int32_t words[16];            // "%,16d"      -> std::int32_t[16] (a caller array)
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
#include <variant>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::io {

class ScanArg {
 public:
  using Value =
      std::variant<std::uint8_t*, std::int16_t*, std::int32_t*, std::int64_t*, float*, double*,
                   std::span<char>, com::BSTR*, std::string*, com::SAFEARRAY**,
                   std::span<std::uint8_t>, std::span<std::int16_t>, std::span<std::int32_t>,
                   std::span<std::int64_t>, std::span<float>, std::span<double>,
                   std::span<com::BSTR>, std::span<std::string>, std::span<std::span<char>>>;

  // Scalars, `#` slots (std::int32_t*), wide strings, string objects, safe arrays.
  ScanArg(std::uint8_t* p) : value_(p) {}
  ScanArg(std::int16_t* p) : value_(p) {}
  ScanArg(std::int32_t* p) : value_(p) {}
  ScanArg(std::int64_t* p) : value_(p) {}
  ScanArg(float* p) : value_(p) {}
  ScanArg(double* p) : value_(p) {}
  ScanArg(com::BSTR* p) : value_(p) {}
  ScanArg(std::string* p) : value_(p) {}
  ScanArg(com::SAFEARRAY** p) : value_(p) {}

  // Byte buffers (text and `%c`) and caller arrays (lists and blocks).
  template <class T>
  requires std::is_constructible_v<Value, std::span<T>> ScanArg(std::span<T> s) : value_(s) {}
  template <class T, std::size_t N>
  requires std::is_constructible_v<Value, std::span<T>> ScanArg(T (&a)[N])
      : value_(std::span<T>(a)) {}

  const Value& value() const { return value_; }

 private:
  Value value_;
};

using ScanArgs = std::span<const ScanArg>;

}  // namespace motqr::io
