// ReplyReader: reads a reply one character at a time from the session's read
// buffer and remembers whether the last character taken ended the response,
// so the parser never asks for a character after the end (which would start a
// read of the next response).
#pragma once

#include <cstdint>

#include "io/io_buffer.h"

namespace motqr::io {

class ReplyReader {
 public:
  explicit ReplyReader(IIoBuffer& buffer) : buffer_(buffer) {}

  // One character into *c; *got false (and S_OK) when the response has ended.
  // A failure of the buffer is returned as it is.
  HRESULT Next(char* c, bool* got) {
    *got = false;
    if (ended_) return com::S_OK;
    std::uint8_t byte = 0;
    std::int32_t n = 0;
    const HRESULT hr = buffer_.ReadBuffer(&byte, 1, &n, false);
    if (com::Failed(hr)) return hr;
    // A read that brings nothing ends the field: nothing more is coming.
    ended_ = hr != S_MORE_DATA || n == 0;
    if (n == 0) return com::S_OK;
    *got = true;
    *c = static_cast<char>(byte);
    return com::S_OK;
  }

  // Gives the last character back; the response has not ended after all.
  HRESULT Unread() {
    const HRESULT hr = buffer_.UnreadChar();
    if (com::Succeeded(hr)) ended_ = false;
    return hr;
  }

  // Binary data straight from the buffer and the device. A short read ends
  // the response; so does a read that is the last of its directive and does
  // not report that more data follow.
  HRESULT ReadDirect(std::uint8_t* data, std::int32_t count, std::int32_t* read, bool final) {
    *read = 0;
    if (ended_ || count <= 0) return com::S_OK;
    const HRESULT hr = buffer_.ReadDirect(data, count, read, false);
    if (com::Failed(hr)) return hr;
    if (*read < 0 || *read > count) *read = *read < 0 ? 0 : count;
    if (*read < count || (final && hr != S_MORE_DATA)) ended_ = true;
    return com::S_OK;
  }

  bool ended() const { return ended_; }
  bool swap_bytes() const { return buffer_.GetSwapBytes(); }

 private:
  IIoBuffer& buffer_;
  bool ended_ = false;
};

}  // namespace motqr::io
