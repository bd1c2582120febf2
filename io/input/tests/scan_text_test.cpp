// Literal text, characters and the text classes (s, t, T, [set]) into byte
// buffers, wide strings and string objects; destination checks.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "io/input/scan_destinations.h"
#include "io/input/tests/scan_test_support.h"
#include "io/input/token_reader.h"

namespace motqr::io::testing {
namespace {

TEST(ScanLiteral, WhiteSpaceMatchesAnyRunAndOtherTextMustMatch) {
  std::int32_t a = 0, b = 0;
  EXPECT_EQ(ScanReply("1,2", "%d , %d", &a, &b), S_OK);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(ScanReply("3  ,\t\n4", "%d , %d", &a, &b), S_OK);
  EXPECT_EQ(b, 4);
  EXPECT_EQ(ScanReply("5%", "%d%%", &a), S_OK);
  b = -7;
  EXPECT_EQ(ScanReply("1,2", "%d;%d", &a, &b), E_UNEXPECTED);
  EXPECT_EQ(b, -7);
  // A literal cut short by the end of the response ends the scan.
  EXPECT_EQ(ScanReply("1:", "%d:V%d", &a, &b), S_OK);
  EXPECT_EQ(b, -7);
  // White space at the end of a literal gives back what follows it.
  char text[8];
  EXPECT_EQ(ScanReply("1   abc", "%d %s", &a, text), S_OK);
  EXPECT_STREQ(text, "abc");
}

TEST(ScanString, SkipsLeadingSpaceAndStopsBeforeASpace) {
  MemoryReplyBuffer reply("  ABC DEF");
  std::string s;
  EXPECT_EQ(Scan(reply, nullptr, "%$Cs", &s), S_MORE_DATA);
  EXPECT_EQ(s, "ABC");
  EXPECT_EQ(reply.rest(), " DEF");
}

TEST(ScanString, HashWidthKeepsRoomForTheTerminatorAndDropsTheRestOfTheField) {
  MemoryReplyBuffer reply("ABCDEFGHIJ   KLM");
  std::int32_t max = 6;
  std::string s = "old";
  EXPECT_EQ(Scan(reply, nullptr, "%#$Cs", &max, &s), S_MORE_DATA);
  EXPECT_EQ(s, "ABCDE");
  EXPECT_EQ(max, 5);
  EXPECT_EQ(reply.rest(), "KLM");
}

TEST(ScanString, AByteBufferIsNeverOverrun) {
  MemoryReplyBuffer reply("ABCDEFG HI");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(Scan(reply, nullptr, "%s", small), S_MORE_DATA);
  EXPECT_STREQ(small, "ABC");
  EXPECT_EQ(reply.rest(), "HI");
  // A width larger than the buffer is held to the buffer.
  char tiny[3];
  EXPECT_EQ(ScanReply("WXYZ", "%10s", tiny), S_OK);
  EXPECT_STREQ(tiny, "WX");
}

TEST(ScanRest, ReadsToTheEndOfTheResponseKeepingSpaceAndLineFeeds) {
  std::string s;
  EXPECT_EQ(ScanReply(" a b\nc ", "%$Ct", &s), S_OK);
  EXPECT_EQ(s, " a b\nc ");
  std::int32_t max = 4;
  EXPECT_EQ(ScanReply("abcdefgh", "%#$Ct", &max, &s), S_OK);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(max, 3);
}

TEST(ScanLine, StoresTheLineFeedAndStopsAfterIt) {
  MemoryReplyBuffer reply(" ab\ncd");
  std::string s;
  EXPECT_EQ(Scan(reply, nullptr, "%$CT", &s), S_MORE_DATA);
  EXPECT_EQ(s, " ab\n");
  EXPECT_EQ(reply.rest(), "cd");
  // At its maximum the rest of the line is dropped.
  reply.Reset("abcdef\ngh");
  EXPECT_EQ(Scan(reply, nullptr, "%4$CT", &s), S_MORE_DATA);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(reply.rest(), "gh");
}

TEST(ScanCharSet, StopsAtTheFirstCharacterOutsideTheSet) {
  MemoryReplyBuffer reply("A1,B2");
  char text[16];
  EXPECT_EQ(Scan(reply, nullptr, "%[^,]", text), S_MORE_DATA);
  EXPECT_STREQ(text, "A1");
  EXPECT_EQ(reply.rest(), ",B2");

  std::string s;
  EXPECT_EQ(ScanReply("123abc", "%$C[0-9]", &s), S_MORE_DATA);
  EXPECT_EQ(s, "123");
  EXPECT_EQ(ScanReply("a-b]", "%$C[-ab]", &s), S_MORE_DATA);
  EXPECT_EQ(s, "a-b");
  // Digits: the width itself (the buffer has room); `#`: less one.
  EXPECT_EQ(ScanReply("abcdef", "%3[a-z]", text), S_MORE_DATA);
  EXPECT_STREQ(text, "abc");
  std::int32_t max = 3;
  EXPECT_EQ(ScanReply("abcdef", "%#$C[a-z]", &max, &s), S_MORE_DATA);
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(max, 2);
}

TEST(ScanCharSet, WideStringsReplaceThePreviousOne) {
  com::BSTR text = com::SysAllocString(u"previous");
  EXPECT_EQ(ScanReply("TQR-M4,\xC3\xA9", "%$B[^\n]", &text), S_OK);
  EXPECT_EQ(com::BstrView(text), u"TQR-M4,\u00e9");
  com::SysFreeString(text);
}

TEST(ScanChar, ReadsBytesAsTheyComeWithoutTerminator) {
  char c[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ScanReply(" ab", "%3c", c), S_OK);
  EXPECT_EQ(std::string(c, 4), " abx");
  std::int32_t width = 5;
  EXPECT_EQ(ScanReply("yz", "%#c", &width, c), S_OK);
  EXPECT_EQ(width, 2);
  MemoryReplyBuffer reply("abcdE");
  char two[2];
  EXPECT_EQ(Scan(reply, nullptr, "%4c", two), S_MORE_DATA);
  EXPECT_EQ(std::string(two, 2), "ab");
  EXPECT_EQ(reply.rest(), "E");
}

TEST(ScanTextField, IsBoundedWithoutAWidth) {
  const std::string huge(static_cast<std::size_t>(kMaxTextField) + 10, 'a');
  std::string s;
  EXPECT_EQ(ScanReply(huge, "%$Ct", &s), E_OUTOFMEMORY);
}

TEST(ScanDestinations, WrongOrMissingDestinationsAreRefusedBeforeReading) {
  MemoryReplyBuffer reply("1.5");
  double d = 0;
  float f = 0;
  std::int32_t i = 0;
  std::string s;
  EXPECT_EQ(Scan(reply, nullptr, "%d", &d), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%lf", &f), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%f", &d), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%s", &s), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%#$Cs", &s), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%,3lf", &d), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Scan(reply, nullptr, "%lf;%lf", &d), kScanArgMissing);
  EXPECT_EQ(Scan(reply, nullptr, "%lf%", &d), E_UNEXPECTED);
  EXPECT_EQ(Scan(reply, nullptr, "%{VARIANT_BOOL}s", &i), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(reply.position(), 0u);
}

TEST(ScanDestinations, NullDestinationsAreInvalid) {
  EXPECT_EQ(ScanReply("1", "%d", static_cast<std::int32_t*>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(ScanReply("1", "%#d", static_cast<std::int32_t*>(nullptr),
                      static_cast<std::int32_t*>(nullptr)),
            E_INVALIDARG);
  EXPECT_EQ(ScanReply("a", "%s", std::span<char>()), E_INVALIDARG);
  EXPECT_EQ(ScanReply("a", "%$Bs", static_cast<com::BSTR*>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(ScanReply("a", "%{VARIANT_BOOL}s", static_cast<std::int16_t*>(nullptr)), E_INVALIDARG);
  std::int32_t v = 0;
  MemoryReplyBuffer reply("IMM");
  EXPECT_EQ(Scan(reply, nullptr, "%{MorvaneTqrTriggerEnum}s", &v), E_INVALIDARG);
}

}  // namespace
}  // namespace motqr::io::testing
