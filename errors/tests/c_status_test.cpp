// Component statuses as C callers see them, and the texts of C codes.
#include "errors/c_status.h"

#include <gtest/gtest.h>

#include <string>

#include "errors/message_table.h"
#include "errors/status_codes.h"

namespace motqr::errors {
namespace {

TEST(CStatus, ComponentStatusesTranslate) {
  EXPECT_EQ(ToCStatus(com::MakeHresult(0x80047058u)), com::MakeHresult(0xBFFA0058u));
  EXPECT_EQ(ToCStatus(0x00047065), 0x3FFA0065);
  EXPECT_EQ(ToCStatus(E_IVIDCPWR_TRIGGER_NOT_SOFTWARE), com::MakeHresult(0xBFFA1001u));
  EXPECT_EQ(ToCStatus(E_MORVANETQR_MODEL_NOT_SUPPORTED), com::MakeHresult(0xBFFA4216u));
  EXPECT_EQ(ToCStatus(0), 0);
  // Anything not in the table, warnings and runtime codes alike.
  EXPECT_EQ(ToCStatus(com::E_INVALIDARG), com::MakeHresult(0x80000000u));
  EXPECT_EQ(ToCStatus(com::S_FALSE), kCStatusUnmapped);
  EXPECT_EQ(ToCStatus(com::E_OUTOFMEMORY), kCStatusUnmapped);
  EXPECT_EQ(ToCStatus(com::MakeHresult(0xBFFA0058u)), kCStatusUnmapped);  // already a C code
}

TEST(CStatus, TextsOfTheCOnlyCodes) {
  // The 45 message codes are walked with the message table.
  for (const CStatusEntry& s : kCOnlyStatuses) {
    ASSERT_NE(CStatusText(s.c_code), nullptr);
    EXPECT_EQ(CStatusText(s.c_code), s.c_text);
  }
  EXPECT_EQ(kCOnlyStatuses.size(), 5u);
  EXPECT_STREQ(CStatusText(0), "Success.");
  EXPECT_EQ(CStatusText(com::MakeHresult(0x80047058u)), nullptr);  // a component code
  EXPECT_EQ(CStatusText(kCStatusUnmapped), nullptr);
}

}  // namespace
}  // namespace motqr::errors
