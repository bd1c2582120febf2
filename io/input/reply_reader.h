// ReplyReader: reads a reply one character at a time from the session's read
// buffer and remembers whether the last character taken ended the response,
// so the parser never asks for a character after the end (which would start a
// read of the next response). A character given back is kept here until the
// next read or Settle(), which saves the buffer a push-back and a re-read for
// every field. Characters the buffer already holds are taken from its buffered
// run without a call each; what was taken is handed back to the buffer's
// accounts before any other use of the buffer (Settle, ReadDirect, a refill).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "io/io_buffer.h"

namespace motqr::io {

class ReplyReader {
 public:
  explicit ReplyReader(IIoBuffer& buffer) : buffer_(buffer) {}
  ReplyReader(const ReplyReader&) = delete;
  ReplyReader& operator=(const ReplyReader&) = delete;
  // Whoever reads must Settle(); this only keeps the buffer right if not.
  ~ReplyReader() { (void)Settle(); }

  // One character into *c; *got false (and S_OK) when the response has ended.
  // A failure of the buffer is returned as it is.
  HRESULT Next(char* c, bool* got) {
    if (pending_) {
      pending_ = false;
      ended_ = pending_ended_;
      *c = last_;
      *got = true;
      return com::S_OK;
    }
    *got = false;
    if (ended_) return com::S_OK;
    if (run_taken_ == run_.size()) {
      CommitRun();
      run_ = buffer_.BufferedRun();
    }
    if (run_taken_ < run_.size()) {
      // Not the last byte buffered: the response goes on.
      last_ = static_cast<char>(run_[run_taken_++]);
      *c = last_;
      *got = true;
      return com::S_OK;
    }
    std::uint8_t byte = 0;
    std::int32_t n = 0;
    const HRESULT hr = buffer_.ReadBuffer(&byte, 1, &n, false);
    if (com::Failed(hr)) return hr;
    // A read that brings nothing ends the field: nothing more is coming.
    ended_ = hr != S_MORE_DATA || n == 0;
    if (n == 0) return com::S_OK;
    *got = true;
    last_ = static_cast<char>(byte);
    *c = last_;
    return com::S_OK;
  }

  // Gives back the character Next just returned: the response has not ended
  // after all. It is held here and handed to the buffer by Settle.
  HRESULT Unread() {
    pending_ = true;
    pending_ended_ = ended_;
    ended_ = false;
    return com::S_OK;
  }

  // Hands a character given back to the buffer. Called before binary reads
  // and when the scan is over.
  HRESULT Settle() {
    CommitRun();
    if (!pending_) return com::S_OK;
    pending_ = false;
    return buffer_.UnreadChar();
  }

  // A block header that seemed to end the response: the read that brought it
  // stopped at a first data byte equal to the termination character. The data
  // it announces are read all the same.
  void ExpectBinaryData() { ended_ = false; }

  // Binary data straight from the buffer and the device. A short read ends the
  // response. A full one ends it when it does not report that more data
  // follow and either it is the last of its directive or it was too long to
  // come from the read buffer alone (so the device said where the end is).
  HRESULT ReadDirect(std::uint8_t* data, std::int32_t count, std::int32_t* read, bool final) {
    *read = 0;
    HRESULT hr = Settle();
    if (com::Failed(hr)) return hr;
    if (ended_ || count <= 0) return com::S_OK;
    hr = buffer_.ReadDirect(data, count, read, false);
    if (com::Failed(hr)) return hr;
    if (*read < 0 || *read > count) *read = *read < 0 ? 0 : count;
    const bool end_reported = hr != S_MORE_DATA && (final || count > ReadCapacity());
    if (*read < count || end_reported) ended_ = true;
    return com::S_OK;
  }

  bool ended() const { return ended_; }
  bool swap_bytes() const { return buffer_.GetSwapBytes(); }

 private:
  // Tells the buffer how much of its buffered run was taken.
  void CommitRun() {
    if (run_taken_ > 0) buffer_.TakeBuffered(static_cast<std::int32_t>(run_taken_));
    run_ = {};
    run_taken_ = 0;
  }

  // The read buffer's capacity; 0 when the buffer does not tell (its read
  // status is then taken at its word).
  std::int32_t ReadCapacity() {
    if (capacity_ < 0) {
      std::int32_t size = 0;
      capacity_ = com::Succeeded(buffer_.GetReadBufferSize(&size)) && size > 0 ? size : 0;
    }
    return capacity_;
  }

  IIoBuffer& buffer_;
  bool ended_ = false;
  bool pending_ = false;        // last_ was given back
  bool pending_ended_ = false;  // ... and it was the last of the response
  char last_ = 0;
  std::int32_t capacity_ = -1;         // not asked yet
  std::span<const std::uint8_t> run_;  // the buffer's run, valid until CommitRun
  std::size_t run_taken_ = 0;
};

}  // namespace motqr::io
