// Numbers in messages: printf-style conversions written without the process
// locale.
#include "errors/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <string>

#include "errors/morvane_tqr_error_reporter.h"
#include "errors/tests/fake_call_context.h"

namespace motqr::errors {
namespace {

TEST(NumberFormat, IntegerConversions) {
  EXPECT_EQ(FormatInt32("%d", 0), "0");
  EXPECT_EQ(FormatInt32("%d", std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(FormatInt32("%i", 42), "42");
  EXPECT_EQ(FormatInt32("%u", -1), "4294967295");
  EXPECT_EQ(FormatInt32("%x", -1), "ffffffff");
  EXPECT_EQ(FormatInt32("%#x", 255), "0xff");
  EXPECT_EQ(FormatInt32("%08X", 0xBEEF), "0000BEEF");
  EXPECT_EQ(FormatInt32("%o", 8), "10");
  EXPECT_EQ(FormatInt32("%+d", 5), "+5");
  EXPECT_EQ(FormatInt32("% d", 5), " 5");
  EXPECT_EQ(FormatInt32("%5d|", -42), "  -42|");
  EXPECT_EQ(FormatInt32("%-5d|", 42), "42   |");
  EXPECT_EQ(FormatInt32("%05d", -42), "-0042");
  EXPECT_EQ(FormatInt32("%.3d", 7), "007");
  EXPECT_EQ(FormatInt32("%ld mA", 7), "7 mA");
  EXPECT_EQ(FormatInt32("100%% at %d", 3), "100% at 3");
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
  EXPECT_EQ(FormatInt32(nullptr, 12), "12");
  EXPECT_EQ(FormatInt32("no conversion", 12), "12");
  EXPECT_EQ(FormatInt32("%s", 12), "12");
  EXPECT_EQ(FormatInt32("%d %d", 12), "12");
  EXPECT_EQ(FormatInt32("%*d", 12), "12");
  EXPECT_EQ(FormatInt32("%f", 12), "12");
  EXPECT_EQ(FormatDouble("%d", 0.5), "0.5");
  EXPECT_EQ(FormatDouble("%.999f", 0.5), "0.5");
  EXPECT_EQ(FormatDouble("%#g", 0.5), "0.5");
  EXPECT_EQ(FormatDouble("%", 0.5), "0.5");
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
