// FormatArg: one argument of the formatted output engine, tagged with its
// kind, so that a directive handed the wrong kind of argument fails with a
// status instead of reading memory it should not.
//
// Callers do not build these by hand: the variadic entry points
// (FormatString, Printf-style session operations) turn each C++ argument into
// one FormatArg:
//
//   integers, bool, enumerations            -> kInteger   (%d, %c, `*`, %{Enum}s)
//   float, double                           -> kReal      (%f %e %g; integers are also
//                                                          accepted there)
//   const char*, std::string, string_view   -> kText      (%s, %$Cs)
//   const char16_t*, BSTR, com::Bstr        -> kWideText  (%$Bs; a bare pointer is read up to
//                                                          its zero character)
//   SAFEARRAY*, const com::SafeArray&       -> kSafeArray (%$S...)
//   const T* / std::span<const T> /
//     const std::vector<T>& of numbers      -> kArray     (%,3d  %,3lf  %3b  %3y)
//   const char* const*, vector<const char*> -> kTextArray (%,3s)
//   const std::string*, vector<std::string> -> kStringObjects (%,3$Cs)
//   nullptr                                 -> kNull      (refused where a pointer is needed)
//
// A pointer carries no length, so the directive's count is trusted; a span or
// vector carries its length, and a count beyond it is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "io/io_status.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::io {

// A directive found an argument of another kind than it takes.
inline constexpr HRESULT kFormatArgTypeMismatch = com::DISP_E_TYPEMISMATCH;
// A directive found no argument left.
inline constexpr HRESULT kFormatArgMissing =
    com::MakeHresult(0x8002000Fu);  // DISP_E_PARAMNOTOPTIONAL
// Arguments were left over after the last directive (only CheckFormatArguments
// reports this; formatting itself ignores extra arguments, as printf does).
inline constexpr HRESULT kFormatArgUnused = com::MakeHresult(0x8002000Eu);  // DISP_E_BADPARAMCOUNT

enum class FormatArgKind : std::uint8_t {
  kNone,
  kInteger,
  kReal,
  kText,
  kWideText,
  kSafeArray,
  kArray,
  kTextArray,
  kStringObjects,
  kNull,
};

// Element types of kArray, by size and representation.
enum class ElementKind : std::uint8_t { kU8, kI16, kI32, kI64, kF32, kF64 };

constexpr std::size_t ElementSize(ElementKind kind) {
  switch (kind) {
    case ElementKind::kU8:
      return 1;
    case ElementKind::kI16:
      return 2;
    case ElementKind::kI32:
      return 4;
    case ElementKind::kI64:
      return 8;
    case ElementKind::kF32:
      return 4;
    case ElementKind::kF64:
      return 8;
  }
  return 1;
}

struct FormatArg {
  static constexpr std::int64_t kUnknownLength = -1;

  FormatArgKind kind = FormatArgKind::kNone;
  ElementKind element = ElementKind::kU8;
  std::int64_t integer = 0;
  double real = 0;
  const void* pointer = nullptr;
  // Elements (or characters of kText) behind `pointer`; kUnknownLength for a
  // bare pointer (a zero-terminated string for kText).
  std::int64_t length = kUnknownLength;
};

using FormatArgs = std::span<const FormatArg>;

namespace format_detail {

template <class T>
inline constexpr bool kAlwaysFalse = false;

template <class E>
constexpr ElementKind ElementKindOf() {
  if constexpr (std::is_floating_point_v<E>) {
    static_assert(sizeof(E) == 4 || sizeof(E) == 8, "unsupported floating-point element");
    return sizeof(E) == 4 ? ElementKind::kF32 : ElementKind::kF64;
  } else {
    static_assert(std::is_integral_v<E> || std::is_enum_v<E>, "unsupported array element");
    if constexpr (sizeof(E) == 1) return ElementKind::kU8;
    if constexpr (sizeof(E) == 2) return ElementKind::kI16;
    if constexpr (sizeof(E) == 4) return ElementKind::kI32;
    if constexpr (sizeof(E) == 8) return ElementKind::kI64;
  }
}

template <class E>
FormatArg Sequence(const E* data, std::int64_t length) {
  using Bare = std::remove_cv_t<E>;
  FormatArg a;
  a.pointer = data;
  a.length = length;
  if constexpr (std::is_same_v<Bare, const char*> || std::is_same_v<Bare, char*>) {
    a.kind = FormatArgKind::kTextArray;
  } else if constexpr (std::is_same_v<Bare, std::string>) {
    a.kind = FormatArgKind::kStringObjects;
  } else {
    a.kind = FormatArgKind::kArray;
    a.element = ElementKindOf<Bare>();
  }
  if (!data && length == FormatArg::kUnknownLength) a.kind = FormatArgKind::kNull;
  return a;
}

template <class T>
struct IsSpan : std::false_type {};
template <class E, std::size_t N>
struct IsSpan<std::span<E, N>> : std::true_type {};
template <class T>
struct IsVector : std::false_type {};
template <class E, class A>
struct IsVector<std::vector<E, A>> : std::true_type {};

}  // namespace format_detail

template <class T>
FormatArg MakeFormatArg(const T& value) {
  using format_detail::Sequence;
  FormatArg a;
  if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    a.kind = FormatArgKind::kInteger;
    a.integer = static_cast<std::int64_t>(value);
  } else if constexpr (std::is_floating_point_v<T>) {
    a.kind = FormatArgKind::kReal;
    a.real = static_cast<double>(value);
  } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
    a.kind = FormatArgKind::kNull;
  } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>) {
    a.kind = FormatArgKind::kText;
    a.pointer = value.data();
    a.length = static_cast<std::int64_t>(value.size());
  } else if constexpr (std::is_array_v<T>) {
    using E = std::remove_cv_t<std::remove_extent_t<T>>;
    if constexpr (std::is_same_v<E, char>) {
      a.kind = FormatArgKind::kText;
      a.pointer = value;
    } else if constexpr (std::is_same_v<E, char16_t>) {
      a.kind = FormatArgKind::kWideText;
      a.pointer = value;
      a.length = static_cast<std::int64_t>(std::char_traits<char16_t>::length(value));
    } else {
      a = Sequence(value, static_cast<std::int64_t>(std::extent_v<T>));
    }
  } else if constexpr (std::is_pointer_v<T>) {
    using E = std::remove_cv_t<std::remove_pointer_t<T>>;
    if constexpr (std::is_same_v<E, char>) {
      a.kind = value ? FormatArgKind::kText : FormatArgKind::kNull;
      a.pointer = value;
    } else if constexpr (std::is_same_v<E, char16_t>) {
      // A bare pointer may or may not be a BSTR: it is read up to its zero
      // character. A null wide string reads as empty.
      a.kind = FormatArgKind::kWideText;
      a.pointer = value;
    } else if constexpr (std::is_same_v<E, com::SAFEARRAY>) {
      a.kind = value ? FormatArgKind::kSafeArray : FormatArgKind::kNull;
      a.pointer = value;
    } else {
      a = Sequence(value, FormatArg::kUnknownLength);
    }
  } else if constexpr (std::is_same_v<T, com::Bstr>) {
    a.kind = FormatArgKind::kWideText;
    a.pointer = value.Get();
    a.length = value.size();
  } else if constexpr (std::is_same_v<T, com::SafeArray>) {
    a.kind = value ? FormatArgKind::kSafeArray : FormatArgKind::kNull;
    a.pointer = value.Get();
  } else if constexpr (format_detail::IsSpan<T>::value || format_detail::IsVector<T>::value) {
    a = Sequence(value.data(), static_cast<std::int64_t>(value.size()));
  } else {
    static_assert(format_detail::kAlwaysFalse<T>, "this type cannot be a format argument");
  }
  return a;
}

}  // namespace motqr::io
