#include "capi/selector.h"

#include <gtest/gtest.h>

namespace motqr::capi {
namespace {

using Names = std::vector<std::string>;

Names Expand(std::string_view s, RangeUse r = RangeUse::kAllowed) {
  SelectorExpansion e = ExpandSelector(s, r);
  EXPECT_EQ(e.status, 0) << s;
  return e.names;
}

std::int32_t Status(std::string_view s, RangeUse r = RangeUse::kAllowed) {
  SelectorExpansion e = ExpandSelector(s, r);
  EXPECT_TRUE(e.names.empty() || e.status == 0);
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
}

TEST(SelectorTest, Refusals) {
  EXPECT_EQ(Status("a1-a2", RangeUse::kRefused), kSelectorBadlyFormed);
  EXPECT_EQ(Status("a2-a1"), kSelectorInvalidRange);
  EXPECT_EQ(Status("a1-b2"), kSelectorInvalidRange);
  EXPECT_EQ(Status("a1-a99999999999"), kSelectorInvalidRange);
  EXPECT_EQ(Status("a1-a100000"), kSelectorInvalidRange) << "bounded expansion";
  for (std::string_view bad :
       {"[a", "a]", "a,", ",a", "a b", "a-", "-a1", "a1-a2-a3", "1a-1b", "a-b", " ", "a.b", "[]"}) {
    EXPECT_EQ(Status(bad), kSelectorBadlyFormed) << bad;
  }
  EXPECT_EQ(Status("a:b"), kSelectorInvalidLevels);
  EXPECT_EQ(Status("[a:b"), kSelectorBadlyFormed);
  EXPECT_STREQ(SelectorStatusText(kSelectorBadlyFormed),
               "The repeated capability selector is badly-formed.");
}

}  // namespace
}  // namespace motqr::capi
