// The locale-free field formatter against the C library's printf in the "C"
// locale, over every flag combination and a spread of widths, precisions and
// values.
#include "io/field_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace motqr::io {
namespace {

std::string Printf(const FieldSpec& spec, const char* length, auto value) {
  std::string format = "%";
  if (spec.minus) format += '-';
  if (spec.plus) format += '+';
  if (spec.space) format += ' ';
  if (spec.zero) format += '0';
  if (spec.width >= 0) format += std::to_string(spec.width);
  if (spec.precision >= 0) format += "." + std::to_string(spec.precision);
  format += length;
  format += spec.conversion;
  char text[512];
  std::snprintf(text, sizeof text, format.c_str(), value);
  return text;
}

template <class F>
void ForEachSpec(const char* conversions, F check) {
  for (const char* c = conversions; *c; ++c) {
    for (int flags = 0; flags < 16; ++flags) {
      for (int width : {-1, 1, 7, 14}) {
        for (int precision : {-1, 0, 1, 3, 8}) {
          FieldSpec spec{(flags & 1) != 0,
                         (flags & 2) != 0,
                         (flags & 4) != 0,
                         (flags & 8) != 0,
                         width,
                         precision,
                         *c};
          check(spec);
        }
      }
    }
  }
}

TEST(FieldFormatTest, IntegersMatchPrintf) {
  const long long values[] = {
      0, 1, -1, 42, -42, 255, 65535, 2147483647, -2147483648LL, LLONG_MIN, LLONG_MAX};
  ForEachSpec("diouxX", [&](const FieldSpec& spec) {
    for (long long v : values) {
      std::string ours;
      AppendInteger(&ours, spec, v, 64);
      ASSERT_EQ(ours, Printf(spec, "ll", v)) << v;
    }
  });
}

TEST(FieldFormatTest, RealsMatchPrintf) {
  const double values[] = {0.0,       -0.0,          0.25,        -1.5,      2.5,
                           0.5,       1e-7,          123456789.0, 9.9999999, 1e300,
                           -3.0e-300, 6.02214076e23, 5e-324,      HUGE_VAL,  -std::nan("")};
  ForEachSpec("feEgG", [&](const FieldSpec& spec) {
    for (double v : values) {
      std::string ours;
      AppendReal(&ours, spec, v);
      ASSERT_EQ(ours, Printf(spec, "", v)) << v;
    }
  });
}

TEST(FieldFormatTest, TextMatchesPrintf) {
  ForEachSpec("s", [&](const FieldSpec& spec) {
    for (const char* v : {"", "A", "VOLT", "a longer text"}) {
      std::string ours;
      AppendText(&ours, spec, v);
      ASSERT_EQ(ours, Printf(spec, "", v)) << v;
    }
  });
}

}  // namespace
}  // namespace motqr::io
