#include "capi/selector.h"

#include <gtest/gtest.h>

namespace motqr::capi {
namespace {

using Names = std::vector<std::string>;

Names Expand(std::string_view s, RangeUse r = RangeUse::kAllowed) {
  SelectorExpansion e = ExpandSelector(s, r);
  EXPECT_EQ(e.status, 0) << s;
  return e.Names();
}

std::int32_t Status(std::string_view s, RangeUse r = RangeUse::kAllowed) {
  SelectorExpansion e = ExpandSelector(s, r);
  EXPECT_TRUE(e.elements.empty() || e.status == 0);
  return e.status;
}

TEST(SelectorTest, NamesListsAndRanges) {
  EXPECT_EQ(Expand(""), Names{""});
  EXPECT_EQ(Expand("OutputChannel1"), Names{"OutputChannel1"});
  EXPECT_EQ(Expand(" a ,\tB_2 , x!!y"), (Names{"a", "B_2", "x!!y"}));
  EXPECT_EQ(Expand("[OutputChannel1]"), Names{"OutputChannel1"});
  EXPECT_EQ(Expand("OutputChannel1-OutputChannel1"), Names{"OutputChannel1"});
  // The first prefix as written, numbers without leading zeros; prefixes compare without case.
  EXPECT_EQ(Expand(" Out08 - OUT10 "), (Names{"Out8", "Out9", "Out10"}));
  EXPECT_EQ(Expand("a1-a2,b"), (Names{"a1", "a2", "b"}));
  EXPECT_EQ(Expand("a1, b1", RangeUse::kRefused), (Names{"a1", "b1"}));
  // Ranges of any length expand; their names are made one at a time.
  const Names long_range = Expand("Ch1-Ch2000");
  ASSERT_EQ(long_range.size(), 2000u);
  EXPECT_EQ(long_range[1024], "Ch1025");
  EXPECT_EQ(long_range.back(), "Ch2000");
  Names seen;
  ExpandSelector("a1-a2147483647", RangeUse::kAllowed).ForEachName([&](std::string_view name) {
    seen.emplace_back(name);
    return seen.size() == 3 ? 1 : 0;  // the walk stops where the visitor says
  });
  EXPECT_EQ(seen, (Names{"a1", "a2", "a3"}));
}

TEST(SelectorTest, Refusals) {
  EXPECT_EQ(Status("a1-a2", RangeUse::kRefused), kSelectorBadlyFormed);
  EXPECT_EQ(Status("a2-a1"), kSelectorInvalidRange);
  EXPECT_EQ(Status("a1-b2"), kSelectorInvalidRange);
  EXPECT_EQ(Status("a1-a99999999999"), kSelectorInvalidRange);
  for (std::string_view bad :
       {"[a", "a]", "a,", ",a", "a b", "a-", "-a1", "a1-a2-a3", "1a-1b", "a-b", " ", "a.b", "[]"}) {
    EXPECT_EQ(Status(bad), kSelectorBadlyFormed) << bad;
  }
  // Every level is checked element by element before the number of levels.
  EXPECT_EQ(Status("a:b"), kSelectorInvalidLevels);
  EXPECT_EQ(Status("[a]:[b1-b3, c]"), kSelectorInvalidLevels);
  for (std::string_view bad : {"[a:b", "a b:c", "a:b c", "a:", "a:b,", "a:[b", "a:b1-b2-b3"}) {
    EXPECT_EQ(Status(bad), kSelectorBadlyFormed) << bad;
  }
  EXPECT_EQ(Status("a:b1-b2", RangeUse::kRefused), kSelectorBadlyFormed);
  EXPECT_EQ(Status("a:b2-b1"), kSelectorInvalidRange);
  EXPECT_STREQ(SelectorStatusText(kSelectorBadlyFormed),
               "The repeated capability selector is badly-formed.");
}

}  // namespace
}  // namespace motqr::capi
