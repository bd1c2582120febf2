// The whole number a VARIANT holds, under the attribute rule (whole values only) and the
// formatted writer's rule (round half to even), for every type and at the rounding and range
// edges. Every expectation below is worked out by hand: COM's types, IEEE 754 ties to even.
#include "platform/visa/variant_number.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/visa/ieee_ascii.h"

namespace motqr::visa {
namespace {

using com::DISP_E_OVERFLOW;
using com::DISP_E_TYPEMISMATCH;
using com::VARIANT;

struct Expect {
  HRESULT hr;
  std::int64_t value;
};
constexpr Expect Is(std::int64_t value) { return {com::S_OK, value}; }
constexpr Expect kRefused{DISP_E_TYPEMISMATCH, 0};
constexpr Expect kOverflow{DISP_E_OVERFLOW, 0};

template <typename Set>
VARIANT Make(com::VARTYPE vt, Set set) {
  VARIANT v;
  com::VariantInit(&v);
  v.vt = vt;
  set(v);
  return v;
}
VARIANT R8(double x) {
  return Make(com::VT_R8, [x](VARIANT& v) { v.dblVal = x; });
}
VARIANT I8(std::int64_t x) {
  return Make(com::VT_I8, [x](VARIANT& v) { v.llVal = x; });
}
VARIANT Text(const char* text) {
  return Make(com::VT_BSTR, [text](VARIANT& v) { v.bstrVal = com::AllocBstrFromUtf8(text); });
}
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Row {
  const char* what;
  VARIANT value;
  Expect attribute;  // kAttributeNumbers, the 64-bit range
  Expect as_i4;      // kFormattedNumbers, the 32-bit range
};

std::string Show(const Expect& e) {
  return e.hr == com::S_OK ? std::to_string(e.value) : "hr " + std::to_string(e.hr);
}

Expect Convert(const VARIANT& v, NumberRule rule, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const HRESULT hr = VariantToInteger(v, rule, low, high, &value);
  return {hr, hr == com::S_OK ? value : 0};
}

TEST(VariantNumber, EveryTypeAndEdgeUnderBothRules) {
  std::int32_t referenced = 5;
  std::vector<Row> rows = {
      // Integer types: taken as they are by both rules; a boolean is 1 or 0.
      {"BOOL true", Make(com::VT_BOOL, [](VARIANT& v) { v.boolVal = com::VARIANT_TRUE; }), Is(1),
       Is(1)},
      {"BOOL false", Make(com::VT_BOOL, [](VARIANT& v) { v.boolVal = 0; }), Is(0), Is(0)},
      {"I1", Make(com::VT_I1, [](VARIANT& v) { v.cVal = -128; }), Is(-128), Is(-128)},
      {"UI1", Make(com::VT_UI1, [](VARIANT& v) { v.bVal = 255; }), Is(255), Is(255)},
      {"I2", Make(com::VT_I2, [](VARIANT& v) { v.iVal = -32768; }), Is(-32768), Is(-32768)},
      {"UI2", Make(com::VT_UI2, [](VARIANT& v) { v.uiVal = 65535; }), Is(65535), Is(65535)},
      {"I4", Make(com::VT_I4, [](VARIANT& v) { v.lVal = -2147483647 - 1; }), Is(-2147483648),
       Is(-2147483648)},
      {"INT", Make(com::VT_INT, [](VARIANT& v) { v.lVal = -1; }), Is(-1), Is(-1)},
      {"UI4", Make(com::VT_UI4, [](VARIANT& v) { v.ulVal = 0xFFFFFFFFu; }), Is(4294967295),
       kOverflow},
      {"UINT", Make(com::VT_UINT, [](VARIANT& v) { v.ulVal = 7; }), Is(7), Is(7)},
      {"I8 2^31-1", I8(2147483647), Is(2147483647), Is(2147483647)},
      {"I8 2^31", I8(2147483648), Is(2147483648), kOverflow},
      {"I8 -2^31", I8(-2147483648), Is(-2147483648), Is(-2147483648)},
      {"I8 -2^31-1", I8(-2147483649), Is(-2147483649), kOverflow},
      {"I8 min", I8(INT64_MIN), Is(INT64_MIN), kOverflow},
      {"UI8 2^63-1", Make(com::VT_UI8, [](VARIANT& v) { v.ullVal = INT64_MAX; }), Is(INT64_MAX),
       kOverflow},
      {"UI8 2^63", Make(com::VT_UI8, [](VARIANT& v) { v.ullVal = 1ull << 63; }), kRefused,
       kRefused},

      // Doubles: whole ones for attributes; ties to the even neighbour for the writer.
      {"2.0", R8(2.0), Is(2), Is(2)},
      {"-0.0", R8(-0.0), Is(0), Is(0)},
      {"0.5", R8(0.5), kRefused, Is(0)},
      {"1.5", R8(1.5), kRefused, Is(2)},
      {"2.5", R8(2.5), kRefused, Is(2)},
      {"-0.5", R8(-0.5), kRefused, Is(0)},
      {"-1.5", R8(-1.5), kRefused, Is(-2)},
      {"-2.5", R8(-2.5), kRefused, Is(-2)},
      {"just below 2.5", R8(2.4999999999999996), kRefused, Is(2)},
      {"just above 2.5", R8(2.5000000000000004), kRefused, Is(3)},
      {"just below -2.5", R8(-2.5000000000000004), kRefused, Is(-3)},
      {"just below 0.5", R8(0.49999999999999994), kRefused, Is(0)},
      {"2^31-1", R8(2147483647.0), Is(2147483647), Is(2147483647)},
      {"2^31-1 + 0.4", R8(2147483647.4), kRefused, Is(2147483647)},
      {"2^31-1 + 0.5", R8(2147483647.5), kRefused, kOverflow},  // the tie goes to 2^31
      {"2^31", R8(2147483648.0), Is(2147483648), kOverflow},
      {"-2^31", R8(-2147483648.0), Is(-2147483648), Is(-2147483648)},
      {"-2^31 - 0.5", R8(-2147483648.5), kRefused, Is(-2147483648)},  // -2^31 is even
      {"-2^31 - 0.6", R8(-2147483648.6), kRefused, kOverflow},
      {"-2^31 - 1", R8(-2147483649.0), Is(-2147483649), kOverflow},
      {"8.9e18", R8(8.9e18), Is(8900000000000000000), kOverflow},
      {"9e18", R8(9.0e18), kOverflow, kOverflow},
      {"-1e300", R8(-1e300), kOverflow, kOverflow},
      {"NaN", R8(kNaN), kOverflow, kOverflow},
      {"+inf", R8(kInf), kOverflow, kOverflow},
      {"-inf", R8(-kInf), kOverflow, kOverflow},

      // Singles and number text: the writer's only.
      {"R4 2.5", Make(com::VT_R4, [](VARIANT& v) { v.fltVal = 2.5f; }), kRefused, Is(2)},
      {"R4 -3.5", Make(com::VT_R4, [](VARIANT& v) { v.fltVal = -3.5f; }), kRefused, Is(-4)},
      {"R4 2.0", Make(com::VT_R4, [](VARIANT& v) { v.fltVal = 2.0f; }), kRefused, Is(2)},
      {"text 42", Text(" 42 "), kRefused, Is(42)},
      {"text +2.5", Text("+2.5"), kRefused, Is(2)},
      {"text 3.5e0", Text("3.5e0"), kRefused, Is(4)},
      {"text 2^31", Text("2147483648"), kRefused, kOverflow},
      {"text abc", Text("abc"), kRefused, kRefused},
      {"text empty", Text(""), kRefused, kRefused},

      // Not numbers to either rule.
      {"EMPTY", Make(com::VT_EMPTY, [](VARIANT&) {}), kRefused, kRefused},
      {"NULL", Make(com::VT_NULL, [](VARIANT&) {}), kRefused, kRefused},
      {"CY", Make(com::VT_CY, [](VARIANT& v) { v.llVal = 50000; }), kRefused, kRefused},
      {"DATE", Make(com::VT_DATE, [](VARIANT& v) { v.dblVal = 2.0; }), kRefused, kRefused},
      {"ERROR", Make(com::VT_ERROR, [](VARIANT& v) { v.scode = 0; }), kRefused, kRefused},
      {"BYREF I4",
       Make(static_cast<com::VARTYPE>(com::VT_BYREF | com::VT_I4),
            [&referenced](VARIANT& v) { v.byref = &referenced; }),
       kRefused, kRefused},
      {"ARRAY I4",
       Make(static_cast<com::VARTYPE>(com::VT_ARRAY | com::VT_I4),
            [](VARIANT& v) { v.parray = nullptr; }),
       kRefused, kRefused},
  };
  for (const Row& row : rows) {
    const Expect attribute = Convert(row.value, kAttributeNumbers, INT64_MIN, INT64_MAX);
    const Expect as_i4 = Convert(row.value, kFormattedNumbers, INT32_MIN, INT32_MAX);
    EXPECT_EQ(Show(attribute), Show(row.attribute)) << row.what << ", attribute";
    EXPECT_EQ(Show(as_i4), Show(row.as_i4)) << row.what << ", formatted as I4";
  }
  for (Row& row : rows) {
    if (row.value.vt == com::VT_BSTR) com::VariantClear(&row.value);
  }
}

// Ties go to even whatever floating-point rounding mode the process has set.
TEST(VariantNumber, RoundingIsTheSameUnderEveryFloatingPointMode) {
  const int saved = std::fegetround();
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    constexpr std::pair<double, int> kCases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4, 2}, {-2.6, -3}};
    for (auto [x, expected] : kCases) {
      std::int64_t value = 0;
      EXPECT_EQ(VariantToInteger(R8(x), kFormattedNumbers, INT32_MIN, INT32_MAX, &value),
                com::S_OK);
      EXPECT_EQ(value, expected) << x << " in rounding mode " << mode;
    }
  }
  std::fesetround(saved);
}

// The formatted writer and reader round with the same rule, to the range of each type.
TEST(VariantNumber, FormattedValuesRoundToTheirTypesRange) {
  struct Case {
    double value;
    const char* token;  // the same value as a reply token
    IEEEASCIIType type;
    const char* text;  // null: DISP_E_OVERFLOW
  };
  constexpr Case kCases[] = {
      {254.5, "254.5", ASCIIType_UI1, "254"},
      {255.5, "255.5", ASCIIType_UI1, nullptr},
      {-0.5, "-0.5", ASCIIType_UI1, "0"},
      {-0.6, "-0.6", ASCIIType_UI1, nullptr},
      {32766.5, "32766.5", ASCIIType_I2, "32766"},
      {32767.5, "32767.5", ASCIIType_I2, nullptr},
      {-32768.5, "-32768.5", ASCIIType_I2, "-32768"},
      {2.5, "+2.5E+0", ASCIIType_I4, "2"},
      {3.5, "3.5", ASCIIType_I4, "4"},
  };
  for (const Case& c : kCases) {
    const HRESULT want = c.text ? com::S_OK : DISP_E_OVERFLOW;
    std::string text;
    EXPECT_EQ(FormatAsciiValue(R8(c.value), c.type, &text), want) << c.value << " as " << c.type;
    EXPECT_EQ(text, c.text ? c.text : "") << c.value << " as " << c.type;

    VARIANT read;
    com::VariantInit(&read);
    EXPECT_EQ(ParseAsciiValue(c.token, c.type, &read), want) << c.token << " as " << c.type;
    if (!c.text) continue;
    const std::int64_t got = c.type == ASCIIType_UI1  ? read.bVal
                             : c.type == ASCIIType_I2 ? read.iVal
                                                      : read.lVal;
    EXPECT_EQ(std::to_string(got), c.text) << c.token << " read as " << c.type;
  }
  // A real written as a real is not rounded.
  std::string text;
  EXPECT_EQ(FormatAsciiValue(R8(2.5), ASCIIType_R8, &text), com::S_OK);
  EXPECT_EQ(text, "2.5");
}

}  // namespace
}  // namespace motqr::visa
