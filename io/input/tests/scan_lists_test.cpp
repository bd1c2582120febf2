// Lists of numbers, text and enum tokens into caller arrays and new safe arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

TEST(ScanList, NewSafeArraysOfEachKind) {
  const struct {
    const char* reply;
    const char* format;
    const char* outcome;
  } cases[] = {
      // The element type follows the size.
      {"1,-2", "%,$Sd", "I4 1,-2"},
      {"1,-2", "%,$Shd", "I2 1,-2"},
      {"1,255", "%,$Sbd", "UI1 1,255"},
      {"1,-2", "%,$SId", "I8 1,-2"},
      {"1,-2.5", "%,$Sf", "R4 1,-2.5"},
      {"1,40000", "%,$Shd", "unexpected: null"},
      {"1,x", "%,$Sd", "unexpected: null"},
      // Separators, space around them, and the ends of the list.
      {"1;2:3", "%(;:)$Sd", "I4 1,2,3"},
      {"1 2\t3", "%(st)$Sd", "I4 1,2,3"},
      {"1 , 2 ,3", "%,$Sd", "I4 1,2,3"},
      {"1.5,2.5,3.5;4.5", "%,$Sle", "R8 1.5,2.5,3.5 +more"},  // stops at a non-separator
      // A number is due where an element is: an empty response, or a
      // separator with nothing after it, is not a list of numbers.
      {"", "%,$Slf", "unexpected: null"},
      {"  ", "%,$Sd", "unexpected: null"},
      {"1,2,", "%,$Slf", "unexpected: null"},
      {"1, ", "%,$Sd", "unexpected: null"},
      {"1,,2", "%,$Sd", "unexpected: null"},
      // Text lists may be empty.
      {"", "%,$S$BQs", "BSTR "},
      // Strings, quoted ones keeping separators and doubled quotes.
      {"\"PROG A\",\"B,C\" , \"say \"\"hi\"\"\"", "%,$S$BQs", "BSTR PROG A,B,C,say \"hi\""},
      {"UTC,Asia/Tokyo, EST", "%,$S$Bs", "BSTR UTC,Asia/Tokyo,EST"},
      // Enumeration tokens become values.
      {"NORM,INV,NORM", "%{MorvaneTqrIOPolarityEnum},$Ss", "I4 0,1,0"},
      {"ON,0", "%{VARIANT_BOOL},$Ss", "I2 -1,0"},
      {"NORM,BAD", "%{MorvaneTqrIOPolarityEnum},$Ss", "unknown token: null"},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanArray(c.reply, c.format), c.outcome) << c.format;
}

TEST(ScanList, AnArrayInPlaceIsReplaced) {
  com::SAFEARRAY* in_place = com::SafeArrayCreateVector(com::VT_R8, 0, 7);  // destroyed by Scan
  EXPECT_EQ(ScanReply("1.5,2.5", "%,$Sle", &in_place), S_OK);
  com::SafeArray values = com::SafeArray::Attach(in_place);
  EXPECT_EQ(ArrayText(values), "R8 1.5,2.5");
  // The list, then literal text after it.
  std::int32_t tail = 0;
  EXPECT_EQ(ScanReply("1,2:9", "%,$Slf:%d", values.Put(), &tail), S_OK);
  EXPECT_EQ(tail, 9);
}

TEST(ScanList, CallerArrayIsBoundedByCountAndSpan) {
  MemoryReplyBuffer reply("1,2,3,4");
  std::int32_t three[3] = {};
  EXPECT_EQ(Scan(reply, nullptr, "%,3d", three), S_MORE_DATA);
  EXPECT_EQ(three[2], 3);
  EXPECT_EQ(reply.rest(), ",4");

  double five[5] = {};
  std::int32_t n = 5;
  EXPECT_EQ(ScanReply("1,2", "%,#lf", &n, five), S_OK);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(five[1], 2);

  // A count beyond the array is held to the array.
  std::int32_t two[2] = {};
  reply.Reset("7,8,9");
  EXPECT_EQ(Scan(reply, nullptr, "%,10d", two), S_MORE_DATA);
  EXPECT_EQ(two[1], 8);
  EXPECT_EQ(reply.rest(), ",9");

  // Without a count a caller array cannot be bounded.
  reply.Reset("1,2");
  EXPECT_EQ(Scan(reply, nullptr, "%,d", two), E_UNEXPECTED);
  EXPECT_EQ(reply.position(), 0u);
  EXPECT_EQ(ScanReply("INV,NORM", "%{MorvaneTqrIOPolarityEnum},2s", two), S_OK);
  EXPECT_EQ(two[0], 1);
}

TEST(ScanList, GrowthStopsAtTheCap) {
  std::string reply;
  reply.reserve(static_cast<std::size_t>(kMaxListElements) * 2 + 2);
  for (std::int64_t i = 0; i <= kMaxListElements; ++i) reply += "0,";
  reply += "0";
  EXPECT_EQ(ScanArray(reply, "%,$Sbd"), "out of memory: null");
}

TEST(ScanStringList, IntoCallerArraysOfEachKind) {
  std::string objects[2];
  EXPECT_EQ(ScanReply("ab,cd,ef", "%,2$Cs", objects), S_MORE_DATA);
  EXPECT_EQ(objects[1], "cd");

  char first[4], second[4];
  std::span<char> buffers[2] = {first, second};
  EXPECT_EQ(ScanReply("ABCDE,FG", "%,2s", buffers), S_OK);
  EXPECT_STREQ(first, "ABC");
  EXPECT_STREQ(second, "FG");

  com::BSTR wide[2] = {com::SysAllocString(u"old"), nullptr};
  EXPECT_EQ(ScanReply("x,y", "%,2$Bs", wide), S_OK);
  EXPECT_EQ(com::BstrView(wide[0]), u"x");
  EXPECT_EQ(com::BstrView(wide[1]), u"y");
  for (com::BSTR s : wide) com::SysFreeString(s);
}

}  // namespace
}  // namespace motqr::io::testing
