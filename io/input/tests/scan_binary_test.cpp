// IEEE 488.2 definite-length blocks and raw binary data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "io/input/block_reader.h"
#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

std::string Be32(std::initializer_list<std::uint32_t> words) {
  std::string out;
  for (std::uint32_t w : words) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((w >> shift) & 0xFF);
  }
  return out;
}

TEST(ScanBlock, CallerArrayTakesItsCapacityAndTheSurplusIsDropped) {
  MemoryReplyBuffer reply("#14ABCD\n");
  std::uint8_t four[4] = {};
  std::int32_t n = 4;
  EXPECT_EQ(Scan(reply, nullptr, "%#b", &n, four), S_MORE_DATA);
  EXPECT_EQ(std::string(four, four + 4), "ABCD");
  EXPECT_EQ(n, 4);
  EXPECT_EQ(reply.rest(), "\n");

  reply.Reset("#14ABCD\n");
  std::uint8_t two[4] = {'x', 'x', 'x', 'x'};
  n = 2;
  EXPECT_EQ(Scan(reply, nullptr, "%#b", &n, two), S_MORE_DATA);
  EXPECT_EQ(std::string(two, two + 4), "ABxx");
  EXPECT_EQ(n, 4);  // elements in the block
  EXPECT_EQ(reply.rest(), "\n");
}

TEST(ScanBlock, NewSafeArrayOfEachElementTypeSwappedFromBigEndian) {
  const struct {
    std::string reply;
    const char* format;
    const char* outcome;
  } cases[] = {
      {"#216" + Be32({1, 0xFFFFFFFE, 0x01020304, 7}) + "\n", "%$Slb", "I4 1,-2,16909060,7 +more"},
      {std::string("#14\x01\x02\x03\x04", 7), "%$Shb", "I2 258,772"},
      {std::string("#18\0\0\0\0\0\0\0\x05", 11), "%$SIb", "I8 5"},
      {std::string("#14\x3F\xC0\x00\x00", 7), "%$Szb", "R4 1.5"},
      {std::string("#18\xC0\x04\0\0\0\0\0\0", 11), "%$SZb", "R8 -2.5"},
      {"#15abcde", "%$Shb", "I2 24930,25444"},  // an odd byte beyond whole elements is dropped
      {"#0", "%$Sb", "UI1 "},
      {"#13a\nc", "%$Sb", "UI1 97,10,99"},  // bytes are never swapped
  };
  for (const auto& c : cases) EXPECT_EQ(ScanArray(c.reply, c.format), c.outcome) << c.format;
}

TEST(ScanBlock, SwapBytesOffTakesElementsAsTheyArrive) {
  MemoryReplyBuffer reply("#14" + Be32({0x01020304}));
  reply.SetSwapBytes(false);
  std::int32_t word[1] = {};
  EXPECT_EQ(Scan(reply, nullptr, "%1lb", word), S_OK);
  std::uint32_t expected = 0;
  std::memcpy(&expected, "\x01\x02\x03\x04", 4);
  EXPECT_EQ(static_cast<std::uint32_t>(word[0]), expected);
}

TEST(ScanBlock, BadHeadersFail) {
  for (const char* reply : {"14ABCD", "#", "#x4AB", "#3 12abc", "#21", "#2x1abc", ""}) {
    EXPECT_EQ(ScanArray(reply, "%$Sb"), "unexpected: null") << reply;
  }
  // A caller array needs a count.
  std::uint8_t bytes[4];
  MemoryReplyBuffer reply("#14ABCD");
  EXPECT_EQ(Scan(reply, nullptr, "%b", bytes), E_UNEXPECTED);
  EXPECT_EQ(reply.position(), 0u);
}

TEST(ScanBlock, ClaimedLengthsAreBelievedOnlyAsDataArrive) {
  // A header that ends the response: its read may have stopped at a first data
  // byte equal to the termination character, so the data are asked of the
  // device, straight (here that read fails as a time-out would), and nothing
  // is allocated for them.
  MemoryReplyBuffer reply("#9999999999");
  com::SafeArray a;
  EXPECT_EQ(Scan(reply, nullptr, "%$Sb", a.Put()), MemoryReplyBuffer::kReadPastEnd);
  EXPECT_EQ(reply.direct_reads_past_end(), 1);
  EXPECT_EQ(reply.reads_past_end(), 0);
  EXPECT_FALSE(a);
  // Nearly a gigabyte announced, ten bytes sent.
  reply.Reset("#9999999999abcdefghij");
  EXPECT_EQ(Scan(reply, nullptr, "%$Sb", a.Put()), E_UNEXPECTED);
  EXPECT_FALSE(a);
  EXPECT_EQ(reply.reads_past_end(), 0);
  // A block shorter than its header with a surplus over the caller's array.
  std::uint8_t five[5] = {};
  std::int32_t n = 5;
  EXPECT_EQ(ScanReply(std::string("#18!\0\0\0\xc4", 9), "%#b", &n, five), E_UNEXPECTED);
  EXPECT_EQ(five[0], '!');
  // More than 16 MiB announced, and the response ends right after what the
  // caller's array takes.
  n = 5;
  EXPECT_EQ(ScanReply("#8888888814#888", "%#b", &n, five), E_UNEXPECTED);
  std::uint8_t small[4];
  reply.Reset("#9999999999abcdefghij");
  EXPECT_EQ(Scan(reply, nullptr, "%4b", small), E_UNEXPECTED);
  EXPECT_EQ(std::string(small, small + 4), "abcd");
  EXPECT_EQ(reply.reads_past_end(), 0);
}

TEST(ScanBlock, LargeBlocksGrowWithTheData) {
  const std::int64_t n = kDirectBlockBytes + 12;
  std::string reply = "#8" + std::to_string(n) + std::string(static_cast<std::size_t>(n), 'z');
  com::SafeArray a;
  EXPECT_EQ(ScanReply(reply, "%$Sb", a.Put()), S_OK);
  EXPECT_EQ(static_cast<std::int64_t>(a.size()), n);
  EXPECT_EQ(a.Data<std::uint8_t>()[static_cast<std::size_t>(n - 1)], 'z');
}

TEST(ScanBlock, DataThatEndTheResponseEndTheScan) {
  // Nothing is asked of the buffer after the data that ended the response.
  MemoryReplyBuffer reply("\x01\x02\x03\x04");
  std::int16_t words[2] = {};
  std::int32_t n = 5;
  com::SafeArray more;
  EXPECT_EQ(Scan(reply, nullptr, "%2hy%#$Sy", words, &n, more.Put()), S_OK);
  EXPECT_EQ(reply.reads_past_end(), 0);
  EXPECT_EQ(n, 5);
  EXPECT_FALSE(more);
}

TEST(ScanBlock, SuppressedBlocksAreReadAndDropped) {
  std::int32_t v = 0;
  EXPECT_EQ(ScanReply("#13a\nc;5", "%*b;%d", &v), S_OK);
  EXPECT_EQ(v, 5);
}

TEST(ScanRawBinary, ByteOrderAndCount) {
  std::int16_t words[2] = {};
  EXPECT_EQ(ScanReply("\x01\x02\x03\x04", "%2hy", words), S_OK);
  EXPECT_EQ(words[0], 0x0102);
  EXPECT_EQ(words[1], 0x0304);
  EXPECT_EQ(ScanReply("\x01\x02\x03\x04", "%2!olhy", words), S_OK);
  std::int16_t expected = 0;
  std::memcpy(&expected, "\x01\x02", 2);
  EXPECT_EQ(words[0], expected);

  com::SafeArray a;
  std::int32_t n = 3;
  EXPECT_EQ(ScanReply("abcd", "%#$Sy", &n, a.Put()), S_MORE_DATA);
  EXPECT_EQ(ArrayText(a), "UI1 97,98,99");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(ScanArray("abcd", "%$Sy"), "unexpected: null");  // no count
  EXPECT_EQ(ScanReply("abc", "%2hy", words), E_UNEXPECTED);  // short
}

}  // namespace
}  // namespace motqr::io::testing
