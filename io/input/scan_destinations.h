// Which kind of destination each directive of a reply format writes, and the
// check of a destination list against a format before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include "io/input/scan_args.h"
#include "io/input/scan_format.h"

namespace motqr::io {

// Index of the ScanArg alternative holding T.
template <class T>
inline constexpr std::size_t kScanArgIndex = ScanArg::Value(std::in_place_type<T>).index();

// The ScanArg alternative the destination of the (non-literal) directive `d`
// must hold.
std::size_t DestinationIndex(const ScanDirective& d);

// A directive found no destination left (as the output engine's arguments).
inline constexpr HRESULT kScanArgMissing = com::MakeHresult(0x8002000Eu);

// Every `#` slot and destination the records need is present and of the right
// kind: S_OK, kScanArgMissing (too few) or DISP_E_TYPEMISMATCH.
HRESULT CheckScanArgs(std::span<const ScanDirective> records, ScanArgs args);

// Bytes and array type of one element of a block or raw-binary directive.
std::size_t BinaryElementSize(const ScanDirective& d);
com::VARTYPE BinaryVarType(const ScanDirective& d);

// Array element type of the values a list reads.
template <class Elem>
constexpr com::VARTYPE VarTypeOf() {
  if constexpr (std::is_same_v<Elem, std::uint8_t>) return com::VT_UI1;
  if constexpr (std::is_same_v<Elem, std::int16_t>) return com::VT_I2;
  if constexpr (std::is_same_v<Elem, std::int32_t>) return com::VT_I4;
  if constexpr (std::is_same_v<Elem, std::int64_t>) return com::VT_I8;
  if constexpr (std::is_same_v<Elem, float>) return com::VT_R4;
  if constexpr (std::is_same_v<Elem, double>) return com::VT_R8;
  return com::VT_EMPTY;
}

// Hands `array` to a `$S` destination, destroying the array found there.
void ReplaceSafeArray(const ScanArg& dest, com::SAFEARRAY* array);

}  // namespace motqr::io
