// motqr.h against the tables it is written from: every function of
// functions.def has its prototype, every attribute row its MOTQR_ATTR_
// constant and its typed accessors, every status of the message table its
// MOTQR_ERROR_/MOTQR_WARN_ constant with a text.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "capi/motqr.h"
#include "errors/c_status.h"
#include "errors/message_table.h"

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

TEST(HeaderCheckTest, StatusConstantsMatchTheMessageTableAndHaveTexts) {
  const std::int32_t header[] = {MOTQR_ERROR_CANNOT_RECOVER,
                                 MOTQR_ERROR_INSTRUMENT_STATUS,
                                 MOTQR_ERROR_CANNOT_OPEN_FILE,
                                 MOTQR_ERROR_READING_FILE,
                                 MOTQR_ERROR_WRITING_FILE,
                                 MOTQR_ERROR_INVALID_PATHNAME,
                                 MOTQR_ERROR_INVALID_VALUE,
                                 MOTQR_ERROR_METHOD_NOT_SUPPORTED,
                                 MOTQR_ERROR_PROPERTY_NOT_SUPPORTED,
                                 MOTQR_ERROR_VALUE_NOT_SUPPORTED,
                                 MOTQR_ERROR_NOT_INITIALIZED,
                                 MOTQR_ERROR_UNKNOWN_CHANNEL_NAME,
                                 MOTQR_ERROR_TOO_MANY_OPEN_FILES,
                                 MOTQR_ERROR_CHANNEL_NAME_REQUIRED,
                                 MOTQR_ERROR_MISSING_OPTION_NAME,
                                 MOTQR_ERROR_MISSING_OPTION_VALUE,
                                 MOTQR_ERROR_BAD_OPTION_NAME,
                                 MOTQR_ERROR_BAD_OPTION_VALUE,
                                 MOTQR_ERROR_OUT_OF_MEMORY,
                                 MOTQR_ERROR_OPERATION_PENDING,
                                 MOTQR_ERROR_NULL_POINTER,
                                 MOTQR_ERROR_UNEXPECTED_RESPONSE,
                                 MOTQR_ERROR_FILE_NOT_FOUND,
                                 MOTQR_ERROR_INVALID_FILE_FORMAT,
                                 MOTQR_ERROR_STATUS_NOT_AVAILABLE,
                                 MOTQR_ERROR_ID_QUERY_FAILED,
                                 MOTQR_ERROR_RESET_FAILED,
                                 MOTQR_ERROR_RESOURCE_UNKNOWN,
                                 MOTQR_ERROR_ALREADY_INITIALIZED,
                                 MOTQR_ERROR_CANNOT_CHANGE_SIMULATION_STATE,
                                 MOTQR_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR,
                                 MOTQR_ERROR_INVALID_RANGE_IN_SELECTOR,
                                 MOTQR_ERROR_UNKNOWN_NAME_IN_SELECTOR,
                                 MOTQR_ERROR_BADLY_FORMED_SELECTOR,
                                 MOTQR_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
                                 MOTQR_WARN_NSUP_ID_QUERY,
                                 MOTQR_WARN_NSUP_RESET,
                                 MOTQR_WARN_NSUP_SELF_TEST,
                                 MOTQR_WARN_NSUP_ERROR_QUERY,
                                 MOTQR_WARN_NSUP_REV_QUERY,
                                 MOTQR_ERROR_IO_GENERAL,
                                 MOTQR_ERROR_IO_TIMEOUT,
                                 MOTQR_ERROR_MODEL_NOT_SUPPORTED,
                                 MOTQR_ERROR_TRIGGER_NOT_SOFTWARE,
                                 MOTQR_ERROR_INVALID_ATTRIBUTE,
                                 MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE,
                                 MOTQR_ERROR_ATTRIBUTE_NOT_READABLE,
                                 MOTQR_ERROR_TYPES_DO_NOT_MATCH,
                                 MOTQR_ERROR_INVALID_SESSION_HANDLE};
  std::set<std::int32_t> in_header(std::begin(header), std::end(header));
  EXPECT_EQ(in_header.size(), std::size(header));
  for (const errors::MessageEntry& m : errors::kMessages) {
    if (m.c_code == 0) continue;
    EXPECT_TRUE(in_header.contains(m.c_code)) << m.code_name;
  }
  for (const errors::CStatusEntry& c : errors::kCOnlyStatuses) {
    EXPECT_TRUE(in_header.contains(c.c_code)) << c.name;
  }
  for (std::int32_t code : header) EXPECT_NE(errors::CStatusText(code), nullptr) << code;
  EXPECT_EQ(in_header.size() + 1, errors::kMessages.size() + errors::kCOnlyStatuses.size());
}

}  // namespace
}  // namespace motqr::capi
