// Codec<Kind, T>: turns a member's value of type T into a Scalar and reads one
// from command-line text. Kind says what the value means where the C++ type
// alone does not (VARIANT_BOOL and a 16-bit register are both int16_t):
//
//   Codec<ValueKind::kBoolean, VARIANT_BOOL>::Parse("on", &v);   // v == -1
//   Codec<ValueKind::kInteger, MorvaneTqrOutputFunctionModeEnum>::Format(mode).text == "Pulse"
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/com/bstr.h"
#include "platform/com/types.h"
#include "tools/enum_names.h"
#include "tools/scalar.h"

namespace motqr::cli {

// The value types of the attribute rows (capi/attributes.def's Type column).
enum class ValueKind { kInteger, kReal, kBoolean, kText };

template <ValueKind K, class T>
struct Codec;

template <>
struct Codec<ValueKind::kReal, double> {
  static Scalar Format(double v) { return Scalar::Number(v); }
  static bool Parse(std::string_view text, double* v) {
    auto r = ParseReal(text);
    if (r) *v = *r;
    return r.has_value();
  }
  static std::string Describe() { return "real"; }
};

template <>
struct Codec<ValueKind::kInteger, std::int32_t> {
  static Scalar Format(std::int32_t v) { return Scalar::Integer(v); }
  static bool Parse(std::string_view text, std::int32_t* v) {
    auto r = ParseInteger(text);
    if (!r || *r < std::numeric_limits<std::int32_t>::min() ||
        *r > std::numeric_limits<std::int32_t>::max())
      return false;
    *v = static_cast<std::int32_t>(*r);
    return true;
  }
  static std::string Describe() { return "integer"; }
};

// A 16-bit status register: shown as its bits (0..65535); negative values of
// the signed type are accepted too.
template <>
struct Codec<ValueKind::kInteger, std::int16_t> {
  static Scalar Format(std::int16_t v) { return Scalar::Integer(static_cast<std::uint16_t>(v)); }
  static bool Parse(std::string_view text, std::int16_t* v) {
    auto r = ParseInteger(text);
    if (!r || *r < std::numeric_limits<std::int16_t>::min() || *r > 0xFFFF) return false;
    *v = static_cast<std::int16_t>(static_cast<std::uint16_t>(*r & 0xFFFF));
    return true;
  }
  static std::string Describe() { return "register (0..65535)"; }
};

template <>
struct Codec<ValueKind::kBoolean, com::VARIANT_BOOL> {
  static Scalar Format(com::VARIANT_BOOL v) { return Scalar::Boolean(v != com::VARIANT_FALSE); }
  static bool Parse(std::string_view text, com::VARIANT_BOOL* v) {
    auto r = ParseBoolean(text);
    if (r) *v = *r ? com::VARIANT_TRUE : com::VARIANT_FALSE;
    return r.has_value();
  }
  static std::string Describe() { return "on|off"; }
};

template <class E>
requires std::is_enum_v<E>
struct Codec<ValueKind::kInteger, E> {
  static Scalar Format(E v) { return Scalar::Text(EnumInfoOf<E>().ShortName(v)); }
  static bool Parse(std::string_view text, E* v) {
    auto r = EnumInfoOf<E>().Parse(text);
    if (r) *v = static_cast<E>(*r);
    return r.has_value();
  }
  static std::string Describe() { return EnumInfoOf<E>().Choices(); }
};

// Text travels as a BSTR; Parse fills an owning Bstr.
template <>
struct Codec<ValueKind::kText, com::BSTR> {
  static Scalar Format(const com::Bstr& v) { return Scalar::Text(v.ToUtf8()); }
  static bool Parse(std::string_view text, com::Bstr* v) {
    *v = com::Bstr::FromUtf8(text);
    return true;
  }
  static std::string Describe() { return "text"; }
};

}  // namespace motqr::cli
