// Walks every message of messages.def: texts, codes, C codes, help contexts,
// and a full report of each through the driver's reporter.
#include "errors/message_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "errors/c_status.h"
#include "errors/morvane_tqr_error_reporter.h"
#include "errors/status_codes.h"
#include "errors/tests/fake_call_context.h"

namespace motqr::errors {
namespace {

using testing::FakeCallContext;
using testing::TakeError;

constexpr std::string_view kPrefix = "MorvaneTqr: ";

// Highest insert number a text refers to.
int HighestInsert(std::string_view text) {
  int highest = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
      highest = std::max(highest, text[i + 1] - '0');
    }
  }
  return highest;
}

std::string Fill(std::string_view text, int inserts) {
  std::string out(text);
  for (int n = inserts; n >= 1; --n) {
    const std::string tag = "%" + std::to_string(n);
    const std::string value = "<" + std::to_string(n) + ">";
    for (std::size_t at; (at = out.find(tag)) != std::string::npos;) out.replace(at, 2, value);
  }
  return out;
}

TEST(MessageTable, CodesCCodesAndHelpContextsCorrespond) {
  std::set<com::HRESULT> codes;
  std::set<std::int32_t> c_codes;
  for (const MessageEntry& m : kMessages) {
    SCOPED_TRACE(m.id);
    EXPECT_TRUE(codes.insert(m.code).second) << "duplicate code";
    EXPECT_TRUE(c_codes.insert(m.c_code).second) << "duplicate C code";
    const auto code = static_cast<std::uint32_t>(m.code);
    const auto c_code = static_cast<std::uint32_t>(m.c_code);
    // Inherent codes sit at 0x7000 in the component block and at 0 in the C block;
    // class and driver codes keep their offset.
    std::uint32_t offset = code & 0xFFFFu;
    if ((code & 0x7FFFF000u) == 0x00047000u) offset -= 0x7000u;
    if (m.code == 0) {
      EXPECT_EQ(m.c_code, 0);
    } else if (m.code < 0) {
      EXPECT_EQ(code & 0xFFFF0000u, 0x80040000u);
      EXPECT_EQ(c_code, 0xBFFA0000u + offset);
    } else {
      EXPECT_EQ(code & 0xFFFF0000u, 0x00040000u);
      EXPECT_EQ(c_code, 0x3FFA0000u + offset);
    }
    const bool is_warning =
        m.id >= kMsgWarnIdQueryNotSupported && m.id <= kMsgWarnRevisionQueryNotSupported;
    EXPECT_EQ(m.code > 0, is_warning);
    EXPECT_EQ(m.name.starts_with("Warn"), is_warning);
    EXPECT_EQ(ToCStatus(m.code), m.c_code);
    ASSERT_NE(CStatusText(m.c_code), nullptr);
    EXPECT_EQ(CStatusText(m.c_code), m.c_text);
    // Help contexts only on driver and class errors.
    EXPECT_EQ(m.help_context, m.id == kMsgTriggerNotSoftware ? 3u : m.id >= kMsgIoError ? 16u : 0u);
  }
}

// Every message goes through a whole report: formatted with dummy inserts,
// trimmed, given its code, help reference, source and the current interface id.
TEST(MessageTable, EveryMessageReportsWithItsCodeAndText) {
  FakeCallContext context;
  CMorvaneTqrErrorReporter reporter(testing::kSomeClsid, &context);
  const MethodDescriptor call =
      testing::MakeDescriptor(testing::kIidIviDriverOperation, "IIviDriverOperation", "get_Cache");
  testing::ScopedCall scope(&call);
  for (const MessageEntry& m : kMessages) {
    SCOPED_TRACE(m.id);
    EXPECT_TRUE(m.text.starts_with(kPrefix));
    const int inserts = HighestInsert(m.text);
    EXPECT_LE(inserts, 3);
    const HRESULT hr = reporter.ReportError(m.id, {"<1>", "<2>", "<3>"});
    EXPECT_EQ(hr, m.code == 0 ? com::DISP_E_EXCEPTION : m.code);
    bool present = false;
    const com::ErrorRecord e = TakeError(&present);
    ASSERT_TRUE(present);
    EXPECT_EQ(e.description, Fill(m.text, inserts));
    EXPECT_EQ(e.source, "MorvaneTqr.MorvaneTqr.1");
    EXPECT_EQ(e.iid, testing::kIidIviDriverOperation);
    EXPECT_EQ(e.help_file, m.help_context ? "MorvaneTqr.chm" : "");
    EXPECT_EQ(e.help_context, m.help_context);
    if (inserts > 0) {  // one insert too few is a formatting failure
      std::vector<std::string_view> fewer(static_cast<std::size_t>(inserts - 1), "x");
      EXPECT_EQ(reporter.ReportErrorV(m.id, fewer), com::DISP_E_EXCEPTION);
      EXPECT_TRUE(TakeError().description.starts_with("Internal Error:"));
    }
  }
}

}  // namespace
}  // namespace motqr::errors
