// Integers and reals: forms, widths, ranges per destination, IEEE 488.2
// numeric formats, and where the scan stops.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

TEST(ScanReal, ReadsDecimalFormsAndStopsAtTheEndOfTheResponse) {
  const struct {
    const char* reply;
    double value;
  } cases[] = {{"1.5", 1.5},    {"-1.5E+03", -1500},      {"+.5", 0.5},         {"5.", 5},
               {"1e-3", 0.001}, {" \t\n2.5", 2.5},        {"9.91E37", 9.91e37}, {"1e-400", 0},
               {"-0", 0},       {"000000000012.50", 12.5}};
  for (const auto& c : cases) {
    double v = -7;
    EXPECT_EQ(ScanReply(c.reply, "%lf", &v), S_OK) << c.reply;
    EXPECT_DOUBLE_EQ(v, c.value) << c.reply;
  }
}

TEST(ScanReal, RefusesTextThatIsNoNumberOrDoesNotFit) {
  for (const char* reply : {"", "abc", "-", "+.", ".", "1.5E", "1.5e+x", "1e400", "-1e999"}) {
    double v = -7;
    EXPECT_EQ(ScanReply(reply, "%lf", &v), E_UNEXPECTED) << reply;
    EXPECT_EQ(v, -7) << reply;
  }
  float f = 0;
  EXPECT_EQ(ScanReply("1e39", "%f", &f), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("3.25", "%e", &f), S_OK);
  EXPECT_EQ(f, 3.25f);
}

TEST(ScanReal, DataLeftAfterTheFormatGiveMoreData) {
  MemoryReplyBuffer reply("1.5,2.5");
  double v = 0;
  EXPECT_EQ(Scan(reply, nullptr, "%lf", &v), S_MORE_DATA);
  EXPECT_EQ(v, 1.5);
  EXPECT_EQ(reply.rest(), ",2.5");
}

TEST(ScanReal, OneNumberForTwoDirectivesLeavesTheSecondUntouched) {
  double lo = 0, hi = -7;
  EXPECT_EQ(ScanReply("0.5", "%lf;%lf", &lo, &hi), S_OK);
  EXPECT_EQ(lo, 0.5);
  EXPECT_EQ(hi, -7);
  EXPECT_EQ(ScanReply("0;20", "%lf;%lf", &lo, &hi), S_OK);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 20);
  // The separator is the last character: the second directive never runs.
  hi = -7;
  EXPECT_EQ(ScanReply("3;", "%lf;%lf", &lo, &hi), S_OK);
  EXPECT_EQ(hi, -7);
}

TEST(ScanReal, WidthLimitsTheFieldAndHashReturnsItsLength) {
  MemoryReplyBuffer reply("1.2345");
  double v = 0;
  EXPECT_EQ(Scan(reply, nullptr, "%3lf", &v), S_MORE_DATA);
  EXPECT_EQ(v, 1.2);
  EXPECT_EQ(reply.rest(), "345");

  std::int32_t width = 4;
  EXPECT_EQ(ScanReply("  -2.75", "%#lf", &width, &v), S_MORE_DATA);
  EXPECT_EQ(v, -2.7);
  EXPECT_EQ(width, 4);
}

TEST(ScanReal, NumericFormats) {
  double v = 0;
  EXPECT_EQ(ScanReply("+1.25E+01", "%@3lf", &v), S_OK);
  EXPECT_EQ(v, 12.5);
  EXPECT_EQ(ScanReply("#B11", "%@Blf", &v), S_OK);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(ScanReply("11", "%@Blf", &v), E_UNEXPECTED);
}

TEST(ScanReal, DoesNotFollowTheProcessLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  double v = 0;
  const HRESULT hr = ScanReply("1.5", "%lf", &v);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(v, 1.5);
}

TEST(ScanInteger, RangeFollowsTheDestinationSize) {
  std::int32_t i = 0;
  std::int16_t h = 0;
  std::uint8_t b = 0;
  std::int64_t l = 0;
  EXPECT_EQ(ScanReply("-2147483648", "%d", &i), S_OK);
  EXPECT_EQ(i, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ScanReply("2147483648", "%d", &i), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("2147483648", "%ld", &i), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("40000", "%hd", &h), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("-32768", "%hd", &h), S_OK);
  EXPECT_EQ(h, -32768);
  EXPECT_EQ(ScanReply("255", "%bd", &b), S_OK);
  EXPECT_EQ(b, 255);
  EXPECT_EQ(ScanReply("256", "%bd", &b), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("-1", "%bd", &b), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("-9223372036854775808", "%Id", &l), S_OK);
  EXPECT_EQ(l, std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(ScanReply("9223372036854775808", "%Id", &l), E_UNEXPECTED);
  EXPECT_EQ(ScanReply("99999999999999999999999", "%Id", &l), E_UNEXPECTED);
}

TEST(ScanInteger, BasesSignsAndWidths) {
  const struct {
    const char* reply;
    const char* format;
    std::int32_t value;
    const char* rest;
  } cases[] = {
      {"42", "%d", 42, ""},     {"+7", "%i", 7, ""},        {"-0", "%u", 0, ""},
      {"0x1F", "%x", 31, ""},   {"ff;", "%x", 255, ";"},    {"0X", "%x", 0, ""},
      {"17", "%o", 15, ""},     {"18", "%o", 1, "8"},       {"12345", "%2d", 12, "345"},
      {"  12 ", "%d", 12, " "}, {"#H1A", "%@Hd", 26, ""},   {"#h1a", "%@Hd", 26, ""},
      {"#Q17", "%@Qd", 15, ""}, {"#B1012", "%@Bd", 5, "2"}, {"1.5E3", "%@3d", 1500, ""},
      {"-2.7", "%@1d", -2, ""},
  };
  for (const auto& c : cases) {
    MemoryReplyBuffer reply(c.reply);
    std::int32_t v = -7;
    const HRESULT hr = Scan(reply, nullptr, c.format, &v);
    EXPECT_TRUE(hr == S_OK || hr == S_MORE_DATA) << c.reply << " " << c.format;
    EXPECT_EQ(v, c.value) << c.reply << " " << c.format;
    EXPECT_EQ(reply.rest(), c.rest) << c.reply << " " << c.format;
    EXPECT_EQ(reply.reads_past_end(), 0);
  }
  std::int32_t v = 0;
  for (const char* reply : {"", " ", "x", "-", "1A", "#X1"}) {
    EXPECT_EQ(ScanReply(reply, "%@Hd", &v), E_UNEXPECTED) << reply;
  }
  std::int16_t h = 0;
  EXPECT_EQ(ScanReply("1e5", "%@3hd", &h), E_UNEXPECTED);
}

TEST(ScanInteger, SuppressedDirectivesTakeNoDestination) {
  std::int32_t v = 0;
  EXPECT_EQ(ScanReply("1,2", "%*d,%d", &v), S_OK);
  EXPECT_EQ(v, 2);
  // A suppressed number still has to be one.
  EXPECT_EQ(ScanReply("x,2", "%*d,%d", &v), E_UNEXPECTED);
}

TEST(ScanInteger, AnOverlongFieldIsRefusedNotBuffered) {
  std::string reply(100000, '0');
  reply += "1";
  std::int32_t v = 0;
  EXPECT_EQ(ScanReply(reply, "%d", &v), E_UNEXPECTED);
  double d = 0;
  EXPECT_EQ(ScanReply(reply, "%lf", &d), E_UNEXPECTED);
}

}  // namespace
}  // namespace motqr::io::testing
