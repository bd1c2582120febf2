// motqr.h against the tables it is written from: every function of
// functions.def has its prototype, every attribute row its MOTQR_ATTR_
// constant and its typed accessors, every status of the message table its
// MOTQR_ERROR_/MOTQR_WARN_ constant with a text, every enumeration value its
// MOTQR_VAL_ constant.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "capi/motqr.h"
#include "errors/c_status.h"
#include "errors/message_table.h"
#include "errors/status_codes.h"
#include "interfaces/enums.h"

namespace motqr::capi {
namespace {

// Taking each function's address fails to compile if motqr.h lacks it.
#define MOTQR_FUNCTION(Name) reinterpret_cast<const void*>(&motqr_##Name),
const void* const kFunctionAddresses[] = {
#include "capi/functions.def"
};

#define MOTQR_FUNCTION(Name) "motqr_" #Name,
const char* const kFunctionNames[] = {
#include "capi/functions.def"
};

// The identifier constants equal their rows.
#define MOTQR_ATTRIBUTE(Id, NAME, Type, Reach, Access, Interface, Property) \
  static_assert(MOTQR_ATTR_##NAME == Id);
#define MOTQR_CONSTANT_ATTRIBUTE(Id, NAME, Text) static_assert(MOTQR_ATTR_##NAME == Id);
#include "capi/attributes.def"

TEST(HeaderCheckTest, FunctionListHasTheThreeHundredFiftyOneDistinctFunctions) {
  EXPECT_EQ(std::size(kFunctionNames), 351u);
  std::set<std::string> names(std::begin(kFunctionNames), std::end(kFunctionNames));
  EXPECT_EQ(names.size(), std::size(kFunctionNames));
  for (const void* address : kFunctionAddresses) EXPECT_NE(address, nullptr);
}

TEST(HeaderCheckTest, EveryTypedAccessorIsListed) {
  std::set<std::string> names(std::begin(kFunctionNames), std::end(kFunctionNames));
  std::vector<std::string> accessors;
#define MOTQR_TYPED_ATTRIBUTE(Id, NAME, Type, Reach, Access, Interface, Property, Accessor) \
  accessors.push_back("motqr_Get" #Accessor);                                               \
  if (std::string(#Access) == "ReadWrite") accessors.push_back("motqr_Set" #Accessor);
#include "capi/attributes.def"
  EXPECT_EQ(accessors.size(), 158u);
  for (const std::string& a : accessors) EXPECT_TRUE(names.contains(a)) << a;
}

// The "#define MOTQR_<kind>_<NAME> <value>" constants of motqr.h whose value is a decimal
// number, bare or in parentheses: name -> value.
std::map<std::string, std::int64_t> HeaderConstants(const std::string& kind) {
  std::stringstream text;
  text << std::ifstream(MOTQR_C_HEADER).rdbuf();
  const std::string header = text.str();
  const std::regex define("#define (MOTQR_" + kind + R"(_\w+) (?:\((-?\d+)\)|(-?\d+))\s)");
  std::map<std::string, std::int64_t> constants;
  for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it) {
    const std::string value = (*it)[2].matched ? (*it)[2] : (*it)[3];
    EXPECT_TRUE(constants.emplace((*it)[1], std::stoll(value)).second) << (*it)[1];
  }
  return constants;
}

TEST(HeaderCheckTest, StatusConstantsMatchTheMessageTableAndHaveTexts) {
  std::set<std::int64_t> in_header;
  for (const char* kind : {"ERROR", "WARN"}) {
    for (const auto& [name, code] : HeaderConstants(kind)) {
      EXPECT_TRUE(in_header.insert(code).second) << name;
      EXPECT_NE(errors::CStatusText(static_cast<std::int32_t>(code)), nullptr) << name;
    }
  }
  for (const errors::MessageEntry& m : errors::kMessages) {
    if (m.c_code == 0) continue;
    EXPECT_TRUE(in_header.contains(m.c_code)) << m.code_name;
  }
  for (const errors::CStatusEntry& c : errors::kCOnlyStatuses) {
    EXPECT_TRUE(in_header.contains(c.c_code)) << c.name;
  }
  EXPECT_EQ(in_header.size() + 1, errors::kMessages.size() + errors::kCOnlyStatuses.size());
  static_assert(MOTQR_ERROR_UNMAPPED == errors::kCStatusUnmapped);  // the one without a text
}

// MorvaneTqrOutputFunctionModeDSeamless -> MOTQR_VAL_OUTPUT_FUNCTION_MODE_D_SEAMLESS,
// E_MORVANETQR_IO_GENERAL -> MOTQR_VAL_MORVANETQR_IO_GENERAL.
std::string ValueConstantName(std::string_view member) {
  for (std::string_view prefix : {"MorvaneTqr", "IviDCPwr", "E_"}) {
    if (member.starts_with(prefix)) {
      member.remove_prefix(prefix.size());
      break;
    }
  }
  const bool camel = member.find('_') == std::string_view::npos;
  std::string name = "MOTQR_VAL_";
  for (std::size_t i = 0; i < member.size(); ++i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(member[k]); };
    const bool word_starts =
        i > 0 && std::isupper(at(i)) &&
        (!std::isupper(at(i - 1)) || (i + 1 < member.size() && std::islower(at(i + 1))));
    if (camel && word_starts) name += '_';
    name += static_cast<char>(std::toupper(at(i)));
  }
  return name;
}

void ExpectConstant(const std::map<std::string, std::int64_t>& constants, std::string_view member,
                    std::int64_t value) {
  const auto it = constants.find(ValueConstantName(member));
  ASSERT_TRUE(it != constants.end()) << member << " has no constant";
  EXPECT_EQ(it->second, value) << member;
}

// A member added to interfaces/enums.def without its constant, or a constant with another value,
// fails here.
TEST(HeaderCheckTest, EveryEnumerationValueHasItsConstant) {
  const std::map<std::string, std::int64_t> constants = HeaderConstants("VAL");
  std::size_t members = 0;
#define MOTQR_ENUM_VALUE(Enum, Member, value) \
  ++members;                                  \
  ExpectConstant(constants, #Member, Member);
#include "interfaces/enums.def"
  EXPECT_EQ(constants.size(), members);
}

}  // namespace
}  // namespace motqr::capi
