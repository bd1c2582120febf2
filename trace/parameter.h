// The parameters of a traced call: each a name, a direction and a typed
// reference to the caller's own storage, read when the call starts (inputs)
// and when it returns (outputs). Nothing is copied, so describing a call costs
// nothing until a record is written.
//
//   double level = 5.0;
//   const trace::Parameter params[] = {trace::InParameter("val", level)};
//   BSTR name = nullptr;
//   trace::OutParameter("Name", &name);          // read at the exit of the call
//   trace::InParameter("Enabled", flag, trace::TypeOf<VARIANT_BOOL>("VARIANT_BOOL"));
//
// `type` is a variant type tag: the value at `value` is of that type
// (VT_VARIANT: a VARIANT, unwrapped when written; VT_ARRAY: a SAFEARRAY*,
// whose elements carry their own type).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/types.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace motqr::trace {

enum class Direction : std::uint8_t { kIn = 0, kOut = 1, kInOut = 2 };

struct Parameter {
  const char* name;
  Direction direction;
  com::VARTYPE type;
  const void* value;
};

// The most parameters one member has (Initialize and the I/O configuration
// members have four).
inline constexpr std::size_t kMaxParameters = 8;

// The variant type of a C++ parameter type; VT_EMPTY for a type the trace
// does not know (written as "(unknown)").
template <class T>
constexpr com::VARTYPE TypeOf() {
  using U = std::remove_cv_t<T>;
  if constexpr (std::is_enum_v<U>) {
    return sizeof(U) == 4 ? com::VT_I4 : com::VT_EMPTY;
  } else if constexpr (std::is_same_v<U, com::BSTR>) {
    return com::VT_BSTR;
  } else if constexpr (std::is_same_v<U, com::SAFEARRAY*>) {
    return com::VT_ARRAY;
  } else if constexpr (std::is_same_v<U, com::VARIANT>) {
    return com::VT_VARIANT;
  } else if constexpr (std::is_pointer_v<U> &&
                       std::is_base_of_v<com::IUnknown, std::remove_pointer_t<U>>) {
    return com::VT_UNKNOWN;
  } else if constexpr (std::is_same_v<U, double>) {
    return com::VT_R8;
  } else if constexpr (std::is_same_v<U, float>) {
    return com::VT_R4;
  } else if constexpr (std::is_integral_v<U> && !std::is_same_v<U, bool>) {
    constexpr bool s = std::is_signed_v<U>;
    if constexpr (sizeof(U) == 1) return s ? com::VT_I1 : com::VT_UI1;
    if constexpr (sizeof(U) == 2) return s ? com::VT_I2 : com::VT_UI2;
    if constexpr (sizeof(U) == 4) return s ? com::VT_I4 : com::VT_UI4;
    if constexpr (sizeof(U) == 8) return s ? com::VT_I8 : com::VT_UI8;
    return com::VT_EMPTY;
  } else {
    return com::VT_EMPTY;
  }
}

// The variant type of a parameter declared with the type name `token`:
// VARIANT_BOOL is a 16-bit integer to the compiler and a Boolean to callers.
template <class T>
constexpr com::VARTYPE TypeOf(std::string_view token) {
  constexpr std::string_view kBool = "VARIANT_BOOL";
  const bool is_bool = token.size() >= kBool.size() &&
                       token.substr(token.size() - kBool.size()) == kBool && sizeof(T) == 2;
  return is_bool ? com::VARTYPE{com::VT_BOOL} : TypeOf<T>();
}

template <class T>
constexpr Parameter InParameter(const char* name, const T& value, com::VARTYPE type = TypeOf<T>()) {
  return {name, Direction::kIn, type, &value};
}
template <class T>
constexpr Parameter OutParameter(const char* name, const T* value,
                                 com::VARTYPE type = TypeOf<T>()) {
  return {name, Direction::kOut, type, value};
}
template <class T>
constexpr Parameter InOutParameter(const char* name, const T* value,
                                   com::VARTYPE type = TypeOf<T>()) {
  return {name, Direction::kInOut, type, value};
}

}  // namespace motqr::trace
