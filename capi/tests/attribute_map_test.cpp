// The attribute map walked row by row.
#include "capi/attribute_map.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace motqr::capi {
namespace {

TEST(AttributeMapTest, HoldsTheAttributesOfEachTypeOnce) {
  std::map<AttributeType, int> per_type;
  std::set<ViAttr> ids;
  for (const Attribute& a : AllAttributes()) {
    ++per_type[a.type];
    EXPECT_TRUE(ids.insert(a.id).second) << a.id;
    EXPECT_EQ(FindAttribute(a.id), &a);
    EXPECT_NE(a.get, nullptr) << a.id << " has no getter (no attribute is write-only)";
  }
  EXPECT_EQ(ids.size(), 111u);
  EXPECT_EQ(per_type[AttributeType::kInt32], 38);
  EXPECT_EQ(per_type[AttributeType::kReal64], 45);
  EXPECT_EQ(per_type[AttributeType::kBoolean], 18);
  EXPECT_EQ(per_type[AttributeType::kString], 10);
  EXPECT_EQ(per_type[AttributeType::kSession], 0);
  EXPECT_EQ(FindAttribute(1150051), nullptr);
  EXPECT_EQ(FindAttribute(0), nullptr);
}

TEST(AttributeMapTest, ReadOnlyRowsAndChannelRowsAreTheExpectedOnes) {
  const std::set<ViAttr> read_only{1050007, 1050203, 1050302, 1050305, 1050327, 1050401,
                                   1050510, 1050513, 1050514, 1050515, 1050516, 1050551,
                                   1150065, 1150066, 1150069, 1150071, 1150074, 1150076};
  for (const Attribute& a : AllAttributes()) {
    EXPECT_EQ(a.set == nullptr, read_only.contains(a.id)) << a.id;
    const bool channel = (a.id >= 1150002 && a.id <= 1150049) || a.id >= 1250001;
    EXPECT_EQ(a.channel_based, channel) << a.id;
  }
}

}  // namespace
}  // namespace motqr::capi
