// MemoryReplyBuffer: an IIoBuffer holding one response in memory, for tests,
// benchmarks and fuzzing of the reply parser. A read returns S_OK when it
// takes the last byte of the response (an empty response: no byte) and
// S_MORE_DATA otherwise, like the session's buffer. A read after the one that
// reported the end would, on a real session, start reading the next response:
// here it fails with kReadPastEnd and is counted, so a test can insist that it
// never happens. Binary data asked for after the end (a block header that
// ended the response) are asked of the device on a session: here that read
// fails the same way and is counted apart (direct_reads_past_end).
//
//   MemoryReplyBuffer reply("1.5");
//   double v = 0;
//   EXPECT_EQ(Scan(reply, nullptr, "%lf", &v), S_OK);
//   EXPECT_EQ(reply.reads_past_end(), 0);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/io_buffer.h"

namespace motqr::io::testing {

class MemoryReplyBuffer final : public IIoBuffer {
 public:
  static constexpr HRESULT kReadPastEnd = com::MakeHresult(0xBFFF0015u);  // a time-out

  explicit MemoryReplyBuffer(std::string_view response = {}) : data_(response) {}

  // Replaces the response and starts reading it from the beginning.
  void Reset(std::string_view response) {
    data_.assign(response);
    pos_ = 0;
    end_delivered_ = false;
    reads_past_end_ = 0;
    direct_reads_past_end_ = 0;
  }

  std::size_t position() const { return pos_; }
  std::string_view rest() const { return std::string_view(data_).substr(pos_); }
  int reads_past_end() const { return reads_past_end_; }
  int direct_reads() const { return direct_reads_; }
  int direct_reads_past_end() const { return direct_reads_past_end_; }

  HRESULT ReadChar(std::uint8_t* c) override { return ReadBuffer(c, 1, nullptr, false); }
  HRESULT ReadBstr(com::BSTR*, std::int32_t, bool) override { return com::E_NOTIMPL; }
  HRESULT ReadSafeArray(com::SAFEARRAY**, std::int32_t, bool) override { return com::E_NOTIMPL; }
  HRESULT ReadBuffer(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                     bool discard) override;
  HRESULT UnreadChar() override;
  HRESULT ReadDirect(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                     bool discard) override;
  HRESULT WriteChar(std::uint8_t, bool) override { return com::E_NOTIMPL; }
  HRESULT WriteBstr(const char16_t*, std::int32_t*, bool) override { return com::E_NOTIMPL; }
  HRESULT WriteSafeArray(com::SAFEARRAY*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  HRESULT WriteCString(const char*, std::int32_t*, bool) override { return com::E_NOTIMPL; }
  HRESULT WriteBuffer(const std::uint8_t*, std::int32_t, std::int32_t*, bool) override {
    return com::E_NOTIMPL;
  }
  HRESULT DiscardReadBuffer() override {
    pos_ = data_.size();
    end_delivered_ = true;
    return com::S_OK;
  }
  HRESULT FlushWriteBuffer(bool) override { return com::S_OK; }
  HRESULT SetBufferSize(std::int32_t, std::int32_t) override { return com::E_NOTIMPL; }
  HRESULT GetReadBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  HRESULT GetWriteBufferSize(std::int32_t*) override { return com::E_NOTIMPL; }
  bool GetSwapBytes() override { return swap_; }
  void SetSwapBytes(bool swap) override { swap_ = swap; }

 private:
  HRESULT Take(std::uint8_t* buffer, std::int32_t count, std::int32_t* read);

  std::string data_;
  std::size_t pos_ = 0;
  bool end_delivered_ = false;
  bool swap_ = true;
  int reads_past_end_ = 0;
  int direct_reads_ = 0;
  int direct_reads_past_end_ = 0;
};

}  // namespace motqr::io::testing
