// Enumeration tokens: read as text, turned into values by the enum formatter.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "io/input/tests/scan_test_support.h"

namespace motqr::io::testing {
namespace {

TEST(ScanEnum, TokensGoThroughTheFormatter) {
  MemoryReplyBuffer reply("1");
  FakeEnums enums;
  std::int16_t on = 0;
  EXPECT_EQ(Scan(reply, &enums, "%{VARIANT_BOOL}[^\n]", &on), S_OK);
  EXPECT_EQ(on, -1);
  EXPECT_EQ(enums.asked, (std::vector<std::pair<std::string, std::string>>{{"VARIANT_BOOL", "1"}}));

  EXPECT_EQ(ScanValue("BUS", "%{MorvaneTqrTriggerEnum}[^\n]", -7), "1");
  EXPECT_EQ(ScanValue("\"EXT\"", "%{MorvaneTqrTriggerEnum}Qs", -7), "2");
  EXPECT_EQ(ScanValue("IMMEDIATE", "%{MorvaneTqrTriggerEnum}3s", -7), "0");  // the rest dropped
  // A token without a value: the formatter's status, the destination untouched.
  EXPECT_EQ(ScanValue("MAYBE", "%{MorvaneTqrTriggerEnum}[^\n]", -7), "unknown token: -7");
}

TEST(ScanEnum, SuppressedTokensAreReadButNotLookedUp) {
  MemoryReplyBuffer reply("MAYBE,1");
  FakeEnums enums;
  std::int32_t after = 0;
  EXPECT_EQ(Scan(reply, &enums, "%{MorvaneTqrTriggerEnum}*[^,],%d", &after), S_OK);
  EXPECT_TRUE(enums.asked.empty());
  EXPECT_EQ(after, 1);
}

}  // namespace
}  // namespace motqr::io::testing
