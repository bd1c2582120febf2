// ScriptedLowLevelIo: an in-process ILowLevelIo for tests. It records every
// write with its END flag and serves scripted replies, one queued chunk per
// read, the way a VISA read reports them.
//
//   ScriptedLowLevelIo io;
//   io.QueueReply("1.5\n");                       // one read returns it, with END
//   io.QueueChunks({"1.", "5\n"}, /*end=*/true);  // two reads; END on the last
//   io.FailRead(2, kTimeout);                     // the 2nd read from now fails
//   ... run the code under test ...
//   EXPECT_EQ(io.Writes()[0].bytes, ":VOLT 1.5\n");
//   EXPECT_TRUE(io.Writes()[0].end);
//
// A read takes at most one chunk (fewer bytes when the count is smaller; the
// rest of the chunk waits for the next read). It returns S_OK when it delivered
// the last byte of a chunk queued with END, or stopped at the enabled
// termination character; otherwise S_MORE_DATA. A read with nothing queued
// times out (kTimeout). Writes are recorded whole unless a short write or a
// failure has been scripted for them.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "io/low_level_io.h"

namespace motqr::io::testing {

class ScriptedLowLevelIo final : public ILowLevelIo {
 public:
  // The status of a read that finds nothing queued (VISA's time-out code).
  static constexpr HRESULT kTimeout = com::MakeHresult(0xBFFF0015u);

  struct Write {
    std::string bytes;
    bool end;  // SendEndEnabled was on for this write
  };
  struct Read {
    std::int32_t count;        // bytes asked for
    std::int32_t delivered;    // bytes returned
    bool termination_enabled;  // termination character enabled during the read
    HRESULT status;
  };

  // Script.
  void QueueReply(std::string_view bytes, bool end = true);
  void QueueChunks(std::initializer_list<std::string_view> chunks, bool end = true);
  // The n-th read or write from now on (1 = the next one) fails with `status`
  // and transfers nothing.
  void FailRead(int n, HRESULT status);
  void FailWrite(int n, HRESULT status);
  // The n-th write from now on takes only the first `accepted` bytes.
  void ShortWrite(int n, std::int32_t accepted);
  // A failure for the next SetTerminationCharacterEnabled or SetSendEndEnabled.
  void FailNextTerminationSwitch(HRESULT status) { fail_term_switch_ = status; }
  void FailNextSendEndSwitch(HRESULT status) { fail_end_switch_ = status; }
  void SetTerminationCharacter(std::uint8_t c) { term_char_ = c; }

  // Record.
  const std::vector<Write>& Writes() const { return writes_; }
  // Every written byte, in order.
  std::string WrittenBytes() const;
  const std::vector<Read>& Reads() const { return reads_; }
  int ReadCalls() const { return static_cast<int>(reads_.size()); }
  int WriteCalls() const { return static_cast<int>(writes_.size()); }
  int PollCount() const { return polls_; }
  // Bytes still queued and not yet read.
  std::size_t PendingBytes() const;
  bool TerminationCharacterEnabled() const { return term_enabled_; }
  bool SendEndEnabled() const { return send_end_; }
  // Time-out argument of the last transfer call.
  std::int32_t LastTimeout() const { return last_timeout_; }
  void ClearRecord();

  // ILowLevelIo
  HRESULT SetTerminationCharacterEnabled(bool enabled) override;
  HRESULT GetTerminationCharacterEnabled(bool* enabled) override;
  HRESULT SetSendEndEnabled(bool enabled) override;
  HRESULT GetSendEndEnabled(bool* enabled) override;
  HRESULT LowLevelRead(std::int32_t count, com::SAFEARRAY** data, std::int32_t timeout) override;
  HRESULT LowLevelRead(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                       std::int32_t timeout) override;
  HRESULT LowLevelReadNoPoll(std::int32_t count, com::SAFEARRAY** data,
                             std::int32_t timeout) override;
  HRESULT LowLevelReadNoPoll(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                             std::int32_t timeout) override;
  HRESULT LowLevelReadString(std::int32_t count, com::BSTR* text, std::int32_t timeout) override;
  HRESULT LowLevelReadString(std::int32_t count, std::string* text, std::int32_t timeout) override;
  HRESULT LowLevelReadStringNoPoll(std::int32_t count, com::BSTR* text,
                                   std::int32_t timeout) override;
  HRESULT LowLevelReadStringNoPoll(std::int32_t count, std::string* text,
                                   std::int32_t timeout) override;
  HRESULT LowLevelWrite(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                        std::int32_t timeout) override;
  HRESULT LowLevelWrite(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                        std::int32_t timeout) override;
  HRESULT LowLevelWriteNoPoll(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteNoPoll(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteString(const char16_t* text, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteString(const std::string& text, std::int32_t* written,
                              std::int32_t timeout) override;
  HRESULT LowLevelWriteStringNoPoll(const char16_t* text, std::int32_t* written,
                                    std::int32_t timeout) override;
  HRESULT LowLevelWriteStringNoPoll(const std::string& text, std::int32_t* written,
                                    std::int32_t timeout) override;

 private:
  struct Chunk {
    std::string bytes;
    bool end;
  };
  struct Fault {
    int at;  // absolute call number, 1-based
    HRESULT status;
    std::int32_t accepted;  // for short writes; -1 for failures
  };

  HRESULT ReadCore(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                   std::int32_t timeout);
  HRESULT WriteCore(const std::uint8_t* buffer, std::int32_t count, std::int32_t* written,
                    std::int32_t timeout);
  HRESULT ReadIntoString(std::int32_t count, std::string* text, std::int32_t timeout);
  HRESULT ReadIntoArray(std::int32_t count, com::SAFEARRAY** data, std::int32_t timeout);
  HRESULT WriteFromArray(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                         std::int32_t timeout);
  const Fault* FindFault(const std::vector<Fault>& faults, int call) const;

  std::deque<Chunk> chunks_;
  std::vector<Write> writes_;
  std::vector<Read> reads_;
  std::vector<Fault> read_faults_;
  std::vector<Fault> write_faults_;
  int read_calls_ = 0;
  int write_calls_ = 0;
  int polls_ = 0;
  bool term_enabled_ = false;
  bool send_end_ = true;
  std::uint8_t term_char_ = '\n';
  std::int32_t last_timeout_ = 0;
  HRESULT fail_term_switch_ = com::S_OK;
  HRESULT fail_end_switch_ = com::S_OK;
};

}  // namespace motqr::io::testing
