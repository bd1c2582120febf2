// Walks every table of every member against the enumerations of the type
// library: each value has a token (bar the documented gaps), each token reads
// back as its value, and the longest token is what the converter reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "commands/enumerations.h"
#include "commands/find_enum_converter.h"

namespace motqr::commands {
namespace {

struct DefinedEnumeration {
  std::string name;
  std::vector<std::int32_t> values;
};

std::vector<DefinedEnumeration> TypeLibraryEnumerations() {
  std::vector<DefinedEnumeration> list;
#define MOTQR_ENUM_BEGIN(Enum) list.push_back({#Enum, {}});
#define MOTQR_ENUM_VALUE(Enum, Member, value) list.back().values.push_back(value);
#include "interfaces/enums.def"
  return list;
}

// Values a member's table deliberately leaves without a token.
bool HasNoToken(std::string_view member, std::int32_t value) {
  return (member == "IMorvaneTqrTrigger.Initiate" && value == 0) ||
         member == "IMorvaneTqrTrigger.SendSoftwareTrigger";
}

TEST(EveryTable, ExactlyTheTokenedEnumerationsHaveConvertersUnderTheirOwnNames) {
  std::set<std::string> with_converter;
  for (const DefinedEnumeration& e : TypeLibraryEnumerations()) {
    if (FindEnumConverter(e.name, "")) with_converter.insert(e.name);
  }
  EXPECT_EQ(with_converter.size(), 27u);  // 26 instrument enumerations and the class one
  for (const char* name :
       {"MorvaneTqrBeepEnum", "MorvaneTqrTransientStateEnum", "MorvaneTqrErrorCodesEnum",
        "IviDCPwrCurrentLimitBehaviorEnum", "IviDCPwrRangeTypeEnum", "IviDCPwrOutputStateEnum",
        "IviDCPwrTriggerSourceEnum"})
    EXPECT_EQ(with_converter.count(name), 0u) << name;
  // Every enumeration of the match list is one of the type library's, by its full name.
  std::set<std::string> defined;
  for (const DefinedEnumeration& e : TypeLibraryEnumerations()) defined.insert(e.name);
  for (const Enumeration& e : Enumerations()) {
    if (e.forms == NameForms::kShortOnly) continue;
    const std::string prefix = e.forms == NameForms::kClass ? "IviDCPwr" : "MorvaneTqr";
    const std::string full = prefix + std::string(e.short_name) + "Enum";
    EXPECT_EQ(defined.count(full), 1u) << full;
    if (e.members) {
      EXPECT_FALSE(e.members().empty()) << full;
    }
  }
}

TEST(EveryTable, EveryValueOfEveryMemberRoundTrips) {
  int tables = 0;
  for (const DefinedEnumeration& e : TypeLibraryEnumerations()) {
    const Enumeration* enumeration = FindEnumeration(e.name);
    if (!enumeration || !enumeration->members) continue;
    const auto [min, max] = std::minmax_element(e.values.begin(), e.values.end());
    for (const MemberTable& t : enumeration->members()) {
      SCOPED_TRACE(e.name + " in " + std::string(t.member));
      const driver::IEnumCommandConverter* c = FindEnumConverter(e.name, t.member);
      ASSERT_NE(c, nullptr);
      ASSERT_EQ(c, &t.converter());
      ++tables;
      std::size_t longest = 0;
      for (std::int32_t value : e.values) {
        std::string token;
        const bool written = c->GetCommand("TQR-M4", value, &token);
        EXPECT_EQ(written, !HasNoToken(t.member, value)) << value;
        if (!written) continue;
        longest = std::max(longest, token.size());
        // Tokens are the same for every model, and for a session with none.
        for (const char* model : {"", "TQR-M1", "TQR-M7", "not a model"}) {
          std::string other;
          EXPECT_TRUE(c->GetCommand(model, value, &other));
          EXPECT_EQ(other, token) << model;
        }
        std::int32_t read = -100;
        if (token.empty()) {
          EXPECT_EQ(e.name, "MorvaneTqrPositiveNegativeEnum");
          EXPECT_FALSE(c->GetValue("TQR-M4", token, &read));
          continue;
        }
        EXPECT_TRUE(c->GetValue("TQR-M4", token, &read)) << token;
        EXPECT_EQ(read, value) << token;
      }
      std::string none;
      EXPECT_FALSE(c->GetCommand("TQR-M4", *min - 1, &none));
      EXPECT_FALSE(c->GetCommand("TQR-M4", *max + 1, &none));
      EXPECT_EQ(c->GetMaxCommandLength(), static_cast<std::int32_t>(longest));
    }
  }
  EXPECT_EQ(tables, 45);
}

TEST(EveryTable, EveryBooleanMemberRoundTripsTrueAsMinusOne) {
  const Enumeration* booleans = FindEnumeration("VARIANT_BOOL");
  ASSERT_NE(booleans, nullptr);
  std::vector<std::string_view> members{"", "INotListed.Member"};
  for (const MemberTable& t : booleans->members()) members.push_back(t.member);
  EXPECT_EQ(members.size(), 17u);
  for (std::string_view member : members) {
    SCOPED_TRACE(member);
    const driver::IEnumCommandConverter* c = FindEnumConverter("VARIANT_BOOL", member);
    ASSERT_NE(c, nullptr);
    std::string true_token, one_token, false_token;
    ASSERT_TRUE(c->GetCommand("TQR-M4", -1, &true_token));
    ASSERT_TRUE(c->GetCommand("TQR-M4", 1, &one_token));
    ASSERT_TRUE(c->GetCommand("TQR-M4", 0, &false_token));
    EXPECT_EQ(one_token, true_token);
    EXPECT_NE(false_token, true_token);
    std::int32_t read = 0;
    EXPECT_TRUE(c->GetValue("TQR-M4", true_token, &read));
    EXPECT_EQ(read, -1);
    EXPECT_TRUE(c->GetValue("TQR-M4", false_token, &read));
    EXPECT_EQ(read, 0);
    EXPECT_FALSE(c->GetCommand("TQR-M4", 2, &true_token));
    EXPECT_FALSE(c->GetCommand("TQR-M4", -2, &true_token));
  }
}

}  // namespace
}  // namespace motqr::commands
