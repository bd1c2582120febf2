// Numbers in messages: printf-style conversions written without the process
// locale.
#include "errors/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <locale>
#include <string>

#include "errors/morvane_tqr_error_reporter.h"
#include "errors/tests/fake_call_context.h"

namespace motqr::errors {
namespace {

TEST(NumberFormat, IntegerConversionsMatchTheCLocale) {
  const char* formats[] = {"%d",  "%i",   "%u",    "%x",   "%#x",  "%08X", "%#o",   "%+d",
                           "% d", "%5d|", "%-5d|", "%05d", "%.3d", "%.0d", "%d mA", "100%% at %d"};
  const std::int32_t values[] = {0, 7, -42, 0xBEEF, INT32_MIN, INT32_MAX};
  for (const char* format : formats) {
    for (std::int32_t value : values) {
      char expected[64];
      std::snprintf(expected, sizeof expected, format, value);
      EXPECT_EQ(FormatInt32(format, value), expected) << format << " " << value;
    }
  }
  EXPECT_EQ(FormatInt32("%ld", -42), "-42");  // length modifiers do not widen the value
}

TEST(NumberFormat, RealConversionsMatchTheCLocale) {
  const char* formats[] = {"%.15g", "%g",    "%0.6lg",  "%lf",     "%.3f",
                           "%e",    "%.2E",  "%G",      "%12.4f|", "%-12.4g|",
                           "%+g",   "% .1f", "%010.3f", "%.0f",    "%.0e"};
  const double values[] = {0.0,         -0.0,  1.5,    -2.25,     0.1,  1e-7,
                           123456789.0, 1e300, 5e-324, 2.0 / 3.0, 1e15, 1e16};
  for (const char* format : formats) {
    for (double value : values) {
      char expected[512];
      std::snprintf(expected, sizeof expected, format, value);
      EXPECT_EQ(FormatDouble(format, value), expected) << format << " " << value;
    }
  }
  EXPECT_EQ(FormatDouble("%f", std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatDouble("%G", -std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FormatDouble("%5.1f", std::nan("")), "  nan");
}

TEST(NumberFormat, UnknownFormatsFallBackToTheDefault) {
  for (const char* format : {"no conversion", "%s", "%d %d", "%*d", "%f"}) {
    EXPECT_EQ(FormatInt32(format, 12), "12") << format;
  }
  EXPECT_EQ(FormatInt32(nullptr, 12), "12");
  for (const char* format : {"%d", "%.999f", "%#g", "%"}) {
    EXPECT_EQ(FormatDouble(format, 0.5), "0.5") << format;
  }
}

// Switches the C and C++ locales to decimal-comma ones for one scope.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale()
      : previous_cpp_(std::locale::global(std::locale(std::locale::classic(), new Comma))) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
      if (std::setlocale(LC_ALL, name)) {
        c_locale_ = name;
        break;
      }
    }
  }
  ~DecimalCommaLocale() {
    std::setlocale(LC_ALL, "C");
    std::locale::global(previous_cpp_);
  }
  const char* c_locale() const { return c_locale_; }

 private:
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  std::locale previous_cpp_;
  const char* c_locale_ = nullptr;
};

TEST(NumberFormat, DecimalCommaLocaleDoesNotLeakIntoMessages) {
  DecimalCommaLocale locale;
  if (locale.c_locale()) {  // make sure the locale really writes a comma
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.15g", 1.5);
    ASSERT_STREQ(probe, "1,5") << locale.c_locale();
  }
  EXPECT_EQ(FormatDouble("%.15g", 1.5), "1.5");
  EXPECT_EQ(FormatDouble("%0.6lf", 1234.5), "1234.500000");
  EXPECT_EQ(FormatInt32("%d", 1234567), "1234567");

  testing::FakeCallContext context;
  CMorvaneTqrErrorReporter reporter(testing::kSomeClsid, &context);
  reporter.InvalidValueDouble("put_VoltageLevel", "val", -1.5);
  EXPECT_EQ(testing::TakeError().description,
            "MorvaneTqr: Invalid value '-1.5' for method 'put_VoltageLevel', parameter 'val'.");
  RecordProperty("c_locale", locale.c_locale() ? locale.c_locale() : "none installed");
}

}  // namespace
}  // namespace motqr::errors
