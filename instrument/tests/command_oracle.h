// Sample arguments for generated member tests, and the command text a row
// should produce for them, built by substituting each directive by hand (the
// enumeration tokens from the command tables) rather than through the
// formatted I/O engine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "commands/find_enum_converter.h"
#include "interfaces/common.h"
#include "platform/com/bstr.h"

namespace motqr::testing {

inline const com::Bstr& SampleName() {
  static const com::Bstr name = com::Bstr::FromUtf8("Seq A");
  return name;
}

// The sample argument of each type: step/index 3, level 1.5, true, the
// enumeration value 1, the name "Seq A".
template <class T>
T Sample() {
  if constexpr (std::is_same_v<T, VARIANT_BOOL>) {
    return com::VARIANT_TRUE;
  } else if constexpr (std::is_same_v<T, BSTR>) {
    return SampleName().Get();
  } else if constexpr (std::is_same_v<T, double>) {
    return 1.5;
  } else if constexpr (std::is_enum_v<T>) {
    return static_cast<T>(1);
  } else {
    return T{3};
  }
}

// The token of `value` in the table of `enum_name` for `member`.
inline std::string Token(std::string_view enum_name, std::string_view member, std::int32_t value) {
  const auto* c = commands::FindEnumConverter(enum_name, member);
  std::string token = "<no table>";
  if (c && !c->GetCommand("TQR-M4", value, &token)) token = "<no token>";
  return token;
}

// `format` with its directives replaced by the samples of `types` in order
// ('i' integer, 'd' double, 'e' enumeration or boolean, 's' name).
inline std::string ExpectedCommand(std::string_view format, std::string_view member,
                                   std::string_view types) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    const std::size_t end = format.substr(i).starts_with("%{") ? format.find('}', i) + 1
                                                               : format.find_first_of("dgs", i + 1);
    const std::string_view directive = format.substr(i, end - i + 1);
    const char type = next < types.size() ? types[next++] : '?';
    if (directive.starts_with("%{")) {
      const std::string_view name = directive.substr(2, directive.find('}') - 2);
      out += Token(name, member, name == "VARIANT_BOOL" ? -1 : 1);
    } else if (directive == "%$BQs") {
      out += "\"Seq A\"";
    } else if (directive == "%$Bqs") {
      out += "'Seq A'";
    } else if (directive == "%$Bs") {
      out += "Seq A";
    } else if (type == 'd') {
      out += "1.5";
    } else {
      out += "3";
    }
    i = end;
  }
  return out;
}

template <class T>
constexpr char TypeCode() {
  if constexpr (std::is_same_v<T, double>) return 'd';
  if constexpr (std::is_same_v<T, BSTR>) return 's';
  if constexpr (std::is_enum_v<T> || std::is_same_v<T, VARIANT_BOOL>) return 'e';
  return 'i';
}

template <class... T>
std::string TypeCodes() {
  return std::string{TypeCode<T>()...};
}

// A reply for a result of type T read with `reply`, and the value it gives.
template <class T>
std::string SampleReply(std::string_view reply, std::string_view member) {
  if constexpr (std::is_same_v<T, VARIANT_BOOL>) {
    return Token("VARIANT_BOOL", member, -1) + "\n";
  } else if constexpr (std::is_enum_v<T>) {
    const std::string_view name = reply.substr(2, reply.find('}') - 2);
    return Token(name, member, 1) + "\n";
  } else if constexpr (std::is_same_v<T, BSTR>) {
    return reply.find('Q') != std::string_view::npos ? "\"Seq A\"\n" : "Seq A\n";
  } else if constexpr (std::is_same_v<T, double>) {
    return "1.5\n";
  } else {
    return "3\n";
  }
}

template <class T>
void ExpectSample(const T& value, const char* member) {
  if constexpr (std::is_same_v<T, BSTR>) {
    EXPECT_EQ(com::BstrToUtf8(value), "Seq A") << member;
    com::SysFreeString(value);
  } else {
    EXPECT_EQ(value, Sample<T>()) << member;
  }
}

}  // namespace motqr::testing
