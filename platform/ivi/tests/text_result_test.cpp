#include "platform/ivi/text_result.h"

#include <gtest/gtest.h>

#include <cstring>

namespace motqr::ivi {
namespace {

TEST(TextResultTest, SizesAroundTheLength) {
  char buffer[8];
  // "abcd": L = 4.
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(CopyTextResult("abcd", 0, buffer), 5);
  EXPECT_EQ(buffer[0], 'x') << "a size query copies nothing";
  EXPECT_EQ(CopyTextResult("abcd", 5, buffer), 0);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(CopyTextResult("abcd", 4, buffer), 5);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(CopyTextResult("abcd", 1, buffer), 5);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(CopyTextResult("abcd", -1, buffer), 0);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(CopyTextResult("abcd", 8, nullptr), 5);
  EXPECT_EQ(CopyTextResult("", 1, buffer), 0);
  EXPECT_STREQ(buffer, "");
}

}  // namespace
}  // namespace motqr::ivi
