// Checks of an interface's property rows: the exact command a put writes,
// the query a get writes and the value it reads back, and the simulation
// short cut. With `inst`, `tokens` and the channel pointer `ch` in scope, a
// test expands a member list with its PROPERTY rows going to one of them:
//
//   #define SIM_PROPERTY MOTQR_CHECK_SIMULATED
//   #define SIM_MIN_MAX(...)
//   MOTQR_SINE_MEMBERS(SIM)
//
// The sample value of a double is 12.3456789 (written "12.3457"); of an
// enumeration its member 1; of a boolean VARIANT_TRUE. The tokens those
// become on the wire are the caller's `tokens` (member name -> token), kept
// independent of the command tables they check.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <type_traits>

#include "driver/member.h"
#include "driver/testing/scripted_session.h"
#include "errors/status_codes.h"

namespace motqr::testing {

using TokenMap = std::map<std::string_view, std::string_view>;

// `format` with its one directive ("%0.6lg" or "%{Enum}s") replaced by `text`.
inline std::string FillDirective(std::string_view format, std::string_view text) {
  const std::size_t at = format.find('%');
  if (at == std::string_view::npos) return std::string(format);
  const std::size_t end =
      format.substr(at, 2) == "%{" ? format.find("}s", at) + 2 : format.find("lg", at) + 2;
  return std::string(format.substr(0, at)) + std::string(text) + std::string(format.substr(end));
}

template <class T>
T SampleValue() {
  if constexpr (std::is_same_v<T, double>) return 12.3456789;
  if constexpr (std::is_same_v<T, com::VARIANT_BOOL>) return com::VARIANT_TRUE;
  if constexpr (std::is_enum_v<T>) return static_cast<T>(1);
}

template <class T>
std::string SampleText(const TokenMap& tokens, std::string_view member) {
  if constexpr (std::is_same_v<T, double>) return "12.3457";
  auto t = tokens.find(member);
  return t == tokens.end() ? "<no token listed>" : std::string(t->second);
}

template <class T, class Put, class Get>
void CheckWire(ScriptedInstrument& inst, const TokenMap& tokens, const char* query, const char* set,
               std::string_view member, Put put, Get get) {
  SCOPED_TRACE(std::string(member));
  ASSERT_EQ(put(SampleValue<T>()), com::S_OK);
  EXPECT_EQ(inst.sent.back(), FillDirective(set, SampleText<T>(tokens, member)));
  // The reply is the sample's own token (booleans: "1"), or 2.5 for a double.
  const std::string reply = std::is_same_v<T, double> ? "2.5" : SampleText<T>(tokens, member);
  const std::string read_token = std::is_same_v<T, com::VARIANT_BOOL> ? "1" : reply;
  inst.Reply(query, read_token + "\n");
  T read{};
  ASSERT_EQ(get(&read), com::S_OK);
  EXPECT_EQ(inst.sent.back(), query);
  if constexpr (std::is_same_v<T, double>) {
    EXPECT_EQ(read, 2.5);
  } else {
    EXPECT_EQ(read, SampleValue<T>());
  }
}

// Simulated: a "sim" property reads zero, then what was put; any other
// property needs the instrument.
template <class T, class Put, class Get>
void CheckSimulated(driver::Sim sim, std::string_view member, Put put, Get get) {
  SCOPED_TRACE(std::string(member));
  T v = SampleValue<T>();
  if (sim == driver::Sim::kNo) {
    EXPECT_EQ(get(&v), errors::E_IVI_NOT_INITIALIZED);
    EXPECT_EQ(put(SampleValue<T>()), errors::E_IVI_NOT_INITIALIZED);
    return;
  }
  ASSERT_EQ(get(&v), com::S_OK);
  EXPECT_EQ(v, T{});
  ASSERT_EQ(put(SampleValue<T>()), com::S_OK);
  ASSERT_EQ(get(&v), com::S_OK);
  EXPECT_EQ(v, SampleValue<T>());
}

// After a reset a "sim" property reads zero again.
template <class T, class Get>
void CheckResetToZero(driver::Sim sim, std::string_view member, Get get) {
  if (sim == driver::Sim::kNo) return;
  SCOPED_TRACE(std::string(member));
  T v = SampleValue<T>();
  ASSERT_EQ(get(&v), com::S_OK);
  EXPECT_EQ(v, T{});
}

}  // namespace motqr::testing

// Expansions of a property row list over the property `Name` of the channel
// pointer `ch`; `inst` and `tokens` are in scope for the wire check.
#define MOTQR_CHECK_WIRE(Type, Name, Query, Reply, Set, SimFlag)                  \
  ::motqr::testing::CheckWire<Type>(                                              \
      inst, tokens, Query, Set, #Name, [&](Type v) { return ch->put_##Name(v); }, \
      [&](Type* v) { return ch->get_##Name(v); });
#define MOTQR_CHECK_SIMULATED(Type, Name, Query, Reply, Set, SimFlag)                  \
  ::motqr::testing::CheckSimulated<Type>(                                              \
      ::motqr::driver::Sim::SimFlag, #Name, [&](Type v) { return ch->put_##Name(v); }, \
      [&](Type* v) { return ch->get_##Name(v); });
// A min/max query: its command on the wire, both values read (`lo`, `hi` in scope).
#define MOTQR_CHECK_MIN_MAX(Name, Command)           \
  inst.Reply(Command, "-1.5;2.5\n");                 \
  EXPECT_EQ(ch->Name(&lo, &hi), com::S_OK) << #Name; \
  EXPECT_EQ(inst.sent.back(), Command);              \
  EXPECT_EQ(lo, -1.5);                               \
  EXPECT_EQ(hi, 2.5);
// Collects the names of the rows without a simulation value into `names`.
#define MOTQR_COLLECT_NOT_SIMULATED(Type, Name, Query, Reply, Set, SimFlag) \
  if (::motqr::driver::Sim::SimFlag == ::motqr::driver::Sim::kNo) names.push_back(#Name);
#define MOTQR_CHECK_RESET_TO_ZERO(Type, Name, Query, Reply, Set, SimFlag)        \
  ::motqr::testing::CheckResetToZero<Type>(::motqr::driver::Sim::SimFlag, #Name, \
                                           [&](Type* v) { return ch->get_##Name(v); });
