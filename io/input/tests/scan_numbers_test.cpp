// Integers and reals: forms, widths, ranges per destination, IEEE 488.2
// numeric formats, and where the scan stops.
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "io/input/number_reader.h"
#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

// The width limits a field; what is left over is more data.
TEST(ScanReal, FormsThatAreNumbersAndTextThatIsNot) {
  const struct {
    const char* reply;
    const char* format;
    const char* outcome;
  } cases[] = {
      {"1.5", "%lf", "1.5"},
      {"-1.5E+03", "%lf", "-1500"},
      {"+.5", "%lf", "0.5"},
      {"5.", "%lf", "5"},
      {"1e-3", "%lf", "0.001"},
      {" \t\n2.5", "%lf", "2.5"},
      {"9.91E37", "%lf", "9.91e+37"},
      {"1e-400", "%lf", "0"},
      {"-0", "%lf", "-0"},
      {"000000000012.50", "%lf", "12.5"},
      {"+1.25E+01", "%@3lf", "12.5"},
      {"#B11", "%@Blf", "3"},
      {"1.2345", "%3lf", "1.2 +more"},
      {"1.5,2.5", "%lf", "1.5 +more"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScanValue(c.reply, c.format, -7.0), c.outcome) << c.reply << " " << c.format;
  }
  // Refused, the destination left alone.
  for (const char* reply : {"", "abc", "-", "+.", ".", "1.5E", "1.5e+x", "1e400", "-1e999"}) {
    EXPECT_EQ(ScanValue(reply, "%lf", -7.0), "unexpected: -7") << reply;
  }
  EXPECT_EQ(ScanValue("11", "%@Blf", -7.0), "unexpected: -7");
  EXPECT_EQ(ScanValue<float>("1e39", "%f"), "unexpected: 0");
  EXPECT_EQ(ScanValue<float>("3.25", "%e"), "3.25");
}

// The session's short cut for a reply that is one real must read exactly what
// the reply parser reads, bit for bit, and refuse whatever the parser would not
// read whole as a plain number: numbers written every way an instrument might,
// and texts that are not quite numbers.
TEST(ScanReal, TheWholeReplyShortCutReadsWhatTheParserReads) {
  std::mt19937_64 random(17);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<std::string> texts = {"+-1",
                                    "-+1",
                                    "++1",
                                    "+",
                                    "-",
                                    ".",
                                    "-.",
                                    "1e",
                                    "1e+",
                                    "e5",
                                    "inf",
                                    "-inf",
                                    "nan",
                                    "0x10",
                                    "1..5",
                                    "1.5.",
                                    " 1",
                                    "1 ",
                                    "0e999",
                                    "-0",
                                    "0.0e-30",
                                    "9007199254740993",
                                    "1e22",
                                    "1e23",
                                    "123456789012345e-22",
                                    "4.9406564584124654e-324"};
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    if (pick(3) != 0) t += "+-"[pick(2)];
    const int digits = 1 + pick(20);
    const int point = pick(digits + 2);
    for (int d = 0; d < digits; ++d) {
      if (d == point) t += '.';
      t += static_cast<char>('0' + (pick(4) == 0 ? 0 : pick(10)));
    }
    if (pick(2) != 0) {
      t += "eE"[pick(2)];
      if (pick(2) != 0) t += "+-"[pick(2)];
      t += std::to_string(pick(50));
    }
    texts.push_back(t);
  }
  for (const std::string& text : texts) {
    double parsed = -7;
    const HRESULT hr = ScanReply(text, "%lf", &parsed);
    double quick = -7;
    const bool taken = ParseWholeReal(text, &quick);
    if (taken) {
      EXPECT_EQ(hr, S_OK) << text;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(quick), std::bit_cast<std::uint64_t>(parsed))
          << text << ": " << quick << " against " << parsed;
    } else {
      // Refused texts go to the parser, which must then have something to say: a
      // failure, data left over, or a value the short cut leaves to it (a zero
      // for an underflow, or the rare subnormal).
      EXPECT_TRUE(hr != S_OK || parsed == 0 || std::fabs(parsed) < 1e-300 || text.size() > 64 ||
                  text.front() == ' ')
          << text;
    }
  }
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

TEST(ScanReal, HashReturnsTheLengthOfTheField) {
  std::int32_t width = 4;
  double v = 0;
  EXPECT_EQ(ScanReply("  -2.75", "%#lf", &width, &v), S_MORE_DATA);
  EXPECT_EQ(v, -2.7);
  EXPECT_EQ(width, 4);
}

TEST(ScanReal, DoesNotFollowTheProcessLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string outcome = ScanValue<double>("1.5", "%lf");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(outcome, "1.5");
}

TEST(ScanInteger, RangeFollowsTheDestinationSize) {
  EXPECT_EQ(ScanValue<std::int32_t>("-2147483648", "%d"), "-2147483648");
  EXPECT_EQ(ScanValue<std::int32_t>("2147483648", "%d"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::int32_t>("2147483648", "%ld"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::int16_t>("40000", "%hd"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::int16_t>("-32768", "%hd"), "-32768");
  EXPECT_EQ(ScanValue<std::int16_t>("1e5", "%@3hd"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::uint8_t>("255", "%bd"), "255");
  EXPECT_EQ(ScanValue<std::uint8_t>("256", "%bd"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::uint8_t>("-1", "%bd"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::int64_t>("-9223372036854775808", "%Id"), "-9223372036854775808");
  EXPECT_EQ(ScanValue<std::int64_t>("9223372036854775808", "%Id"), "unexpected: 0");
  EXPECT_EQ(ScanValue<std::int64_t>("99999999999999999999999", "%Id"), "unexpected: 0");
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
  for (const char* reply : {"", " ", "x", "-", "1A", "#X1"}) {
    EXPECT_EQ(ScanValue<std::int32_t>(reply, "%@Hd"), "unexpected: 0") << reply;
  }
}

TEST(ScanInteger, SuppressedDirectivesTakeNoDestination) {
  std::int32_t v = 0;
  EXPECT_EQ(ScanReply("1,2", "%*d,%d", &v), S_OK);
  EXPECT_EQ(v, 2);
  // A suppressed number still has to be one.
  EXPECT_EQ(ScanReply("x,2", "%*d,%d", &v), E_UNEXPECTED);
}

TEST(ScanNumber, AnOverlongFieldIsRefusedNotBuffered) {
  std::string reply(100000, '0');
  reply += "1";
  EXPECT_EQ(ScanValue<std::int32_t>(reply, "%d"), "unexpected: 0");
  EXPECT_EQ(ScanValue<double>(reply, "%lf"), "unexpected: 0");
}

}  // namespace
}  // namespace motqr::io::testing
