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

// Into string objects: where each text class starts and stops, and how much it keeps.
TEST(ScanText, EachClassStopsWhereItShould) {
  const struct {
    const char* reply;
    const char* format;
    const char* outcome;
    const char* rest;
  } cases[] = {
      {"  ABC DEF", "%$Cs", "ABC +more", " DEF"},  // leading space skipped, stops before one
      {" a b\nc ", "%$Ct", " a b\nc ", ""},        // the rest, space and line feeds kept
      {" ab\ncd", "%$CT", " ab\n +more", "cd"},    // the line feed stored, stops after it
      {"abcdef\ngh", "%4$CT", "abc +more", "gh"},  // at its maximum the rest of the line dropped
      {"123abc", "%$C[0-9]", "123 +more", "abc"},    {"a-b]", "%$C[-ab]", "a-b +more", "]"},
      {"TQR-M4,A", "%$C[^,]", "TQR-M4 +more", ",A"},
  };
  for (const auto& c : cases) {
    MemoryReplyBuffer reply(c.reply);
    std::string s = "old";
    EXPECT_EQ(Outcome(Scan(reply, nullptr, c.format, &s), s), c.outcome) << c.format;
    EXPECT_EQ(reply.rest(), c.rest) << c.format;
  }
}

TEST(ScanText, HashWidthKeepsRoomForTheTerminatorAndDropsTheRestOfTheField) {
  const struct {
    const char* reply;
    const char* format;
    std::int32_t max;
    const char* outcome;
    std::int32_t length;
    const char* rest;  // nullptr: not checked
  } cases[] = {
      {"ABCDEFGHIJ   KLM", "%#$Cs", 6, "ABCDE +more", 5, "KLM"},
      {"abcdefgh", "%#$Ct", 4, "abc", 3, ""},
      {"abcdef", "%#$C[a-z]", 3, "ab +more", 2, nullptr},
  };
  for (const auto& c : cases) {
    MemoryReplyBuffer reply(c.reply);
    std::int32_t max = c.max;
    std::string s = "old";
    EXPECT_EQ(Outcome(Scan(reply, nullptr, c.format, &max, &s), s), c.outcome) << c.format;
    EXPECT_EQ(max, c.length) << c.format;
    if (c.rest) {
      EXPECT_EQ(reply.rest(), c.rest) << c.format;
    }
  }
}

TEST(ScanText, AByteBufferIsNeverOverrun) {
  MemoryReplyBuffer reply("ABCDEFG HI");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(Scan(reply, nullptr, "%s", small), S_MORE_DATA);
  EXPECT_STREQ(small, "ABC");
  EXPECT_EQ(reply.rest(), "HI");
  // A width larger than the buffer is held to the buffer.
  char tiny[3];
  EXPECT_EQ(ScanReply("WXYZ", "%10s", tiny), S_OK);
  EXPECT_STREQ(tiny, "WX");
  // A set with digits: the width itself (the buffer has room).
  char text[16];
  reply.Reset("A1,B2");
  EXPECT_EQ(Scan(reply, nullptr, "%[^,]", text), S_MORE_DATA);
  EXPECT_STREQ(text, "A1");
  EXPECT_EQ(ScanReply("abcdef", "%3[a-z]", text), S_MORE_DATA);
  EXPECT_STREQ(text, "abc");
}

TEST(ScanText, WideStringsReplaceThePreviousOne) {
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

TEST(ScanText, IsBoundedWithoutAWidth) {
  const std::string huge(static_cast<std::size_t>(kMaxTextField) + 10, 'a');
  EXPECT_EQ(ScanValue<std::string>(huge, "%$Ct"), "out of memory: ");
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
