// The parser on the session's real read buffer over a scripted transport:
// replies split across low-level reads, the read termination, binary data
// holding the termination character, failures of the transport.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/input/formatted_input.h"
#include "io/instr_buffer.h"
#include "io/testing/recording_error_reporter.h"
#include "io/testing/scripted_low_level_io.h"

namespace motqr::io::testing {
namespace {

using com::S_OK;

class ScanOnSessionBuffer : public ::testing::Test {
 protected:
  void SetUp() override {
    io_.SetTerminationCharacter('\n');
    ASSERT_EQ(io_.SetTerminationCharacterEnabled(true), S_OK);
    ASSERT_EQ(CInstrBuffer::Create(&io_, &reporter_, "\n", "\n", &buffer_), S_OK);
  }

  ScriptedLowLevelIo io_;
  RecordingErrorReporter reporter_;
  std::unique_ptr<CInstrBuffer> buffer_;
};

TEST_F(ScanOnSessionBuffer, ANumberSplitAcrossReads) {
  io_.QueueChunks({"1.2", "34", "5\n"});
  double v = 0;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%lf", &v), S_OK);
  EXPECT_EQ(v, 1.2345);
  EXPECT_EQ(io_.ReadCalls(), 3);
  EXPECT_EQ(io_.PendingBytes(), 0u);
}

TEST_F(ScanOnSessionBuffer, TheTerminationAloneInTheLastRead) {
  io_.QueueChunks({"0;20", "\n"});
  double lo = 0, hi = 0;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%lf;%lf", &lo, &hi), S_OK);
  EXPECT_EQ(hi, 20);
  EXPECT_EQ(io_.ReadCalls(), 2);
}

TEST_F(ScanOnSessionBuffer, ACharacterGivenBackRightAfterARefill) {
  io_.QueueChunks({"12", ",5\n"});
  std::int32_t a = 0, b = 0;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%d,%d", &a, &b), S_OK);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 5);
  EXPECT_TRUE(reporter_.Empty());
}

TEST_F(ScanOnSessionBuffer, TheLastCharacterGivenBackBeforeTheTermination) {
  io_.QueueReply("12;\n");
  std::int32_t v = 0;
  std::string rest;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%d%$Ct", &v, &rest), S_OK);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(rest, ";");
  EXPECT_EQ(io_.ReadCalls(), 1);
}

TEST_F(ScanOnSessionBuffer, DataLeftIsMoreDataAndTheDiscardReadsNothingNew) {
  io_.QueueReply("1.5,2.5\n");
  io_.QueueReply("9\n");  // the next response must stay untouched
  double v = 0;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%lf", &v), S_MORE_DATA);
  EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);
  EXPECT_EQ(io_.ReadCalls(), 1);
  EXPECT_EQ(Scan(*buffer_, nullptr, "%lf", &v), S_OK);
  EXPECT_EQ(v, 9);
}

TEST_F(ScanOnSessionBuffer, AListLongerThanTheReadBuffer) {
  std::string reply;
  for (int i = 0; i < 2000; ++i) reply += (i ? "," : "") + std::to_string(i) + ".5";
  io_.QueueReply(reply + "\n");
  com::SafeArray values;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%,$Slf", values.Put()), S_OK);
  ASSERT_EQ(values.size(), 2000u);
  EXPECT_EQ(values.Data<double>()[1999], 1999.5);
  EXPECT_GT(io_.ReadCalls(), 1);
}

TEST_F(ScanOnSessionBuffer, BlockDataMayHoldTheTerminationCharacter) {
  io_.QueueReply(std::string("#14a\nb\n\n"));
  com::SafeArray data;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%$Sb", data.Put()), S_MORE_DATA);
  ASSERT_EQ(data.size(), 4u);
  EXPECT_EQ(std::string(data.Data<char>().begin(), data.Data<char>().end()), "a\nb\n");
  EXPECT_TRUE(io_.TerminationCharacterEnabled());
  EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);
  EXPECT_EQ(io_.PendingBytes(), 0u);
}

TEST_F(ScanOnSessionBuffer, BlocksWhoseFirstOrLastDataByteIsTheTermination) {
  // The read of the header stops at the first data byte; the data are still
  // read whole, and the next response is the next reply's.
  const std::string data_first = std::string("\n\x01\x00\x00", 4);
  const std::string data_last = std::string("\x00\x00\x00\n", 4);
  const std::string data_both = std::string("\n\n\x02\n", 4);
  for (const std::string& data : {data_first, data_last, data_both}) {
    io_.QueueReply("#14" + data + "\n");
    io_.QueueReply("7\n");
    com::SafeArray block;
    EXPECT_TRUE(com::Succeeded(Scan(*buffer_, nullptr, "%$Sb", block.Put())));
    ASSERT_EQ(block.size(), 4u);
    EXPECT_EQ(std::string(block.Data<char>().begin(), block.Data<char>().end()), data);
    EXPECT_TRUE(io_.TerminationCharacterEnabled());
    EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);
    std::int32_t next = 0;
    EXPECT_EQ(Scan(*buffer_, nullptr, "%d", &next), S_OK);
    EXPECT_EQ(next, 7);
    EXPECT_EQ(io_.PendingBytes(), 0u);
  }
  // Into a caller's array of 32-bit words, most significant byte first.
  io_.QueueReply(std::string("#18\n\x00\x00\x01\x00\x00\x01\x0a\n", 12));
  std::int32_t words[2] = {};
  EXPECT_TRUE(com::Succeeded(Scan(*buffer_, nullptr, "%2lb", words)));
  EXPECT_EQ(words[0], 0x0A000001);
  EXPECT_EQ(words[1], 0x0000010A);
}

TEST_F(ScanOnSessionBuffer, ALargeBlockIntoASmallArrayIsReadToItsEnd) {
  // The first bytes come from the read buffer alone; that is not the end.
  const std::size_t n = (16u << 20) + 100;
  io_.QueueReply("#8" + std::to_string(n) + std::string(n, 'q') + "\n");
  std::uint8_t first[5] = {};
  std::int32_t count = 5;
  EXPECT_TRUE(com::Succeeded(Scan(*buffer_, nullptr, "%#b", &count, first)));
  EXPECT_EQ(first[4], 'q');
  EXPECT_EQ(count, static_cast<std::int32_t>(n));
  EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);
  EXPECT_EQ(io_.PendingBytes(), 0u);
}

TEST_F(ScanOnSessionBuffer, ABlockShorterThanItsHeaderFailsCleanly) {
  io_.QueueReply("#15ab\n");
  com::SafeArray data;
  EXPECT_TRUE(com::Failed(Scan(*buffer_, nullptr, "%$Sb", data.Put())));
  EXPECT_FALSE(data);
}

TEST_F(ScanOnSessionBuffer, ATransportFailureIsReturnedAsItIs) {
  io_.QueueChunks({"1.2", "34\n"});
  io_.FailRead(2, ScriptedLowLevelIo::kTimeout);
  double v = 0;
  EXPECT_EQ(Scan(*buffer_, nullptr, "%lf", &v), ScriptedLowLevelIo::kTimeout);
  EXPECT_EQ(v, 0);
}

}  // namespace
}  // namespace motqr::io::testing
