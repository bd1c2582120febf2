// Checks of an interface's property rows in simulation: the values a "sim"
// property keeps, and their reset. With the channel pointer `ch` in scope, a
// test sends a member list's PROPERTY rows to one of them (MOTQR_PROPERTY_ROWS below).
//
// The sample value of a double is 12.3456789; of an enumeration its member 1;
// of a boolean VARIANT_TRUE.
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

template <class T>
T SampleValue() {
  if constexpr (std::is_same_v<T, double>) return 12.3456789;
  if constexpr (std::is_same_v<T, com::VARIANT_BOOL>) return com::VARIANT_TRUE;
  if constexpr (std::is_enum_v<T>) return static_cast<T>(1);
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

// Expansions of a property row over the property `Name` of the channel pointer `ch`.
#define MOTQR_CHECK_SIMULATED(Type, Name, Query, Reply, Set, SimFlag)                  \
  ::motqr::testing::CheckSimulated<Type>(                                              \
      ::motqr::driver::Sim::SimFlag, #Name, [&](Type v) { return ch->put_##Name(v); }, \
      [&](Type* v) { return ch->get_##Name(v); });
// Collects the names of the rows without a simulation value into `names`.
#define MOTQR_COLLECT_NOT_SIMULATED(Type, Name, Query, Reply, Set, SimFlag) \
  if (::motqr::driver::Sim::SimFlag == ::motqr::driver::Sim::kNo) names.push_back(#Name);
#define MOTQR_CHECK_RESET_TO_ZERO(Type, Name, Query, Reply, Set, SimFlag)        \
  ::motqr::testing::CheckResetToZero<Type>(::motqr::driver::Sim::SimFlag, #Name, \
                                           [&](Type* v) { return ch->get_##Name(v); });

// A member list's PROPERTY rows only, each to MOTQR_ON_PROPERTY:
//
//   #define MOTQR_ON_PROPERTY MOTQR_CHECK_SIMULATED
//   MOTQR_SINE_MEMBERS(MOTQR_PROPERTY_ROWS)
//   #undef MOTQR_ON_PROPERTY
#define MOTQR_PROPERTY_ROWS_PROPERTY(...) MOTQR_ON_PROPERTY(__VA_ARGS__)
#define MOTQR_PROPERTY_ROWS_READ_ONLY(...)
#define MOTQR_PROPERTY_ROWS_COMMAND(...)
#define MOTQR_PROPERTY_ROWS_COMMAND_1(...)
#define MOTQR_PROPERTY_ROWS_COMMAND_2(...)
#define MOTQR_PROPERTY_ROWS_COMMAND_3(...)
#define MOTQR_PROPERTY_ROWS_QUERY(...)
#define MOTQR_PROPERTY_ROWS_QUERY_1(...)
#define MOTQR_PROPERTY_ROWS_QUERY_2(...)
#define MOTQR_PROPERTY_ROWS_IN_OUT_QUERY(...)
#define MOTQR_PROPERTY_ROWS_MIN_MAX(...)
#define MOTQR_PROPERTY_ROWS_ARRAY_QUERY(...)
#define MOTQR_PROPERTY_ROWS_ARRAY_QUERY_1(...)
#define MOTQR_PROPERTY_ROWS_ARRAY_COMMAND(...)
#define MOTQR_PROPERTY_ROWS_TOKEN_LIST_COMMAND(...)
#define MOTQR_PROPERTY_ROWS_INTERFACE(...)
#define MOTQR_PROPERTY_ROWS_UNSUPPORTED_PROPERTY(...)
#define MOTQR_PROPERTY_ROWS_UNSUPPORTED_METHOD(...)
#define MOTQR_PROPERTY_ROWS_BY_HAND(...)
