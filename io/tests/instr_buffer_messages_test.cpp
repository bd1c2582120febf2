// The buffer's failures as a caller finds them: status code and the text of
// the thread's error object, through the driver's own error reporter.
#include <gtest/gtest.h>

#include <string>

#include "errors/morvane_tqr_error_reporter.h"
#include "errors/status_codes.h"
#include "io/instr_buffer.h"
#include "io/testing/scripted_low_level_io.h"
#include "platform/com/error_info.h"

namespace motqr::io {
namespace {

class InstrBufferMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    com::ErrorRecord stale;
    com::TakeErrorInfo(&stale);
    ASSERT_EQ(CInstrBuffer::Create(&io_, &reporter_, "\n", "\n", &buffer_), com::S_OK);
  }
  static std::string Description() {
    com::ErrorRecord record;
    return com::TakeErrorInfo(&record) ? record.description : "(none)";
  }

  testing::ScriptedLowLevelIo io_;
  errors::CMorvaneTqrErrorReporter reporter_{com::GUID_NULL, nullptr};
  std::unique_ptr<CInstrBuffer> buffer_;
};

TEST_F(InstrBufferMessagesTest, PushBackWithNothingReadIsAnOutOfMemoryError) {
  EXPECT_EQ(buffer_->UnreadChar(), errors::E_IVI_OUT_OF_MEMORY);
  EXPECT_EQ(Description(),
            "MorvaneTqr: Could not allocate necessary memory.\r\n"
            "Can't push character back into read buffer.  Buffer has not been read from.");
}

TEST_F(InstrBufferMessagesTest, ShortFlushIsAnIoError) {
  io_.ShortWrite(1, 2);
  EXPECT_EQ(buffer_->WriteCString("*RST", nullptr, true), errors::E_MORVANETQR_IO_GENERAL);
  const std::string text = Description();
  EXPECT_EQ(text.rfind("MorvaneTqr: I/O error", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nFlush of formatted I/O write buffer only successfully sent 2 of 5 "
                      "bytes to the device."),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace motqr::io
