// The buffer pair against a scripted transport: refill boundaries, the end of
// a response, push-back, flush and END, discard.
#include "io/instr_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/testing/recording_error_reporter.h"
#include "io/testing/scripted_low_level_io.h"

namespace motqr::io {
namespace {

using com::S_OK;
using testing::RecordingErrorReporter;
using testing::ScriptedLowLevelIo;

class InstrBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CInstrBuffer::Create(&io_, &reporter_, "\n", "\n", &buffer_), S_OK);
  }
  // Reads up to `count` bytes; returns them and stores the status.
  std::string Read(std::int32_t count, HRESULT* status, bool discard = false) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) + 1);
    std::int32_t n = -1;
    *status = buffer_->ReadBuffer(bytes.data(), count, &n, discard);
    return std::string(bytes.begin(), bytes.begin() + std::max(n, 0));
  }
  HRESULT Write(const std::string& s, bool flush) {
    std::int32_t n = 0;
    return buffer_->WriteBuffer(reinterpret_cast<const std::uint8_t*>(s.data()),
                                static_cast<std::int32_t>(s.size()), &n, flush);
  }

  ScriptedLowLevelIo io_;
  RecordingErrorReporter reporter_;
  std::unique_ptr<CInstrBuffer> buffer_;
};

TEST_F(InstrBufferTest, ResponseFillingTheBufferExactlyWithEndIsComplete) {
  const std::string reply(4096, 'x');
  io_.QueueReply(reply);
  HRESULT hr;
  EXPECT_EQ(Read(4096, &hr), reply);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(io_.ReadCalls(), 1);
  EXPECT_EQ(io_.Reads()[0].count, 4096);
  EXPECT_EQ(io_.LastTimeout(), kTmoKeep);
}

TEST_F(InstrBufferTest, LongResponseTakesTwoReads) {
  std::string reply(5000, 'a');
  reply[4095] = 'b';
  reply[4096] = 'c';
  io_.QueueChunks({std::string_view(reply).substr(0, 4096), std::string_view(reply).substr(4096)});
  HRESULT hr;
  EXPECT_EQ(Read(5000, &hr), reply);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(io_.ReadCalls(), 2);
}

TEST_F(InstrBufferTest, PartialReadsReportMoreDataUntilTheEnd) {
  io_.QueueReply("1.5,2.5\n");
  HRESULT hr;
  EXPECT_EQ(Read(3, &hr), "1.5");
  EXPECT_EQ(hr, S_MORE_DATA);
  EXPECT_EQ(Read(100, &hr), ",2.5");  // the termination is not handed out
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(buffer_->ReadCount(), 0);
  // A read never crosses into the next response: only an empty buffer reads again.
  io_.QueueReply("7\n");
  EXPECT_EQ(Read(100, &hr), "7");
  EXPECT_EQ(io_.ReadCalls(), 2);
}

TEST_F(InstrBufferTest, TerminationArrivingAloneInTheLastReadIsNotData) {
  io_.QueueChunks({"123", "\n"});
  HRESULT hr;
  EXPECT_EQ(Read(100, &hr), "123");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(buffer_->ReadAvailable(), 0);
}

TEST_F(InstrBufferTest, TwoByteTerminationSplitAcrossReadsStaysInTheData) {
  buffer_->SetReadTermination("\r\n");
  io_.QueueChunks({"12\r", "\n"});
  HRESULT hr;
  // Only the last read is tested for the termination, and it holds one byte of it.
  EXPECT_EQ(Read(100, &hr), "12\r\n");
  EXPECT_EQ(hr, S_OK);
}

TEST_F(InstrBufferTest, ReadDirectTakesTheRawBytesIncludingTheTermination) {
  io_.SetTerminationCharacterEnabled(true);
  io_.QueueReply("123\n");
  HRESULT hr;
  EXPECT_EQ(Read(0, &hr), "");  // a zero count does not read the device
  EXPECT_EQ(io_.ReadCalls(), 0);
  std::uint8_t c = 0;
  EXPECT_EQ(buffer_->ReadChar(&c), S_MORE_DATA);  // refills
  EXPECT_EQ(buffer_->ReadAvailable(), 2);
  EXPECT_EQ(buffer_->UnreadChar(), S_OK);
  EXPECT_EQ(buffer_->ReadAvailable(), 3);

  std::uint8_t raw[8] = {};
  std::int32_t n = 0;
  EXPECT_EQ(buffer_->ReadDirect(raw, 4, &n, false), S_OK);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 4), "123\n");
  EXPECT_EQ(io_.ReadCalls(), 1);  // all from the buffer
  EXPECT_TRUE(io_.TerminationCharacterEnabled());
}

TEST_F(InstrBufferTest, ReadDirectReadsTheRestWithTheTerminationCharacterOff) {
  io_.SetTerminationCharacterEnabled(true);
  io_.QueueChunks({"#14ab", "\ncd\n"});
  std::uint8_t head[3];
  std::int32_t n = 0;
  HRESULT hr = buffer_->ReadBuffer(head, 3, &n, false);
  EXPECT_EQ(hr, S_MORE_DATA);
  std::uint8_t data[6] = {};
  EXPECT_EQ(buffer_->ReadDirect(data, 6, &n, false), S_OK);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 6), "ab\ncd\n");
  ASSERT_EQ(io_.ReadCalls(), 2);
  EXPECT_FALSE(io_.Reads()[1].termination_enabled);
  EXPECT_TRUE(io_.TerminationCharacterEnabled());
  EXPECT_TRUE(buffer_->EndSeen());
}

TEST_F(InstrBufferTest, FailingToSwitchTheTerminationOffStopsReadDirect) {
  io_.SetTerminationCharacterEnabled(true);
  io_.FailNextTerminationSwitch(com::E_FAIL);
  std::uint8_t data[4];
  std::int32_t n = 0;
  EXPECT_EQ(buffer_->ReadDirect(data, 4, &n, false), com::E_FAIL);
  EXPECT_EQ(io_.ReadCalls(), 0);
}

TEST_F(InstrBufferTest, PushBackAfterTheLastByteRestoresThatByte) {
  io_.QueueReply("12\n");
  HRESULT hr;
  EXPECT_EQ(Read(2, &hr), "12");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(buffer_->UnreadChar(), S_OK);
  std::uint8_t c = 0;
  EXPECT_EQ(buffer_->ReadChar(&c), S_OK);
  EXPECT_EQ(c, '2');
  EXPECT_EQ(io_.ReadCalls(), 1);
}

// The run a parser takes without a call per byte stops short of the last byte
// buffered, and taking from it reads exactly as one-byte reads would.
TEST_F(InstrBufferTest, BufferedRunStopsBeforeTheLastByteAndTakesLikeOneByteReads) {
  io_.QueueReply("1.5,2\n");
  HRESULT hr = S_OK;
  EXPECT_EQ(Read(1, &hr), "1");
  const auto run = buffer_->BufferedRun();
  EXPECT_EQ(std::string(run.begin(), run.end()), ".5,");  // not the "2" that ends the reply
  buffer_->TakeBuffered(3);
  ASSERT_EQ(buffer_->UnreadChar(), S_OK);  // gives back the ","
  EXPECT_EQ(buffer_->BufferedRun().size(), 1u);
  EXPECT_EQ(Read(10, &hr), ",2");
  EXPECT_EQ(hr, S_OK);  // the end of the response, as before
  EXPECT_TRUE(buffer_->BufferedRun().empty());
}

TEST_F(InstrBufferTest, ReadFailureIsReturnedAndKeepsTheState) {
  io_.FailRead(1, ScriptedLowLevelIo::kTimeout);
  HRESULT hr;
  EXPECT_EQ(Read(10, &hr), "");
  EXPECT_EQ(hr, ScriptedLowLevelIo::kTimeout);
  EXPECT_EQ(buffer_->ReadCount(), 0);
  EXPECT_TRUE(buffer_->EndSeen());
}

TEST_F(InstrBufferTest, NullBuffersAreReportedByParameterName) {
  std::int32_t n;
  EXPECT_EQ(buffer_->ReadBuffer(nullptr, 1, &n, false), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(reporter_.Reports().back().args[0], "pBuf");
  EXPECT_EQ(buffer_->ReadBstr(nullptr, 1, false), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(reporter_.Reports().back().args[0], "pbstrBuf");
  EXPECT_EQ(buffer_->ReadSafeArray(nullptr, 1, false), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(reporter_.Reports().back().args[0], "ppsaBuf");
  EXPECT_EQ(buffer_->WriteBuffer(nullptr, 1, &n, false), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(buffer_->GetReadBufferSize(nullptr), com::E_POINTER);
}

TEST_F(InstrBufferTest, UnreadWithNothingReadIsReported) {
  EXPECT_EQ(buffer_->UnreadChar(), RecordingErrorReporter::kOutOfMemory);
  EXPECT_EQ(reporter_.LastKind(), "OutOfMemory");
  EXPECT_EQ(reporter_.LastText(),
            "Can't push character back into read buffer.  Buffer has not been read from.");
}

TEST_F(InstrBufferTest, ReadBstrAndSafeArrayHoldExactlyTheBytesRead) {
  io_.QueueReply("AB\n");
  com::Bstr text;
  EXPECT_EQ(buffer_->ReadBstr(text.Put(), 10, false), S_OK);
  EXPECT_EQ(text.View(), u"AB");
  io_.QueueReply("xyz");
  com::SafeArray bytes;
  // Storage follows what arrives, not the count asked for.
  EXPECT_EQ(buffer_->ReadSafeArray(bytes.Put(), 1'000'000'000, false), S_OK);
  ASSERT_EQ(bytes.size(), 3u);
  EXPECT_EQ(bytes.Data<std::uint8_t>()[2], 'z');
}

// ---------------------------------------------------------------- writing

TEST_F(InstrBufferTest, FlushAppendsTheTerminationOnlyWhenMissing) {
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);  // an empty buffer sends nothing
  EXPECT_EQ(io_.WriteCalls(), 0);
  EXPECT_EQ(Write("*CLS", true), S_OK);
  EXPECT_EQ(Write("*RST\n", true), S_OK);
  ASSERT_EQ(io_.WriteCalls(), 2);
  EXPECT_EQ(io_.Writes()[0].bytes, "*CLS\n");
  EXPECT_EQ(io_.Writes()[1].bytes, "*RST\n");  // 5 bytes, not 6
  EXPECT_TRUE(io_.Writes()[1].end);
}

TEST_F(InstrBufferTest, LongWriteSendsWholeBuffersWorthWithoutEnd) {
  std::string data(10000, 'q');
  data[8191] = 'X';
  EXPECT_EQ(Write(data, false), S_OK);
  // Two buffers' worth in one write straight from the caller's bytes, the rest buffered.
  ASSERT_EQ(io_.WriteCalls(), 1);
  EXPECT_EQ(io_.Writes()[0].bytes, data.substr(0, 8192));
  EXPECT_FALSE(io_.Writes()[0].end);
  EXPECT_EQ(buffer_->WriteCount(), 1808);
  EXPECT_TRUE(io_.SendEndEnabled());  // switched back on after the write
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  EXPECT_EQ(io_.Writes()[1].bytes.size(), 1809u);
  EXPECT_TRUE(io_.Writes()[1].end);
  // With bytes already buffered, the buffer is filled and flushed first.
  EXPECT_EQ(Write("abc", false), S_OK);
  EXPECT_EQ(Write(data, false), S_OK);
  ASSERT_EQ(io_.WriteCalls(), 4);
  EXPECT_EQ(io_.Writes()[2].bytes, "abc" + data.substr(0, 4093));
  EXPECT_EQ(io_.Writes()[3].bytes, data.substr(4093, 4096));
  EXPECT_EQ(buffer_->WriteCount(), 10003 - 8192);
}

TEST_F(InstrBufferTest, FlushWithoutEndLeavesEndOffWhenItWasOff) {
  io_.SetSendEndEnabled(false);
  EXPECT_EQ(Write("abc", false), S_OK);
  EXPECT_EQ(buffer_->FlushWriteBuffer(false), S_OK);
  EXPECT_EQ(io_.Writes()[0].bytes, "abc");
  EXPECT_FALSE(io_.SendEndEnabled());
}

TEST_F(InstrBufferTest, FailedWriteKeepsTheBufferedBytes) {
  io_.FailWrite(1, com::E_FAIL);
  EXPECT_EQ(Write(":OUTP ON", true), com::E_FAIL);
  EXPECT_EQ(buffer_->WriteCount(), 8);
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  EXPECT_EQ(io_.Writes()[0].bytes, ":OUTP ON\n");
}

TEST_F(InstrBufferTest, ShortFlushIsAnIoErrorAndLeavesTheCountsAsTheyWere) {
  io_.ShortWrite(1, 3);
  EXPECT_EQ(Write("*IDN?", true), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter_.LastText(),
            "Flush of formatted I/O write buffer only successfully sent 3 of 6 bytes to the "
            "device.");
  EXPECT_EQ(buffer_->WriteCount(), 5);
  // Forgetting what is pending empties both sides without any I/O.
  buffer_->DropPending();
  EXPECT_EQ(buffer_->WriteCount(), 0);
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  EXPECT_EQ(io_.WriteCalls(), 1);
}

TEST_F(InstrBufferTest, FailureToSwitchEndOffSendsNothing) {
  EXPECT_EQ(Write("cd", false), S_OK);
  io_.FailNextSendEndSwitch(com::E_FAIL);
  EXPECT_EQ(buffer_->FlushWriteBuffer(false), com::E_FAIL);
  EXPECT_EQ(io_.WriteCalls(), 0);
  EXPECT_EQ(buffer_->WriteCount(), 2);
}

TEST_F(InstrBufferTest, WriteSafeArrayChecksTheArray) {
  std::int32_t n = 0;
  EXPECT_EQ(buffer_->WriteSafeArray(nullptr, 1, &n, false), com::E_INVALIDARG);
  EXPECT_EQ(reporter_.LastText(), "SAFEARRAY is NULL.");
  com::SafeArray words = com::SafeArray::CreateVector(com::VT_I2, 2);
  EXPECT_EQ(buffer_->WriteSafeArray(words.Get(), 2, &n, false), com::E_INVALIDARG);
  EXPECT_EQ(reporter_.LastText(), "SAFEARRAY was not of the expected type.");
  com::SafeArray based = com::SafeArray::CreateVector(com::VT_UI1, 2, 1);
  EXPECT_EQ(buffer_->WriteSafeArray(based.Get(), 2, &n, false), com::E_INVALIDARG);
  EXPECT_EQ(reporter_.LastText(), "SAFEARRAY is not zero-based.");
  com::SafeArray bytes = com::SafeArray::CreateVector(com::VT_UI1, 3);
  bytes.Data<std::uint8_t>()[0] = 'O';
  bytes.Data<std::uint8_t>()[1] = 'K';
  EXPECT_EQ(buffer_->WriteSafeArray(bytes.Get(), 2, &n, true), S_OK);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(io_.Writes()[0].bytes, "OK\n");
}

TEST_F(InstrBufferTest, WriteBstrSendsUtf8) {
  com::Bstr text(u"5 \u00b5A");
  EXPECT_EQ(buffer_->WriteBstr(text.Get(), nullptr, true), S_OK);
  EXPECT_EQ(io_.Writes()[0].bytes,
            "5 \xc2\xb5"
            "A\n");
}

// ---------------------------------------------------------------- discard, sizes

TEST_F(InstrBufferTest, DiscardDrainsAnUnfinishedResponseOnly) {
  HRESULT hr;
  io_.QueueReply("1\n");
  Read(1, &hr);
  EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);  // a complete response: no device read
  EXPECT_EQ(io_.ReadCalls(), 1);
  io_.ClearRecord();
  io_.QueueChunks({std::string(4096, 'a'), std::string(2500, 'b'), "c\n"});
  Read(10, &hr);
  EXPECT_EQ(hr, S_MORE_DATA);
  EXPECT_EQ(buffer_->DiscardReadBuffer(), S_OK);
  EXPECT_EQ(io_.PendingBytes(), 0u);
  EXPECT_EQ(io_.ReadCalls(), 1 + 3 + 1);  // 2500 bytes in 1000-byte reads, then "c\n"
  EXPECT_EQ(buffer_->ReadCount(), 0);
  EXPECT_TRUE(buffer_->EndSeen());
  // The read-and-discard form returns the discard's status.
  io_.QueueChunks({"12", "3\n"});
  Read(1, &hr, /*discard=*/true);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(io_.PendingBytes(), 0u);
}

TEST_F(InstrBufferTest, DiscardReturnsTheDrainFailure) {
  io_.QueueReply("abc", /*end=*/false);
  HRESULT hr;
  Read(1, &hr);
  EXPECT_EQ(buffer_->DiscardReadBuffer(), ScriptedLowLevelIo::kTimeout);
  EXPECT_EQ(buffer_->ReadCount(), 0);  // what was buffered is dropped all the same
}

TEST_F(InstrBufferTest, SetBufferSizeFlushesAndResizes) {
  EXPECT_EQ(Write("*CLS", false), S_OK);
  EXPECT_EQ(buffer_->SetBufferSize(2, 8), S_OK);
  EXPECT_EQ(io_.Writes()[0].bytes, "*CLS\n");
  std::int32_t size = 0;
  EXPECT_EQ(buffer_->GetWriteBufferSize(&size), S_OK);
  EXPECT_EQ(size, 8);
  EXPECT_EQ(buffer_->GetReadBufferSize(&size), S_OK);
  EXPECT_EQ(size, 8);
  EXPECT_EQ(Write("0123456789", true), S_OK);
  EXPECT_EQ(io_.Writes()[1].bytes, "01234567");
  EXPECT_EQ(io_.Writes()[2].bytes, "89\n");
  EXPECT_EQ(buffer_->SetBufferSize(7, 100), S_OK);  // other masks do nothing
  EXPECT_EQ(buffer_->GetWriteBufferSize(&size), S_OK);
  EXPECT_EQ(size, 8);
}

TEST_F(InstrBufferTest, ImpossibleSizesAreReportedAndKeepTheOldBuffers) {
  EXPECT_EQ(buffer_->SetBufferSize(1, INT32_MAX), RecordingErrorReporter::kOutOfMemory);
  EXPECT_EQ(reporter_.LastText(),
            "Couldn't allocate formatted I/O write buffer with a capacity of 2147483647 bytes.");
  EXPECT_EQ(buffer_->SetBufferSize(0, 0), RecordingErrorReporter::kInvalidValue);
  std::int32_t size = 0;
  EXPECT_EQ(buffer_->GetWriteBufferSize(&size), S_OK);
  EXPECT_EQ(size, 4096);
  EXPECT_EQ(Write("*CLS", true), S_OK);
  EXPECT_EQ(io_.Writes().back().bytes, "*CLS\n");
}

TEST_F(InstrBufferTest, NewWriteTerminationKeepsTheBufferedBytes) {
  EXPECT_EQ(Write(":VOLT 1", false), S_OK);
  EXPECT_EQ(buffer_->SetWriteTermination("\r\n"), S_OK);
  EXPECT_EQ(buffer_->FlushWriteBuffer(true), S_OK);
  EXPECT_EQ(io_.Writes()[0].bytes, ":VOLT 1\r\n");
  // A full buffer still has room for the longer termination.
  EXPECT_EQ(Write(std::string(4095, 'z') + "\r", true), S_OK);
  EXPECT_EQ(io_.Writes()[1].bytes.size(), 4096u);
  EXPECT_FALSE(io_.Writes()[1].end);
}

}  // namespace
}  // namespace motqr::io
